// The program folder's lock: one remover at a time, on every computer that
// shares the folder. The lock is a folder made with mkdir, which is atomic on
// local disks, on SMB and NFS servers and through every client of them. (An
// exclusive create is not: smbnetfs creates with O_TRUNC and drops O_EXCL,
// so two computers creating a lock file at once both got it.) The file
// HOLDER in it names the holder; an fcntl lock on that file tells a live
// holder from a dead one on this computer (and on NFS, which shares such
// locks).
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <optional>
#include <thread>

#include "platform/PosixFolder.h"
#include "platform/Random.h"

namespace quillon {
namespace {

std::string HostName() {
  char host[256] = {};
  if (::gethostname(host, sizeof host - 1) != 0) return "unknown";
  return host;
}

// "host 1234 2026-12-09 21:05:33 4f2a9c01": who holds the lock, since
// when, and the holder's token.
std::string HolderText(const std::string& token) {
  char when[32] = "";
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  if (::localtime_r(&now, &tm) != nullptr)
    std::strftime(when, sizeof when, "%Y-%m-%d %H:%M:%S", &tm);
  return HostName() + " " + std::to_string(::getpid()) + " " + when + " " + token + "\n";
}

// The text of the file at `path`, without following a link; empty when
// it cannot be read.
std::string ReadText(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return std::string();
  char text[512] = {};
  const ssize_t n = ::pread(fd, text, sizeof text - 1, 0);
  ::close(fd);
  return std::string(text, n > 0 ? static_cast<std::size_t>(n) : 0);
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

// The file in the lock folder that names its holder.
std::string HolderPath(const std::string& lock_path) { return lock_path + "/HOLDER"; }

// Calls `remove` until it succeeds or fails for good. A shared folder's
// server refuses to delete a file (EBUSY), or to rename its folder (EACCES),
// while another remover has it open to read its holder, for a moment (and to
// delete a folder while that file lingers), and an SMB client may fail
// everything (EIO) for a few seconds: tried again for up to five seconds.
template <typename Remove>
bool Retried(Remove remove) {
  for (int attempt = 0; attempt < 500; ++attempt) {
    if (remove() == 0) return true;
    if (errno != EBUSY && errno != ENOTEMPTY && errno != EIO && errno != EACCES) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

// Removes the lock folder `path` with its holder's name, or a lock file of
// the earlier kind (a plain file naming its holder).
void RemoveLock(const std::string& path, bool folder) {
  if (!folder) {
    (void)Retried([&] { return ::unlink(path.c_str()); });
    return;
  }
  const std::string holder = HolderPath(path);
  if (Retried([&] { return ::unlink(holder.c_str()) == 0 || errno == ENOENT ? 0 : -1; })) {
    (void)Retried([&] { return ::rmdir(path.c_str()); });
  }
}

class PosixFolderLock : public FolderLock {
 public:
  PosixFolderLock(int fd, std::string path, std::string text)
      : fd_(fd), path_(std::move(path)), text_(std::move(text)) {}

  // Ours while the holder's file at the lock's path names us, token and
  // all (through a share whose client numbers files by path, comparing the
  // files themselves would not tell). Its text is written again: the
  // folder's server stamps the time, from which the lock's age counts.
  Status StillOurs() override {
    const std::string now = ReadText(HolderPath(path_));
    if (now != text_) {
      std::string holder = now.substr(0, now.find('\n'));
      return Status::Error(
          StatusCode::kTakenOver, "QUILLON.LCK",
          "this program's lock on the folder was taken over by another program (" +
              (holder.empty() ? std::string("which names no holder") : "held by " + holder) +
              ") while this one was stopped for longer than the lock is kept (a computer put "
              "to sleep?); it stopped without writing, and what it had begun is finished by "
              "the other from its journal");
    }
    if (::pwrite(fd_, text_.data(), text_.size(), 0) != static_cast<ssize_t>(text_.size())) {
      return Status::Error("QUILLON.LCK", std::string("cannot mark the lock as alive: ") +
                                              std::strerror(errno));
    }
    return Status::OK();
  }

  ~PosixFolderLock() override {
    // Removed only while it is still ours (a stale-lock takeover elsewhere
    // never removes a live lock, but a user might have), and closed first:
    // an SMB server refuses to delete a file its client holds open.
    const bool ours = SameFile(fd_, HolderPath(path_));
    ::close(fd_);
    if (!ours) return;
    // Renamed out of the way first, then emptied under a name nobody looks
    // at: a client that looks at a name while the server deletes it may
    // fail (smbnetfs then stalls, or fails everything, for seconds).
    const std::string gone = path_ + ".gone-" + HostName() + "-" + std::to_string(::getpid());
    if (Retried([&] { return ::rename(path_.c_str(), gone.c_str()); })) {
      RemoveLock(gone, /*folder=*/true);
    } else {
      RemoveLock(path_, /*folder=*/true);
    }
  }

 private:
  int fd_;
  std::string path_;
  std::string text_;
};

// The clock of the computer that holds the folder (the server of a shared
// folder, whose clock stamps the lock): lab computers' clocks often differ.
// Read once per wait, from the time a small file written there gets, under
// a name of this process's own (another computer looking at a name while it
// is deleted can upset its client); this computer's clock where that fails.
class FolderClock {
 public:
  explicit FolderClock(std::string lock_path) : lock_path_(std::move(lock_path)) {}

  std::time_t Now() {
    if (!skew_) {
      skew_ = 0;
      const std::string probe =
          lock_path_ + ".now-" + HostName() + "-" + std::to_string(::getpid());
      const int fd =
          ::open(probe.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644);
      struct stat st;
      if (fd >= 0 && ::write(fd, "\n", 1) == 1 && ::fstat(fd, &st) == 0) {
        skew_ = st.st_mtime - std::time(nullptr);
      }
      if (fd >= 0) {
        ::close(fd);
        ::unlink(probe.c_str());
      }
    }
    return std::time(nullptr) + *skew_;
  }

  // True when a lock stamped `mtime` is older than `age`.
  bool Older(std::time_t mtime, std::chrono::seconds age) { return Now() - mtime > age.count(); }
  bool Old(std::time_t mtime) {
    return Older(mtime, std::chrono::duration_cast<std::chrono::seconds>(PosixFolder::kStaleLockAge));
  }

 private:
  std::string lock_path_;
  std::optional<std::time_t> skew_;
};

// Takes the stale lock `judged`, at `path`, out of the way by a rename to a
// name of our own, then removes it only if it is the lock judged: a second
// computer that judged it too may have put a fresh lock in its place
// meanwhile, and that one goes back.
void TakeAway(const std::string& path, const struct stat& judged) {
  const std::string aside = path + ".stale-" + HostName() + "-" + std::to_string(::getpid());
  if (::rename(path.c_str(), aside.c_str()) != 0) return;
  struct stat now {};
  if (::lstat(aside.c_str(), &now) == 0 && now.st_dev == judged.st_dev &&
      now.st_ino == judged.st_ino) {
    RemoveLock(aside, S_ISDIR(now.st_mode));
  } else if (::renameat2(AT_FDCWD, aside.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) != 0 &&
             errno != EEXIST) {
    ::rename(aside.c_str(), path.c_str());  // no such rename here
  }
}

// Looks at the lock that exists at `path`: removes it when it is stale, else
// fills `holder` with what it says.
void RemoveIfStale(const std::string& path, FolderClock& clock, std::string* holder,
                   bool* is_link) {
  struct stat lock {};
  if (::lstat(path.c_str(), &lock) != 0) return;  // gone meanwhile
  if (S_ISLNK(lock.st_mode)) {
    *is_link = true;
    return;
  }
  // A lock file of the earlier kind is judged by the same rules.
  const bool folder = S_ISDIR(lock.st_mode);
  const std::string named = folder ? HolderPath(path) : path;
  int fd = ::open(named.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  // Another account's lock (a lesson's or a colleague's) may be ours to
  // read only: judged all the same, or an old one would block for ever.
  if (fd < 0 && errno == EACCES) fd = ::open(named.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) {
    *is_link = errno == ELOOP;
    if (!folder || errno != ENOENT) return;  // gone meanwhile, or not ours to judge
    // A lock folder whose holder is not named: one that has not written its
    // name yet (it does so at once), while young; one stopped before it
    // did, after a few seconds.
    holder->clear();
    if (clock.Older(lock.st_mtime, PosixFolder::kUnnamedLockAge)) TakeAway(path, lock);
    return;
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
    // An empty holder's name may be a holder about to write it; after a
    // few seconds it is one that was stopped before it could.
    stale = (!holder->empty() && ours && gone) || clock.Old(st.st_mtime) ||
            (holder->empty() && clock.Older(st.st_mtime, PosixFolder::kUnnamedLockAge));
  }
  const bool remove = stale && SameFile(fd, named);
  ::close(fd);
  // After the close: an SMB server refuses to delete an open file. Refused
  // still while another has it open (its holder, or another remover
  // looking): then it is judged again at the next look.
  if (remove) TakeAway(path, lock);
}

// Writes the holder's name into the lock folder `path` just made, and
// takes the fcntl lock on it; on failure the folder goes again.
Status NameHolder(std::string_view name, const std::string& path,
                  std::unique_ptr<FolderLock>* lock) {
  // The folder is ours alone: nobody else creates a file in it.
  const std::string named = HolderPath(path);
  const int fd = ::open(named.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
  const std::string text = HolderText(RandomHexDigits(8));
  if (fd >= 0) (void)TryFcntlLock(fd);
  if (fd < 0 || ::pwrite(fd, text.data(), text.size(), 0) != static_cast<ssize_t>(text.size())) {
    const int error = errno;
    if (fd >= 0) ::close(fd);
    RemoveLock(path, /*folder=*/true);
    return Status::Error(std::string(name),
                         std::string("cannot write the lock's holder: ") + std::strerror(error));
  }
  *lock = std::make_unique<PosixFolderLock>(fd, path, text);
  return Status::OK();
}

}  // namespace

Status PosixFolder::Lock(std::string_view name, std::chrono::milliseconds wait,
                         std::unique_ptr<FolderLock>* lock) {
  const std::string path = FullPath(name);
  const auto deadline = std::chrono::steady_clock::now() + wait;
  std::string holder;
  FolderClock clock(path);
  for (;;) {
    if (::mkdir(path.c_str(), 0755) == 0) return NameHolder(name, path, lock);
    const int error = errno;
    // An SMB client may fail for a moment (smbnetfs answers EIO to all for
    // three seconds after a look at a name another computer was deleting):
    // nothing was made, and the wait goes on.
    const bool passing = error == EIO && std::chrono::steady_clock::now() < deadline;
    if (error != EEXIST && !passing) {
      return Status::Error(std::string(name), std::string("cannot create the lock: ") +
                                                  std::strerror(error) + "; nothing was changed");
    }
    if (passing) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      continue;
    }
    bool is_link = false;
    RemoveIfStale(path, clock, &holder, &is_link);
    if (is_link) {
      return Status::Error(std::string(name),
                           "is a symbolic link; this program's own files are never written "
                           "through a link (remove the link); nothing was changed");
    }
    if (std::chrono::steady_clock::now() >= deadline) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return Status::Error(
      StatusCode::kBusy, std::string(name),
      "another removal or change of records is in progress (" +
          (holder.empty() ? "it names no holder yet; a lock left so by a program stopped as it "
                            "took it is taken over when " +
                                std::to_string(PosixFolder::kUnnamedLockAge.count()) +
                                " seconds old"
                          : "held by " + holder) +
          "); nothing was changed. Try again when it has ended.");
}

}  // namespace quillon
