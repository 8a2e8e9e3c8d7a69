// Putting a bin entry (data/Bin.h) back: activity records and diagnostic
// results appended to their files, as the lessons append; roster and class
// records re-created. A record is never given to another student or class:
// when the entry's class or student number has since been given to someone
// else, the restore is refused unless asked to renumber, and then goes
// under the lowest free numbers (the records' number fields rewritten).
//
// A restore is crash-safe: before writing, it keeps what it will append in
// Erased/<ID>.restoring and the place of each file's append in
// Erased/<ID>.at; one cut short is finished by FinishRestores (the next
// start or command), never doubled. The entry leaves the bin once its
// restore is complete.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "data/Bin.h"

namespace quillon {

struct RestorePlan {
  // The conflicts found: "class 3 is now Algebra I", ... (empty: none).
  std::string conflict;
  // The records the restore puts back, per kind.
  std::size_t records = 0;  // activity records
  std::size_t results = 0;  // diagnostic results
  std::size_t roster = 0;   // roster and class records re-created
  // What comes back, as a person reads it: "Records of Olivia Haddad,
  // Business Math (12 activity records)".
  std::string Describe(const BinEntry& entry) const;
};

// What restoring `entry` would do now, with or without renumbering.
Status PlanRestore(Folder& folder, const BinEntry& entry, bool renumber, RestorePlan* plan);

// Restores entry `id`. With a conflict and `renumber` false it changes
// nothing and fails with the conflict; `plan` (may be null) receives what
// was put back.
Status RestoreBinEntry(Folder& folder, std::string_view id, bool renumber, RestorePlan* plan);

// Finishes every restore cut short; the caller holds the folder's lock.
// RecoverRemovals (the program's start, every command) and every removal
// run it first.
Status FinishRestores(Folder& folder);

}  // namespace quillon
