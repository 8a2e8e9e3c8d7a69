#include "platform/PosixFolder.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <limits>
#include <thread>

#include "platform/SharesAllow.h"

namespace quillon {
namespace {

Status Failure(std::string_view name, const char* action, int error = errno) {
  return Status::Error(std::string(name), std::string(action) + ": " + std::strerror(error));
}

Status NotOrdinary(std::string_view name) {
  return Status::Error(std::string(name), "is not an ordinary file");
}

// Closes a descriptor when it goes out of scope.
class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  void reset(int fd) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
  }
  int release() {
    int fd = fd_;
    fd_ = -1;
    return fd;
  }
  // Closes now and reports whether the close succeeded (a late write error
  // shows up here on some file systems).
  bool Close() { return ::close(release()) == 0; }

 private:
  int fd_;
};

// Opens `path` without blocking (a FIFO would wait for a writer for ever),
// makes sure it is an ordinary file, then lets it block again. A missing
// file sets `*missing` when the caller gives one, and is an error otherwise.
//
// While another process holds a lease on the file (a removal's cut, a few
// microseconds), a non-blocking open is refused with EWOULDBLOCK: it is
// tried again, a millisecond apart, for up to five seconds.
Status OpenOrdinary(const std::string& path, std::string_view name, int flags, const char* action,
                    Descriptor* out, bool* missing = nullptr) {
  Descriptor fd(::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0666));
  for (int tries = 0; fd.get() < 0 && errno == EWOULDBLOCK && tries < 5000; ++tries) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    fd.reset(::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0666));
  }
  if (fd.get() < 0) {
    if (errno == ENOENT && missing != nullptr) {
      *missing = true;
      return Status::OK();
    }
    if (errno == ENXIO || errno == EISDIR) return NotOrdinary(name);  // a FIFO, a folder
    if (errno == ELOOP && (flags & O_NOFOLLOW) != 0) {
      const bool reading = (flags & O_ACCMODE) == O_RDONLY;
      return Status::Error(StatusCode::kDamaged, std::string(name),
                           std::string("is a symbolic link; this program's own files are never ") +
                               (reading ? "read" : "written") + " through a link (remove the link)");
    }
    return Failure(name, action);
  }
  struct stat st;
  if (::fstat(fd.get(), &st) != 0) return Failure(name, "cannot read the file's length");
  if (!S_ISREG(st.st_mode)) return NotOrdinary(name);
  if (::fcntl(fd.get(), F_SETFL, 0) != 0) return Failure(name, action);
  out->reset(fd.release());
  return Status::OK();
}

Status ReadAt(int fd, std::string_view name, std::uint64_t offset, std::size_t length,
              std::string* bytes) {
  bytes->resize(length);
  std::size_t done = 0;
  while (done < length) {
    ssize_t n = ::pread(fd, bytes->data() + done, length - done, static_cast<off_t>(offset + done));
    if (n < 0) {
      if (errno == EINTR) continue;
      bytes->clear();
      return Failure(name, "cannot read the file");
    }
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  bytes->resize(done);
  return Status::OK();
}

Status WriteAt(int fd, std::string_view name, std::uint64_t offset, std::string_view bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n =
        ::pwrite(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(offset + done));
    if (n < 0) {
      if (errno == EINTR) continue;
      return Failure(name, "cannot write the file");
    }
    done += static_cast<std::size_t>(n);
  }
  return Status::OK();
}

// The signal a broken lease would send: ignored, since the lease is given
// back within microseconds anyway (the default, SIGIO, would end the program).
int LeaseSignal() {
  static const int signal = [] {
    const int s = SIGRTMIN + 8;
    std::signal(s, SIG_IGN);
    return s;
  }();
  return signal;
}

// Takes a write lease on `fd`: until it is given back, another program's
// open() of the file waits. Refused while another program has the file
// open: a lesson's open-write-close is over in microseconds, so a few tries
// a tenth of a millisecond apart; a lesson keeping the file open refuses it
// for good, and then the look and the cut follow each other without it.
bool TakeWriteLease(int fd) {
  if (::fcntl(fd, F_SETSIG, LeaseSignal()) != 0) return false;
  for (int attempt = 0; attempt < 5; ++attempt) {
    if (::fcntl(fd, F_SETLEASE, F_WRLCK) == 0) return true;
    if (errno != EAGAIN) return false;  // not supported here, or not allowed
    std::this_thread::sleep_for(std::chrono::microseconds(100));
  }
  return false;
}

class PosixFile : public File {
 public:
  PosixFile(int fd, std::string name) : fd_(fd), name_(std::move(name)) {}

  Status Size(std::uint64_t* size) override {
    struct stat st;
    if (::fstat(fd_.get(), &st) != 0) return Failure(name_, "cannot read the file's length");
    *size = static_cast<std::uint64_t>(st.st_size);
    return Status::OK();
  }
  Status Read(std::uint64_t offset, std::size_t length, std::string* bytes) override {
    return ReadAt(fd_.get(), name_, offset, length, bytes);
  }
  Status Write(std::uint64_t offset, std::string_view bytes) override {
    return WriteAt(fd_.get(), name_, offset, bytes);
  }
  Status Sync() override {
    if (::fdatasync(fd_.get()) != 0) return Failure(name_, "cannot force the file to disk");
    return Status::OK();
  }
  Status Truncate(std::uint64_t length) override {
    if (::ftruncate(fd_.get(), static_cast<off_t>(length)) != 0) {
      return Failure(name_, "cannot shorten the file");
    }
    return Status::OK();
  }
  Status TruncateIfSize(std::uint64_t expected, std::uint64_t length, bool* done) override {
    *done = false;
    const bool leased = TakeWriteLease(fd_.get());
    std::uint64_t size = 0;
    Status s = Size(&size);
    if (s.ok() && size == expected) {
      s = Truncate(length);
      *done = s.ok();
      // On disk before any program may append at the new end.
      if (s.ok() && leased) s = Sync();
    }
    if (leased) ::fcntl(fd_.get(), F_SETLEASE, F_UNLCK);
    return s;
  }
  Status WriteIfSize(std::uint64_t expected, std::uint64_t offset, std::string_view bytes,
                     bool* done) override {
    *done = false;
    const bool leased = TakeWriteLease(fd_.get());
    std::uint64_t size = 0;
    Status s = Size(&size);
    if (s.ok() && size == expected) {
      s = Write(offset, bytes);
      *done = s.ok();
      // On disk before any program may append behind it.
      if (s.ok() && leased) s = Sync();
    }
    if (leased) ::fcntl(fd_.get(), F_SETLEASE, F_UNLCK);
    return s;
  }

 private:
  Descriptor fd_;
  std::string name_;
};

}  // namespace

PosixFolder::PosixFolder(std::string path) : path_(std::move(path)) {
  while (path_.size() > 1 && path_.back() == '/') path_.pop_back();
}

std::string PosixFolder::FullPath(std::string_view name) const {
  return path_ + "/" + std::string(name);
}

bool PosixFolder::FileExists(std::string_view name) {
  struct stat st;
  return ::stat(FullPath(name).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

Status PosixFolder::ReadFile(std::string_view name, std::string* contents) {
  contents->clear();
  Descriptor fd;
  bool missing = false;
  Status s = OpenOrdinary(FullPath(name), name, O_RDONLY, "cannot open the file for reading", &fd,
                          &missing);
  if (!s.ok() || missing) return s;
  struct stat st;
  if (::fstat(fd.get(), &st) != 0) return Failure(name, "cannot read the file's length");
  // Read straight into the result; a file that grows meanwhile is read up to
  // the length it had, one that shrinks up to its new end.
  return ReadAt(fd.get(), name, 0, static_cast<std::size_t>(st.st_size), contents);
}

Status PosixFolder::WriteFile(std::string_view name, std::string_view contents) {
  Descriptor fd;
  Status s = OpenOrdinary(FullPath(name), name, O_WRONLY | O_CREAT | O_TRUNC,
                          "cannot open the file for writing", &fd);
  if (s.ok()) s = WriteAt(fd.get(), name, 0, contents);
  if (s.ok() && !fd.Close()) s = Failure(name, "cannot close the file");
  return s;
}

Status PosixFolder::OpenFile(std::string_view name, bool create, std::unique_ptr<File>* file,
                             bool* created) {
  const std::string path = FullPath(name);
  struct stat st;
  const bool existed = ::stat(path.c_str(), &st) == 0;
  Descriptor fd;
  Status s =
      OpenOrdinary(path, name, O_RDWR | (create ? O_CREAT : 0),
                   existed ? "cannot open the file for writing" : "cannot create the file", &fd);
  if (!s.ok()) return s;
  if (created != nullptr) *created = !existed;
  *file = std::make_unique<PosixFile>(fd.release(), std::string(name));
  return Status::OK();
}

Status PosixFolder::RemoveFile(std::string_view name) {
  if (!SharesAllow([&] { return ::unlink(FullPath(name).c_str()); }) && errno != ENOENT) {
    return Failure(name, "cannot remove the file");
  }
  return Status::OK();
}

Status PosixFolder::PublishFile(std::string_view from, std::string_view to, bool* taken) {
  *taken = false;
  const std::string source = FullPath(from), target = FullPath(to);
  if (::link(source.c_str(), target.c_str()) == 0) {
    if (::unlink(source.c_str()) != 0) return Failure(from, "cannot remove the file");
    return Status::OK();
  }
  if (errno == EEXIST) {
    *taken = true;
    return Status::OK();
  }
  if (errno != EPERM && errno != EOPNOTSUPP && errno != ENOSYS && errno != EMLINK) {
    return Failure(to, "cannot create the file");
  }
  // No hard links here (FAT, many network shares).
  if (::renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) {
    return Status::OK();
  }
  if (errno == EEXIST) {
    *taken = true;
    return Status::OK();
  }
  if (errno != EINVAL && errno != ENOSYS) return Failure(to, "cannot create the file");
  // Nor a rename that refuses: look, then rename at once.
  if (FileExists(to)) {
    *taken = true;
    return Status::OK();
  }
  if (::rename(source.c_str(), target.c_str()) != 0) return Failure(to, "cannot create the file");
  return Status::OK();
}

Status PosixFolder::OpenPrivateFile(std::string_view name, std::unique_ptr<File>* file,
                                    bool* created) {
  const std::string path = FullPath(name);
  struct stat st;
  const bool existed = ::lstat(path.c_str(), &st) == 0;
  Descriptor fd;
  Status s =
      OpenOrdinary(path, name, O_RDWR | O_CREAT | O_NOFOLLOW,
                   existed ? "cannot open the file for writing" : "cannot create the file", &fd);
  if (!s.ok()) return s;
  if (::fstat(fd.get(), &st) == 0 && st.st_nlink > 1) {
    return Status::Error(std::string(name),
                         "has another name (a hard link); this program's own files are never "
                         "written through a link (remove the link)");
  }
  if (created != nullptr) *created = !existed;
  *file = std::make_unique<PosixFile>(fd.release(), std::string(name));
  return Status::OK();
}

Status PosixFolder::ReadPrivateFile(std::string_view name, std::string* contents) {
  return ReadFileEnd(name, std::numeric_limits<std::size_t>::max(), contents);
}

Status PosixFolder::ReadFileStart(std::string_view name, std::size_t length, std::string* bytes) {
  bytes->clear();
  Descriptor fd;
  bool missing = false;
  Status s = OpenOrdinary(FullPath(name), name, O_RDONLY, "cannot open the file for reading", &fd,
                          &missing);
  if (!s.ok() || missing) return s;
  return ReadAt(fd.get(), name, 0, length, bytes);
}

Status PosixFolder::ReadFileEnd(std::string_view name, std::size_t length, std::string* bytes) {
  bytes->clear();
  Descriptor fd;
  bool missing = false;
  Status s = OpenOrdinary(FullPath(name), name, O_RDONLY | O_NOFOLLOW,
                          "cannot open the file for reading", &fd, &missing);
  if (!s.ok() || missing) return s;
  struct stat st;
  if (::fstat(fd.get(), &st) != 0) return Failure(name, "cannot read the file's length");
  const auto size = static_cast<std::uint64_t>(st.st_size);
  const std::uint64_t from = size > length ? size - length : 0;
  return ReadAt(fd.get(), name, from, static_cast<std::size_t>(size - from), bytes);
}

Status PosixFolder::SyncFolder() {
  Descriptor fd(::open(path_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.get() < 0) return Failure(path_, "cannot open the program folder");
  if (::fsync(fd.get()) != 0) return Failure(path_, "cannot force the program folder to disk");
  return Status::OK();
}

}  // namespace quillon
