// The erases and deletions the windows and quillon-cli offer, each keeping
// what it takes in one bin entry (store/Bin.h) so that it can be put back.
// Each holds the folder's lock from its first read to its last write, and
// each removal is the crash-safe one of store/Removal.h.
#pragma once

#include <cstddef>
#include <string>

#include "data/Students.h"
#include "platform/Clock.h"
#include "platform/Folder.h"

namespace quillon {

struct EraseResult {
  std::string id;                    // the bin entry, or empty when nothing was taken
  std::size_t records = 0;           // activity records removed (RECORDS.DAT)
  std::size_t results = 0;           // diagnostic results removed (Diag.dat)
  std::size_t roster = 0;            // roster and class records removed
  std::size_t finished_earlier = 0;  // records of an earlier removal cut short, finished first
};

// The activity records of `who`: one student, every student of a class, or
// every class.
Status EraseActivityRecords(Folder& folder, const DateTime& now, const Students& who,
                            EraseResult* result);
// The same for diagnostic results (Diag.dat).
Status EraseDiagnosticResults(Folder& folder, const DateTime& now, const Students& who,
                              EraseResult* result);
// A student with their activity records, or (a whole class) every student
// of the class with theirs.
Status DeleteStudentWithRecords(Folder& folder, const DateTime& now, const Students& who,
                                EraseResult* result);
// A class with its students and their activity records, or every class.
Status DeleteClassWithRecords(Folder& folder, const DateTime& now, const Students& who,
                              EraseResult* result);

}  // namespace quillon
