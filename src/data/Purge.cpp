#include "data/Purge.h"

#include <algorithm>
#include <thread>

#include "data/ActivityRecord.h"
#include "data/ClassFiles.h"
#include "data/RecordFile.h"
#include "data/RemovalJournal.h"

namespace quillon {
namespace {

// Both purged layouts hold the class number at 3-4 and the student at 5-6.
int ClassField(std::string_view r) { return ActivityClassNumber(r); }
int StudentField(std::string_view r) { return ActivityStudentNumber(r); }

// "10", or "0.2": a time in seconds as a person reads it.
std::string Seconds(std::chrono::milliseconds ms) {
  std::string s = std::to_string(ms.count() / 1000);
  if (ms.count() % 1000 != 0) s += "." + std::to_string(ms.count() % 1000 / 100);
  return s;
}

Status WriteZeros(File& file, std::uint64_t from, std::uint64_t to) {
  static const std::string kZeros(1 << 20, '\0');
  Status s;
  for (std::uint64_t at = from; at < to && s.ok(); at += kZeros.size()) {
    s = file.Write(
        at, std::string_view(kZeros).substr(0, std::min<std::uint64_t>(kZeros.size(), to - at)));
  }
  return s;
}

// One removal on its way: the main file and its journal.
class Removal {
 public:
  Removal(Folder& folder, std::string_view main_name, std::string_view temp_name,
          std::size_t length, const KeepTest* keep, const RewriteOptions& options)
      : folder_(folder),
        main_name_(main_name),
        temp_name_(temp_name),
        length_(length),
        keep_(keep),
        options_(options) {}

  // Steps 1 and 2: the main file read, its kept records journaled. A main
  // file holding a zero byte may be a removal cut short: when `recover` is
  // given it is then set and nothing is done.
  Status Begin(bool* nothing_to_do, bool* recover);
  // Takes over a journal found on disk.
  Status Resume(JournalState&& state);
  // Steps 3 to 6 (from `zeroed` on when the journal says so).
  Status Finish(bool zeroed);

  const RewriteResult& counts() const { return counts_; }

 private:
  // Appends whole records `bytes` read from the main file to the kept
  // records, through the keep test.
  void TakeIn(std::string_view bytes);
  // Appends an entry to the journal and forces it to disk.
  Status Note(char type, std::string_view payload);
  // Step 3.
  Status ZeroAndWrite();
  // Whether a journal that says "zeroed" was followed by the cut already.
  Status WasCut(bool* cut);
  // Steps 4 and 5.
  Status MoveAppendedAndCut();

  Folder& folder_;
  std::string main_name_, temp_name_;
  std::size_t length_;
  const KeepTest* keep_;  // null: keep all (a recovery)
  const RewriteOptions options_;
  std::unique_ptr<File> main_, temp_;
  std::string content_;           // the records the main file is to begin with
  std::uint64_t end_ = 0;         // where records not yet taken in begin
  std::size_t changed_ = 0;       // the first byte of the main file that changes
  std::size_t begun_at_ = 0;      // the kept length when the journal began
  std::uint64_t next_entry_ = 0;  // where the journal's next entry goes
  RewriteResult counts_;
};

void Removal::TakeIn(std::string_view bytes) {
  for (std::size_t at = 0; at + length_ <= bytes.size(); at += length_) {
    std::string_view record = bytes.substr(at, length_);
    if (keep_ == nullptr || (*keep_)(record)) {
      content_.append(record);
      ++counts_.kept;
    } else {
      changed_ = std::min(changed_, static_cast<std::size_t>(end_) + at);
      ++counts_.removed;
    }
  }
}

Status Removal::Note(char type, std::string_view payload) {
  std::string entry = JournalHeader(
      type, length_, content_.size() + (type == 'A' ? payload.size() : 0), end_, payload);
  entry.append(payload);
  Status s = temp_->Write(next_entry_, entry);
  if (s.ok()) s = temp_->Sync();
  if (s.ok()) next_entry_ += entry.size();
  return s;
}

Status Removal::Begin(bool* nothing_to_do, bool* recover) {
  *nothing_to_do = false;
  Status s = folder_.OpenFile(main_name_, /*create=*/true, &main_);
  std::uint64_t size = 0;
  if (s.ok()) s = main_->Size(&size);
  std::string bytes;
  if (s.ok()) s = main_->Read(0, static_cast<std::size_t>(size), &bytes);
  if (!s.ok()) return s;
  if (recover != nullptr) {
    *recover = bytes.find('\0') != std::string::npos;
    if (*recover) return s;
  }
  changed_ = bytes.size() / length_ * length_;
  content_.reserve(bytes.size());
  TakeIn(bytes);
  end_ = bytes.size() / length_ * length_;
  const std::size_t first_count = counts_.kept + counts_.removed;

  // Records appended while the file was read are taken in too, until a look
  // finds the file standing still; a file that never does is given up on.
  const auto start = std::chrono::steady_clock::now();
  for (;;) {
    s = main_->Size(&size);
    if (!s.ok()) return s;
    if (size < end_) {
      return Status::Error(main_name_,
                           "was shortened by another program while records were removed; "
                           "nothing was removed");
    }
    if (size < end_ + length_) break;
    if (std::chrono::steady_clock::now() - start > options_.give_up_after) {
      return Status::Error(main_name_,
                           "kept growing at every look for " + Seconds(options_.give_up_after) +
                               " seconds while records were to be removed (a program appends to "
                               "it without pause); nothing was removed");
    }
    const std::uint64_t whole = end_ + (size - end_) / length_ * length_;
    s = main_->Read(end_, static_cast<std::size_t>(whole - end_), &bytes);
    if (!s.ok()) return s;
    TakeIn(bytes);
    end_ += bytes.size() / length_ * length_;
  }
  counts_.appended_meanwhile = counts_.kept + counts_.removed - first_count;
  if (counts_.removed == 0 && size == end_) {
    // Nothing to remove: the main file stays as it is.
    *nothing_to_do = true;
    return folder_.WriteFile(temp_name_, content_);
  }

  bool created = false;
  s = folder_.OpenFile(temp_name_, /*create=*/true, &temp_, &created);
  begun_at_ = content_.size();
  const std::string begin = JournalHeader('B', length_, content_.size(), end_, content_);
  if (s.ok()) s = temp_->Write(0, content_);
  if (s.ok()) s = temp_->Write(content_.size(), begin);
  next_entry_ = content_.size() + begin.size();
  if (s.ok()) s = temp_->Truncate(next_entry_);
  if (s.ok()) s = temp_->Sync();
  if (s.ok() && created) s = folder_.SyncFolder();
  if (!s.ok()) {
    // The main file is untouched; the journal must not be taken for one.
    if (temp_ != nullptr) (void)temp_->Truncate(0);
    return Status::Error(s.file(), s.what() + "; nothing was removed");
  }
  return Status::OK();
}

Status Removal::Resume(JournalState&& state) {
  Status s = folder_.OpenFile(main_name_, /*create=*/false, &main_);
  if (s.ok()) s = folder_.OpenFile(temp_name_, /*create=*/false, &temp_);
  content_ = std::move(state.content);
  end_ = state.end;
  begun_at_ = static_cast<std::size_t>(state.begin_at);
  next_entry_ = state.next_entry;
  changed_ = 0;
  counts_.kept = content_.size() / length_;
  return s;
}

Status Removal::WasCut(bool* cut) {
  // Zeros in the place of the removed records were on disk: if they are gone
  // the file was cut already, and what follows the kept records was
  // appended after that.
  std::uint64_t size = 0;
  Status s = main_->Size(&size);
  if (!s.ok()) return s;
  *cut = size < end_;
  if (*cut) return s;
  std::string gap;
  s = main_->Read(content_.size(), static_cast<std::size_t>(end_ - content_.size()), &gap);
  *cut = s.ok() && gap.find_first_not_of('\0') != std::string::npos;
  return s;
}

Status Removal::ZeroAndWrite() {
  // Zeros first: from now until the cut the main file holds a zero byte, the
  // sign of a removal to finish.
  Status s = WriteZeros(*main_, content_.size(), end_);
  if (s.ok()) s = main_->Write(changed_, std::string_view(content_).substr(changed_));
  if (s.ok()) s = main_->Sync();
  if (s.ok()) s = Note('Z', "");
  return s;
}

Status Removal::MoveAppendedAndCut() {
  for (int partial_waits = 0;;) {
    std::uint64_t size = 0;
    Status s = main_->Size(&size);
    if (!s.ok()) return s;
    if (size < end_) {
      return Status::Error(main_name_,
                           "was shortened by another program while records were removed");
    }
    if (size < end_ + length_) {
      // A partial record at the end: a lesson's append in progress
      // (complete in a moment), or a stray fragment that is dropped.
      if (size > end_ && partial_waits < options_.partial_waits) {
        ++partial_waits;
        std::this_thread::sleep_for(options_.partial_wait);
        continue;
      }
      bool cut = false;
      s = main_->TruncateIfSize(size, content_.size(), &cut);
      if (!s.ok() || cut) return s;
      continue;  // something was appended since the look
    }
    // Records a lesson appended meanwhile: noted, then moved down behind the
    // kept ones, their old place zeroed first.
    const std::uint64_t whole = end_ + (size - end_) / length_ * length_;
    std::string appended;
    s = main_->Read(end_, static_cast<std::size_t>(whole - end_), &appended);
    if (!s.ok()) return s;
    const std::size_t before = content_.size(), counted = counts_.kept + counts_.removed;
    const std::uint64_t old_end = end_;
    TakeIn(appended);
    counts_.appended_meanwhile += counts_.kept + counts_.removed - counted;
    const std::string moved = content_.substr(before);
    content_.resize(before);
    end_ = whole;
    s = Note('A', moved);
    content_.append(moved);
    if (s.ok()) s = WriteZeros(*main_, old_end, whole);
    if (s.ok()) s = main_->Write(before, moved);
    if (s.ok()) s = main_->Sync();
    if (s.ok()) s = Note('Z', "");
    if (!s.ok()) return s;
    partial_waits = 0;
  }
}

Status Removal::Finish(bool zeroed) {
  bool cut = false;
  Status s = zeroed ? WasCut(&cut) : ZeroAndWrite();
  if (s.ok() && !cut) s = MoveAppendedAndCut();
  if (s.ok() && !cut) s = main_->Sync();
  if (!s.ok()) {
    return Status::Error(s.file(), s.what() +
                                       "; the removal is not finished: it will be when the "
                                       "program starts again or next removes records");
  }
  // The journal is no longer needed: the temporary file keeps the records.
  s = temp_->Write(begun_at_, std::string_view(content_).substr(begun_at_));
  if (s.ok()) s = temp_->Truncate(content_.size());
  return s;
}

}  // namespace

Status RecoverRewrite(Folder& folder, std::string_view main_file, std::string_view temp_file,
                      std::size_t record_length, bool* finished, const RewriteOptions& options) {
  if (finished != nullptr) *finished = false;
  std::string bytes;
  Status s = folder.ReadFile(main_file, &bytes);
  if (!s.ok() || bytes.find('\0') == std::string::npos) return s;
  std::string journal;
  s = folder.ReadFile(temp_file, &journal);
  if (!s.ok()) return s;
  std::optional<JournalState> state = ParseJournal(journal, record_length);
  if (!state) return Status::OK();  // zero bytes, but not from a removal of ours
  journal.clear();
  Removal removal(folder, main_file, temp_file, record_length, nullptr, options);
  s = removal.Resume(std::move(*state));
  if (s.ok()) s = removal.Finish(state->zeroed);
  if (s.ok() && finished != nullptr) *finished = true;
  return s;
}

Status RecoverRemovals(Folder& folder, std::vector<std::string>* finished) {
  static const struct {
    const char* main;
    const char* temp;
    std::size_t length;
  } kFiles[] = {{kRecordsFile, "RECORDS.TMP", kActivityRecordLength},
                {kDiagFile, "Diag.TMP", kDiagRecordLength},
                {kClassesFile, "CLASSES.TMP", kClassRecordLength},
                {kStudentsFile, "STUDENTS.TMP", kStudentRecordLength}};
  finished->clear();
  for (const auto& f : kFiles) {
    bool done = false;
    Status s = RecoverRewrite(folder, f.main, f.temp, f.length, &done);
    if (!s.ok()) return s;
    if (done) finished->push_back(f.main);
  }
  return Status::OK();
}

Status RewriteRecordFile(Folder& folder, std::string_view main_file, std::string_view temp_file,
                         std::size_t record_length, const KeepTest& keep, RewriteResult* result,
                         const RewriteOptions& options) {
  for (bool recovered = false;; recovered = true) {
    Removal removal(folder, main_file, temp_file, record_length, &keep, options);
    bool nothing_to_do = false, recover = false;
    Status s = removal.Begin(&nothing_to_do, recovered ? nullptr : &recover);
    if (s.ok() && recover) {
      // A removal cut short is finished first; then this one starts afresh.
      s = RecoverRewrite(folder, main_file, temp_file, record_length, nullptr, options);
      if (!s.ok()) return s;
      continue;
    }
    if (s.ok() && !nothing_to_do) s = removal.Finish(/*zeroed=*/false);
    if (s.ok() && result != nullptr) *result = removal.counts();
    return s;
  }
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
             std::size_t length, int studentnum, int classnum, RewriteResult* result,
             const RewriteOptions& options = {}) {
  KeepTest keep = PurgeKeepTest(studentnum, classnum);
  if (!keep) {
    return Status::Error(std::string(main_file),
                         "no records removed: the class or student number is negative");
  }
  return RewriteRecordFile(folder, main_file, temp_file, length, keep, result, options);
}

}  // namespace

Status PurgeRecords(Folder& folder, int studentnum, int classnum, RewriteResult* result,
                    const RewriteOptions& options) {
  return Purge(folder, kRecordsFile, "RECORDS.TMP", kActivityRecordLength, studentnum, classnum,
               result, options);
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
