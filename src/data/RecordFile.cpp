#include "data/RecordFile.h"

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

Status AppendRecords(Folder& folder, std::string_view name, std::string_view records) {
  const RemovalFile* file = RemovalFileOf(name);
  if (file == nullptr) return Status::Error(std::string(name), "records cannot be added here");
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
    bool changed = false;
    for (std::size_t at = 0; s.ok() && at + length <= bytes.size(); at += length) {
      std::string record = bytes.substr(at, length);
      if (!change(record)) continue;
      s = file->Write(at, std::string_view(record).substr(0, length));
      changed = true;
    }
    if (s.ok() && changed) s = file->Sync();
    return s;
  });
}

}  // namespace quillon
