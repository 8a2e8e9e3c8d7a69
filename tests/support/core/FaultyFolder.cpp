#include "support/core/FaultyFolder.h"

#include <random>

namespace quillon::testing {
namespace {

Status Injected(const std::string& what) { return Status::Error(what, "injected fault"); }

// The files of a FaultyFolder: each operation is one of the folder's.
class FaultyFile : public File {
 public:
  FaultyFile(FaultyFolder& folder, std::unique_ptr<File> target, std::string name, int id)
      : folder_(folder), target_(std::move(target)), name_(std::move(name)), id_(id) {}

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
      folder_.Changed(id_, offset, std::string(bytes.substr(0, bytes.size() / 2)), false);
      (void)target_->Write(offset, bytes.substr(0, bytes.size() / 2));
    };
    if (folder_.Fault("Write " + name_, half)) return Injected(name_);
    folder_.Changed(id_, offset, std::string(bytes), false);
    return target_->Write(offset, bytes);
  }
  Status Sync() override {
    if (folder_.Fault("Sync " + name_)) return Injected(name_);
    Status s = target_->Sync();
    std::uint64_t size = 0;
    std::string bytes;
    if (s.ok()) s = target_->Size(&size);
    if (s.ok()) s = target_->Read(0, static_cast<std::size_t>(size), &bytes);
    if (s.ok()) folder_.Synced(id_, std::move(bytes));
    return s;
  }
  Status Truncate(std::uint64_t length) override {
    if (folder_.Fault("Truncate " + name_)) return Injected(name_);
    folder_.Changed(id_, length, "", true);
    return target_->Truncate(length);
  }
  Status TruncateIfSize(std::uint64_t expected, std::uint64_t length, bool* done) override {
    *done = false;
    if (folder_.Fault("TruncateIfSize " + name_)) return Injected(name_);
    Status s = target_->TruncateIfSize(expected, length, done);
    if (*done) folder_.Changed(id_, length, "", true);
    return s;
  }
  Status WriteIfSize(std::uint64_t expected, std::uint64_t offset, std::string_view bytes,
                     bool* done) override {
    *done = false;
    auto half = [&] {  // only where the write would have been made
      std::uint64_t size = 0;
      if (!target_->Size(&size).ok() || size != expected) return;
      folder_.Changed(id_, offset, std::string(bytes.substr(0, bytes.size() / 2)), false);
      (void)target_->Write(offset, bytes.substr(0, bytes.size() / 2));
    };
    if (folder_.Fault("WriteIfSize " + name_, half)) return Injected(name_);
    Status s = target_->WriteIfSize(expected, offset, bytes, done);
    if (*done) folder_.Changed(id_, offset, std::string(bytes), false);
    return s;
  }

 private:
  FaultyFolder& folder_;
  std::unique_ptr<File> target_;
  std::string name_;
  int id_;
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

std::string FaultyFolder::FolderOf(const std::string& name) {
  const std::size_t slash = name.find('/');
  return slash == std::string::npos ? std::string() : name.substr(0, slash);
}

void FaultyFolder::Watch(const std::string& name) {
  if (names_.count(name) != 0) return;
  int id = -1;
  if (FolderWrapper::FileExists(name)) {
    id = next_id_++;
    (void)FolderWrapper::ReadFile(name, &logs_[id].synced);
  }
  names_[name] = id;
  durable_[name] = id;
}

int FaultyFolder::IdOf(const std::string& name, bool create) {
  Watch(name);
  int id = names_[name];
  if (id < 0 && create) {
    id = next_id_++;
    logs_[id];
    Named(name, id);
  }
  return id;
}

void FaultyFolder::Named(const std::string& name, int id) {
  Watch(name);
  names_[name] = id;
  renames_[FolderOf(name)].push_back(NameChange{name, id});
}

void FaultyFolder::FolderSynced(const std::string& folder) {
  for (const NameChange& c : renames_[folder]) durable_[c.name] = c.id;
  renames_.erase(folder);
}

bool FaultyFolder::FileExists(std::string_view name) {
  if (Fault("FileExists " + std::string(name))) return false;
  return FolderWrapper::FileExists(name);
}

Status FaultyFolder::ReadFile(std::string_view name, std::string* contents) {
  if (Fault("ReadFile " + std::string(name))) return Injected(std::string(name));
  return FolderWrapper::ReadFile(name, contents);
}

Status FaultyFolder::ReadPrivateFile(std::string_view name, std::string* contents) {
  if (Fault("ReadPrivateFile " + std::string(name))) return Injected(std::string(name));
  return FolderWrapper::ReadPrivateFile(name, contents);
}

Status FaultyFolder::WriteFile(std::string_view name, std::string_view contents) {
  const int id = IdOf(std::string(name), /*create=*/true);
  auto half = [&] {
    Changed(id, 0, "", true);
    Changed(id, 0, std::string(contents.substr(0, contents.size() / 2)), false);
    (void)FolderWrapper::WriteFile(name, contents.substr(0, contents.size() / 2));
  };
  if (Fault("WriteFile " + std::string(name), half)) return Injected(std::string(name));
  Changed(id, 0, "", true);
  Changed(id, 0, std::string(contents), false);
  return FolderWrapper::WriteFile(name, contents);
}

Status FaultyFolder::OpenFile(std::string_view name, bool create, std::unique_ptr<File>* file,
                              bool* created) {
  if (Fault("OpenFile " + std::string(name))) return Injected(std::string(name));
  std::unique_ptr<File> target;
  Watch(std::string(name));
  Status s = FolderWrapper::OpenFile(name, create, &target, created);
  if (!s.ok()) return s;
  const int id = IdOf(std::string(name), /*create=*/true);
  *file = std::make_unique<FaultyFile>(*this, std::move(target), std::string(name), id);
  return s;
}

Status FaultyFolder::OpenPrivateFile(std::string_view name, std::unique_ptr<File>* file,
                                     bool* created) {
  if (Fault("OpenPrivateFile " + std::string(name))) return Injected(std::string(name));
  std::unique_ptr<File> target;
  Watch(std::string(name));
  Status s = FolderWrapper::OpenPrivateFile(name, &target, created);
  if (!s.ok()) return s;
  const int id = IdOf(std::string(name), /*create=*/true);
  *file = std::make_unique<FaultyFile>(*this, std::move(target), std::string(name), id);
  return s;
}

Status FaultyFolder::RemoveFile(std::string_view name) {
  if (Fault("RemoveFile " + std::string(name))) return Injected(std::string(name));
  Watch(std::string(name));
  Status s = FolderWrapper::RemoveFile(name);
  if (s.ok() && names_[std::string(name)] >= 0) Named(std::string(name), -1);
  return s;
}

Status FaultyFolder::PublishFile(std::string_view from, std::string_view to, bool* taken) {
  *taken = false;
  if (Fault("PublishFile " + std::string(to))) return Injected(std::string(to));
  Watch(std::string(from));
  Watch(std::string(to));
  Status s = FolderWrapper::PublishFile(from, to, taken);
  if (s.ok() && !*taken) {
    const int id = names_[std::string(from)];
    Named(std::string(to), id);
    Named(std::string(from), -1);
  }
  return s;
}

Status FaultyFolder::ReplaceFile(std::string_view from, std::string_view to) {
  if (Fault("ReplaceFile " + std::string(to))) return Injected(std::string(to));
  Watch(std::string(from));
  Watch(std::string(to));
  Status s = FolderWrapper::ReplaceFile(from, to);
  if (s.ok()) {
    const int id = names_[std::string(from)];
    Named(std::string(to), id);
    Named(std::string(from), -1);
  }
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
  Status s = FolderWrapper::SyncSubfolder(name);
  if (s.ok()) FolderSynced(std::string(name));
  return s;
}

Status FaultyFolder::SyncFolder() {
  if (Fault("SyncFolder")) return Injected("folder");
  Status s = FolderWrapper::SyncFolder();
  if (s.ok()) FolderSynced("");
  return s;
}

Status FaultyFolder::ReadFileStart(std::string_view name, std::size_t length, std::string* bytes) {
  if (Fault("ReadFileStart " + std::string(name))) return Injected(std::string(name));
  return FolderWrapper::ReadFileStart(name, length, bytes);
}

Status FaultyFolder::ReadFileEnd(std::string_view name, std::size_t length, std::string* bytes) {
  if (Fault("ReadFileEnd " + std::string(name))) return Injected(std::string(name));
  return FolderWrapper::ReadFileEnd(name, length, bytes);
}

Status FaultyFolder::Lock(std::string_view name, std::chrono::milliseconds wait,
                          std::unique_ptr<FolderLock>* lock) {
  if (Fault("Lock " + std::string(name))) return Injected(std::string(name));
  return FolderWrapper::Lock(name, wait, lock);
}

void FaultyFolder::Changed(int id, std::uint64_t offset, std::string bytes, bool truncate) {
  logs_[id].since.push_back(Change{offset, std::move(bytes), truncate, false});
}

void FaultyFolder::Synced(int id, std::string bytes) {
  Log& log = logs_[id];
  log.since.clear();
  log.synced = std::move(bytes);
}

void FaultyFolder::LessonAppends(std::string_view name, std::string_view bytes) {
  const int id = IdOf(std::string(name), /*create=*/false);
  std::unique_ptr<File> file;
  std::uint64_t size = 0;
  if (!FolderWrapper::OpenFile(name, true, &file).ok() || !file->Size(&size).ok()) return;
  (void)file->Write(size, bytes);
  // The lesson does not flush: its record may be lost too, but a record is
  // one sector's write, so never torn. (A file the lesson makes is on disk
  // with its name: the lessons' files are there before this program runs.)
  if (id < 0) {
    const int made = next_id_++;
    logs_[made];
    names_[std::string(name)] = durable_[std::string(name)] = made;
    logs_[made].since.push_back(Change{0, std::string(bytes), false, true});
    return;
  }
  logs_[id].since.push_back(Change{size, std::string(bytes), false, true});
}

std::size_t FaultyFolder::Unsynced() const {
  std::size_t n = 0;
  for (const auto& [id, log] : logs_) n += log.since.size();
  return n;
}

void FaultyFolder::PowerCut(unsigned seed) {
  std::mt19937 random(seed);
  // The names each folder has on disk: a first part of its changes since
  // its last flush.
  for (auto& [folder, changes] : renames_) {
    std::size_t keep = changes.size();
    if (seed == 0) keep = 0;
    if (seed >= 2 && seed < kEveryCombination) keep = random() % (changes.size() + 1);
    for (std::size_t i = 0; i < keep; ++i) durable_[changes[i].name] = changes[i].id;
  }
  renames_.clear();
  // Each file's bytes.
  std::map<int, std::string> contents;
  std::size_t index = 0;
  for (auto& [id, log] : logs_) {
    std::string bytes = log.synced;
    for (const Change& c : log.since) {
      unsigned choice = seed < 2 ? seed : random() % 3;
      if (seed >= kEveryCombination) {
        choice = index < 32 ? ((seed - kEveryCombination) >> index) & 1u : 1u;
      }
      ++index;
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
    contents[id] = std::move(bytes);
  }
  for (const auto& [name, id] : durable_) {
    if (id < 0) {
      (void)FolderWrapper::RemoveFile(name);
    } else {
      (void)FolderWrapper::WriteFile(name, contents[id]);
    }
  }
  logs_.clear();
  names_.clear();
  durable_.clear();
}

}  // namespace quillon::testing
