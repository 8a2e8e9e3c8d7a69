// The folder's lock, held: one program at a time changes the shared files,
// on every computer that shares the folder. Holding it is a value: the
// store's functions that change a file take the token as a parameter, so
// they cannot be called without it, and taking it a second time in one
// program fails at once instead of waiting for itself.
#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "platform/Folder.h"

namespace quillon {

// How long a program waits while another holds the lock.
inline constexpr std::chrono::milliseconds kLockWait{15000};

class LockToken {
 public:
  ~LockToken();
  LockToken(const LockToken&) = delete;
  LockToken& operator=(const LockToken&) = delete;

  // Eight hex digits of this holding's own, written into every journal
  // entry made under it.
  const std::string& mark() const { return mark_; }
  // Before each step that writes: fails (StatusCode::kTakenOver), so that
  // nothing more is written, when another program took the lock over
  // meanwhile (this one was stopped long enough to be judged gone).
  Status StillOurs() const;

 private:
  friend Status TakeLock(Folder& folder, std::chrono::milliseconds wait,
                         std::unique_ptr<LockToken>* lock);
  LockToken(std::unique_ptr<FolderLock> lock, std::string key);
  std::unique_ptr<FolderLock> lock_;
  std::string key_;
  std::string mark_;
};

// Takes the folder's lock, waiting up to `wait` while another program
// holds it. Fails, having changed nothing, when the wait ends
// (StatusCode::kBusy), when the lock cannot be made, or at once when this
// program holds it already.
Status TakeLock(Folder& folder, std::chrono::milliseconds wait, std::unique_ptr<LockToken>* lock);

}  // namespace quillon
