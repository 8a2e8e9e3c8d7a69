// The one conversion point between the single-byte text of the files and
// QString: byte b is the character U+00bb (Latin-1), so all 256 byte values
// survive the round trip.
#pragma once

#include <QString>
#include <optional>
#include <string>
#include <string_view>

namespace quillon {

QString ToQString(std::string_view bytes);

// The bytes of `text`; nullopt when a character has no single-byte form
// (above U+00FF), so that the caller refuses it rather than mangle it.
std::optional<std::string> FromQString(const QString& text);

// As FromQString, with every character that has no single-byte form replaced
// by '?' (visibly, never silently dropped).
std::string FromQStringReplacing(const QString& text);

// What to tell the user who typed `text` when some of its characters have no
// single-byte form: "" when all have one. Otherwise the notice names them,
// and either offers the nearest storable spelling (`*spelled`: "ş cannot be
// stored, so it is written as s: "Ayse". Press OK to keep this spelling, or
// correct it.") or, where a character has none (`*spelled` empty), asks for
// a correction.
QString SpellingNotice(const QString& text, std::optional<std::string>* spelled);

}  // namespace quillon
