#include "support/core/FaultyFolder.h"

namespace quillon::testing {

bool FaultyFolder::Fault(std::string_view) {
  if (++operations_ != fault_at_) return false;
  faulted_ = true;
  if (mode_ == Mode::kCrash) throw Crash{};
  return true;
}

#define QUILLON_FAULT(name) \
  if (Fault(name)) return Status::Error(std::string(name), "injected fault")

bool FaultyFolder::FileExists(std::string_view name) {
  if (Fault(name)) return false;
  return FolderWrapper::FileExists(name);
}

Status FaultyFolder::ReadFile(std::string_view name, std::string* contents) {
  QUILLON_FAULT(name);
  return FolderWrapper::ReadFile(name, contents);
}

Status FaultyFolder::ReadFrom(std::string_view name, std::uint64_t offset, std::string* contents) {
  QUILLON_FAULT(name);
  return FolderWrapper::ReadFrom(name, offset, contents);
}

Status FaultyFolder::FileSize(std::string_view name, std::uint64_t* size) {
  QUILLON_FAULT(name);
  return FolderWrapper::FileSize(name, size);
}

Status FaultyFolder::CreateIfMissing(std::string_view name) {
  QUILLON_FAULT(name);
  return FolderWrapper::CreateIfMissing(name);
}

Status FaultyFolder::WriteFile(std::string_view name, std::string_view contents) {
  if (operations_ + 1 == fault_at_ && mode_ == Mode::kCrash) {
    // What the write leaves does not matter to the crash; the test looks at it.
    (void)FolderWrapper::WriteFile(name, contents.substr(0, contents.size() / 2));
  }
  QUILLON_FAULT(name);
  return FolderWrapper::WriteFile(name, contents);
}

Status FaultyFolder::AppendFile(std::string_view name, std::string_view contents) {
  QUILLON_FAULT(name);
  return FolderWrapper::AppendFile(name, contents);
}

Status FaultyFolder::LinkFile(std::string_view from, std::string_view to) {
  QUILLON_FAULT(to);
  return FolderWrapper::LinkFile(from, to);
}

Status FaultyFolder::RemoveFile(std::string_view name) {
  QUILLON_FAULT(name);
  return FolderWrapper::RemoveFile(name);
}

Status FaultyFolder::SyncFile(std::string_view name) {
  QUILLON_FAULT(name);
  return FolderWrapper::SyncFile(name);
}

Status FaultyFolder::RenameFile(std::string_view from, std::string_view to) {
  QUILLON_FAULT(to);
  return FolderWrapper::RenameFile(from, to);
}

Status FaultyFolder::SyncFolder() {
  QUILLON_FAULT("folder");
  return FolderWrapper::SyncFolder();
}

#undef QUILLON_FAULT

}  // namespace quillon::testing
