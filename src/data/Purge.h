// Removing records from the program's fixed-length record files without ever
// losing one. The main file is rewritten in place: it keeps its owner, mode
// and links (a symbolic link stays a link, its target is rewritten), no hard
// links are needed, and a tutoring lesson that holds the file open appends
// into the live file whenever it writes.
//
// A removal, and where a crash at each step leaves the main file:
//  1. Read the main file; pick out the records to keep; take in whole records
//     a lesson appends meanwhile, until a look finds none.   (untouched)
//  2. Write the kept records and a "begin" entry to the temporary file and
//     force it to disk: the journal (data/RemovalJournal.h).  (untouched)
//  3. Fill the place of the removed records with zero bytes, write the kept
//     records over the front, force the main file to disk, note "zeroed".
//     (zero bytes in the file: a journal to finish from)
//  4. Records a lesson appended meanwhile are noted in the journal, then
//     moved down behind the kept ones, as often as needed.   (as in 3)
//  5. Cut the file after the kept records, only if nothing was appended
//     since the last look (File::TruncateIfSize), and force it to disk.
//  6. Leave the temporary file holding the kept records.
// A lesson never writes a zero byte, so a main file holding one is a removal
// cut short: RecoverRewrite finishes it from the journal, keeping every
// record appended since. The next removal, and the program's start, do that
// first. Nothing else is left behind: no other file is made.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "data/DiagFile.h"
#include "platform/Folder.h"

namespace quillon {

using KeepTest = std::function<bool(std::string_view record)>;

struct RewriteResult {
  std::size_t kept = 0;
  std::size_t removed = 0;
  // Records a tutoring lesson appended while the rewrite ran, taken in.
  std::size_t appended_meanwhile = 0;
};

struct RewriteOptions {
  // A main file still growing at every look for this long (a program
  // appending without pause) makes the removal give up before it changes
  // anything.
  std::chrono::milliseconds give_up_after{10000};
  // A partial record at the end is waited on this many times, this long
  // each, before it is taken for a stray fragment.
  int partial_waits = 5;
  std::chrono::milliseconds partial_wait{2};
};

// Leaves in `main_file` exactly the whole records for which `keep` holds, in
// their file order, followed by every record appended while it ran that
// `keep` holds too; a stray partial record at the end is dropped and a
// missing file is created empty. `temp_file` ends holding the kept records.
// On failure the status names the file and says whether anything changed.
Status RewriteRecordFile(Folder& folder, std::string_view main_file, std::string_view temp_file,
                         std::size_t record_length, const KeepTest& keep,
                         RewriteResult* result = nullptr, const RewriteOptions& options = {});

// Finishes a removal of `main_file` that was cut short, from the journal in
// `temp_file`, keeping every record appended since; `*finished` tells
// whether there was one to finish. Nothing to do when the main file holds no
// zero byte.
Status RecoverRewrite(Folder& folder, std::string_view main_file, std::string_view temp_file,
                      std::size_t record_length, bool* finished = nullptr,
                      const RewriteOptions& options = {});

// RecoverRewrite for every record file of the program; `finished` receives
// the names of the files a removal was finished on.
Status RecoverRemovals(Folder& folder, std::vector<std::string>* finished);

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
Status PurgeRecords(Folder& folder, int studentnum, int classnum, RewriteResult* result = nullptr,
                    const RewriteOptions& options = {});
Status PurgeDiagnostics(Folder& folder, int studentnum, int classnum,
                        RewriteResult* result = nullptr);

// How many records of RECORDS.DAT (or Diag.dat) such a purge would remove now.
Status CountPurgeable(Folder& folder, bool diagnostics, int studentnum, int classnum,
                      std::size_t* count);

}  // namespace quillon
