#include "classes/LoginSlips.h"

#include <algorithm>
#include <cmath>

#include "data/ClassFiles.h"

namespace quillon {
namespace {

// Where a cut line's text goes so that its dashes or bars sit on the line:
// half a line above it (a line of the slips' font is 0.2 inches high).
constexpr double kHalfLine = 0.1;
constexpr double kCharacterWidth = kSlipPoints * 0.6 / 72;  // Courier: 0.6 em
constexpr int kBarsPerSlip = 7;                             // one every 0.2 inches

}  // namespace

std::vector<LoginSlip> RosterSlips(std::vector<std::string> roster) {
  std::sort(roster.begin(), roster.end());
  std::vector<LoginSlip> slips;
  slips.reserve(roster.size());
  for (const std::string& r : roster) {
    slips.push_back({StudentNumberOf(r), StudentDisplayName(r), StudentPasswordOf(r)});
  }
  return slips;
}

std::vector<SlipPage> LayOutSlips(std::string_view class_name,
                                  const std::vector<LoginSlip>& slips) {
  constexpr std::size_t kPerPage = kSlipColumns * kSlipRows;
  const std::string dashes(
      static_cast<std::size_t>(std::lround(kSlipColumns * kSlipWidth / kCharacterWidth)), '-');
  const double middle = kSlipLeft + kSlipWidth - kCharacterWidth / 2;
  std::vector<SlipPage> pages;
  for (std::size_t first = 0; first < slips.size(); first += kPerPage) {
    const std::size_t count = std::min(kPerPage, slips.size() - first);
    const std::size_t rows = (count + kSlipColumns - 1) / kSlipColumns;
    SlipPage page;
    for (std::size_t r = 0; r <= rows; ++r) {
      page.push_back(
          {kSlipLeft, kSlipTop + static_cast<double>(r) * kSlipHeight - kHalfLine, dashes});
    }
    for (std::size_t r = 0; r < rows; ++r) {
      const double top = kSlipTop + static_cast<double>(r) * kSlipHeight;
      for (int k = 0; k < kBarsPerSlip; ++k) page.push_back({middle, top + 0.2 * k, "|"});
    }
    for (std::size_t i = 0; i < count; ++i) {
      const LoginSlip& slip = slips[first + i];
      const double x = kSlipLeft + static_cast<double>(i % kSlipColumns) * kSlipWidth + 0.2;
      const double y = kSlipTop + static_cast<double>(i / kSlipColumns) * kSlipHeight + 0.3;
      page.push_back({x, y, "Class:    " + std::string(class_name)});
      page.push_back({x, y + 0.3, "Student:  " + slip.name});
      page.push_back({x, y + 0.6, "Password: " + slip.password});
    }
    pages.push_back(std::move(page));
  }
  return pages;
}

}  // namespace quillon
