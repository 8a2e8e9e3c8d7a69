#include "store/Read.h"

#include "data/DiagFile.h"
#include "store/Pending.h"

namespace quillon {
namespace {

// Leaves out of `bytes` the whole records that hold a zero byte; says where
// the first was.
void LeaveOutZeroRecords(const StoreFile& file, std::string* bytes, std::string* damage) {
  if (bytes->find('\0') == std::string::npos) return;
  const std::string where = ZeroBytesAt(file, *bytes);
  std::string kept;
  kept.reserve(bytes->size());
  std::size_t left_out = 0, at = 0;
  for (; at + file.length <= bytes->size(); at += file.length) {
    const std::string_view r = std::string_view(*bytes).substr(at, file.length);
    if (r.find('\0') == std::string_view::npos) {
      kept.append(r);
    } else {
      ++left_out;
    }
  }
  const std::string_view tail = std::string_view(*bytes).substr(at);
  if (tail.find('\0') == std::string_view::npos) kept.append(tail);
  *bytes = std::move(kept);
  if (damage != nullptr) {
    *damage = std::string(file.main) + " " + where + "; " + std::to_string(left_out) +
              (left_out == 1 ? " record holding them was" : " records holding them were") +
              " left out.";
  }
}

}  // namespace

Status ReadRecordBytes(Folder& folder, std::string_view name, std::string* bytes,
                       std::string* damage) {
  if (damage != nullptr) damage->clear();
  Status s = folder.ReadFile(name, bytes);
  const StoreFile* file = StoreFileOf(name);
  if (!s.ok() || file == nullptr) return s;
  bool pending = false;
  s = MayBePending(folder, *file, *bytes, &pending);
  if (s.ok() && pending) {
    // A change under way (wait for its lock) or cut short (finish it).
    std::unique_ptr<LockToken> lock;
    s = TakeLock(folder, kLockWait, &lock);
    if (s.ok()) s = FinishPending(folder, *lock, file, nullptr);
    // Zero bytes that nothing explains are read around, below.
    if (!s.ok() && s.code() == StatusCode::kDamaged && s.file() == file->main) s = Status::OK();
    // Read again while the lock is held: no removal begins meanwhile.
    if (s.ok()) s = folder.ReadFile(name, bytes);
    if (!s.ok()) {
      bytes->clear();
      if (s.code() == StatusCode::kBusy) {
        return Status::Error(StatusCode::kBusy, std::string(name),
                             "a change of it is under way, or was cut short and cannot be "
                             "finished now (" +
                                 s.ToString() + ")");
      }
      return s;
    }
  }
  if (s.ok()) LeaveOutZeroRecords(*file, bytes, damage);
  return s;
}

Status ReadRecords(Folder& folder, std::string_view name, std::size_t length, RecordSet* records,
                   std::string* damage) {
  std::string bytes;
  Status s = ReadRecordBytes(folder, name, &bytes, damage);
  if (!s.ok()) return s;
  *records = RecordSet(std::move(bytes), length);
  return Status::OK();
}

Status ReadDiagRecords(Folder& folder, std::vector<std::string>* records, std::string* damage) {
  records->clear();
  RecordSet set;
  Status s = ReadRecords(folder, kDiagFile, kDiagRecordLength, &set, damage);
  for (std::size_t i = 0; i < set.Count(); ++i) records->emplace_back(set.At(i));
  return s;
}

namespace {

Status ReadClasses(Folder& folder, RecordSet* classes) {
  return ReadRecords(folder, kClassesFile, kClassRecordLength, classes);
}
Status ReadStudents(Folder& folder, RecordSet* students) {
  return ReadRecords(folder, kStudentsFile, kStudentRecordLength, students);
}

}  // namespace

Status FillClassList(Folder& folder, ClassList* list) {
  RecordSet classes;
  Status s = ReadClasses(folder, &classes);
  *list = FillClassList(classes);
  return s;
}

Status FillRosterList(Folder& folder, int classnum, std::vector<std::string>* items) {
  RecordSet students;
  Status s = ReadStudents(folder, &students);
  *items = FillRosterList(students, classnum);
  return s;
}

Status LookupStudentName(Folder& folder, int classnum, int studentnum, std::string* name) {
  RecordSet students;
  Status s = ReadStudents(folder, &students);
  *name = LookupStudentName(students, classnum, studentnum);
  return s;
}

Status ClassNumberInUse(Folder& folder, int classnum, bool* in_use) {
  RecordSet classes;
  Status s = ReadClasses(folder, &classes);
  *in_use = ClassNumberInUse(classes, classnum);
  return s;
}

Status LoadRoster(Folder& folder, Roster* roster) {
  RecordSet students;
  Status s = ReadStudents(folder, &students);
  roster->Load(students);
  return s;
}

}  // namespace quillon
