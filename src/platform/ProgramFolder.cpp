#include "platform/ProgramFolder.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace quillon {

namespace fs = std::filesystem;

namespace {

Status SystemError(const std::string& path, const std::string& action, int error) {
  return Status::Error(path, action + ": " + std::strerror(error));
}

}  // namespace

Status ChooseProgramFolder(const std::optional<std::string>& argument,
                           const std::optional<std::string>& remembered,
                           const std::string& program_dir, const std::string& home,
                           FolderChoice* choice) {
  if (argument && argument->empty()) return Status::Error("\"\"", "an empty name is not a folder");
  if (argument) {
    *choice = {*argument, false, false};
    return Status::OK();
  }
  if (remembered && !remembered->empty()) {
    *choice = {*remembered, false, true};
    return Status::OK();
  }
  std::error_code ignored;
  if (fs::exists(fs::path(program_dir) / "LESSONS.DAT", ignored)) {
    *choice = {program_dir, false, false};
    return Status::OK();
  }
  if (home.empty()) {
    return Status::Error("$HOME",
                         "there is no home folder for the default program folder; name the "
                         "program folder: quillon FOLDER");
  }
  *choice = {(fs::path(home) / "Quillon").string(), true, false};
  return Status::OK();
}

#ifndef QUILLON_CATALOGUE_FROM_BINDIR
#define QUILLON_CATALOGUE_FROM_BINDIR "../share/quillon/LESSONS.DAT"
#endif

std::string InstalledCatalogue(const std::string& program_dir) {
  return (fs::path(program_dir) / QUILLON_CATALOGUE_FROM_BINDIR).lexically_normal().string();
}

Status MakeProgramFolder(const std::string& folder, const std::string& catalogue) {
  std::ifstream in(catalogue, std::ios::binary);
  if (!in) return SystemError(catalogue, "cannot read the sample lesson catalogue", errno);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (!in.good() && !in.eof()) return Status::Error(catalogue, "cannot read the sample catalogue");

  std::error_code error;
  fs::create_directories(folder, error);
  if (error) return Status::Error(folder, "cannot make the folder: " + error.message());

  const std::string target = (fs::path(folder) / "LESSONS.DAT").string();
  // O_EXCL: a catalogue already there (or appearing meanwhile) is kept.
  const int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return SystemError(target, "cannot create the file", errno);
  const std::string data = bytes.str();
  std::size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      const int e = n < 0 ? errno : ENOSPC;
      ::close(fd);
      ::unlink(target.c_str());  // never a cut catalogue under the real name
      return SystemError(target, "cannot write the file", e);
    }
    done += static_cast<std::size_t>(n);
  }
  const int synced = ::fsync(fd) == 0 ? 0 : errno;
  const int closed = ::close(fd) == 0 ? 0 : errno;
  if (synced != 0 || closed != 0) {
    ::unlink(target.c_str());
    return SystemError(target, "cannot write the file", synced != 0 ? synced : closed);
  }
  return Status::OK();
}

}  // namespace quillon
