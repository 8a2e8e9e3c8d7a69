#include "gui/platform/Encoding.h"

#include <QStringList>

#include "base/StorableText.h"

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

namespace {

// "a", "a and b", "a, b and c".
QString Listed(const QStringList& items) {
  if (items.size() <= 1) return items.join(QString());
  return QStringList(items.mid(0, items.size() - 1)).join(", ") + " and " + items.back();
}

}  // namespace

QString SpellingNotice(const QString& text, std::optional<std::string>* spelled) {
  spelled->reset();
  // Only the characters beyond the single-byte ones: a control character is
  // the caller's to refuse, in its own words.
  std::string bytes;
  QStringList from, to, without;
  for (uint c : text.toUcs4()) {
    if (c <= 0xFF) {
      bytes += static_cast<char>(c);
      continue;
    }
    const QString character = QString::fromUcs4(reinterpret_cast<const char32_t*>(&c), 1);
    const std::string spelling = SpellingOf(c);
    if (spelling.empty()) {
      if (!without.contains(character)) without << character;
    } else if (!from.contains(character)) {
      from << character;
      to << ToQString(spelling);
    }
    bytes += spelling;
  }
  if (!without.isEmpty()) {
    return Listed(without) +
           " cannot be stored: the files hold only the letters of Western "
           "European languages. Correct the text.";
  }
  if (from.isEmpty()) return QString();
  *spelled = bytes;
  return Listed(from) + " cannot be stored, so " + (from.size() == 1 ? "it is" : "they are") +
         " written as " + Listed(to) + ": \"" + ToQString(bytes) +
         "\". Press OK to keep this spelling, or correct it.";
}

}  // namespace quillon
