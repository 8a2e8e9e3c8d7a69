// The fixed-pitch font of the report lists and the printed reports.
#pragma once

#include <QFont>

namespace quillon {

// "Courier New", or where it is missing a font of its measures (Liberation
// Mono), else the platform's fixed-pitch font, at `points`.
QFont FixedPitchFont(double points, bool bold = false);

}  // namespace quillon
