// Putting a bin entry (store/Bin.h) back: activity records and diagnostic
// results appended to their files, as the lessons append; roster and class
// records re-created. A record is never given to another student or class:
// when the entry's class or student number has since been given to someone
// else, the restore is refused unless asked to renumber, and then goes
// under the lowest free numbers (the records' number fields rewritten).
//
// An entry is checked whole before anything is written, and one restored
// before (the same entry copied back) is refused. A restore is crash-safe:
// before writing, it keeps the date and the entry's identity in
// Erased/<ID>.at and what it will append in Erased/<ID>.restoring, each on
// disk with its name; each group is appended through a journal (an append
// of store/Append.h tagged with the group), and "N done AT" is noted in
// Erased/<ID>.at before that journal goes. One cut short is finished by the
// store's door (store/Pending.h), never doubled. The entry leaves the bin
// once its restore is complete.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/Clock.h"
#include "store/Bin.h"
#include "store/Lock.h"
#include "store/Pending.h"

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

// Restores entry `id` on `today`. Refused, changing nothing, for a damaged
// entry (StatusCode::kDamaged), one restored before (kRefused, "was
// restored on 12/10/26 already"), and with a conflict when `renumber` is
// false (kRefused, naming it). `plan` (may be null) receives what was put
// back.
Status RestoreBinEntry(Folder& folder, std::string_view id, bool renumber, const Date& today,
                       RestorePlan* plan);

// Under the lock: finishes every restore cut short. One that cannot go on
// now (a lesson appending without pause) or whose plan is damaged (it is set
// aside) is reported in `report` and left; the rest of the program goes on.
Status FinishRestores(Folder& folder, const LockToken& lock, PendingReport* report);

// Whether a restore was cut short: a plan in the bin.
Status RestoresPending(Folder& folder, bool* pending);

// Notes that group N of the restore `tag` ("restore ID N") is on disk at
// `at` (an append of store/Append.h, when it is done or completed later).
Status NoteGroupAppended(Folder& folder, std::string_view tag, std::uint64_t at);

}  // namespace quillon
