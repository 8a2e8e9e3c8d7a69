// A folder that tells what a follower of the files did through it: every
// call by name ("LookAtFile RECORDS.DAT", "ReadFileFrom RECORDS.DAT 200"),
// the files it holds open right now (handed out by OpenFile and not yet
// closed), and whether it claims to be a share, whose changes are not
// announced. And a tutoring lesson's append, as the lessons write: open,
// one write at the end, close.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/Folder.h"

namespace quillon::testing {

class WatchedFolder : public FolderWrapper {
 public:
  explicit WatchedFolder(Folder* target) : FolderWrapper(target) {}

  std::vector<std::string> calls;
  int open_now = 0;    // files handed out and still open
  bool share = false;  // ChangesAreAnnounced() answers false

  // The calls made since the last Calls(), and forgets them.
  std::vector<std::string> Calls();
  // Calls that change a file or take the lock, or open one and keep it.
  bool AnyNotReading() const;

  bool FileExists(std::string_view name) override;
  Status ReadFile(std::string_view name, std::string* contents) override;
  Status WriteFile(std::string_view name, std::string_view contents) override;
  Status OpenFile(std::string_view name, bool create, std::unique_ptr<File>* file,
                  bool* created = nullptr) override;
  Status OpenPrivateFile(std::string_view name, std::unique_ptr<File>* file,
                         bool* created = nullptr) override;
  Status ReadPrivateFile(std::string_view name, std::string* contents) override;
  Status ReadFileEnd(std::string_view name, std::size_t length, std::string* bytes) override;
  Status RemoveFile(std::string_view name) override;
  Status LookAtFile(std::string_view name, FileLook* look) override;
  Status ReadFileFrom(std::string_view name, std::uint64_t offset, std::size_t length,
                      std::string* bytes, FileLook* look) override;
  bool ChangesAreAnnounced() override { return !share && FolderWrapper::ChangesAreAnnounced(); }
  Status Lock(std::string_view name, std::chrono::milliseconds wait,
              std::unique_ptr<FolderLock>* lock) override;
};

// Appends `bytes` to the file at `path` as a tutoring lesson does (O_APPEND,
// one write, close); fails the test when it cannot.
void LessonAppends(const std::string& path, std::string_view bytes);
// Sets the file's time of last change to `t` (local time).
void SetChangeTime(const std::string& path, const DateTime& t);
// How many descriptors of this process are open on the file at `path`.
int OpenDescriptors(const std::string& path);

}  // namespace quillon::testing
