#include "support/core/RunCommand.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace quillon::testing {

std::ostream& operator<<(std::ostream& os, const CommandResult& r) {
  return os << "status " << r.status << ", out \"" << r.out << "\", err \"" << r.err << "\"";
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

namespace {

std::string NewOutputFile() {
  const char* tmp = std::getenv("TMPDIR");
  std::string path = std::string(tmp != nullptr ? tmp : "/tmp") + "/quillon-run-XXXXXX";
  const int fd = ::mkstemp(path.data());
  if (fd < 0) throw std::runtime_error("cannot make " + path);
  ::close(fd);
  return path;
}

}  // namespace

CommandResult RunCommand(const std::string& command, const std::string& workdir) {
  const std::string out = NewOutputFile(), err = NewOutputFile();
  const std::string line = (workdir.empty() ? "" : "cd '" + workdir + "' && ") + "timeout 20 " +
                           command + " >" + out + " 2>" + err;
  const int raw = std::system(line.c_str());
  CommandResult r{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadBytes(out), ReadBytes(err)};
  std::remove(out.c_str());
  std::remove(err.c_str());
  return r;
}

RunningCommand::RunningCommand(const std::string& program, const std::vector<std::string>& args) {
  err_path_ = NewOutputFile();
  int pipe_fds[2];
  if (::pipe(pipe_fds) != 0) throw std::runtime_error("cannot make a pipe");
  pid_ = ::fork();
  if (pid_ == 0) {
    ::dup2(pipe_fds[1], 1);
    std::FILE* err = std::fopen(err_path_.c_str(), "w");
    if (err != nullptr) ::dup2(::fileno(err), 2);
    ::close(pipe_fds[0]);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
  ::close(pipe_fds[1]);
  out_ = pipe_fds[0];
}

RunningCommand::~RunningCommand() {
  if (pid_ > 0) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
  if (out_ >= 0) ::close(out_);
  std::remove(err_path_.c_str());
}

std::string RunningCommand::Line() {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  for (;;) {
    const std::size_t at = pending_.find('\n');
    if (at != std::string::npos) {
      std::string line = pending_.substr(0, at);
      pending_.erase(0, at + 1);
      return line;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        end - std::chrono::steady_clock::now());
    struct pollfd wait = {out_, POLLIN, 0};
    if (left.count() <= 0 || ::poll(&wait, 1, static_cast<int>(left.count())) <= 0) return "<none>";
    char bytes[4096];
    const ssize_t n = ::read(out_, bytes, sizeof bytes);
    if (n <= 0) return "<none>";
    pending_.append(bytes, static_cast<std::size_t>(n));
  }
}

int RunningCommand::Interrupt(std::string* err) {
  ::kill(pid_, SIGINT);
  int status = 0;
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  pid_t done = 0;
  while ((done = ::waitpid(pid_, &status, WNOHANG)) == 0 &&
         std::chrono::steady_clock::now() < end) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  if (done != pid_) return -1;
  pid_ = -1;
  if (err != nullptr) *err = ReadBytes(err_path_);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace quillon::testing
