// PosixFolder's looks at a file that the lessons append to: read only, and
// never keeping the file open past the call.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <thread>

#include "platform/PosixFolder.h"

namespace quillon {
namespace {

void Fill(const struct stat& st, FileLook* look) {
  look->exists = true;
  look->size = static_cast<std::uint64_t>(st.st_size);
  look->device = static_cast<std::uint64_t>(st.st_dev);
  look->inode = static_cast<std::uint64_t>(st.st_ino);
  look->changed_ns = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  std::tm local{};
  const std::time_t seconds = st.st_mtim.tv_sec;
  localtime_r(&seconds, &local);
  look->changed = DateTime{Date{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday},
                           local.tm_hour, local.tm_min, local.tm_sec};
}

Status Failure(std::string_view name, const char* action, int error = errno) {
  return Status::Error(std::string(name), std::string(action) + ": " + std::strerror(error));
}

}  // namespace

Status PosixFolder::LookAtFile(std::string_view name, FileLook* look) {
  *look = FileLook{};
  struct stat st;
  if (::stat(FullPath(name).c_str(), &st) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) return Status::OK();
    return Failure(name, "cannot look at the file");
  }
  if (!S_ISREG(st.st_mode)) return Status::Error(std::string(name), "is not an ordinary file");
  Fill(st, look);
  return Status::OK();
}

Status PosixFolder::ReadFileFrom(std::string_view name, std::uint64_t offset, std::size_t length,
                                 std::string* bytes, FileLook* look) {
  bytes->clear();
  *look = FileLook{};
  const std::string path = FullPath(name);
  // Without blocking: a FIFO in the file's place is refused, not waited on.
  int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  for (int tries = 0; fd < 0 && errno == EWOULDBLOCK && tries < 200; ++tries) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  }
  if (fd < 0) {
    if (errno == ENOENT) return Status::OK();
    if (errno == EWOULDBLOCK) {
      return Status::Error(StatusCode::kBusy, std::string(name), "is being cut by a removal");
    }
    return Failure(name, "cannot open the file for reading");
  }
  struct stat st;
  Status s;
  if (::fstat(fd, &st) != 0) {
    s = Failure(name, "cannot read the file's length");
  } else if (!S_ISREG(st.st_mode)) {
    s = Status::Error(std::string(name), "is not an ordinary file");
  } else {
    Fill(st, look);
    // As far as the file reached when it was opened: what a lesson appends
    // meanwhile is for the next look.
    const std::uint64_t end = look->size;
    const std::uint64_t from = std::min(offset, end);
    bytes->resize(static_cast<std::size_t>(std::min<std::uint64_t>(end - from, length)));
    std::size_t done = 0;
    while (done < bytes->size()) {
      const ssize_t n =
          ::pread(fd, bytes->data() + done, bytes->size() - done, static_cast<off_t>(from + done));
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) {
        s = Failure(name, "cannot read the file");
        break;
      }
      if (n == 0) break;  // cut meanwhile: the next look reads it again
      done += static_cast<std::size_t>(n);
    }
    bytes->resize(done);
  }
  ::close(fd);
  if (!s.ok()) bytes->clear();
  return s;
}

bool PosixFolder::ChangesAreAnnounced() {
  struct statfs fs;
  if (::statfs(path_.c_str(), &fs) != 0) return false;
  switch (static_cast<unsigned long>(fs.f_type)) {
    case 0x6969:      // NFS
    case 0x517B:      // SMB
    case 0xFF534D42:  // CIFS
    case 0xFE534D42:  // SMB2
    case 0x65735546:  // FUSE (smbnetfs, sshfs, ...)
    case 0x73757245:  // Coda
    case 0x5346414F:  // AFS
    case 0x01021997:  // 9P
    case 0x00C36400:  // Ceph
    case 0x564C:      // NCP
    case 0x01161970:  // GFS2
    case 0x7461636F:  // OCFS2
    case 0x0BD00BD0:  // Lustre
      return false;
    default:
      return true;
  }
}

}  // namespace quillon
