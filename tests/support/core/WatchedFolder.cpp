#include "support/core/WatchedFolder.h"

#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <ctime>
#include <filesystem>

namespace quillon::testing {
namespace {

// A file handed out by OpenFile: counted open until it is destroyed.
class CountedFile : public File {
 public:
  CountedFile(std::unique_ptr<File> file, int* open_now) : file_(std::move(file)), open_(open_now) {
    ++*open_;
  }
  ~CountedFile() override { --*open_; }
  Status Size(std::uint64_t* size) override { return file_->Size(size); }
  Status Read(std::uint64_t offset, std::size_t length, std::string* bytes) override {
    return file_->Read(offset, length, bytes);
  }
  Status Write(std::uint64_t offset, std::string_view bytes) override {
    return file_->Write(offset, bytes);
  }
  Status Sync() override { return file_->Sync(); }
  Status Truncate(std::uint64_t length) override { return file_->Truncate(length); }
  Status TruncateIfSize(std::uint64_t expected, std::uint64_t length, bool* done) override {
    return file_->TruncateIfSize(expected, length, done);
  }
  Status WriteIfSize(std::uint64_t expected, std::uint64_t offset, std::string_view bytes,
                     bool* done) override {
    return file_->WriteIfSize(expected, offset, bytes, done);
  }

 private:
  std::unique_ptr<File> file_;
  int* open_;
};

}  // namespace

std::vector<std::string> WatchedFolder::Calls() {
  std::vector<std::string> c;
  c.swap(calls);
  return c;
}

bool WatchedFolder::AnyNotReading() const {
  for (const std::string& c : calls) {
    for (const char* writing : {"WriteFile", "OpenFile", "OpenPrivateFile", "RemoveFile", "Lock"}) {
      if (c.rfind(std::string(writing) + " ", 0) == 0) return true;
    }
  }
  return open_now != 0;
}

bool WatchedFolder::FileExists(std::string_view name) {
  calls.push_back("FileExists " + std::string(name));
  return FolderWrapper::FileExists(name);
}
Status WatchedFolder::ReadFile(std::string_view name, std::string* contents) {
  calls.push_back("ReadFile " + std::string(name));
  return FolderWrapper::ReadFile(name, contents);
}
Status WatchedFolder::WriteFile(std::string_view name, std::string_view contents) {
  calls.push_back("WriteFile " + std::string(name));
  return FolderWrapper::WriteFile(name, contents);
}
Status WatchedFolder::OpenFile(std::string_view name, bool create, std::unique_ptr<File>* file,
                               bool* created) {
  calls.push_back("OpenFile " + std::string(name));
  Status s = FolderWrapper::OpenFile(name, create, file, created);
  if (s.ok()) *file = std::make_unique<CountedFile>(std::move(*file), &open_now);
  return s;
}
Status WatchedFolder::OpenPrivateFile(std::string_view name, std::unique_ptr<File>* file,
                                      bool* created) {
  calls.push_back("OpenPrivateFile " + std::string(name));
  Status s = FolderWrapper::OpenPrivateFile(name, file, created);
  if (s.ok()) *file = std::make_unique<CountedFile>(std::move(*file), &open_now);
  return s;
}
Status WatchedFolder::ReadPrivateFile(std::string_view name, std::string* contents) {
  calls.push_back("ReadPrivateFile " + std::string(name));
  return FolderWrapper::ReadPrivateFile(name, contents);
}
Status WatchedFolder::ReadFileEnd(std::string_view name, std::size_t length, std::string* bytes) {
  calls.push_back("ReadFileEnd " + std::string(name));
  return FolderWrapper::ReadFileEnd(name, length, bytes);
}
Status WatchedFolder::RemoveFile(std::string_view name) {
  calls.push_back("RemoveFile " + std::string(name));
  return FolderWrapper::RemoveFile(name);
}
Status WatchedFolder::LookAtFile(std::string_view name, FileLook* look) {
  calls.push_back("LookAtFile " + std::string(name));
  return FolderWrapper::LookAtFile(name, look);
}
Status WatchedFolder::ReadFileFrom(std::string_view name, std::uint64_t offset, std::size_t length,
                                   std::string* bytes, FileLook* look) {
  calls.push_back("ReadFileFrom " + std::string(name) + " " + std::to_string(offset));
  return FolderWrapper::ReadFileFrom(name, offset, length, bytes, look);
}
Status WatchedFolder::Lock(std::string_view name, std::chrono::milliseconds wait,
                           std::unique_ptr<FolderLock>* lock) {
  calls.push_back("Lock " + std::string(name));
  return FolderWrapper::Lock(name, wait, lock);
}

void LessonAppends(const std::string& path, std::string_view bytes) {
  // For reading and writing: smbnetfs opens nothing write-only.
  const int fd = ::open(path.c_str(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  ASSERT_GE(fd, 0) << path;
  ASSERT_EQ(::write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size())) << path;
  ::close(fd);
}

void SetChangeTime(const std::string& path, const DateTime& t) {
  std::tm local{};
  local.tm_year = t.date.year - 1900;
  local.tm_mon = t.date.month - 1;
  local.tm_mday = t.date.day;
  local.tm_hour = t.hour;
  local.tm_min = t.minute;
  local.tm_sec = t.second;
  local.tm_isdst = -1;
  const struct timespec times[2] = {{std::mktime(&local), 0}, {std::mktime(&local), 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0) << path;
}

int OpenDescriptors(const std::string& path) {
  int count = 0;
  const std::filesystem::path target = std::filesystem::weakly_canonical(path);
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
    std::error_code error;
    const std::filesystem::path to = std::filesystem::read_symlink(entry.path(), error);
    if (!error && to == target) ++count;
  }
  return count;
}

}  // namespace quillon::testing
