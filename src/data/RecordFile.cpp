#include "data/RecordFile.h"

namespace quillon {

Status ReadRecords(Folder& folder, std::string_view name, std::size_t length, RecordSet* records) {
  std::string bytes;
  Status s = folder.ReadFile(name, &bytes);
  if (!s.ok()) return s;
  *records = RecordSet(std::move(bytes), length);
  return Status::OK();
}

Status AppendRecord(Folder& folder, std::string_view name, std::string_view record) {
  std::string bytes;
  Status s = folder.ReadFile(name, &bytes);
  if (!s.ok()) return s;
  bytes.resize(bytes.size() / record.size() * record.size());
  bytes.append(record);
  // The file is replaced whole, so a failure leaves the old file in place.
  std::string temp = std::string(name) + ".NEW";
  s = folder.WriteFile(temp, bytes);
  if (s.ok()) s = folder.SyncFile(temp);
  if (s.ok()) s = folder.RenameFile(temp, name);
  if (s.ok()) s = folder.SyncFolder();
  return s;
}

}  // namespace quillon
