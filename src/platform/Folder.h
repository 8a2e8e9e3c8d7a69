// The program folder: every data file lives there and is reached by its bare
// name ("RECORDS.DAT"). Implementations: PosixFolder (real files) and, in the
// tests, a fault-injecting wrapper built on FolderWrapper.
//
// Files are single-byte text. A reader takes a whole file in one call; record
// files are cut into fixed-length records by data/RecordFile.h, so a file of
// 32,767 records costs one read, not 32,767.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/Status.h"

namespace quillon {

class Folder {
 public:
  virtual ~Folder() = default;

  // The full path of `name` in the program folder.
  virtual std::string FullPath(std::string_view name) const = 0;
  // True if `name` is an existing ordinary file (folders do not count).
  virtual bool FileExists(std::string_view name) = 0;
  // The whole contents of `name`; a missing file reads as empty (and is left
  // missing). Fails when the file exists but cannot be read.
  virtual Status ReadFile(std::string_view name, std::string* contents) = 0;
  // The bytes of `name` from byte `offset` to its end (empty when the file is
  // shorter). Used to pick up records appended while a rewrite runs.
  virtual Status ReadFrom(std::string_view name, std::uint64_t offset, std::string* contents) = 0;
  // The length of `name` in bytes; 0 for a missing file.
  virtual Status FileSize(std::string_view name, std::uint64_t* size) = 0;
  // Creates `name` empty when it does not exist; an existing file is kept.
  virtual Status CreateIfMissing(std::string_view name) = 0;
  // Creates `name` or empties it, then writes `contents` (not yet synced).
  virtual Status WriteFile(std::string_view name, std::string_view contents) = 0;
  // Appends `contents` at the end of `name` in one write (O_APPEND, as the
  // tutoring lessons append), creating the file when missing.
  virtual Status AppendFile(std::string_view name, std::string_view contents) = 0;
  // Forces the contents of `name` to disk.
  virtual Status SyncFile(std::string_view name) = 0;
  // Gives the file `from` a second name `to` (a hard link): both names then
  // reach the same file, whatever happens to either name afterwards.
  virtual Status LinkFile(std::string_view from, std::string_view to) = 0;
  // Removes the name `name`; a missing file is not an error.
  virtual Status RemoveFile(std::string_view name) = 0;
  // Replaces `to` by `from` in one step: at every instant `to` is either the
  // old file or the new one.
  virtual Status RenameFile(std::string_view from, std::string_view to) = 0;
  // Forces the folder's entries (after a rename) to disk.
  virtual Status SyncFolder() = 0;
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
  Status ReadFrom(std::string_view name, std::uint64_t offset, std::string* contents) override {
    return target_->ReadFrom(name, offset, contents);
  }
  Status FileSize(std::string_view name, std::uint64_t* size) override {
    return target_->FileSize(name, size);
  }
  Status CreateIfMissing(std::string_view name) override { return target_->CreateIfMissing(name); }
  Status WriteFile(std::string_view name, std::string_view contents) override {
    return target_->WriteFile(name, contents);
  }
  Status AppendFile(std::string_view name, std::string_view contents) override {
    return target_->AppendFile(name, contents);
  }
  Status SyncFile(std::string_view name) override { return target_->SyncFile(name); }
  Status LinkFile(std::string_view from, std::string_view to) override {
    return target_->LinkFile(from, to);
  }
  Status RemoveFile(std::string_view name) override { return target_->RemoveFile(name); }
  Status RenameFile(std::string_view from, std::string_view to) override {
    return target_->RenameFile(from, to);
  }
  Status SyncFolder() override { return target_->SyncFolder(); }

 private:
  Folder* target_;
};

}  // namespace quillon
