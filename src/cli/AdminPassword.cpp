#include "cli/AdminPassword.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/Password.h"
#include "base/Text.h"
#include "cli/CommandExit.h"
#include "data/TextFile.h"

namespace quillon::cli {
namespace {

// Only the first line counts; a password file is never read far.
constexpr std::size_t kMostRead = 4096;

// The first line of the file at `path` (a pipe too: --password-file
// /dev/stdin), without its line end.
std::string FirstLineOf(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    throw Exit{kExitPassword, std::string("cannot be read: ") + std::strerror(errno), path};
  }
  std::string bytes;
  char buf[512];
  while (bytes.size() < kMostRead && bytes.find('\n') == std::string::npos) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int error = errno;
      ::close(fd);
      throw Exit{kExitPassword, std::string("cannot be read: ") + std::strerror(error), path};
    }
    if (n == 0) break;
    bytes.append(buf, static_cast<std::size_t>(n));
  }
  ::close(fd);
  bytes = bytes.substr(0, bytes.find('\n'));
  if (!bytes.empty() && bytes.back() == '\r') bytes.pop_back();
  return bytes;
}

// Whether the terminal's text `typed` is the password; a character that no
// file text can hold makes it a wrong one.
bool Right(const std::string& admin, const std::string& typed, const TextEncoding& encoding) {
  std::string stored, problem;
  return encoding.Store(typed, &stored, &problem) && AdminPasswordAccepts(admin, stored);
}

}  // namespace

void PassPasswordGate(Folder& folder, const PasswordSources& sources,
                      const TextEncoding& encoding) {
  if (!folder.FileExists(kAdminPasswordFile)) return;
  // A file that cannot be read does not open the gate (as the windows
  // refuse to start); only a blank first line asks for nothing.
  std::string contents;
  Check(folder.ReadFileStart(kAdminPasswordFile, kMostRead, &contents));
  const std::string admin = UnscramblePassword(Trim(FirstLine(contents).value_or("")));
  if (admin.empty()) return;

  if (sources.file) {
    if (!Right(admin, FirstLineOf(*sources.file), encoding)) {
      throw Exit{kExitPassword, "Password is incorrect.", *sources.file};
    }
    return;
  }
  if (sources.environment) {
    if (!Right(admin, *sources.environment, encoding)) {
      throw Exit{kExitPassword, "Password is incorrect.", "QUILLON_PASSWORD"};
    }
    return;
  }
  if (sources.terminal == nullptr || !sources.terminal->Available()) {
    throw Exit{kExitPassword,
               "the administrator password is needed: type it at a terminal, or give it with "
               "--password-file FILE or in QUILLON_PASSWORD",
               kAdminPasswordFile};
  }
  for (int attempts = 1;; ++attempts) {
    const std::optional<std::string> typed =
        sources.terminal->Ask("Enter Administrator Password: ");
    if (!typed) {
      throw Exit{kExitPassword, "no administrator password was typed", kAdminPasswordFile};
    }
    if (Right(admin, *typed, encoding)) return;
    if (attempts == 3) throw Exit{kExitPassword, "3 Password attempts have failed."};
    sources.terminal->Say("Password is incorrect.");
  }
}

}  // namespace quillon::cli
