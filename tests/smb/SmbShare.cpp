// Starts smbd with a configuration of its own (its own port, lock, state and
// pid folders, a guest share) and two smbnetfs mounts of it, each with its
// own home folder; stops all of it whatever the test did.
#include "smb/SmbShare.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>
#include <vector>

namespace quillon::testing {
namespace {

constexpr const char* kSmbd = "/usr/sbin/smbd";
constexpr const char* kSmbnetfs = "/usr/bin/smbnetfs";

void WriteText(const std::string& path, const std::string& text, mode_t mode = 0644) {
  std::ofstream(path, std::ios::trunc) << text;
  ::chmod(path.c_str(), mode);
}

std::string Tail(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  const std::string text = s.str();
  return text.size() > 600 ? text.substr(text.size() - 600) : text;
}

// A TCP port on 127.0.0.1 that nothing listens on now.
int FreePort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof a;
  int port = 0;
  if (fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &length) == 0) {
    port = ntohs(a.sin_port);
  }
  if (fd >= 0) ::close(fd);
  return port;
}

bool Listening(int port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = htons(static_cast<uint16_t>(port));
  const bool up = fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
  if (fd >= 0) ::close(fd);
  return up;
}

bool Mounted(const std::string& mount_point) {
  std::ifstream mounts("/proc/self/mounts");
  std::string device, point;
  std::string rest;
  while (mounts >> device >> point && std::getline(mounts, rest)) {
    if (point == mount_point) return true;
  }
  return false;
}

// Runs `argv` in a process group of its own, output to `log`, with HOME set
// to `home` when given; it ends with the test process.
pid_t Spawn(const std::vector<std::string>& argv, const std::string& log,
            const std::string& home = "") {
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  const pid_t parent = ::getpid();
  const pid_t pid = ::fork();
  if (pid == 0) {
    // Asked to end when the test process is gone, even killed (a timeout):
    // smbd then ends its children, smbnetfs unmounts.
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (::getppid() != parent) ::_exit(1);
    ::setpgid(0, 0);
    const int out = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out >= 0) {
      ::dup2(out, 1);
      ::dup2(out, 2);
    }
    if (!home.empty()) ::setenv("HOME", home.c_str(), 1);
    ::execv(args[0], args.data());
    ::_exit(127);
  }
  return pid;
}

// Ends the process group `pid` leads: asked first, then made to.
void EndGroup(pid_t pid) {
  if (pid <= 0) return;
  ::kill(-pid, SIGTERM);
  ::kill(pid, SIGTERM);
  for (int tick = 0; tick < 300; ++tick) {
    if (::waitpid(pid, nullptr, WNOHANG) != 0) {
      ::kill(-pid, SIGKILL);  // children the leader left behind
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ::kill(-pid, SIGKILL);
  ::kill(pid, SIGKILL);
  ::waitpid(pid, nullptr, 0);
}

// Polls `ready` every 20 ms for up to `seconds`; stops early when `gone`.
template <typename Ready, typename Gone>
bool WaitFor(Ready ready, Gone gone, int seconds) {
  for (int tick = 0; tick < seconds * 50; ++tick) {
    if (ready()) return true;
    if (gone()) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return ready();
}

bool Exited(pid_t pid) { return ::waitpid(pid, nullptr, WNOHANG) != 0; }

}  // namespace

SmbShare::SmbShare() {
  std::string pattern = "/tmp/quillon-smb-XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  root_ = pattern;
  served_ = root_ + "/share";
  local_ = root_ + "/local";
  std::filesystem::create_directories(served_);
  std::filesystem::create_directories(local_);
}

SmbShare::~SmbShare() { Stop(); }

std::string SmbShare::Through(int client) const {
  return root_ + "/mnt" + std::to_string(client) + "/127.0.0.1:" + std::to_string(port_) + "/q";
}

bool SmbShare::Start(std::string* why) {
  if (::geteuid() != 0) {
    *why = "starting smbd on a share of its own needs root";
    return false;
  }
  if (::access(kSmbd, X_OK) != 0 || ::access(kSmbnetfs, X_OK) != 0) {
    *why = "smbd or smbnetfs is not installed (Debian: samba, smbnetfs)";
    return false;
  }
  const int fuse = ::open("/dev/fuse", O_RDWR | O_CLOEXEC);
  if (fuse < 0) {
    *why = std::string("FUSE is not available here (/dev/fuse: ") + std::strerror(errno) + ")";
    return false;
  }
  ::close(fuse);
  WriteText(served_ + "/.ready", "");
  if (!StartServer(why)) return false;
  if (!MountClient(0, why) || !MountClient(1, why)) return false;
  ::unlink((served_ + "/.ready").c_str());
  return true;
}

bool SmbShare::StartServer(std::string* why) {
  port_ = FreePort();
  const std::string state = root_ + "/smbd";
  for (const char* sub : {"lock", "cache", "pid", "private", "ncalrpc", "binddns"}) {
    std::filesystem::create_directories(state + "/" + sub);
  }
  std::ostringstream conf;
  conf << "[global]\n"
       << "server role = standalone server\n"
       << "interfaces = 127.0.0.1\nbind interfaces only = yes\n"
       << "smb ports = " << port_ << "\ndisable netbios = yes\n"
       << "lock directory = " << state << "/lock\nstate directory = " << state << "/lock\n"
       << "cache directory = " << state << "/cache\npid directory = " << state << "/pid\n"
       << "private dir = " << state << "/private\nncalrpc dir = " << state << "/ncalrpc\n"
       << "binddns dir = " << state << "/binddns\n"
       << "log file = " << state << "/log\nlog level = 1\n"
       << "load printers = no\nprinting = bsd\nprintcap name = /dev/null\n"
       << "disable spoolss = yes\nmap to guest = Bad User\nguest account = root\n"
       << "[q]\npath = " << served_ << "\nguest ok = yes\nguest only = yes\n"
       << "read only = no\nforce user = root\n";
  WriteText(state + "/smb.conf", conf.str());
  server_ = Spawn({kSmbd, "-F", "--no-process-group", "-s", state + "/smb.conf"}, state + "/out");
  if (!WaitFor([&] { return Listening(port_); }, [&] { return Exited(server_); }, 10)) {
    *why = "smbd did not come up on 127.0.0.1:" + std::to_string(port_) + ": " +
           Tail(state + "/out") + Tail(state + "/log");
    if (Exited(server_)) server_ = -1;
    return false;
  }
  return true;
}

bool SmbShare::MountClient(int client, std::string* why) {
  const std::string home = root_ + "/home" + std::to_string(client);
  const std::string mount_point = root_ + "/mnt" + std::to_string(client);
  std::filesystem::create_directories(home + "/.smb/state");
  std::filesystem::create_directories(mount_point);
  // libsmbclient reads $HOME/.smb/smb.conf instead of the machine's own.
  const std::string state = home + "/.smb/state";
  WriteText(home + "/.smb/smb.conf", "[global]\ndisable netbios = yes\nlock directory = " + state +
                                         "\nstate directory = " + state + "\ncache directory = " +
                                         state + "\nprivate dir = " + state + "\n");
  // smbnetfs ignores host and auth lines in a file others may read.
  WriteText(home + "/.smb/smbnetfs.conf",
            "smb_query_browsers false\nhost 127.0.0.1 visible=true\nauth \"guest\" \"\"\n", 0600);
  clients_[client] = Spawn({kSmbnetfs, mount_point, "-f", "-o",
                            "config=" + home + "/.smb/smbnetfs.conf,log_file=" + home + "/log"},
                           home + "/out", home);
  const pid_t pid = clients_[client];
  if (!WaitFor([&] { return Mounted(mount_point); }, [&] { return Exited(pid); }, 10)) {
    *why = "smbnetfs could not mount the share (FUSE mounts refused here?): " + Tail(home + "/out");
    if (Exited(pid)) clients_[client] = -1;
    return false;
  }
  mounted_[client] = true;
  struct stat st;
  const std::string ready = Through(client) + "/.ready";
  if (!WaitFor([&] { return ::stat(ready.c_str(), &st) == 0; }, [&] { return Exited(pid); }, 10)) {
    *why = "the share did not show through smbnetfs: " + Tail(home + "/log");
    return false;
  }
  return true;
}

void SmbShare::Stop() {
  for (int client = 0; client < 2; ++client) {
    const std::string mount_point = root_ + "/mnt" + std::to_string(client);
    if (mounted_[client] || Mounted(mount_point)) ::umount2(mount_point.c_str(), MNT_DETACH);
    EndGroup(clients_[client]);
    clients_[client] = -1;
  }
  EndGroup(server_);
  server_ = -1;
  // Never a removal through a mount that is still there.
  if (!Mounted(root_ + "/mnt0") && !Mounted(root_ + "/mnt1")) {
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }
}

}  // namespace quillon::testing
