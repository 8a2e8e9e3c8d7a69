// Log-in slips: for each student a slip with the class name, the student's
// name and password, laid out several to a page with cut lines between them,
// for the fixed-pitch font.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillon {

struct LoginSlip {
  int number = 0;
  std::string name;      // trimmed
  std::string password;  // unscrambled
};

// The slips of a class's roster records (whole 31-character records), in
// the roster list's order (by character code of the whole record).
std::vector<LoginSlip> RosterSlips(std::vector<std::string> roster);

// One text of a page, at (x, y) inches from the page's top left corner.
struct SlipText {
  double x = 0;
  double y = 0;
  std::string text;
  bool operator==(const SlipText&) const = default;
};
using SlipPage = std::vector<SlipText>;

// The font size of the slips, in points, and their grid on a portrait page:
// two columns of seven rows, 3.75 by 1.4 inches each, from (0.5, 0.5).
inline constexpr double kSlipPoints = 12;
inline constexpr int kSlipColumns = 2;
inline constexpr int kSlipRows = 7;
inline constexpr double kSlipLeft = 0.5;
inline constexpr double kSlipTop = 0.5;
inline constexpr double kSlipWidth = 3.75;
inline constexpr double kSlipHeight = 1.4;

// The pages of `slips` for class `class_name`: slips across, then down, each
// page's used rows framed by dashed cut lines across and a column of bars
// down the middle. No page for no slips.
std::vector<SlipPage> LayOutSlips(std::string_view class_name, const std::vector<LoginSlip>& slips);

}  // namespace quillon
