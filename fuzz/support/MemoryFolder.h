// A program folder held in memory, for the fuzz harnesses: millions of runs
// without touching the disk. Operation `fail_at` (from 1) fails, when set.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/Folder.h"

namespace quillon::fuzz {

class MemoryFolder : public Folder {
 public:
  std::map<std::string, std::string, std::less<>> files;
  int operations = 0;
  int fail_at = -1;

  std::string FullPath(std::string_view name) const override { return "/mem/" + std::string(name); }
  bool FileExists(std::string_view name) override { return files.count(name) != 0; }
  Status ReadFile(std::string_view name, std::string* contents) override;
  Status WriteFile(std::string_view name, std::string_view contents) override;
  Status OpenFile(std::string_view name, bool create, std::unique_ptr<File>* file,
                  bool* created = nullptr) override;
  Status RemoveFile(std::string_view name) override;
  Status PublishFile(std::string_view from, std::string_view to, bool* taken) override;
  Status SyncFolder() override { return Step("folder"); }
  Status MakeFolder(std::string_view name) override { return Step(name); }
  Status ListFolder(std::string_view name, std::vector<std::string>* names) override;
  Status SyncSubfolder(std::string_view name) override { return Step(name); }
  Status ReplaceFile(std::string_view from, std::string_view to) override;

  // Counts an operation; the injected failure when it is the one.
  Status Step(std::string_view name);
};

// Splits a fuzz input into `n` parts at the byte 0xFE (the last part takes
// the rest; missing parts are empty).
std::vector<std::string> SplitInput(const std::uint8_t* data, std::size_t size, std::size_t n);

}  // namespace quillon::fuzz
