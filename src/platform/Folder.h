// The program folder: every data file lives there and is reached by its bare
// name ("RECORDS.DAT"). Implementations: PosixFolder (real files) and, in the
// tests, a fault-injecting wrapper built on FolderWrapper.
//
// Files are single-byte text. A reader takes a whole file in one call; record
// files are cut into fixed-length records by data/RecordFile.h, so a file of
// 32,767 records costs one read, not 32,767. Files are changed in place
// (File), never replaced by another file, so that a file keeps its owner,
// mode and links, and a tutoring lesson that holds it open keeps writing
// into the file everyone reads.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/Status.h"
#include "platform/Clock.h"

namespace quillon {

// One file of the folder, open for reading and writing in place.
class File {
 public:
  virtual ~File() = default;
  virtual Status Size(std::uint64_t* size) = 0;
  // Up to `length` bytes from `offset`; fewer where the file ends.
  virtual Status Read(std::uint64_t offset, std::size_t length, std::string* bytes) = 0;
  // Writes all of `bytes` at `offset` (the file grows when they reach past
  // its end).
  virtual Status Write(std::uint64_t offset, std::string_view bytes) = 0;
  // Forces the file's data and length to disk.
  virtual Status Sync() = 0;
  virtual Status Truncate(std::uint64_t length) = 0;
  // Cuts the file to `length` if it is still exactly `expected` bytes long;
  // `*done` tells whether it did. Where the system allows, no other program
  // can open the file between the look and the cut; elsewhere the two follow
  // each other at once, and a program that keeps the file open and appends
  // in that instant loses its record (see PosixFolder).
  virtual Status TruncateIfSize(std::uint64_t expected, std::uint64_t length, bool* done) = 0;
  // Writes `bytes` at `offset` if the file is still exactly `expected` bytes
  // long, on the same terms as TruncateIfSize: so that records put at the
  // end never overwrite one a lesson appended in that instant.
  virtual Status WriteIfSize(std::uint64_t expected, std::uint64_t offset, std::string_view bytes,
                             bool* done) {
    std::uint64_t size = 0;
    Status s = Size(&size);
    *done = s.ok() && size == expected;
    if (*done) s = Write(offset, bytes);
    return s;
  }
};

// What a look at a file tells without reading it: whether it is there, its
// length, which file the name names (a file replaced under the same name is
// another one), and when its bytes last changed.
struct FileLook {
  bool exists = false;
  std::uint64_t size = 0;
  std::uint64_t device = 0, inode = 0;
  std::int64_t changed_ns = 0;  // to tell one change from the next
  DateTime changed;             // the same, as this computer's local time
  bool SameFile(const FileLook& o) const { return device == o.device && inode == o.inode; }
  bool SameState(const FileLook& o) const {
    return exists == o.exists && size == o.size && SameFile(o) && changed_ns == o.changed_ns;
  }
};

// A lock held on the program folder; given back when destroyed.
class FolderLock {
 public:
  virtual ~FolderLock() = default;
  // Whether the lock is still this holder's: fails (StatusCode::kTakenOver)
  // when another program took it over meanwhile (judged stale while this
  // one was stopped: a computer put to sleep). Marks the lock as alive
  // again, so that its age counts from the last step of the work it guards.
  virtual Status StillOurs() { return Status::OK(); }
};

class Folder {
 public:
  virtual ~Folder() = default;

  // The full path of `name` in the program folder.
  virtual std::string FullPath(std::string_view name) const = 0;
  // True if `name` is an existing ordinary file (folders do not count).
  virtual bool FileExists(std::string_view name) = 0;
  // The whole contents of `name`; a missing file reads as empty (and is left
  // missing). Fails when the file exists but cannot be read, or is not an
  // ordinary file.
  virtual Status ReadFile(std::string_view name, std::string* contents) = 0;
  // Creates `name` or empties it, then writes `contents` (not yet synced).
  virtual Status WriteFile(std::string_view name, std::string_view contents) = 0;
  // Opens `name` for reading and writing in place; a missing file is created
  // empty when `create`, else an error. `*created` (may be null) tells.
  virtual Status OpenFile(std::string_view name, bool create, std::unique_ptr<File>* file,
                          bool* created = nullptr) = 0;
  // Removes the name `name`; a missing file is not an error.
  virtual Status RemoveFile(std::string_view name) = 0;
  // Gives the file `from` the name `to`, only if no file of that name exists
  // (`*taken` is then set and nothing changes); `from` is gone afterwards.
  virtual Status PublishFile(std::string_view from, std::string_view to, bool* taken) = 0;
  // Forces the folder's entries (a file just created) to disk.
  virtual Status SyncFolder() = 0;

  // Subfolders (the bin, Erased/): files in them are named "Erased/NAME".
  // Creates subfolder `name` when it is missing.
  virtual Status MakeFolder(std::string_view name) = 0;
  // The names of the ordinary files in subfolder `name`, sorted; none when
  // it is missing.
  virtual Status ListFolder(std::string_view name, std::vector<std::string>* names) = 0;
  // Forces the entries of subfolder `name` to disk.
  virtual Status SyncSubfolder(std::string_view name) = 0;
  // Gives file `from` the name `to` in one step, replacing any file of that
  // name.
  virtual Status ReplaceFile(std::string_view from, std::string_view to) = 0;

  // Opens (or creates) a file that only this program writes, such as a
  // temporary file: a symbolic link or anything but an ordinary file in its
  // place is refused, so nothing outside the folder is ever written.
  virtual Status OpenPrivateFile(std::string_view name, std::unique_ptr<File>* file,
                                 bool* created = nullptr) {
    return OpenFile(name, /*create=*/true, file, created);
  }
  // The whole contents of `name`, a file that only this program writes: a
  // symbolic link in its place is refused, not followed. A missing file
  // reads as empty.
  virtual Status ReadPrivateFile(std::string_view name, std::string* contents) {
    return ReadFile(name, contents);
  }
  // Up to `length` bytes from the start of `name`; a missing file reads as
  // empty.
  virtual Status ReadFileStart(std::string_view name, std::size_t length, std::string* bytes) {
    Status s = ReadFile(name, bytes);
    if (s.ok() && bytes->size() > length) bytes->resize(length);
    return s;
  }
  // The last `length` bytes of `name` (all of a shorter file), without
  // following a link; a missing file reads as empty.
  virtual Status ReadFileEnd(std::string_view name, std::size_t length, std::string* bytes) {
    Status s = ReadPrivateFile(name, bytes);
    if (s.ok() && bytes->size() > length) bytes->erase(0, bytes->size() - length);
    return s;
  }

  // Following a file as the tutoring lessons append to it, reading only: a
  // look that opens nothing, and a read of the bytes from an offset on that
  // opens the file for reading, and closes it, in the one call.
  //
  // The look at `name`; a missing file is not an error (`exists` false).
  virtual Status LookAtFile(std::string_view name, FileLook* look) {
    *look = FileLook{};
    look->exists = FileExists(name);
    std::unique_ptr<File> file;
    if (!look->exists) return Status::OK();
    Status s = OpenFile(name, /*create=*/false, &file);
    if (s.ok()) s = file->Size(&look->size);
    return s;
  }
  // Up to `length` bytes of `name` from `offset` on, as far as the file
  // reached when it was opened, and the look of the file then. A missing
  // file gives no bytes and `exists` false.
  virtual Status ReadFileFrom(std::string_view name, std::uint64_t offset, std::size_t length,
                              std::string* bytes, FileLook* look) {
    Status s = LookAtFile(name, look);
    if (s.ok()) s = ReadFile(name, bytes);
    if (!s.ok()) return s;
    look->size = bytes->size();
    bytes->erase(0, std::min<std::uint64_t>(offset, bytes->size()));
    if (bytes->size() > length) bytes->resize(length);
    return s;
  }
  // True when the files' changes are announced by the system (a folder on
  // this computer's own disk); false for a share, whose files other
  // computers change unannounced, and wherever it cannot be told.
  virtual bool ChangesAreAnnounced() { return false; }

  // Takes the folder-wide lock `name`, waiting up to `wait` while
  // another process (on this computer or another) holds it. Fails, having
  // changed nothing, when the wait ends or the lock cannot be made.
  virtual Status Lock(std::string_view name, std::chrono::milliseconds wait,
                      std::unique_ptr<FolderLock>* lock) {
    (void)name;
    (void)wait;
    *lock = std::make_unique<FolderLock>();
    return Status::OK();
  }
};

// Forwards every call to another Folder; a test double derives from it and
// overrides only what it fakes.
class FolderWrapper : public Folder {
 public:
  explicit FolderWrapper(Folder* target) : target_(target) {}
  std::string FullPath(std::string_view name) const override { return target_->FullPath(name); }
  bool FileExists(std::string_view name) override { return target_->FileExists(name); }
  Status ReadFile(std::string_view name, std::string* contents) override {
    return target_->ReadFile(name, contents);
  }
  Status WriteFile(std::string_view name, std::string_view contents) override {
    return target_->WriteFile(name, contents);
  }
  Status OpenFile(std::string_view name, bool create, std::unique_ptr<File>* file,
                  bool* created = nullptr) override {
    return target_->OpenFile(name, create, file, created);
  }
  Status RemoveFile(std::string_view name) override { return target_->RemoveFile(name); }
  Status PublishFile(std::string_view from, std::string_view to, bool* taken) override {
    return target_->PublishFile(from, to, taken);
  }
  Status SyncFolder() override { return target_->SyncFolder(); }
  Status MakeFolder(std::string_view name) override { return target_->MakeFolder(name); }
  Status ListFolder(std::string_view name, std::vector<std::string>* names) override {
    return target_->ListFolder(name, names);
  }
  Status SyncSubfolder(std::string_view name) override { return target_->SyncSubfolder(name); }
  Status ReplaceFile(std::string_view from, std::string_view to) override {
    return target_->ReplaceFile(from, to);
  }
  Status OpenPrivateFile(std::string_view name, std::unique_ptr<File>* file,
                         bool* created = nullptr) override {
    return target_->OpenPrivateFile(name, file, created);
  }
  Status ReadPrivateFile(std::string_view name, std::string* contents) override {
    return target_->ReadPrivateFile(name, contents);
  }
  Status ReadFileStart(std::string_view name, std::size_t length, std::string* bytes) override {
    return target_->ReadFileStart(name, length, bytes);
  }
  Status ReadFileEnd(std::string_view name, std::size_t length, std::string* bytes) override {
    return target_->ReadFileEnd(name, length, bytes);
  }
  Status LookAtFile(std::string_view name, FileLook* look) override {
    return target_->LookAtFile(name, look);
  }
  Status ReadFileFrom(std::string_view name, std::uint64_t offset, std::size_t length,
                      std::string* bytes, FileLook* look) override {
    return target_->ReadFileFrom(name, offset, length, bytes, look);
  }
  bool ChangesAreAnnounced() override { return target_->ChangesAreAnnounced(); }
  Status Lock(std::string_view name, std::chrono::milliseconds wait,
              std::unique_ptr<FolderLock>* lock) override {
    return target_->Lock(name, wait, lock);
  }

 private:
  Folder* target_;
};

}  // namespace quillon
