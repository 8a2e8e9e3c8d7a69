// A fresh program folder in /tmp for one test, removed afterwards.
#pragma once

#include <string>
#include <string_view>

#include "platform/PosixFolder.h"

namespace quillon::testing {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  PosixFolder& folder() { return folder_; }
  const std::string& path() const { return path_; }

  void Write(std::string_view name, std::string_view bytes);
  // The file's bytes; "<missing>" when there is no such file.
  std::string Read(std::string_view name);
  bool Exists(std::string_view name);

 private:
  std::string path_;
  PosixFolder folder_;
};

}  // namespace quillon::testing
