// Reading the shared record files through the store's door: what a crash
// left pending for the file is finished first (taking the folder's lock
// only then), so that no change half done is ever read. The lessons' files
// can also hold zero bytes that nothing explains (damage, or a gap a lesson
// writing at an out-of-date length left on a share): the records around
// them are read all the same, the records holding them are left out, and
// `damage` says where.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "data/ClassFiles.h"
#include "data/RecordFile.h"
#include "platform/Folder.h"

namespace quillon {

// Reads `name` as records of `length`; a missing file gives no records (and
// is not created). `*damage` (may be null) receives "RECORDS.DAT holds zero
// bytes from byte 1250 (in record 51), ...; 3 records holding them were
// left out", or nothing.
Status ReadRecords(Folder& folder, std::string_view name, std::size_t length, RecordSet* records,
                   std::string* damage = nullptr);
// The same, as the file's bytes (whole records, then any partial one).
Status ReadRecordBytes(Folder& folder, std::string_view name, std::string* bytes,
                       std::string* damage = nullptr);

// Every whole record of Diag.dat in file order; a missing file has none.
Status ReadDiagRecords(Folder& folder, std::vector<std::string>* records,
                       std::string* damage = nullptr);

// The lookups of data/ClassFiles.h, on the files as they are now.
Status FillClassList(Folder& folder, ClassList* list);
Status FillRosterList(Folder& folder, int classnum, std::vector<std::string>* items);
Status LookupStudentName(Folder& folder, int classnum, int studentnum, std::string* name);
Status ClassNumberInUse(Folder& folder, int classnum, bool* in_use);
Status LoadRoster(Folder& folder, Roster* roster);

}  // namespace quillon
