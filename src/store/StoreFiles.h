// The record files that the store changes, each with its temporary file
// (the journal while a change is under way, a copy of the kept records
// after a removal) and its record length: the one table that every
// writer, reader and recovery of the store uses.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/Folder.h"

namespace quillon {

struct StoreFile {
  const char* main;
  const char* temp;
  std::size_t length;
  // The tutoring lessons append to it (RECORDS.DAT, Diag.dat): a partial
  // record at its end may be a lesson's write in progress. Only this
  // program writes the others (CLASSES.DAT, STUDENTS.DAT).
  bool lessons_append;
};

// RECORDS.DAT, Diag.dat, CLASSES.DAT and STUDENTS.DAT, in that order.
const StoreFile* StoreFiles(std::size_t* count);

// The entry of `main_file` (exact name), or null for any other file.
const StoreFile* StoreFileOf(std::string_view main_file);

// The folder's lock: every change of these files holds it.
inline constexpr char kLockFile[] = "QUILLON.LCK";
// The bin (store/Bin.h): a subfolder the tutoring lessons never look into.
inline constexpr char kBinFolder[] = "Erased";

// Gives the file `name` ("RECORDS.TMP", "Erased/...") a new name that says
// `why` and when: "RECORDS.TMP.not-applied-261210-093015", with "-2" and so
// on after it when that is taken. Never a name that exists: nothing is
// written over unread, and no number of earlier ones stops it.
Status SetAside(Folder& folder, std::string_view name, std::string_view why, std::string* aside);

}  // namespace quillon
