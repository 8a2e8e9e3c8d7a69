#include "data/RecordFile.h"

#include <utility>
#include <vector>

#include "data/Append.h"
#include "data/Purge.h"

namespace quillon {

Status ReadRecordBytes(Folder& folder, std::string_view name, std::string* bytes) {
  Status s = folder.ReadFile(name, bytes);
  const RemovalFile* file = RemovalFileOf(name);
  if (!s.ok() || file == nullptr) return s;
  // A lesson never writes a zero byte; a removal leaves one in the file
  // until it is done.
  if (bytes->find('\0') == std::string::npos) return s;
  // A removal under way (wait for its lock) or cut short (finish it).
  std::unique_ptr<FolderLock> lock;
  const RewriteOptions options;
  s = folder.Lock(kLockFile, options.lock_wait, &lock);
  bool finished = false;
  if (s.ok()) s = FinishInterruptedRemoval(folder, *file, options, nullptr, &finished);
  if (!s.ok()) {
    bytes->clear();
    if (s.file() == kLockFile) {
      return Status::Error(std::string(name),
                           "a removal of records from it is under way or was cut short, and "
                           "cannot be finished now (" +
                               s.ToString() + ")");
    }
    return s;
  }
  return folder.ReadFile(name, bytes);
}

Status ReadRecords(Folder& folder, std::string_view name, std::size_t length, RecordSet* records) {
  std::string bytes;
  Status s = ReadRecordBytes(folder, name, &bytes);
  if (!s.ok()) return s;
  *records = RecordSet(std::move(bytes), length);
  return Status::OK();
}

Status AppendRecord(Folder& folder, std::string_view name, std::string_view record) {
  if (record.empty()) return Status::Error(std::string(name), "an empty record cannot be added");
  return AppendRecords(folder, name, record);
}

namespace {

// A zero byte in a record would read as a removal cut short (the lessons
// never write one): such a record is not stored.
Status RefuseZeroByte(std::string_view name, std::string_view records) {
  if (records.find('\0') == std::string_view::npos) return Status::OK();
  return Status::Error(std::string(name),
                       "the record cannot be stored: a character of its name or password would "
                       "be stored as a zero byte");
}

}  // namespace

Status AppendRecords(Folder& folder, std::string_view name, std::string_view records) {
  const RemovalFile* file = RemovalFileOf(name);
  if (file == nullptr) return Status::Error(std::string(name), "records cannot be added here");
  Status s = RefuseZeroByte(name, records);
  if (!s.ok()) return s;
  return ChangeUnderLock(folder, name, [&] { return AppendAllOrNone(folder, *file, records); });
}

Status ChangeRecordsInPlace(Folder& folder, std::string_view name, std::size_t length,
                            const std::function<bool(std::string& record)>& change) {
  return ChangeUnderLock(folder, name, [&] {
    std::unique_ptr<File> file;
    Status s = folder.OpenFile(name, /*create=*/true, &file);
    std::uint64_t size = 0;
    if (s.ok()) s = file->Size(&size);
    std::string bytes;
    if (s.ok()) s = file->Read(0, static_cast<std::size_t>(size), &bytes);
    // Every change is checked before the first is written.
    std::vector<std::pair<std::size_t, std::string>> changes;
    for (std::size_t at = 0; s.ok() && at + length <= bytes.size(); at += length) {
      std::string record = bytes.substr(at, length);
      if (!change(record)) continue;
      s = RefuseZeroByte(name, record);
      changes.emplace_back(at, std::move(record));
    }
    const bool changed = !changes.empty();
    for (std::size_t i = 0; s.ok() && i < changes.size(); ++i) {
      s = file->Write(changes[i].first, std::string_view(changes[i].second).substr(0, length));
    }
    if (s.ok() && changed) s = file->Sync();
    return s;
  });
}

}  // namespace quillon
