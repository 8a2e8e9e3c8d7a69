#include "support/core/FaultyFolder.h"

#include <random>

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
    auto half = [&] {
      folder_.Changed(name_, offset, std::string(bytes.substr(0, bytes.size() / 2)), false);
      (void)target_->Write(offset, bytes.substr(0, bytes.size() / 2));
    };
    if (folder_.Fault("Write " + name_, half)) return Injected(name_);
    folder_.Changed(name_, offset, std::string(bytes), false);
    return target_->Write(offset, bytes);
  }
  Status Sync() override {
    if (folder_.Fault("Sync " + name_)) return Injected(name_);
    Status s = target_->Sync();
    if (s.ok()) folder_.Synced(name_);
    return s;
  }
  Status Truncate(std::uint64_t length) override {
    if (folder_.Fault("Truncate " + name_)) return Injected(name_);
    folder_.Changed(name_, length, "", true);
    return target_->Truncate(length);
  }
  Status TruncateIfSize(std::uint64_t expected, std::uint64_t length, bool* done) override {
    *done = false;
    if (folder_.Fault("TruncateIfSize " + name_)) return Injected(name_);
    Status s = target_->TruncateIfSize(expected, length, done);
    if (*done) folder_.Changed(name_, length, "", true);
    return s;
  }
  Status WriteIfSize(std::uint64_t expected, std::uint64_t offset, std::string_view bytes,
                     bool* done) override {
    *done = false;
    auto half = [&] {  // only where the write would have been made
      std::uint64_t size = 0;
      if (!target_->Size(&size).ok() || size != expected) return;
      folder_.Changed(name_, offset, std::string(bytes.substr(0, bytes.size() / 2)), false);
      (void)target_->Write(offset, bytes.substr(0, bytes.size() / 2));
    };
    if (folder_.Fault("WriteIfSize " + name_, half)) return Injected(name_);
    Status s = target_->WriteIfSize(expected, offset, bytes, done);
    if (*done) folder_.Changed(name_, offset, std::string(bytes), false);
    return s;
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
  Watch(std::string(name));
  auto half = [&] {
    Changed(std::string(name), 0, "", true);
    Changed(std::string(name), 0, std::string(contents.substr(0, contents.size() / 2)), false);
    (void)FolderWrapper::WriteFile(name, contents.substr(0, contents.size() / 2));
  };
  if (Fault("WriteFile " + std::string(name), half)) return Injected(std::string(name));
  Changed(std::string(name), 0, "", true);
  Changed(std::string(name), 0, std::string(contents), false);
  return FolderWrapper::WriteFile(name, contents);
}

Status FaultyFolder::OpenFile(std::string_view name, bool create, std::unique_ptr<File>* file,
                              bool* created) {
  if (Fault("OpenFile " + std::string(name))) return Injected(std::string(name));
  Watch(std::string(name));
  std::unique_ptr<File> target;
  Status s = FolderWrapper::OpenFile(name, create, &target, created);
  if (s.ok()) *file = std::make_unique<FaultyFile>(*this, std::move(target), std::string(name));
  return s;
}

Status FaultyFolder::RemoveFile(std::string_view name) {
  if (Fault("RemoveFile " + std::string(name))) return Injected(std::string(name));
  logs_.erase(std::string(name));
  return FolderWrapper::RemoveFile(name);
}

Status FaultyFolder::PublishFile(std::string_view from, std::string_view to, bool* taken) {
  *taken = false;
  if (Fault("PublishFile " + std::string(to))) return Injected(std::string(to));
  Status s = FolderWrapper::PublishFile(from, to, taken);
  if (s.ok() && !*taken) Renamed(std::string(from), std::string(to));
  return s;
}

Status FaultyFolder::MakeFolder(std::string_view name) {
  if (Fault("MakeFolder " + std::string(name))) return Injected(std::string(name));
  return FolderWrapper::MakeFolder(name);
}

Status FaultyFolder::ListFolder(std::string_view name, std::vector<std::string>* names) {
  if (Fault("ListFolder " + std::string(name))) return Injected(std::string(name));
  return FolderWrapper::ListFolder(name, names);
}

Status FaultyFolder::SyncSubfolder(std::string_view name) {
  if (Fault("SyncSubfolder " + std::string(name))) return Injected(std::string(name));
  return FolderWrapper::SyncSubfolder(name);
}

Status FaultyFolder::ReplaceFile(std::string_view from, std::string_view to) {
  if (Fault("ReplaceFile " + std::string(to))) return Injected(std::string(to));
  Status s = FolderWrapper::ReplaceFile(from, to);
  if (s.ok()) Renamed(std::string(from), std::string(to));
  return s;
}

void FaultyFolder::Renamed(const std::string& from, const std::string& to) {
  auto log = logs_.find(from);
  if (log == logs_.end()) {
    logs_.erase(to);
    return;
  }
  logs_[to] = std::move(log->second);
  logs_.erase(from);
}

Status FaultyFolder::SyncFolder() {
  if (Fault("SyncFolder")) return Injected("folder");
  return FolderWrapper::SyncFolder();
}

Status FaultyFolder::OpenPrivateFile(std::string_view name, std::unique_ptr<File>* file,
                                     bool* created) {
  if (Fault("OpenPrivateFile " + std::string(name))) return Injected(std::string(name));
  Watch(std::string(name));
  std::unique_ptr<File> target;
  Status s = FolderWrapper::OpenPrivateFile(name, &target, created);
  if (s.ok()) *file = std::make_unique<FaultyFile>(*this, std::move(target), std::string(name));
  return s;
}

Status FaultyFolder::ReadFileStart(std::string_view name, std::size_t length, std::string* bytes) {
  if (Fault("ReadFileStart " + std::string(name))) return Injected(std::string(name));
  return FolderWrapper::ReadFileStart(name, length, bytes);
}

Status FaultyFolder::Lock(std::string_view name, std::chrono::milliseconds wait,
                          std::unique_ptr<FolderLock>* lock) {
  if (Fault("Lock " + std::string(name))) return Injected(std::string(name));
  return FolderWrapper::Lock(name, wait, lock);
}

void FaultyFolder::Watch(const std::string& name) {
  if (logs_.count(name) != 0) return;
  Log& log = logs_[name];
  if (!FolderWrapper::FileExists(name)) return;
  (void)FolderWrapper::ReadFile(name, &log.synced);
}

void FaultyFolder::Changed(const std::string& name, std::uint64_t offset, std::string bytes,
                           bool truncate) {
  Watch(name);
  logs_[name].since.push_back(Change{offset, std::move(bytes), truncate, false});
}

void FaultyFolder::Synced(const std::string& name) {
  Log& log = logs_[name];
  log.since.clear();
  (void)FolderWrapper::ReadFile(name, &log.synced);
}

void FaultyFolder::LessonAppends(std::string_view name, std::string_view bytes) {
  Watch(std::string(name));
  std::unique_ptr<File> file;
  std::uint64_t size = 0;
  if (!FolderWrapper::OpenFile(name, true, &file).ok() || !file->Size(&size).ok()) return;
  (void)file->Write(size, bytes);
  logs_[std::string(name)].since.push_back(Change{size, std::string(bytes), false, true});
  // The lesson does not flush: its record may be lost too, but a record is
  // one sector's write, so never torn.
}

void FaultyFolder::PowerCut(unsigned seed) {
  std::mt19937 random(seed);
  for (auto& [name, log] : logs_) {
    std::string bytes = log.synced;
    for (const Change& c : log.since) {
      unsigned choice = seed < 2 ? seed : random() % 3;
      if (c.whole && choice == 2) choice = 1;
      if (choice == 0 && c.truncate) break;  // length changes reach the disk in order
      if (choice == 0) continue;             // lost
      if (c.truncate) {
        bytes.resize(static_cast<std::size_t>(c.offset), '\0');
        continue;
      }
      std::string_view kept = c.bytes;
      if (choice == 2) kept = kept.substr(0, random() % (kept.size() + 1));  // torn
      const auto at = static_cast<std::size_t>(c.offset);
      if (bytes.size() < at + kept.size()) bytes.resize(at + kept.size(), '\0');
      bytes.replace(at, kept.size(), kept);
    }
    (void)FolderWrapper::WriteFile(name, bytes);
  }
  logs_.clear();
}

}  // namespace quillon::testing
