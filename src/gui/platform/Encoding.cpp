#include "gui/platform/Encoding.h"

namespace quillon {

QString ToQString(std::string_view bytes) {
  return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::optional<std::string> FromQString(const QString& text) {
  std::string out;
  out.reserve(static_cast<std::size_t>(text.size()));
  for (QChar c : text) {
    if (c.unicode() > 0xFF) return std::nullopt;
    out += static_cast<char>(c.unicode());
  }
  return out;
}

std::string FromQStringReplacing(const QString& text) {
  std::string out;
  out.reserve(static_cast<std::size_t>(text.size()));
  for (QChar c : text) out += c.unicode() > 0xFF ? '?' : static_cast<char>(c.unicode());
  return out;
}

}  // namespace quillon
