// A Folder that fails, or "crashes", at its k-th file operation (counting
// from 1; the operations of the files it opens count too), to prove that no
// fault at any step loses a record. A hook can run before every operation,
// for a test that has a tutoring lesson write at a chosen moment.
#pragma once

#include <functional>
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
  // Runs before operation n (from 1), with the operation's name, e.g.
  // "Truncate RECORDS.DAT".
  std::function<void(int n, const std::string& what)> before;
  // Operations for which this answers true fail too (in either mode they
  // fail, never crash).
  std::function<bool(const std::string& what)> fail_if;

  bool FileExists(std::string_view name) override;
  Status ReadFile(std::string_view name, std::string* contents) override;
  // A crash in the middle of a write leaves the first half of the bytes.
  Status WriteFile(std::string_view name, std::string_view contents) override;
  Status OpenFile(std::string_view name, bool create, std::unique_ptr<File>* file,
                  bool* created = nullptr) override;
  Status RemoveFile(std::string_view name) override;
  Status PublishFile(std::string_view from, std::string_view to, bool* taken) override;
  Status SyncFolder() override;

  // True when this operation is the one to fault (a crash throws here, a
  // write's half already written through `half` when given).
  bool Fault(const std::string& what, const std::function<void()>& half = nullptr);

 private:
  int fault_at_;
  Mode mode_;
  int operations_ = 0;
  bool faulted_ = false;
};

}  // namespace quillon::testing
