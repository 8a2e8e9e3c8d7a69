// Adding records to a record file all or none, and changing records in
// place all or none, after any crash or power cut: the change is journaled
// in the temporary file (a P or W entry, store/Journal.h) before it is made,
// and a journal found after a crash is completed. The caller holds the
// folder's lock and has finished what was pending (store/Pending.h).
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/Folder.h"
#include "store/Journal.h"
#include "store/Lock.h"

namespace quillon {

// Runs once the records of an append tagged `tag` are on disk at `at`,
// before their journal goes (a restore notes its progress so).
using AppendedAt = std::function<Status(std::string_view tag, std::uint64_t at)>;

// Writes `records` (whole records) after the whole records of `file.main`
// and forces them to disk. In a file only this program writes, at once,
// over any partial record at the end. In a file the lessons append to, as a
// lesson appends: at the end as it is at the moment of the write (looked at
// again until nothing was appended between the look and the write, for up
// to `give_up_after`), a partial record there (a lesson's write in
// progress) moved behind them. `*at` (may be null) receives where they went.
// A failure after the journal leaves it to complete the append later.
Status AppendAllOrNone(Folder& folder, const LockToken& lock, const StoreFile& file,
                       std::string_view records, std::string_view tag = {},
                       const AppendedAt& appended = nullptr, std::uint64_t* at = nullptr,
                       std::chrono::milliseconds give_up_after = std::chrono::seconds(10));

// Completes the append `state` (a P journal) describes: where its records
// stand, torn or whole, they are made whole; where they are not, they are
// written now. A main file that the append could not have left fails with
// `*fits` false, changing nothing.
Status FinishAppend(Folder& folder, const LockToken& lock, const StoreFile& file,
                    const JournalState& state, const AppendedAt& appended, bool* fits);

// Changes records of `file.main` in place: `change` sees each whole record
// in file order and returns true when it changed it; every change is then
// journaled, written where its record stands, and forced to disk. A missing
// file has no records (and is created empty). A change that would put a
// zero byte into a record is refused, and nothing is written.
Status ChangeInPlace(Folder& folder, const LockToken& lock, const StoreFile& file,
                     const std::function<bool(std::string& record)>& change);

// Completes the change in place `state` (a W journal) describes.
Status FinishChange(Folder& folder, const LockToken& lock, const StoreFile& file,
                    const JournalState& state, bool* fits);

// The same two by the main file's name ("STUDENTS.DAT"); any other file is
// refused.
Status AppendRecords(Folder& folder, const LockToken& lock, std::string_view name,
                     std::string_view records);
Status ChangeRecordsInPlace(Folder& folder, const LockToken& lock, std::string_view name,
                            const std::function<bool(std::string& record)>& change);

}  // namespace quillon
