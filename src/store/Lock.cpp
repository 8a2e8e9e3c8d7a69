#include "store/Lock.h"

#include <mutex>
#include <set>

#include "platform/Random.h"
#include "store/StoreFiles.h"

namespace quillon {
namespace {

// The locks this program holds, by path: one program, one holding.
std::mutex held_mutex;
std::set<std::string>& Held() {
  static std::set<std::string> held;
  return held;
}

}  // namespace

LockToken::LockToken(std::unique_ptr<FolderLock> lock, std::string key)
    : lock_(std::move(lock)), key_(std::move(key)), mark_(RandomHexDigits(8)) {}

LockToken::~LockToken() {
  lock_.reset();
  std::lock_guard<std::mutex> guard(held_mutex);
  Held().erase(key_);
}

Status LockToken::StillOurs() const { return lock_->StillOurs(); }

Status TakeLock(Folder& folder, std::chrono::milliseconds wait, std::unique_ptr<LockToken>* lock) {
  lock->reset();
  const std::string key = folder.FullPath(kLockFile);
  {
    std::lock_guard<std::mutex> guard(held_mutex);
    if (!Held().insert(key).second) {
      return Status::Error(StatusCode::kBusy, kLockFile,
                           "is held by this program already (a change of the files was begun "
                           "inside another); nothing was changed");
    }
  }
  // Given back on every way out but success, exceptions included.
  struct Release {
    const std::string& key;
    bool keep = false;
    ~Release() {
      if (keep) return;
      std::lock_guard<std::mutex> guard(held_mutex);
      Held().erase(key);
    }
  } release{key};
  std::unique_ptr<FolderLock> held;
  Status s = folder.Lock(kLockFile, wait, &held);
  if (!s.ok()) return s;
  lock->reset(new LockToken(std::move(held), key));
  release.keep = true;
  return Status::OK();
}

}  // namespace quillon
