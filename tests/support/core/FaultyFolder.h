// A Folder that fails, or "crashes", at its k-th file operation (counting
// from 1), to prove that no fault at any step loses a record.
#pragma once

#include <string>

#include "platform/Folder.h"

namespace quillon::testing {

// Thrown where the program would have died: nothing after it runs.
struct Crash {};

class FaultyFolder : public FolderWrapper {
 public:
  enum class Mode { kFail, kCrash };
  FaultyFolder(Folder* target, int fault_at, Mode mode)
      : FolderWrapper(target), fault_at_(fault_at), mode_(mode) {}

  // Operations seen so far.
  int operations() const { return operations_; }
  bool faulted() const { return faulted_; }

  bool FileExists(std::string_view name) override;
  Status ReadFile(std::string_view name, std::string* contents) override;
  Status ReadFrom(std::string_view name, std::uint64_t offset, std::string* contents) override;
  Status FileSize(std::string_view name, std::uint64_t* size) override;
  Status CreateIfMissing(std::string_view name) override;
  // A crash in the middle of a write leaves the first half of the bytes.
  Status WriteFile(std::string_view name, std::string_view contents) override;
  Status AppendFile(std::string_view name, std::string_view contents) override;
  Status SyncFile(std::string_view name) override;
  Status LinkFile(std::string_view from, std::string_view to) override;
  Status RemoveFile(std::string_view name) override;
  Status RenameFile(std::string_view from, std::string_view to) override;
  Status SyncFolder() override;

 private:
  // True when this operation is the one to fault (a crash throws here).
  bool Fault(std::string_view name);

  int fault_at_;
  Mode mode_;
  int operations_ = 0;
  bool faulted_ = false;
};

}  // namespace quillon::testing
