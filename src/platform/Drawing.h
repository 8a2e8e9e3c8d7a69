// A picture made of a few plain shapes, in inches from its top left corner:
// the progress chart. The windows paint it on the screen and a Printer
// draws it onto a page (gui/platform/DrawingPainter), so screen and paper
// show the same picture.
#pragma once

#include <string>
#include <vector>

namespace quillon {

enum class Ink { kBlack, kGrey, kLight, kPass, kFail, kBar };

struct Shape {
  enum class Kind {
    kLine,        // (x1, y1) to (x2, y2)
    kDashedLine,  // the same, dashed
    kBar,         // a filled box, corners (x1, y1) and (x2, y2)
    kDot,         // a filled circle at (x1, y1), radius `size`
    kCross,       // an x at (x1, y1), half-width `size`
    kText,        // `text` with its left end at x1 and its baseline at y1
    kRightText,   // `text` ending at x1, baseline at y1
  };
  Kind kind = Kind::kLine;
  Ink ink = Ink::kBlack;
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  double size = 0;   // dots and crosses; text: the font size in points
  std::string text;  // single-byte
};

struct Drawing {
  double width = 0, height = 0;  // inches
  std::vector<Shape> shapes;
};

}  // namespace quillon
