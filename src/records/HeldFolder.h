// A program folder made of bytes held in memory, read only: the files as a
// follower last read them (records/RecordTail.h), so that the readers of the
// records core (the working lists, the roster) can compute from them again
// without a read of the disk, without the folder's lock and without
// finishing anything: no journal, no bin, no lock here. Every write fails.
#pragma once

#include <map>
#include <string>

#include "platform/Folder.h"

namespace quillon {

class HeldFolder : public Folder {
 public:
  // `real` only names the files in messages.
  explicit HeldFolder(const Folder& real) : real_(real) {}

  // The bytes file `name` holds from now on.
  void Hold(const std::string& name, std::string bytes) { files_[name] = std::move(bytes); }

  std::string FullPath(std::string_view name) const override { return real_.FullPath(name); }
  bool FileExists(std::string_view name) override;
  Status ReadFile(std::string_view name, std::string* contents) override;
  Status WriteFile(std::string_view name, std::string_view contents) override;
  Status OpenFile(std::string_view name, bool create, std::unique_ptr<File>* file,
                  bool* created = nullptr) override;
  Status RemoveFile(std::string_view name) override;
  Status PublishFile(std::string_view from, std::string_view to, bool* taken) override;
  Status SyncFolder() override { return Status::OK(); }
  Status MakeFolder(std::string_view name) override;
  Status ListFolder(std::string_view name, std::vector<std::string>* names) override;
  Status SyncSubfolder(std::string_view) override { return Status::OK(); }
  Status ReplaceFile(std::string_view from, std::string_view to) override;
  Status LookAtFile(std::string_view name, FileLook* look) override;
  Status ReadFileFrom(std::string_view name, std::uint64_t offset, std::size_t length,
                      std::string* bytes, FileLook* look) override;
  Status Lock(std::string_view name, std::chrono::milliseconds wait,
              std::unique_ptr<FolderLock>* lock) override;

 private:
  const Folder& real_;
  std::map<std::string, std::string, std::less<>> files_;
};

}  // namespace quillon
