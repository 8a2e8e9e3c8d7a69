#include "support/core/FaultyFolder.h"

namespace quillon::testing {
namespace {

Status Injected(const std::string& what) { return Status::Error(what, "injected fault"); }

// The files of a FaultyFolder: each operation is one of the folder's.
class FaultyFile : public File {
 public:
  FaultyFile(FaultyFolder& folder, std::unique_ptr<File> target, std::string name)
      : folder_(folder), target_(std::move(target)), name_(std::move(name)) {}

  Status Size(std::uint64_t* size) override {
    if (folder_.Fault("Size " + name_)) return Injected(name_);
    return target_->Size(size);
  }
  Status Read(std::uint64_t offset, std::size_t length, std::string* bytes) override {
    if (folder_.Fault("Read " + name_)) return Injected(name_);
    return target_->Read(offset, length, bytes);
  }
  Status Write(std::uint64_t offset, std::string_view bytes) override {
    auto half = [&] { (void)target_->Write(offset, bytes.substr(0, bytes.size() / 2)); };
    if (folder_.Fault("Write " + name_, half)) return Injected(name_);
    return target_->Write(offset, bytes);
  }
  Status Sync() override {
    if (folder_.Fault("Sync " + name_)) return Injected(name_);
    return target_->Sync();
  }
  Status Truncate(std::uint64_t length) override {
    if (folder_.Fault("Truncate " + name_)) return Injected(name_);
    return target_->Truncate(length);
  }
  Status TruncateIfSize(std::uint64_t expected, std::uint64_t length, bool* done) override {
    *done = false;
    if (folder_.Fault("TruncateIfSize " + name_)) return Injected(name_);
    return target_->TruncateIfSize(expected, length, done);
  }

 private:
  FaultyFolder& folder_;
  std::unique_ptr<File> target_;
  std::string name_;
};

}  // namespace

bool FaultyFolder::Fault(const std::string& what, const std::function<void()>& half) {
  ++operations_;
  if (before) before(operations_, what);
  if (fail_if && fail_if(what)) return true;
  if (operations_ != fault_at_) return false;
  faulted_ = true;
  if (mode_ == Mode::kCrash) {
    if (half) half();
    throw Crash{};
  }
  return true;
}

bool FaultyFolder::FileExists(std::string_view name) {
  if (Fault("FileExists " + std::string(name))) return false;
  return FolderWrapper::FileExists(name);
}

Status FaultyFolder::ReadFile(std::string_view name, std::string* contents) {
  if (Fault("ReadFile " + std::string(name))) return Injected(std::string(name));
  return FolderWrapper::ReadFile(name, contents);
}

Status FaultyFolder::WriteFile(std::string_view name, std::string_view contents) {
  auto half = [&] {
    (void)FolderWrapper::WriteFile(name, contents.substr(0, contents.size() / 2));
  };
  if (Fault("WriteFile " + std::string(name), half)) return Injected(std::string(name));
  return FolderWrapper::WriteFile(name, contents);
}

Status FaultyFolder::OpenFile(std::string_view name, bool create, std::unique_ptr<File>* file,
                              bool* created) {
  if (Fault("OpenFile " + std::string(name))) return Injected(std::string(name));
  std::unique_ptr<File> target;
  Status s = FolderWrapper::OpenFile(name, create, &target, created);
  if (s.ok()) *file = std::make_unique<FaultyFile>(*this, std::move(target), std::string(name));
  return s;
}

Status FaultyFolder::RemoveFile(std::string_view name) {
  if (Fault("RemoveFile " + std::string(name))) return Injected(std::string(name));
  return FolderWrapper::RemoveFile(name);
}

Status FaultyFolder::PublishFile(std::string_view from, std::string_view to, bool* taken) {
  *taken = false;
  if (Fault("PublishFile " + std::string(to))) return Injected(std::string(to));
  return FolderWrapper::PublishFile(from, to, taken);
}

Status FaultyFolder::SyncFolder() {
  if (Fault("SyncFolder")) return Injected("folder");
  return FolderWrapper::SyncFolder();
}

}  // namespace quillon::testing
