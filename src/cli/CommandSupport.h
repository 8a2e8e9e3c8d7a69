// What several quillon-cli commands share: the class list as the windows
// sort it, the class `--class` names, the title tables, and the pieces of
// their JSON documents.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "cli/CommandExit.h"
#include "cli/CommandOptions.h"
#include "data/LessonCatalogue.h"
#include "records/RecordLine.h"

namespace quillon::cli {

// A JSON document whose members keep the order they are written in.
using Json = nlohmann::ordered_json;

// The class records as the windows' class list holds them, sorted. Throws
// Exit (status 3) when CLASSES.DAT cannot be read or holds a class number
// not above 0 ("Class number <=0!", as the windows say).
std::vector<std::string> SortedClassList(Folder& folder);

// The class record `choice` names: the class of that number, or the one
// class of that name. Throws Exit (status 2) when there is none, or when two
// classes have the name.
std::string ClassRecordOf(CommandContext& context, const ClassChoice& choice);

// The lesson catalogue and the unit names the titles come from.
struct Tables {
  LessonCatalogue catalogue;
  UnitNameTable unit_names;
  TitleTables view() const { return {catalogue, unit_names}; }
};
// Loads LESSONS.DAT; throws Exit (status 3) when it cannot be used.
void LoadTables(Folder& folder, Tables* tables);

// File text as a JSON string (JSON is UTF-8).
inline Json JsonText(std::string_view stored) { return Latin1ToUtf8(stored); }
// A date stored as mmddyy as "yyyy-mm-dd" (years 00-79 are 2000-2079, 80-99
// 1980-1999); null when the six characters are not a real day.
Json JsonDate(std::string_view mmddyy);
// A number as JSON: whole numbers as integers (70, not 70.0).
Json JsonNumber(double value);
// The class of a class record: {"number", "name", "passing_grade"}.
Json JsonClass(std::string_view class_record);
// Writes `document` on standard output, indented by two, and a line feed.
// Characters beyond ASCII are written as they are in a UTF-8 terminal and
// as \u escapes otherwise, so that the document is valid JSON whatever the
// terminal's encoding.
void PrintJson(Output& out, const Json& document);

}  // namespace quillon::cli
