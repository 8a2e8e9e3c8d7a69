// A lab's shared folder on this computer: a private Samba server on
// 127.0.0.1 serving a temporary folder, mounted by two smbnetfs clients (as
// two instructors' computers would), all torn down again.
#pragma once

#include <sys/types.h>

#include <string>

namespace quillon::testing {

class SmbShare {
 public:
  SmbShare();
  ~SmbShare();
  SmbShare(const SmbShare&) = delete;
  SmbShare& operator=(const SmbShare&) = delete;

  // Starts the server and mounts both clients; false, with what this
  // machine does not allow in `why`, when the share cannot come up.
  bool Start(std::string* why);

  // The served folder, as the server's own disk holds it.
  const std::string& served() const { return served_; }
  // The same folder through client 0 or 1.
  std::string Through(int client) const;
  // A folder on the local disk for comparisons, outside the share.
  const std::string& local() const { return local_; }

 private:
  bool StartServer(std::string* why);
  bool MountClient(int client, std::string* why);
  void Stop();

  std::string root_, served_, local_;
  int port_ = 0;
  pid_t server_ = -1;
  pid_t clients_[2] = {-1, -1};
  bool mounted_[2] = {false, false};
};

}  // namespace quillon::testing
