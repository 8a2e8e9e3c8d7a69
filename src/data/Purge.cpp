#include "data/Purge.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <thread>

#include "base/Text.h"
#include "data/ActivityRecord.h"
#include "data/RecordFile.h"

namespace quillon {
namespace {

// How often the length check may find more records before the rewrite gives
// up (a lesson appending without pause for this long is not a tutoring lesson).
constexpr int kMaxGrowthRounds = 1000;
// How long a partial record at the end may be waited on: it is either a stray
// fragment (dropped) or a lesson's append in progress (completed in a moment).
constexpr int kPartialWaits = 5;
constexpr auto kPartialWait = std::chrono::milliseconds(2);
// After the replace the old file is looked at this often, this far apart,
// for records a lesson wrote into it as it was being replaced.
constexpr int kLateLooks = 3;
constexpr auto kLateLookPause = std::chrono::milliseconds(1);

// Both purged layouts hold the class number at 3-4 and the student at 5-6.
int ClassField(std::string_view r) { return ActivityClassNumber(r); }
int StudentField(std::string_view r) { return ActivityStudentNumber(r); }

// The records of the main file seen so far, put through `keep` as they come.
class Sweep {
 public:
  Sweep(std::size_t length, const KeepTest& keep) : length_(length), keep_(keep) {}

  // Adds bytes read after those already seen; returns the kept records among
  // the whole records they complete.
  std::string Absorb(std::string more) {
    if (bytes_.empty()) {
      bytes_ = std::move(more);
    } else {
      bytes_.append(more);
    }
    std::string kept;
    kept.reserve(bytes_.size() - processed_ * length_);
    for (const std::size_t whole = bytes_.size() / length_; processed_ < whole; ++processed_) {
      std::string_view record = std::string_view(bytes_).substr(processed_ * length_, length_);
      if (keep_(record)) {
        kept.append(record);
        ++counts.kept;
      } else {
        ++counts.removed;
      }
    }
    return kept;
  }
  std::size_t seen() const { return bytes_.size(); }
  std::size_t processed() const { return processed_; }
  bool partial() const { return bytes_.size() % length_ != 0; }

  RewriteResult counts;

 private:
  std::size_t length_;
  const KeepTest& keep_;
  std::string bytes_;
  std::size_t processed_ = 0;
};

// Reads what was appended to `name` beyond what `sweep` has seen. `*grew` is
// set when there was more; a file shorter than before is an error.
Status ReadGrowth(Folder& folder, std::string_view name, Sweep& sweep, std::string* kept,
                  bool* grew) {
  *grew = false;
  std::uint64_t size = 0;
  Status s = folder.FileSize(name, &size);
  if (!s.ok()) return s;
  if (size < sweep.seen()) {
    return Status::Error(std::string(name),
                         "was shortened by another program while records were removed");
  }
  if (size == sweep.seen()) return Status::OK();
  std::string more;
  s = folder.ReadFrom(name, sweep.seen(), &more);
  if (!s.ok()) return s;
  *grew = !more.empty();
  kept->append(sweep.Absorb(std::move(more)));
  return Status::OK();
}

}  // namespace

Status RewriteRecordFile(Folder& folder, std::string_view main_file, std::string_view temp_file,
                         std::size_t record_length, const KeepTest& keep, RewriteResult* result) {
  const std::string copy_file = std::string(main_file) + ".NEW";
  const std::string old_file = std::string(main_file) + ".OLD";
  Sweep sweep(record_length, keep);
  Status s = folder.CreateIfMissing(main_file);
  std::string all;
  if (s.ok()) s = folder.ReadFile(main_file, &all);
  if (!s.ok()) return s;
  std::string kept = sweep.Absorb(std::move(all));
  const std::size_t first_count = sweep.processed();

  // Write the copies, then look again: records a lesson appended meanwhile
  // are carried over, until the main file stands still.
  int partial_waits = 0;
  for (int round = 0;; ++round) {
    if (round == kMaxGrowthRounds) {
      return Status::Error(std::string(main_file),
                           "keeps growing while records are removed; nothing was removed");
    }
    s = folder.WriteFile(temp_file, kept);
    if (s.ok()) s = folder.SyncFile(temp_file);
    if (s.ok()) s = folder.WriteFile(copy_file, kept);
    if (s.ok()) s = folder.SyncFile(copy_file);
    if (!s.ok()) return s;
    bool grew = false;
    s = ReadGrowth(folder, main_file, sweep, &kept, &grew);
    if (!s.ok()) return s;
    if (grew) continue;
    // A partial record at the end is a stray fragment, or an append caught
    // half done: give it a moment to complete.
    if (!sweep.partial() || partial_waits == kPartialWaits) break;
    ++partial_waits;
    std::this_thread::sleep_for(kPartialWait);
  }

  // The old file keeps a second name across the replace, so that a record a
  // lesson writes into it at that very moment can still be read and carried
  // over into the new file.
  s = folder.RemoveFile(old_file);
  if (s.ok()) s = folder.LinkFile(main_file, old_file);
  if (s.ok()) s = folder.RenameFile(copy_file, main_file);
  if (s.ok()) s = folder.SyncFolder();
  if (!s.ok()) return s;
  for (int look = 0; look < kLateLooks; ++look) {
    if (look > 0) std::this_thread::sleep_for(kLateLookPause);
    std::string late;
    bool grew = false;
    s = ReadGrowth(folder, old_file, sweep, &late, &grew);
    if (s.ok() && !late.empty()) {
      s = folder.AppendFile(main_file, late);
      if (s.ok()) s = folder.AppendFile(temp_file, late);
      if (s.ok()) s = folder.SyncFile(main_file);
    }
    if (!s.ok()) {
      // The removal itself is done; what is unsure is a record a lesson may
      // have written into the old file. That file stays for the instructor.
      return Status::Error(std::string(main_file),
                           "the records were removed, but " + old_file +
                               " could not be checked for records written into it meanwhile; "
                               "it is kept until the next removal (" +
                               s.ToString() + ")");
    }
  }
  s = folder.RemoveFile(old_file);
  if (!s.ok()) return s;
  sweep.counts.appended_meanwhile = sweep.processed() - first_count;
  if (result != nullptr) *result = sweep.counts;
  return Status::OK();
}

KeepTest PurgeKeepTest(int studentnum, int classnum) {
  if (classnum == 0) return [](std::string_view) { return false; };
  if (classnum < 0 || studentnum < 0) return nullptr;
  if (studentnum == 0) {
    return [classnum](std::string_view r) { return ClassField(r) != classnum; };
  }
  return [studentnum, classnum](std::string_view r) {
    return StudentField(r) != studentnum || ClassField(r) != classnum;
  };
}

namespace {

Status Purge(Folder& folder, std::string_view main_file, std::string_view temp_file,
             std::size_t length, int studentnum, int classnum, RewriteResult* result) {
  KeepTest keep = PurgeKeepTest(studentnum, classnum);
  if (!keep) {
    return Status::Error(std::string(main_file),
                         "no records removed: the class or student number is negative");
  }
  return RewriteRecordFile(folder, main_file, temp_file, length, keep, result);
}

}  // namespace

Status PurgeRecords(Folder& folder, int studentnum, int classnum, RewriteResult* result) {
  return Purge(folder, kRecordsFile, "RECORDS.TMP", kActivityRecordLength, studentnum, classnum,
               result);
}

Status PurgeDiagnostics(Folder& folder, int studentnum, int classnum, RewriteResult* result) {
  return Purge(folder, kDiagFile, "Diag.TMP", kDiagRecordLength, studentnum, classnum, result);
}

Status CountPurgeable(Folder& folder, bool diagnostics, int studentnum, int classnum,
                      std::size_t* count) {
  *count = 0;
  KeepTest keep = PurgeKeepTest(studentnum, classnum);
  const char* file = diagnostics ? kDiagFile : kRecordsFile;
  if (!keep) return Status::Error(file, "the class or student number is negative");
  RecordSet records;
  Status s =
      ReadRecords(folder, file, diagnostics ? kDiagRecordLength : kActivityRecordLength, &records);
  for (std::size_t i = 0; i < records.Count(); ++i) {
    if (!keep(records.At(i))) ++*count;
  }
  return s;
}

}  // namespace quillon
