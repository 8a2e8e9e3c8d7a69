#include "support/core/RunCommand.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

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

}  // namespace quillon::testing
