#include "data/Restore.h"

#include <map>
#include <set>
#include <thread>

#include "base/Text.h"
#include "data/ActivityRecord.h"
#include "data/Append.h"
#include "data/ClassFiles.h"
#include "data/DiagFile.h"
#include "data/Purge.h"
#include "data/RecordFile.h"

namespace quillon {
namespace {

constexpr char kRestoreKey[] = "restore";

std::string BinFile(std::string_view id, const char* suffix) {
  return std::string(kBinFolder) + "/" + std::string(id) + suffix;
}

// A two-character number field rewritten to `n` in the style it was written
// in: "07" stays zero-padded, "7 " left-justified, " 7" right-justified.
void SetNumber(std::string& record, std::size_t at, int n) {
  const std::string digits = std::to_string(n);
  std::string field;
  if (digits.size() >= 2) {
    field = digits.substr(0, 2);
  } else if (record[at] == ' ') {
    field = " " + digits;
  } else if (record[at + 1] == ' ') {
    field = digits + " ";
  } else {
    field = "0" + digits;
  }
  record.replace(at, 2, field);
}

// The lowest number from 1 to 99 not in `used`; 0 when there is none.
int LowestFree(const std::set<int>& used) {
  for (int n = 1; n <= kMaxNumber; ++n) {
    if (used.count(n) == 0) return n;
  }
  return 0;
}

// The entry as it will be appended: class and roster records to re-create,
// then the records and results, every number field where it goes now.
struct Transformed {
  BinEntry entry;
  std::string conflict;
};

Status Transform(Folder& folder, const BinEntry& source, bool renumber, Transformed* out) {
  std::string classes_bytes, students_bytes;
  Status s = folder.ReadFile(kClassesFile, &classes_bytes);
  if (s.ok()) s = folder.ReadFile(kStudentsFile, &students_bytes);
  if (!s.ok()) return s;
  const RecordSet classes(classes_bytes, kClassRecordLength),
      students(students_bytes, kStudentRecordLength);
  std::map<int, std::string> class_now;                    // number -> name field
  std::map<std::pair<int, int>, std::string> student_now;  // (class, student) -> name field
  for (std::size_t i = 0; i < classes.Count(); ++i) {
    class_now.emplace(ClassNumberOf(classes.At(i)), std::string(classes.At(i).substr(0, 27)));
  }
  for (std::size_t i = 0; i < students.Count(); ++i) {
    const std::string_view r = students.At(i);
    student_now.emplace(std::make_pair(StudentClassNumberOf(r), StudentNumberOf(r)),
                        std::string(r.substr(0, 21)));
  }

  BinGroup new_classes{kClassesFile, kClassRecordLength, kRestoreKey, ""};
  BinGroup new_students{kStudentsFile, kStudentRecordLength, kRestoreKey, ""};
  std::map<int, int> class_map;
  std::map<std::pair<int, int>, int> student_map;
  std::vector<std::string> conflicts;

  // Classes: those the entry took away, and the one it concerned.
  std::vector<std::string> class_records;
  for (const BinGroup& g : source.groups) {
    if (g.file != kClassesFile) continue;
    for (std::size_t at = 0; at + g.length <= g.records.size(); at += g.length) {
      class_records.push_back(g.records.substr(at, g.length));
    }
  }
  if (source.note.classrec.size() == kClassRecordLength) {
    class_records.push_back(source.note.classrec);
  }
  for (std::string record : class_records) {
    const int n = ClassNumberOf(record);
    if (class_map.count(n) != 0) continue;
    auto now = class_now.find(n);
    int target = n;
    if (now != class_now.end() && now->second == record.substr(0, 27)) {
      class_map[n] = n;  // the same class is still there
      continue;
    }
    if (now != class_now.end()) {
      conflicts.push_back("class " + std::to_string(n) + " is now " + TrimRight(now->second));
      std::set<int> used;
      for (const auto& [number, name] : class_now) used.insert(number);
      target = LowestFree(used);
      if (target == 0) return Status::Error(kClassesFile, "has no free class number (1 to 99)");
    }
    class_map[n] = target;
    SetNumber(record, 30, target);
    new_classes.records += record;
    class_now[target] = record.substr(0, 27);
  }

  // Students likewise, in the class they go back to.
  std::vector<std::string> student_records;
  for (const BinGroup& g : source.groups) {
    if (g.file != kStudentsFile) continue;
    for (std::size_t at = 0; at + g.length <= g.records.size(); at += g.length) {
      student_records.push_back(g.records.substr(at, g.length));
    }
  }
  for (const std::string& r : source.note.students) {
    if (r.size() == kStudentRecordLength) student_records.push_back(r);
  }
  for (std::string record : student_records) {
    const int c = StudentClassNumberOf(record), n = StudentNumberOf(record);
    if (student_map.count({c, n}) != 0) continue;
    const int tc = class_map.count(c) != 0 ? class_map[c] : c;
    auto now = student_now.find({tc, n});
    int target = n;
    if (now != student_now.end() && now->second == record.substr(0, 21)) {
      student_map[{c, n}] = n;
      continue;
    }
    if (now != student_now.end()) {
      conflicts.push_back("student " + std::to_string(n) + " of class " + std::to_string(tc) +
                          " is now " + TrimRight(now->second));
      std::set<int> used;
      for (const auto& [key, name] : student_now) {
        if (key.first == tc) used.insert(key.second);
      }
      target = LowestFree(used);
      if (target == 0) return Status::Error(kStudentsFile, "has no free student number (1 to 99)");
    }
    student_map[{c, n}] = target;
    SetNumber(record, 21, target);
    SetNumber(record, 23, tc);
    new_students.records += record;
    student_now[{tc, target}] = record.substr(0, 21);
  }

  out->conflict.clear();
  for (const std::string& c : conflicts) {
    out->conflict += (out->conflict.empty() ? "" : "; ") + c;
  }
  if (!renumber) {
    // Without renumbering the entry goes back as it is; a conflict refuses.
    class_map.clear();
    student_map.clear();
  }
  out->entry = BinEntry{source.note, {}};
  if (!new_classes.records.empty()) out->entry.groups.push_back(new_classes);
  if (!new_students.records.empty()) out->entry.groups.push_back(new_students);
  for (const char* file : {kRecordsFile, kDiagFile}) {
    for (const BinGroup& g : source.groups) {
      if (g.file != file) continue;
      BinGroup moved{g.file, g.length, kRestoreKey, g.records};
      for (std::size_t at = 0; at + g.length <= moved.records.size(); at += g.length) {
        std::string record = moved.records.substr(at, g.length);
        const int c = ActivityClassNumber(record), n = ActivityStudentNumber(record);
        auto student = student_map.find({c, n});
        auto cls = class_map.find(c);
        if (student != student_map.end()) SetNumber(record, 4, student->second);
        if (cls != class_map.end()) SetNumber(record, 2, cls->second);
        moved.records.replace(at, g.length, record);
      }
      out->entry.groups.push_back(std::move(moved));
    }
  }
  return Status::OK();
}

void Fill(const BinEntry& t, RestorePlan* plan) {
  plan->records = t.Count(kRecordsFile);
  plan->results = t.Count(kDiagFile);
  plan->roster = t.Count(kClassesFile) + t.Count(kStudentsFile);
}

// Where group `i`'s append was last begun, from the lines "i offset" of
// Erased/<ID>.at; -1 when never.
long long BegunAt(std::string_view progress, std::size_t i) {
  long long at = -1;
  for (std::size_t from = 0; from < progress.size();) {
    const std::size_t end = std::min(progress.find('\n', from), progress.size());
    const std::string_view line = progress.substr(from, end - from);
    const std::size_t blank = line.find(' ');
    if (end < progress.size() && blank != std::string_view::npos &&
        std::to_string(i) == line.substr(0, blank)) {
      at = -1;
      for (char c : line.substr(blank + 1)) {
        if (c < '0' || c > '9' || at > (1ll << 50)) break;
        at = (at < 0 ? 0 : at * 10) + (c - '0');
      }
    }
    from = end + 1;
  }
  return at;
}

// True when `file` holds `records` at `at`.
Status HoldsAt(Folder& folder, const RemovalFile& file, long long at, std::string_view records,
               bool* holds) {
  *holds = false;
  if (at < 0) return Status::OK();
  std::unique_ptr<File> main;
  Status s = folder.OpenFile(file.main, /*create=*/true, &main);
  std::string bytes;
  if (s.ok()) s = main->Read(static_cast<std::uint64_t>(at), records.size(), &bytes);
  *holds = s.ok() && bytes == records;
  return s;
}

// The length of `file`'s whole records, after giving a partial record at
// the end (a lesson's write in progress) two seconds to be completed.
Status WholeLength(Folder& folder, const RemovalFile& file, std::uint64_t* whole) {
  std::uint64_t size = 0;
  Status s;
  for (int tries = 0; tries < 1000; ++tries) {
    std::unique_ptr<File> main;
    s = folder.OpenFile(file.main, /*create=*/true, &main);
    if (s.ok()) s = main->Size(&size);
    if (!s.ok() || size % file.length == 0) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  *whole = size / file.length * file.length;
  return s;
}

// Appends every group of Erased/<ID>.restoring not yet in its file, then
// takes the entry out of the bin.
Status CarryOut(Folder& folder, std::string_view id) {
  const std::string plan_name = BinFile(id, ".restoring"), at_name = BinFile(id, ".at");
  std::string bytes, progress;
  Status s = folder.ReadFile(plan_name, &bytes);
  if (s.ok()) s = folder.ReadFile(at_name, &progress);
  if (!s.ok()) return s;
  BinEntry t;
  if (!ParseBinEntry(bytes, &t)) {
    return Status::Error(plan_name, "is damaged; the restore it describes cannot be finished");
  }
  std::unique_ptr<File> log;
  s = folder.OpenPrivateFile(at_name, &log);
  for (std::size_t i = 0; s.ok() && i < t.groups.size(); ++i) {
    const BinGroup& g = t.groups[i];
    const RemovalFile* file = RemovalFileOf(g.file);
    if (file == nullptr || file->length != g.length || g.records.find('\0') != std::string::npos) {
      return Status::Error(plan_name, "names records that cannot be put back (" + g.file + ")");
    }
    bool holds = false;
    s = HoldsAt(folder, *file, BegunAt(progress, i), g.records, &holds);
    // A lesson appending at the same moment moves the end: look again.
    for (int tries = 0; s.ok() && !holds && tries < 100; ++tries) {
      std::uint64_t whole = 0;
      s = WholeLength(folder, *file, &whole);
      // Where the append goes is on disk before it is made, so that a
      // restore cut short knows whether it was.
      const std::string line = std::to_string(i) + " " + std::to_string(whole) + "\n";
      if (s.ok()) s = log->Write(progress.size(), line);
      if (s.ok()) s = log->Sync();
      if (!s.ok()) break;
      progress += line;
      bool moved = false;
      s = AppendAllOrNone(folder, *file, g.records, &whole, &moved);
      holds = s.ok() && !moved;
    }
    if (s.ok() && !holds) return Status::Error(g.file, "kept growing; nothing more was put back");
  }
  log.reset();
  // Out of the bin, then the restore's own files.
  if (s.ok()) s = folder.RemoveFile(BinFile(id, ".qbn"));
  if (s.ok()) s = folder.SyncSubfolder(kBinFolder);
  if (s.ok()) s = folder.RemoveFile(plan_name);
  if (s.ok()) s = folder.RemoveFile(at_name);
  if (s.ok()) s = folder.SyncSubfolder(kBinFolder);
  return s;
}

}  // namespace

std::string RestorePlan::Describe(const BinEntry& entry) const {
  std::vector<std::string> parts;
  auto count = [&](std::size_t n, const char* one, const char* many) {
    if (n > 0) parts.push_back(std::to_string(n) + " " + (n == 1 ? one : many));
  };
  count(records, "activity record", "activity records");
  count(results, "diagnostic result", "diagnostic results");
  count(roster, "roster or class record", "roster and class records");
  std::string text = entry.note.what + " (";
  for (std::size_t i = 0; i < parts.size(); ++i) text += (i > 0 ? ", " : "") + parts[i];
  return text + (parts.empty() ? "nothing to put back)" : ")");
}

Status PlanRestore(Folder& folder, const BinEntry& entry, bool renumber, RestorePlan* plan) {
  *plan = RestorePlan();
  Transformed t;
  Status s = Transform(folder, entry, renumber, &t);
  if (!s.ok()) return s;
  plan->conflict = t.conflict;
  Fill(t.entry, plan);
  return s;
}

Status FinishRestores(Folder& folder) {
  std::vector<std::string> names;
  Status s = folder.ListFolder(kBinFolder, &names);
  const std::string suffix = ".restoring", fresh = ".new";
  for (const std::string& name : names) {
    if (!s.ok()) break;
    // A file written beside an entry or a plan and never renamed: a crash
    // cut it short, and what it was for is done again whole.
    if (name.size() > fresh.size() &&
        name.compare(name.size() - fresh.size(), fresh.size(), fresh) == 0) {
      s = folder.RemoveFile(std::string(kBinFolder) + "/" + name);
      continue;
    }
    if (name.size() > suffix.size() &&
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0) {
      s = CarryOut(folder, name.substr(0, name.size() - suffix.size()));
    }
  }
  return s;
}

Status RestoreBinEntry(Folder& folder, std::string_view id, bool renumber, RestorePlan* plan) {
  RestorePlan ignored;
  if (plan == nullptr) plan = &ignored;
  *plan = RestorePlan();
  // This entry's own restore, cut short earlier: finished first (below, or
  // by the recovery), and that is the restore asked for.
  std::string pending;
  Status s;
  if (ValidId(id)) s = folder.ReadFile(BinFile(id, ".restoring"), &pending);
  BinEntry earlier;
  const bool resumed = s.ok() && !pending.empty() && ParseBinEntry(pending, &earlier);
  std::vector<std::string> finished;
  if (s.ok()) s = RecoverRemovals(folder, &finished);
  std::unique_ptr<FolderLock> lock;
  if (s.ok()) s = folder.Lock(kLockFile, RewriteOptions().lock_wait, &lock);
  if (s.ok()) s = FinishRestores(folder);
  if (s.ok() && resumed && !folder.FileExists(BinFile(id, ".qbn"))) {
    Fill(earlier, plan);
    return s;
  }
  BinEntry entry;
  if (s.ok()) s = ReadBinEntry(folder, id, &entry);
  Transformed t;
  if (s.ok()) s = Transform(folder, entry, renumber, &t);
  if (!s.ok()) return s;
  plan->conflict = t.conflict;
  Fill(t.entry, plan);
  if (!t.conflict.empty() && !renumber) {
    return Status::Error(
        std::string(id),
        "its numbers have since been given to others (" + t.conflict +
            "); nothing was restored. It can be restored under the lowest free numbers.");
  }
  // What will be appended is on disk before anything is.
  s = folder.RemoveFile(BinFile(id, ".at"));
  if (s.ok()) s = WriteBinFile(folder, BinFile(id, ".restoring"), {FormatBinEntry(t.entry)});
  if (s.ok()) s = CarryOut(folder, id);
  return s;
}

}  // namespace quillon
