// The real program folder, on a POSIX file system.
#pragma once

#include <string>

#include "platform/Folder.h"

namespace quillon {

class PosixFolder : public Folder {
 public:
  // `path` is the program folder; it must exist.
  explicit PosixFolder(std::string path);

  std::string FullPath(std::string_view name) const override;
  bool FileExists(std::string_view name) override;
  Status ReadFile(std::string_view name, std::string* contents) override;
  Status ReadFrom(std::string_view name, std::uint64_t offset, std::string* contents) override;
  Status FileSize(std::string_view name, std::uint64_t* size) override;
  Status CreateIfMissing(std::string_view name) override;
  Status WriteFile(std::string_view name, std::string_view contents) override;
  Status AppendFile(std::string_view name, std::string_view contents) override;
  Status SyncFile(std::string_view name) override;
  Status LinkFile(std::string_view from, std::string_view to) override;
  Status RemoveFile(std::string_view name) override;
  Status RenameFile(std::string_view from, std::string_view to) override;
  Status SyncFolder() override;

  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace quillon
