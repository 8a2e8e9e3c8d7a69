#include "cli/Terminal.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace quillon::cli {
namespace {

constexpr std::size_t kLongestLine = 1024;

// The terminal's settings while echo is off, for a signal to put back.
int g_echo_fd = -1;
struct termios g_saved;

const int kSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

// Puts echo back and lets the signal do what it does by default.
void RestoreAndRaise(int signal) {
  if (g_echo_fd >= 0) tcsetattr(g_echo_fd, TCSAFLUSH, &g_saved);
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

}  // namespace

ControllingTerminal::~ControllingTerminal() {
  if (fd_ >= 0) ::close(fd_);
}

bool ControllingTerminal::Available() {
  if (!tried_) {
    tried_ = true;
    fd_ = ::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
  }
  return fd_ >= 0;
}

void ControllingTerminal::Write(const std::string& text) {
  for (std::size_t at = 0; at < text.size();) {
    const ssize_t n = ::write(fd_, text.data() + at, text.size() - at);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    at += static_cast<std::size_t>(n);
  }
}

void ControllingTerminal::Say(const std::string& line) {
  if (Available()) Write(line + "\n");
}

std::optional<std::string> ControllingTerminal::Ask(const std::string& prompt) {
  if (!Available()) return std::nullopt;
  // Echo goes off before the prompt shows, so that nothing typed after it
  // is ever shown.
  struct termios quiet;
  const bool echo_off = tcgetattr(fd_, &g_saved) == 0;
  struct sigaction previous[sizeof kSignals / sizeof kSignals[0]];
  if (echo_off) {
    struct sigaction restore {};
    restore.sa_handler = RestoreAndRaise;
    sigemptyset(&restore.sa_mask);
    g_echo_fd = fd_;
    for (std::size_t i = 0; i < sizeof kSignals / sizeof kSignals[0]; ++i) {
      sigaction(kSignals[i], &restore, &previous[i]);
    }
    quiet = g_saved;
    quiet.c_lflag &= static_cast<tcflag_t>(~ECHO);
    quiet.c_lflag |= ECHONL;
    tcsetattr(fd_, TCSAFLUSH, &quiet);
  }
  Write(prompt);
  std::string line;
  bool ended = false;
  for (;;) {
    char c;
    const ssize_t n = ::read(fd_, &c, 1);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ended = line.empty();
      break;
    }
    if (c == '\n') break;
    if (line.size() < kLongestLine) line += c;
  }
  if (echo_off) {
    tcsetattr(fd_, TCSAFLUSH, &g_saved);
    g_echo_fd = -1;
    for (std::size_t i = 0; i < sizeof kSignals / sizeof kSignals[0]; ++i) {
      sigaction(kSignals[i], &previous[i], nullptr);
    }
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (ended) return std::nullopt;
  return line;
}

}  // namespace quillon::cli
