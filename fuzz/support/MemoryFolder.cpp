#include "support/MemoryFolder.h"

#include <algorithm>

namespace quillon::fuzz {
namespace {

class MemoryFile : public File {
 public:
  MemoryFile(MemoryFolder& folder, std::string name) : folder_(folder), name_(std::move(name)) {}
  Status Size(std::uint64_t* size) override {
    *size = bytes().size();
    return folder_.Step(name_);
  }
  Status Read(std::uint64_t offset, std::size_t length, std::string* out) override {
    out->clear();
    if (offset < bytes().size()) out->assign(bytes(), static_cast<std::size_t>(offset), length);
    return folder_.Step(name_);
  }
  Status Write(std::uint64_t offset, std::string_view data) override {
    Status s = folder_.Step(name_);
    if (!s.ok()) return s;
    std::string& b = bytes();
    if (b.size() < offset + data.size())
      b.resize(static_cast<std::size_t>(offset) + data.size(), '\0');
    std::copy(data.begin(), data.end(), b.begin() + static_cast<long>(offset));
    return s;
  }
  Status Sync() override { return folder_.Step(name_); }
  Status Truncate(std::uint64_t length) override {
    Status s = folder_.Step(name_);
    if (s.ok()) bytes().resize(static_cast<std::size_t>(length), '\0');
    return s;
  }
  Status TruncateIfSize(std::uint64_t expected, std::uint64_t length, bool* done) override {
    *done = false;
    Status s = folder_.Step(name_);
    if (s.ok() && bytes().size() == expected) {
      bytes().resize(static_cast<std::size_t>(length), '\0');
      *done = true;
    }
    return s;
  }

 private:
  std::string& bytes() { return folder_.files[name_]; }
  MemoryFolder& folder_;
  std::string name_;
};

}  // namespace

Status MemoryFolder::Step(std::string_view name) {
  if (++operations == fail_at) return Status::Error(std::string(name), "injected fault");
  return Status::OK();
}

Status MemoryFolder::ReadFile(std::string_view name, std::string* contents) {
  auto it = files.find(name);
  if (it == files.end()) {
    contents->clear();
  } else {
    *contents = it->second;
  }
  return Step(name);
}

Status MemoryFolder::WriteFile(std::string_view name, std::string_view contents) {
  Status s = Step(name);
  if (s.ok()) files[std::string(name)] = std::string(contents);
  return s;
}

Status MemoryFolder::OpenFile(std::string_view name, bool create, std::unique_ptr<File>* file,
                              bool* created) {
  Status s = Step(name);
  if (!s.ok()) return s;
  const bool exists = FileExists(name);
  if (!exists && !create) return Status::Error(std::string(name), "cannot open the file");
  if (created != nullptr) *created = !exists;
  files[std::string(name)];
  *file = std::make_unique<MemoryFile>(*this, std::string(name));
  return s;
}

Status MemoryFolder::RemoveFile(std::string_view name) {
  Status s = Step(name);
  if (s.ok()) files.erase(std::string(name));
  return s;
}

Status MemoryFolder::PublishFile(std::string_view from, std::string_view to, bool* taken) {
  *taken = FileExists(to);
  Status s = Step(to);
  if (!s.ok() || *taken) return s;
  files[std::string(to)] = std::move(files[std::string(from)]);
  files.erase(std::string(from));
  return s;
}

Status MemoryFolder::ListFolder(std::string_view name, std::vector<std::string>* names) {
  names->clear();
  const std::string prefix = std::string(name) + "/";
  for (const auto& [file, bytes] : files) {
    if (file.compare(0, prefix.size(), prefix) == 0) names->push_back(file.substr(prefix.size()));
  }
  return Step(name);
}

Status MemoryFolder::ReplaceFile(std::string_view from, std::string_view to) {
  Status s = Step(to);
  if (!s.ok()) return s;
  files[std::string(to)] = std::move(files[std::string(from)]);
  files.erase(std::string(from));
  return s;
}

std::vector<std::string> SplitInput(const std::uint8_t* data, std::size_t size, std::size_t n) {
  std::vector<std::string> parts(n);
  std::size_t part = 0;
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0xFE && part + 1 < n) {
      ++part;
      continue;
    }
    parts[part] += static_cast<char>(data[i]);
  }
  return parts;
}

}  // namespace quillon::fuzz
