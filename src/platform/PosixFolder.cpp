#include "platform/PosixFolder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace quillon {
namespace {

Status Failure(std::string_view name, const char* action) {
  return Status::Error(std::string(name), std::string(action) + ": " + std::strerror(errno));
}

// Closes a descriptor when it goes out of scope.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  // Closes now and reports whether the close succeeded (a late write error
  // shows up here on some file systems).
  bool Close() {
    int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
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
  return ReadFrom(name, 0, contents);
}

Status PosixFolder::ReadFrom(std::string_view name, std::uint64_t offset, std::string* contents) {
  contents->clear();
  Descriptor fd(::open(FullPath(name).c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) {
    if (errno == ENOENT) return Status::OK();
    return Failure(name, "cannot open the file for reading");
  }
  struct stat st;
  if (::fstat(fd.get(), &st) != 0) return Failure(name, "cannot read the file's length");
  if (!S_ISREG(st.st_mode)) return Status::Error(std::string(name), "is not an ordinary file");
  const std::uint64_t size = static_cast<std::uint64_t>(st.st_size);
  if (offset >= size) return Status::OK();
  // Read straight into the result; a file that grows meanwhile is read up to
  // the length it had, one that shrinks up to its new end.
  contents->resize(size - offset);
  std::size_t done = 0;
  while (done < contents->size()) {
    ssize_t n = ::pread(fd.get(), contents->data() + done, contents->size() - done,
                        static_cast<off_t>(offset + done));
    if (n < 0) {
      if (errno == EINTR) continue;
      contents->clear();
      return Failure(name, "cannot read the file");
    }
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  contents->resize(done);
  return Status::OK();
}

Status PosixFolder::FileSize(std::string_view name, std::uint64_t* size) {
  struct stat st;
  if (::stat(FullPath(name).c_str(), &st) != 0) {
    *size = 0;
    if (errno == ENOENT) return Status::OK();
    return Failure(name, "cannot read the file's length");
  }
  *size = static_cast<std::uint64_t>(st.st_size);
  return Status::OK();
}

Status PosixFolder::CreateIfMissing(std::string_view name) {
  Descriptor fd(::open(FullPath(name).c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644));
  if (fd.get() < 0) return Failure(name, "cannot create the file");
  if (!fd.Close()) return Failure(name, "cannot close the file");
  return Status::OK();
}

namespace {

// Opens `path` with `flags` (O_WRONLY | O_CREAT and more), writes all of
// `contents` and closes it; failures name `name` and say what was tried.
Status WriteWhole(const std::string& path, std::string_view name, int flags,
                  std::string_view contents, const char* opening) {
  Descriptor fd(::open(path.c_str(), flags | O_CLOEXEC, 0644));
  if (fd.get() < 0) return Failure(name, opening);
  const char* data = contents.data();
  size_t left = contents.size();
  while (left > 0) {
    ssize_t n = ::write(fd.get(), data, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      return Failure(name, "cannot write the file");
    }
    data += n;
    left -= static_cast<size_t>(n);
  }
  if (!fd.Close()) return Failure(name, "cannot close the file");
  return Status::OK();
}

}  // namespace

Status PosixFolder::WriteFile(std::string_view name, std::string_view contents) {
  return WriteWhole(FullPath(name), name, O_WRONLY | O_CREAT | O_TRUNC, contents,
                    "cannot open the file for writing");
}

Status PosixFolder::AppendFile(std::string_view name, std::string_view contents) {
  return WriteWhole(FullPath(name), name, O_WRONLY | O_CREAT | O_APPEND, contents,
                    "cannot open the file for appending");
}

Status PosixFolder::LinkFile(std::string_view from, std::string_view to) {
  if (::link(FullPath(from).c_str(), FullPath(to).c_str()) != 0) {
    return Failure(to, "cannot create the file");
  }
  return Status::OK();
}

Status PosixFolder::RemoveFile(std::string_view name) {
  if (::unlink(FullPath(name).c_str()) != 0 && errno != ENOENT) {
    return Failure(name, "cannot remove the file");
  }
  return Status::OK();
}

Status PosixFolder::SyncFile(std::string_view name) {
  Descriptor fd(::open(FullPath(name).c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) return Failure(name, "cannot open the file to force it to disk");
  if (::fsync(fd.get()) != 0) return Failure(name, "cannot force the file to disk");
  return Status::OK();
}

Status PosixFolder::RenameFile(std::string_view from, std::string_view to) {
  if (::rename(FullPath(from).c_str(), FullPath(to).c_str()) != 0) {
    return Failure(to, "cannot replace the file");
  }
  return Status::OK();
}

Status PosixFolder::SyncFolder() {
  Descriptor fd(::open(path_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.get() < 0) return Failure(path_, "cannot open the program folder");
  if (::fsync(fd.get()) != 0) return Failure(path_, "cannot force the program folder to disk");
  return Status::OK();
}

}  // namespace quillon
