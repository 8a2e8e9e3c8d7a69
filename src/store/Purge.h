// Removing the records of a class or a student (or all of them) from
// RECORDS.DAT and Diag.dat, and any set of records from a record file,
// through the crash-safe removal of store/Removal.h.
#pragma once

#include "data/Students.h"
#include "store/Lock.h"
#include "store/Removal.h"

namespace quillon {

// Leaves in `file.main` exactly the whole records for which `keep` holds,
// in their file order, followed by every record appended while it ran that
// `keep` holds too, and any partial record at the end; a missing file is
// created empty. `file.temp` ends holding the kept records. The caller holds
// the lock and has finished what was pending for the file (WithLock). On
// failure the status names the file and says whether anything changed.
Status RewriteRecordFile(Folder& folder, const LockToken& lock, const StoreFile& file,
                         const KeepTest& keep, RewriteResult* result = nullptr,
                         const RemovalOptions& options = {});

// The keep test of a purge: the records of `who` go (both purged layouts
// hold the class number at 3-4 and the student at 5-6). None for numbers
// below 0: nothing may be removed then.
KeepTest PurgeKeepTest(const Students& who);

// Purges RECORDS.DAT through RECORDS.TMP (25-character records) and
// Diag.dat through Diag.TMP (72-character records). Numbers below 0 leave
// the file unchanged and fail.
Status PurgeRecords(Folder& folder, const LockToken& lock, const Students& who,
                    RewriteResult* result = nullptr, const RemovalOptions& options = {});
Status PurgeDiagnostics(Folder& folder, const LockToken& lock, const Students& who,
                        RewriteResult* result = nullptr, const RemovalOptions& options = {});

// How many records of RECORDS.DAT (or Diag.dat) such a purge would remove now.
Status CountPurgeable(Folder& folder, bool diagnostics, const Students& who, std::size_t* count);

}  // namespace quillon
