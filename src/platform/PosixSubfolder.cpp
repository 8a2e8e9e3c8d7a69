// PosixFolder's subfolders (the bin): making, listing and forcing them, and
// the rename that replaces an entry in one step.
#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/PosixFolder.h"
#include "platform/SharesAllow.h"

namespace quillon {
namespace {

Status Failure(std::string_view name, const char* action) {
  return Status::Error(std::string(name), std::string(action) + ": " + std::strerror(errno));
}

Status SyncDirectory(const std::string& path, std::string_view name) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return Failure(name, "cannot open the folder");
  const bool synced = ::fsync(fd) == 0;
  ::close(fd);
  if (!synced) return Failure(name, "cannot force the folder to disk");
  return Status::OK();
}

}  // namespace

Status PosixFolder::MakeFolder(std::string_view name) {
  const std::string path = FullPath(name);
  struct stat st;
  if (::lstat(path.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) return Status::OK();
    return Status::Error(std::string(name), "is not a folder (a file or a link stands there)");
  }
  if (::mkdir(path.c_str(), 0777) != 0 && errno != EEXIST) {
    return Failure(name, "cannot create the folder");
  }
  return SyncFolder();
}

Status PosixFolder::ListFolder(std::string_view name, std::vector<std::string>* names) {
  names->clear();
  const std::string path = FullPath(name);
  // O_NOFOLLOW: a link in the folder's place is not listed through.
  const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT) return Status::OK();
    return Failure(name, "cannot open the folder");
  }
  DIR* dir = ::fdopendir(fd);
  if (dir == nullptr) {
    ::close(fd);
    return Failure(name, "cannot read the folder");
  }
  while (const dirent* e = ::readdir(dir)) {
    struct stat st;
    if (::fstatat(fd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode)) {
      names->emplace_back(e->d_name);
    }
  }
  ::closedir(dir);
  std::sort(names->begin(), names->end());
  return Status::OK();
}

Status PosixFolder::SyncSubfolder(std::string_view name) {
  return SyncDirectory(FullPath(name), name);
}

Status PosixFolder::ReplaceFile(std::string_view from, std::string_view to) {
  if (!SharesAllow([&] { return ::rename(FullPath(from).c_str(), FullPath(to).c_str()); })) {
    return Failure(to, "cannot give the file its name");
  }
  return Status::OK();
}

}  // namespace quillon
