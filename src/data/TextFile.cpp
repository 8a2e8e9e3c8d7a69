#include "data/TextFile.h"

#include "base/Text.h"

namespace quillon {

std::optional<std::string> FirstLine(std::string_view contents) {
  if (contents.empty()) return std::nullopt;
  std::size_t end = contents.find_first_of("\r\n");
  return std::string(contents.substr(0, end));
}

void FieldReader::SkipLineEnd() {
  if (pos_ < text_.size() && text_[pos_] == '\r') ++pos_;
  if (pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
  ++line_;
}

std::optional<std::string> FieldReader::Next() {
  // Line ends and blanks before a field are not part of it.
  for (;;) {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
    if (pos_ < text_.size() && (text_[pos_] == '\r' || text_[pos_] == '\n')) {
      SkipLineEnd();
      continue;
    }
    break;
  }
  if (pos_ >= text_.size()) return std::nullopt;
  field_line_ = line_;
  std::string field;
  if (text_[pos_] == '"') {
    std::size_t close = text_.find('"', pos_ + 1);
    if (close == std::string_view::npos) close = text_.size();
    field = std::string(text_.substr(pos_ + 1, close - pos_ - 1));
    // Line ends inside the quotes still count as lines.
    for (std::size_t i = 0; i < field.size(); ++i) {
      if (field[i] == '\n' ||
          (field[i] == '\r' && (i + 1 == field.size() || field[i + 1] != '\n'))) {
        ++line_;
      }
    }
    pos_ = close < text_.size() ? close + 1 : close;
    // Anything between the closing quote and the separator is dropped.
    while (pos_ < text_.size() && text_[pos_] != ',' && text_[pos_] != '\r' &&
           text_[pos_] != '\n') {
      ++pos_;
    }
  } else {
    std::size_t end = text_.find_first_of(",\r\n", pos_);
    if (end == std::string_view::npos) end = text_.size();
    field = Trim(text_.substr(pos_, end - pos_));
    while (!field.empty() && field.back() == '\t') field.pop_back();
    pos_ = end;
  }
  if (pos_ < text_.size()) {
    if (text_[pos_] == ',') {
      ++pos_;
      // A line end straight after the comma belongs to the same separator.
      std::size_t p = pos_;
      while (p < text_.size() && (text_[p] == ' ' || text_[p] == '\t')) ++p;
      if (p < text_.size() && (text_[p] == '\r' || text_[p] == '\n')) {
        pos_ = p;
        SkipLineEnd();
      }
    } else {
      SkipLineEnd();
    }
  }
  return field;
}

std::string JoinCrlfLines(const std::vector<std::string>& lines) {
  std::string out;
  std::size_t total = 0;
  for (const auto& l : lines) total += l.size() + 2;
  out.reserve(total);
  for (const auto& l : lines) {
    out += l;
    out += "\r\n";
  }
  return out;
}

}  // namespace quillon
