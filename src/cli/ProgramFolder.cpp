#include "cli/ProgramFolder.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "platform/PosixFolder.h"

namespace quillon {

std::unique_ptr<Folder> OpenProgramFolder(const std::string& path, std::string* problem) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) {
    *problem = errno == ENOENT ? "there is no such folder"
                               : "cannot be reached: " + std::string(std::strerror(errno));
    return nullptr;
  }
  if (!S_ISDIR(st.st_mode)) {
    *problem = "is not a folder";
    return nullptr;
  }
  const std::string lessons = path + "/LESSONS.DAT";
  if (::stat(lessons.c_str(), &st) != 0 && errno == ENOENT) {
    *problem = "is not a program folder: it holds no LESSONS.DAT";
    return nullptr;
  }
  return std::make_unique<PosixFolder>(path);
}

}  // namespace quillon
