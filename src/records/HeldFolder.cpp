#include "records/HeldFolder.h"

namespace quillon {
namespace {

Status ReadOnly(std::string_view name) {
  return Status::Error(std::string(name), "cannot be changed here: these are the files as read");
}

}  // namespace

bool HeldFolder::FileExists(std::string_view name) { return files_.find(name) != files_.end(); }

Status HeldFolder::ReadFile(std::string_view name, std::string* contents) {
  const auto it = files_.find(name);
  if (it == files_.end()) {
    contents->clear();
  } else {
    *contents = it->second;
  }
  return Status::OK();
}

Status HeldFolder::WriteFile(std::string_view name, std::string_view) { return ReadOnly(name); }

Status HeldFolder::OpenFile(std::string_view name, bool, std::unique_ptr<File>*, bool*) {
  return ReadOnly(name);
}

Status HeldFolder::RemoveFile(std::string_view name) { return ReadOnly(name); }

Status HeldFolder::PublishFile(std::string_view, std::string_view to, bool*) {
  return ReadOnly(to);
}

Status HeldFolder::MakeFolder(std::string_view name) { return ReadOnly(name); }

Status HeldFolder::ListFolder(std::string_view, std::vector<std::string>* names) {
  names->clear();
  return Status::OK();
}

Status HeldFolder::ReplaceFile(std::string_view, std::string_view to) { return ReadOnly(to); }

Status HeldFolder::LookAtFile(std::string_view name, FileLook* look) {
  *look = FileLook{};
  const auto it = files_.find(name);
  look->exists = it != files_.end();
  if (look->exists) look->size = it->second.size();
  return Status::OK();
}

Status HeldFolder::ReadFileFrom(std::string_view name, std::uint64_t offset, std::size_t length,
                                std::string* bytes, FileLook* look) {
  Status s = LookAtFile(name, look);
  bytes->clear();
  const auto it = files_.find(name);
  if (it != files_.end() && offset < it->second.size()) {
    *bytes = it->second.substr(static_cast<std::size_t>(offset), length);
  }
  return s;
}

Status HeldFolder::Lock(std::string_view name, std::chrono::milliseconds,
                        std::unique_ptr<FolderLock>*) {
  return Status::Error(StatusCode::kBusy, std::string(name),
                       "is not taken here: these are the files as read");
}

}  // namespace quillon
