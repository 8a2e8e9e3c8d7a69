// The record files that removals rewrite, each with its temporary file (the
// journal while a removal runs, a copy of the kept records afterwards) and
// its record length: the one table that removal, recovery and the readers
// use.
#pragma once

#include <cstddef>
#include <string_view>

namespace quillon {

struct RemovalFile {
  const char* main;
  const char* temp;
  std::size_t length;
};

// RECORDS.DAT, Diag.dat, CLASSES.DAT and STUDENTS.DAT, in that order.
const RemovalFile* RemovalFiles(std::size_t* count);

// The entry of `main_file` (exact name), or null for any other file.
const RemovalFile* RemovalFileOf(std::string_view main_file);

// The lock every removal, recovery and change of these files holds.
inline constexpr char kLockFile[] = "QUILLON.LCK";

}  // namespace quillon
