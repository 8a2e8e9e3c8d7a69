#include "store/Restore.h"

#include <map>
#include <set>

#include "base/Text.h"
#include "data/ActivityRecord.h"
#include "data/ClassFiles.h"
#include "data/DiagFile.h"
#include "data/RecordFile.h"
#include "store/Append.h"

namespace quillon {
namespace {

constexpr char kRestoreKey[] = "restore";
constexpr char kPlanSuffix[] = ".restoring";

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
  out->entry = BinEntry();
  out->entry.note = source.note;
  if (!new_classes.records.empty()) out->entry.groups.push_back(new_classes);
  if (!new_students.records.empty()) out->entry.groups.push_back(new_students);
  for (const char* file : {kRecordsFile, kDiagFile}) {
    for (const BinGroup& g : source.groups) {
      if (g.file != file) continue;
      BinGroup moved{g.file, g.length, g.key, g.records};
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

// Erased/<ID>.at: "on 12/10/26 <ID> <key>", then "N done AT" for each
// group on disk. A line cut short by a crash is not one.
struct Progress {
  std::string date;
  std::string identity;  // "<ID> <key>" of the entry being restored
  std::set<std::size_t> done;
};

Progress ReadProgress(std::string_view text) {
  Progress p;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t end = text.find('\n', at);
    if (end == std::string_view::npos) break;
    const std::string_view line = text.substr(at, end - at);
    if (at == 0 && line.substr(0, 3) == "on ") {
      const std::size_t blank = line.find(' ', 3);
      p.date.assign(line.substr(3, blank == std::string_view::npos ? line.size() - 3 : blank - 3));
      if (blank != std::string_view::npos) p.identity.assign(line.substr(blank + 1));
    } else if (const std::size_t blank = line.find(" done "); blank != std::string_view::npos) {
      std::size_t n = 0;
      bool digits = blank > 0 && blank <= 6;
      for (char c : line.substr(0, blank)) {
        digits = digits && c >= '0' && c <= '9';
        n = n * 10 + static_cast<std::size_t>(c - '0');
      }
      if (digits) p.done.insert(n);
    }
    at = end + 1;
  }
  return p;
}

std::string DateText(const Date& d) {
  return ZeroPad(d.month, 2) + "/" + ZeroPad(d.day, 2) + "/" + ZeroPad(d.year % 100, 2);
}

// The restore of entry `id` whose plan is in the bin: appends every group
// not yet on disk, then takes the entry out of the bin. A damaged plan is
// set aside (never written over) and the entry stays.
Status CarryOut(Folder& folder, const LockToken& lock, std::string_view id) {
  const std::string plan_name = BinFile(id, kPlanSuffix), at_name = BinFile(id, ".at");
  std::string bytes, progress_text;
  Status s = folder.ReadPrivateFile(plan_name, &bytes);
  if (s.ok()) s = folder.ReadPrivateFile(at_name, &progress_text);
  if (!s.ok()) return s;
  BinEntry t;
  std::string damage;
  const Progress progress = ReadProgress(progress_text);
  if (!ParseBinEntry(bytes, &t, &damage) || progress.date.empty()) {
    if (damage.empty()) damage = "its progress file " + at_name + " is not whole";
    std::string aside;
    s = SetAside(folder, plan_name, "damaged", &aside);
    if (s.ok()) s = folder.SyncSubfolder(kBinFolder);
    if (!s.ok()) return s;
    return Status::Error(StatusCode::kDamaged, plan_name,
                         "the plan of a restore cut short is damaged (" + damage +
                             "); it was set aside as " + aside +
                             ", and the entry stays in the bin (records it had put back before "
                             "are in their files)");
  }
  for (std::size_t i = 0; s.ok() && i < t.groups.size(); ++i) {
    if (progress.done.count(i) != 0) continue;
    const BinGroup& g = t.groups[i];
    const StoreFile* file = StoreFileOf(g.file);  // checked by ParseBinEntry
    s = AppendAllOrNone(folder, lock, *file, g.records,
                        "restore " + std::string(id) + " " + std::to_string(i),
                        [&](std::string_view tag, std::uint64_t at) {
                          return NoteGroupAppended(folder, tag, at);
                        });
  }
  if (!s.ok()) return s;
  // Complete: noted, then out of the bin, then the restore's own files.
  BinEntry identity;
  identity.note.id = progress.identity.substr(0, progress.identity.find(' '));
  if (const std::size_t blank = progress.identity.find(' '); blank != std::string::npos) {
    BinGroup first;
    first.key = progress.identity.substr(blank + 1);
    identity.groups.push_back(first);
  }
  s = NoteRestored(folder, identity, progress.date);
  if (s.ok()) s = folder.RemoveFile(BinFile(id, ".qbn"));
  if (s.ok()) s = folder.SyncSubfolder(kBinFolder);
  if (s.ok()) s = folder.RemoveFile(plan_name);
  if (s.ok()) s = folder.RemoveFile(at_name);
  if (s.ok()) s = folder.SyncSubfolder(kBinFolder);
  return s;
}

bool EndsWith(std::string_view s, std::string_view end) {
  return s.size() > end.size() && s.substr(s.size() - end.size()) == end;
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

Status RestoresPending(Folder& folder, bool* pending) {
  std::vector<std::string> names;
  Status s = folder.ListFolder(kBinFolder, &names);
  // A plan, or a file written beside one and never renamed (left to tidy).
  *pending = std::any_of(names.begin(), names.end(), [](const std::string& n) {
    return EndsWith(n, kPlanSuffix) || EndsWith(n, ".new");
  });
  return s;
}

Status FinishRestores(Folder& folder, const LockToken& lock, PendingReport* report) {
  std::vector<std::string> names;
  Status s = folder.ListFolder(kBinFolder, &names);
  if (!s.ok()) {
    // A bin that cannot be read stops nothing else.
    if (report != nullptr) report->push_back({Finished::What::kLeftPending, kBinFolder, s.ToString()});
    return Status::OK();
  }
  for (const std::string& name : names) {
    // A file written beside an entry or a plan and never renamed: a crash
    // cut it short, and what it was for is done again whole.
    if (EndsWith(name, ".new")) {
      (void)folder.RemoveFile(std::string(kBinFolder) + "/" + name);
      continue;
    }
    if (!EndsWith(name, kPlanSuffix)) continue;
    const std::string id = name.substr(0, name.size() - std::string_view(kPlanSuffix).size());
    s = CarryOut(folder, lock, id);
    if (report == nullptr) continue;
    if (s.ok()) {
      report->push_back({Finished::What::kRestoreFinished, BinFile(id, ".qbn"), ""});
    } else {
      report->push_back({s.code() == StatusCode::kDamaged ? Finished::What::kSetAside
                                                          : Finished::What::kLeftPending,
                         BinFile(id, ".qbn"), s.ToString()});
    }
  }
  return Status::OK();
}

Status NoteGroupAppended(Folder& folder, std::string_view tag, std::uint64_t at) {
  // "restore ID N"
  const std::size_t blank = tag.rfind(' ');
  if (tag.substr(0, 8) != "restore " || blank == std::string_view::npos || blank < 8) {
    return Status::OK();
  }
  const std::string id(tag.substr(8, blank - 8));
  if (!ValidId(id)) return Status::OK();
  const std::string at_name = BinFile(id, ".at");
  std::string text;
  Status s = folder.ReadPrivateFile(at_name, &text);
  if (!s.ok() || text.empty()) return s;
  // A line cut short by an earlier crash goes first.
  text.resize(text.rfind('\n') == std::string::npos ? 0 : text.rfind('\n') + 1);
  const std::string line = std::string(tag.substr(blank + 1)) + " done " + std::to_string(at) + "\n";
  std::unique_ptr<File> out;
  s = folder.OpenPrivateFile(at_name, &out);
  if (s.ok()) s = out->Truncate(text.size());
  if (s.ok()) s = out->Write(text.size(), line);
  if (s.ok()) s = out->Sync();
  return s;
}

Status RestoreBinEntry(Folder& folder, std::string_view id, bool renumber, const Date& today,
                       RestorePlan* plan) {
  RestorePlan ignored;
  if (plan == nullptr) plan = &ignored;
  *plan = RestorePlan();
  // This entry's own restore, cut short earlier: finished first (by the
  // door), and that is the restore asked for.
  std::string pending;
  BinEntry earlier;
  const bool resumed = ValidId(id) &&
                       folder.ReadPrivateFile(BinFile(id, kPlanSuffix), &pending).ok() &&
                       !pending.empty() && ParseBinEntry(pending, &earlier);
  PendingReport report;
  return WithLock(
      folder, nullptr,
      [&](const LockToken& lock) {
        if (resumed && !folder.FileExists(BinFile(id, ".qbn"))) {
          Fill(earlier, plan);
          return Status::OK();
        }
        for (const Finished& f : report) {
          if (f.file == BinFile(id, ".qbn") && f.what != Finished::What::kRestoreFinished) {
            return Status::Error(StatusCode::kBusy, f.file, f.detail);
          }
        }
        BinEntry entry;
        Status s = ReadBinEntry(folder, id, &entry);
        std::string restored;
        if (s.ok()) s = RestoredOn(folder, entry, &restored);
        if (s.ok() && !restored.empty()) {
          return Status::Error(StatusCode::kRefused, BinFile(id, ".qbn"),
                               "was restored on " + restored +
                                   " already (this is a copy of it); nothing was restored");
        }
        Transformed t;
        if (s.ok()) s = Transform(folder, entry, renumber, &t);
        if (!s.ok()) return s;
        plan->conflict = t.conflict;
        Fill(t.entry, plan);
        if (!t.conflict.empty() && !renumber) {
          return Status::Error(
              StatusCode::kRefused, std::string(id),
              "its numbers have since been given to others (" + t.conflict +
                  "); nothing was restored. It can be restored under the lowest free numbers.");
        }
        // The date and the entry's identity, then what will be appended,
        // each on disk with its name before anything is appended.
        const std::string identity =
            entry.note.id + " " + (entry.groups.empty() ? std::string("-") : entry.groups[0].key);
        s = WriteBinFile(folder, BinFile(id, ".at"), {"on " + DateText(today) + " " + identity + "\n"});
        if (s.ok()) s = WriteBinFile(folder, BinFile(id, kPlanSuffix), {FormatBinEntry(t.entry)});
        if (s.ok()) s = CarryOut(folder, lock, id);
        return s;
      },
      &report);
}

}  // namespace quillon
