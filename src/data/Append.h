// Appending records to a record file, all of them or none after any crash
// or power cut: the new records are journaled (a P entry in the temporary
// file) before they are written. The caller holds the folder's lock. (A
// restore from the bin appends to RECORDS.DAT and Diag.dat this way too.)
#pragma once

#include <string_view>

#include "data/RemovalJournal.h"
#include "platform/Folder.h"

namespace quillon {

// Writes `records` (whole records) right after the whole records of
// `file.main`, over any partial record at the end, and forces them to disk.
// With `at`, only when the whole records end there; and only when nothing
// was appended between the look and the write (platform/Folder.h's
// WriteIfSize): otherwise `*moved` is set (or, without `moved`, an error)
// and nothing is written.
Status AppendAllOrNone(Folder& folder, const RemovalFile& file, std::string_view records,
                       const std::uint64_t* at = nullptr, bool* moved = nullptr);

// Completes or undoes the append `state` (a P journal) describes, whichever
// the main file is nearer: complete when every new record reached the disk,
// else the file as it was before. A main file that the append could not
// have left fails with `*fits` false, changing nothing.
Status FinishAppend(Folder& folder, const RemovalFile& file, const JournalState& state, bool* fits);

}  // namespace quillon
