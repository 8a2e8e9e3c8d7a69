// The program folder's lock file: one remover at a time, on every computer
// that shares the folder. The file is created exclusively (O_CREAT|O_EXCL is
// atomic on local disks and on SMB and NFS servers) and names its holder; an
// fcntl lock on it besides tells a live holder from a dead one on this
// computer (and on NFS, which shares such locks).
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <thread>

#include "platform/PosixFolder.h"

namespace quillon {
namespace {

std::string HostName() {
  char host[256] = {};
  if (::gethostname(host, sizeof host - 1) != 0) return "unknown";
  return host;
}

// "host 1234 2026-12-09 21:05:33": who holds the lock, since when.
std::string HolderText() {
  char when[32] = "";
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  if (::localtime_r(&now, &tm) != nullptr)
    std::strftime(when, sizeof when, "%Y-%m-%d %H:%M:%S", &tm);
  return HostName() + " " + std::to_string(::getpid()) + " " + when + "\n";
}

// An fcntl lock of the whole file on `fd` (open file description locks: the
// holder's own, not the process's).
bool TryFcntlLock(int fd) {
  struct flock fl {};
  fl.l_type = F_WRLCK;
  fl.l_whence = SEEK_SET;
  if (::fcntl(fd, F_OFD_SETLK, &fl) == 0) return true;
  // No fcntl locks on this file system: nothing to learn from them.
  return errno != EAGAIN && errno != EACCES;
}

// True when no process holds an fcntl lock on `fd`'s file (asked, not
// taken: the file may be open for reading only), or when the file system
// keeps no such locks.
bool NoLiveHolder(int fd) {
  struct flock fl {};
  fl.l_type = F_WRLCK;
  fl.l_whence = SEEK_SET;
  if (::fcntl(fd, F_OFD_GETLK, &fl) != 0) return true;
  return fl.l_type == F_UNLCK;
}

bool SameFile(int fd, const std::string& path) {
  struct stat a, b;
  return ::fstat(fd, &a) == 0 && ::lstat(path.c_str(), &b) == 0 && a.st_dev == b.st_dev &&
         a.st_ino == b.st_ino;
}

// Deletes a lock file this process has closed. A shared folder's server
// refuses (EBUSY) while another remover has it open to read its holder, for
// a moment; tried again for up to a second.
void UnlinkClosed(const std::string& path) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    if (::unlink(path.c_str()) == 0 || errno != EBUSY) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

class PosixFolderLock : public FolderLock {
 public:
  PosixFolderLock(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
  ~PosixFolderLock() override {
    // Removed only while it is still ours (a stale-lock takeover elsewhere
    // never removes a live lock, but a user might have), and closed first:
    // an SMB server refuses to delete a file its client holds open.
    const bool ours = SameFile(fd_, path_);
    ::close(fd_);
    if (ours) UnlinkClosed(path_);
  }

 private:
  int fd_;
  std::string path_;
};

// The time now by the clock of the computer that holds the folder (the
// server of a shared folder, whose clock stamped the lock file): the time a
// small file written there gets. Falls back on this computer's clock.
std::time_t FolderNow(const std::string& lock_path) {
  const std::string probe = lock_path + ".now";
  const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644);
  std::time_t now = std::time(nullptr);
  struct stat st;
  if (fd >= 0 && ::write(fd, "\n", 1) == 1 && ::fstat(fd, &st) == 0) now = st.st_mtime;
  if (fd >= 0) {
    ::close(fd);
    ::unlink(probe.c_str());
  }
  return now;
}

// Looks at the lock file that exists at `path`: removes it when it is
// stale, else fills `holder` with what it says.
void RemoveIfStale(const std::string& path, std::string* holder, bool* is_link) {
  int fd = ::open(path.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  // Another account's lock file (a lesson's or a colleague's) may be ours to
  // read only: judged all the same, or an old one would block for ever.
  if (fd < 0 && errno == EACCES) fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) {
    *is_link = errno == ELOOP;
    return;  // gone meanwhile, or not ours to judge
  }
  char text[512] = {};
  const ssize_t n = ::pread(fd, text, sizeof text - 1, 0);
  holder->assign(text, n > 0 ? static_cast<std::size_t>(n) : 0);
  while (!holder->empty() && (holder->back() == '\n' || holder->back() == '\r')) holder->pop_back();
  struct stat st;
  bool stale = false;
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && NoLiveHolder(fd)) {
    // No live holder on this computer has it locked.
    const std::string host = holder->substr(0, holder->find(' '));
    const long pid = std::atol(holder->c_str() + std::min(holder->size(), host.size() + 1));
    const bool ours = host == HostName();
    const bool gone = pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
    // Its age on the folder's clock: lab computers' clocks often differ.
    const bool old =
        FolderNow(path) - st.st_mtime >
        std::chrono::duration_cast<std::chrono::seconds>(PosixFolder::kStaleLockAge).count();
    stale = (ours && gone) || old || holder->empty();
    // An empty lock file younger than the age limit may be a holder that
    // has not written its name yet.
    if (holder->empty() && !old) stale = false;
  }
  struct stat judged {};
  const bool remove = stale && SameFile(fd, path) && ::fstat(fd, &judged) == 0;
  ::close(fd);
  // After the close: an SMB server refuses to delete an open file. Refused
  // still while another has it open (its holder, or another remover
  // looking): then it is judged again at the next look.
  if (!remove) return;
  // Taken out of the way by a rename to a name of our own, then removed only
  // if it is the stale file judged: a second computer that judged it too may
  // have put a fresh lock in its place meanwhile, and that one goes back.
  const std::string aside = path + ".stale-" + HostName() + "-" + std::to_string(::getpid());
  if (::rename(path.c_str(), aside.c_str()) != 0) return;
  struct stat now {};
  if (::lstat(aside.c_str(), &now) == 0 && now.st_dev == judged.st_dev &&
      now.st_ino == judged.st_ino) {
    ::unlink(aside.c_str());
  } else if (::renameat2(AT_FDCWD, aside.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) != 0 &&
             errno != EEXIST) {
    ::rename(aside.c_str(), path.c_str());  // no such rename here
  }
}

}  // namespace

Status PosixFolder::Lock(std::string_view name, std::chrono::milliseconds wait,
                         std::unique_ptr<FolderLock>* lock) {
  const std::string path = FullPath(name);
  const auto deadline = std::chrono::steady_clock::now() + wait;
  std::string holder;
  for (;;) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd >= 0) {
      (void)TryFcntlLock(fd);
      const std::string text = HolderText();
      if (::pwrite(fd, text.data(), text.size(), 0) != static_cast<ssize_t>(text.size())) {
        const int error = errno;
        ::unlink(path.c_str());
        ::close(fd);
        return Status::Error(std::string(name),
                             std::string("cannot write the lock file: ") + std::strerror(error));
      }
      *lock = std::make_unique<PosixFolderLock>(fd, path);
      return Status::OK();
    }
    if (errno != EEXIST) {
      return Status::Error(std::string(name), std::string("cannot create the lock file: ") +
                                                  std::strerror(errno) + "; nothing was changed");
    }
    bool is_link = false;
    RemoveIfStale(path, &holder, &is_link);
    if (is_link) {
      return Status::Error(std::string(name),
                           "is a symbolic link; this program's own files are never written "
                           "through a link (remove the link); nothing was changed");
    }
    if (std::chrono::steady_clock::now() >= deadline) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return Status::Error(
      std::string(name),
      "another removal or change of records is in progress (" +
          (holder.empty() ? std::string("its holder is not named yet") : "held by " + holder) +
          "); nothing was changed. Try again when it has ended.");
}

}  // namespace quillon
