// The real program folder, on a POSIX file system.
//
// Every open looks before it reads: a FIFO or a device named like a data
// file is refused as "not an ordinary file" instead of blocking the program.
// TruncateIfSize holds a write lease (Linux) across its look and its cut, so
// that no other program opens the file in between; where no lease can be
// had (another program keeps the file open, a network share, a file owned
// by another account without CAP_LEASE) the look and the cut follow each
// other at once, about a microsecond apart.
#pragma once

#include <string>

#include "platform/Folder.h"

namespace quillon {

class PosixFolder : public Folder {
 public:
  // `path` is the program folder.
  explicit PosixFolder(std::string path);

  std::string FullPath(std::string_view name) const override;
  bool FileExists(std::string_view name) override;
  Status ReadFile(std::string_view name, std::string* contents) override;
  Status WriteFile(std::string_view name, std::string_view contents) override;
  Status OpenFile(std::string_view name, bool create, std::unique_ptr<File>* file,
                  bool* created = nullptr) override;
  Status RemoveFile(std::string_view name) override;
  // A second name and the first removed (link, unlink); where the file
  // system has no hard links, a rename that refuses to replace a file.
  Status PublishFile(std::string_view from, std::string_view to, bool* taken) override;
  Status SyncFolder() override;
  Status MakeFolder(std::string_view name) override;
  Status ListFolder(std::string_view name, std::vector<std::string>* names) override;
  Status SyncSubfolder(std::string_view name) override;
  Status ReplaceFile(std::string_view from, std::string_view to) override;
  Status OpenPrivateFile(std::string_view name, std::unique_ptr<File>* file,
                         bool* created = nullptr) override;
  Status ReadPrivateFile(std::string_view name, std::string* contents) override;
  Status ReadFileStart(std::string_view name, std::size_t length, std::string* bytes) override;
  Status ReadFileEnd(std::string_view name, std::size_t length, std::string* bytes) override;
  // stat(2); and one read-only open, fstat, pread and close
  // (PosixFolderLook.cpp). A removal's cut holding a lease on the file for a
  // moment is waited for up to a fifth of a second, then said as busy.
  Status LookAtFile(std::string_view name, FileLook* look) override;
  Status ReadFileFrom(std::string_view name, std::uint64_t offset, std::size_t length,
                      std::string* bytes, FileLook* look) override;
  // By the folder's file system (statfs): false for NFS, SMB/CIFS, FUSE
  // (smbnetfs, sshfs) and the other network and cluster file systems.
  bool ChangesAreAnnounced() override;
  // A lock folder made with mkdir (atomic on every share and through every
  // client), holding the file HOLDER that names its holder ("host pid
  // time token"), with an fcntl lock on it besides; the holder's
  // StillOurs() looks for its own token there before each step it writes. A lock is stale, and is
  // taken over, when no process holds its fcntl lock and either it names this computer and its
  // process is gone, or it is older than kStaleLockAge (a holder on another computer that crashed).
  // A plain lock file naming its holder, as earlier versions made, is judged the same way.
  Status Lock(std::string_view name, std::chrono::milliseconds wait,
              std::unique_ptr<FolderLock>* lock) override;
  static constexpr std::chrono::minutes kStaleLockAge{5};
  // A lock whose holder is not named: its holder names itself at once after
  // making it, so one left unnamed this long was stopped as it took it.
  static constexpr std::chrono::seconds kUnnamedLockAge{10};

  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace quillon
