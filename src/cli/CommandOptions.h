// What each quillon-cli command is given: its options as the command line
// declares them (CommandTable.cpp), and the folder and services it works
// with. A new command adds its options struct here, its body beside the
// others, and its declaration to CommandTable.cpp.
#pragma once

#include <optional>
#include <string>

#include "cli/Output.h"
#include "platform/Clock.h"
#include "platform/Folder.h"
#include "platform/Random.h"
#include "records/DisplayOptions.h"
#include "records/Summary.h"

namespace quillon::cli {

class WatchPacing;

// What a command works with: the program folder (its password passed), the
// clock, the random source, where its output goes, and how `watch` waits
// between its looks (null where nothing is to be watched).
struct CommandContext {
  Folder& folder;
  Clock& clock;
  RandomSource& random;
  Output& out;
  WatchPacing* pacing = nullptr;
};

// The class `--class` names: its number, or its name as `classes` lists it
// (file text).
struct ClassChoice {
  int number = 0;    // 1-99; 0 when a name is given
  std::string name;  // the stored bytes of the name
};

// How the terminal's text is read and shown (--encoding).
enum class EncodingChoice { kLocale, kUtf8, kStoredBytes };

// The options every command takes, anywhere on the line.
struct GlobalOptions {
  std::string folder = ".";
  EncodingChoice encoding = EncodingChoice::kLocale;
  std::optional<std::string> password_file;
  bool version = false;
};

struct RecordsOptions {
  ClassChoice of_class;
  int student = kAllStudents;
  DataGroup group = DataGroup::kAllRecords;
  SortBy sort = SortBy::kName;
  SortDirection direction = SortDirection::kIncreasing;
  bool paper = false;
  bool json = false;
};

struct DiagnosticsOptions {
  ClassChoice of_class;
  std::optional<int> entry;  // from 1
  bool paper = false;
  bool json = false;
};

struct ExportOptions {
  std::optional<std::string> cutoff;  // yymmdd
  int order = 1;
};

struct EraseOptions {
  ClassChoice of_class;
  int student = 0;  // 0: every student of the class
  bool diagnostics = false;
  bool yes = false;
};

struct ClassesOptions {
  bool json = false;
};

struct RosterOptions {
  ClassChoice of_class;
  bool json = false;
};

struct SummaryOptions {
  ClassChoice of_class;
  std::optional<int> from, to;  // days as yyyymmdd, both included
  bool csv = false;
  bool json = false;
};

struct OverviewOptions {
  ClassChoice of_class;
  std::string test;             // "C1", "C2", or "" for the class's test with the most results
  bool all_results = false;     // every result, not only each student's latest
  std::optional<int> from, to;  // days as yyyymmdd, both included
  bool csv = false;
  bool json = false;
};

struct ImportOptions {
  ClassChoice of_class;
  std::string file;  // as given: a path of the terminal's encoding
  // The columns (from 1) of the names (with `first_column`: the last names),
  // the first names and the passwords, when the heading row does not say.
  std::optional<int> name_column, first_column, password_column;
  bool yes = false;
  bool json = false;
};

struct SlipsOptions {
  ClassChoice of_class;
  std::optional<int> student;
  bool json = false;
};

struct BinOptions {
  std::optional<std::string> delete_id;
  bool empty = false;
  bool yes = false;
  bool json = false;
};

struct WatchOptions {
  int classnum = kAllClasses;  // or the class of that number
  std::optional<int> since;    // minutes after midnight
  bool json = false;
};

struct RestoreOptions {
  std::string id;
  bool renumber = false;
  bool yes = false;
};

}  // namespace quillon::cli
