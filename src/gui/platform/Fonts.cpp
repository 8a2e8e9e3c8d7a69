#include "gui/platform/Fonts.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>

#include "gui/platform/Encoding.h"

namespace quillon {

QFont FixedPitchFont(double points, bool bold) {
  // Liberation Mono has Courier New's widths and line height; DejaVu Sans
  // Mono is near enough. Other fixed-pitch fonts may stand taller, and a
  // printed page then holds fewer lines.
  QFont font;
  font.setFamilies(QStringList{"Courier New", "Liberation Mono", "Cousine", "DejaVu Sans Mono"});
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  if (!QFontInfo(font).fixedPitch()) font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setPointSizeF(points);
  font.setBold(bold);
  return font;
}

QFont NamedFont(const std::string& name, double points) {
  if (name == "Courier New") return FixedPitchFont(points);
  QFont font(ToQString(name));
  font.setPointSizeF(points);
  return font;
}

}  // namespace quillon
