#include "cli/WatchPacing.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>

namespace quillon::cli {
namespace {

volatile sig_atomic_t g_stop = 0;
int g_wake = -1;

void Stop(int) {
  g_stop = 1;
  if (g_wake >= 0) {
    const char byte = 0;
    (void)!::write(g_wake, &byte, 1);
  }
}

}  // namespace

SignalPacing::~SignalPacing() {
  if (notices_ >= 0) ::close(notices_);
  g_wake = -1;
  for (int fd : wake_) {
    if (fd >= 0) ::close(fd);
  }
}

void SignalPacing::Begin(Folder& folder) {
  if (::pipe2(wake_, O_CLOEXEC | O_NONBLOCK) == 0) g_wake = wake_[1];
  struct sigaction action {};
  action.sa_handler = Stop;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;  // no restart: a wait is cut short
  ::sigaction(SIGINT, &action, nullptr);
  ::sigaction(SIGTERM, &action, nullptr);
  if (!folder.ChangesAreAnnounced()) return;
  notices_ = ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
  if (notices_ < 0) return;
  // The folder, not its files: one watch sees a file appended to, made or
  // replaced, and never holds a file open.
  std::string path = folder.FullPath("");
  if (path.size() > 1 && path.back() == '/') path.pop_back();
  if (::inotify_add_watch(
          notices_, path.c_str(),
          IN_MODIFY | IN_CREATE | IN_DELETE | IN_MOVED_TO | IN_MOVED_FROM | IN_ATTRIB) < 0) {
    ::close(notices_);
    notices_ = -1;
  }
}

bool SignalPacing::Next() {
  while (!g_stop) {
    struct pollfd wait[2] = {{wake_[0], POLLIN, 0}, {notices_, POLLIN, 0}};
    const int n = ::poll(wait, 2, kLookEveryMilliseconds);
    if (n < 0 && errno == EINTR) continue;
    if (g_stop) break;
    if (n > 0 && (wait[1].revents & POLLIN) != 0) {
      // A change, or a burst of them: one look.
      char events[4096];
      while (::read(notices_, events, sizeof events) > 0) {
      }
    }
    return true;
  }
  return false;
}

}  // namespace quillon::cli
