#include "platform/SaveFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace quillon {
namespace {

Status Fail(const std::string& path, const char* what) {
  return Status::Error(path, std::string(what) + ": " + std::strerror(errno));
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

Status SaveWholeFile(const std::string& path, std::string_view bytes, bool replace, bool* exists) {
  *exists = false;
  std::string temp = path + ".part-XXXXXX";
  std::vector<char> name(temp.begin(), temp.end());
  name.push_back('\0');
  const int fd = ::mkstemp(name.data());
  if (fd < 0) return Fail(path, "cannot be written");
  temp = name.data();
  ::fchmod(fd, 0644);
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      Status s = Fail(path, "cannot be written");
      ::close(fd);
      ::unlink(temp.c_str());
      return s;
    }
    done += static_cast<std::size_t>(n);
  }
  if (::fsync(fd) != 0 || ::close(fd) != 0) {
    Status s = Fail(path, "cannot be written");
    ::unlink(temp.c_str());
    return s;
  }
  if (replace) {
    if (::rename(temp.c_str(), path.c_str()) != 0) {
      Status s = Fail(path, "cannot be given its name");
      ::unlink(temp.c_str());
      return s;
    }
  } else if (::link(temp.c_str(), path.c_str()) == 0) {
    ::unlink(temp.c_str());
  } else if (errno == EEXIST) {
    *exists = true;
    ::unlink(temp.c_str());
    return Status::OK();
  } else {
    // A file system without hard links: look, then rename.
    struct stat st;
    if (::lstat(path.c_str(), &st) == 0) {
      *exists = true;
      ::unlink(temp.c_str());
      return Status::OK();
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
      Status s = Fail(path, "cannot be given its name");
      ::unlink(temp.c_str());
      return s;
    }
  }
  const int dir = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return Status::OK();
}

}  // namespace quillon
