// Removing records from the program's fixed-length record files without ever
// losing one: the kept records go to a temporary file (*.TMP, which stays on
// disk holding them) and the main file is then replaced in one atomic step.
#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

#include "data/DiagFile.h"
#include "platform/Folder.h"

namespace quillon {

using KeepTest = std::function<bool(std::string_view record)>;

struct RewriteResult {
  std::size_t kept = 0;
  std::size_t removed = 0;
  // Records a tutoring lesson appended while the rewrite ran, carried over.
  std::size_t appended_meanwhile = 0;
};

// Leaves in `main_file` exactly the whole records for which `keep` holds, in
// their file order; a trailing partial record is dropped and a missing file
// is created empty. `temp_file` ends holding the kept records.
//
// At every instant `main_file` holds either all its old records or exactly
// the kept ones: the kept records are written to `temp_file` and to a second
// copy (`main_file` + ".NEW"), both forced to disk, and the copy is renamed
// over `main_file`, then the folder is forced to disk.
//
// Tutoring lessons append without any locking, so the rewrite looks for
// their records twice. Before the replace it checks the main file's length
// after writing the copies; whole records appended meanwhile are put through
// `keep` and carried over, until the length stands still. Across the replace
// the old file keeps a second name (`main_file` + ".OLD"), and for a few
// milliseconds afterwards records that reached the old file (a lesson that
// opened it just before the rename) are carried over by appending them to
// the new file. What stays unprotected: a lesson that opened the old file
// before the replace and writes to it more than those milliseconds later.
//
// On failure the status names the file; before the replace `main_file` is
// unchanged, after it (only if appending the late records fails) they stay
// in the ".OLD" file and the status says so.
Status RewriteRecordFile(Folder& folder, std::string_view main_file, std::string_view temp_file,
                         std::size_t record_length, const KeepTest& keep,
                         RewriteResult* result = nullptr);

// The keep test of a purge, chosen from the arguments (student number FIRST,
// class number SECOND):
//   classnum 0            every record goes
//   classnum > 0, stu 0   the records of class classnum go
//   classnum > 0, stu > 0 the records of that student of that class go
// Negative numbers (classnum < 0, or studentnum < 0 with classnum not 0) have
// no test: the result is empty and nothing may be removed.
KeepTest PurgeKeepTest(int studentnum, int classnum);

// Purges RECORDS.DAT through RECORDS.TMP (25-character records) and Diag.dat
// through Diag.TMP (72-character records). Negative arguments leave the file
// unchanged and return an error.
Status PurgeRecords(Folder& folder, int studentnum, int classnum, RewriteResult* result = nullptr);
Status PurgeDiagnostics(Folder& folder, int studentnum, int classnum,
                        RewriteResult* result = nullptr);

// How many records of RECORDS.DAT (or Diag.dat) such a purge would remove now.
Status CountPurgeable(Folder& folder, bool diagnostics, int studentnum, int classnum,
                      std::size_t* count);

}  // namespace quillon
