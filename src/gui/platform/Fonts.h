// The fixed-pitch font of the report lists and the printed reports.
#pragma once

#include <QFont>
#include <string>

namespace quillon {

// "Courier New", or where it is missing a font of its measures (Liberation
// Mono), else the platform's fixed-pitch font, at `points`.
QFont FixedPitchFont(double points, bool bold = false);

// The font named `name` at `points`. "Courier New" is seldom installed here:
// it is FixedPitchFont, whose measures keep the report's columns under their
// headings and its pages as full.
QFont NamedFont(const std::string& name, double points);

}  // namespace quillon
