// How `quillon-cli watch` waits between its looks at the files: until the
// system announces a change in the program folder (inotify, on this
// computer's own disk) or 2 seconds pass (on a share, the only way), and
// until Ctrl-C, which ends the watch with exit status 0.
#pragma once

#include "platform/Folder.h"

namespace quillon::cli {

class WatchPacing {
 public:
  virtual ~WatchPacing() = default;
  // The watch begins on `folder`.
  virtual void Begin(Folder& folder) = 0;
  // Waits for the next look; false when the watch is to end.
  virtual bool Next() = 0;
};

// The program's own: SIGINT (Ctrl-C) and SIGTERM end the watch.
class SignalPacing : public WatchPacing {
 public:
  SignalPacing() = default;
  ~SignalPacing() override;
  SignalPacing(const SignalPacing&) = delete;
  SignalPacing& operator=(const SignalPacing&) = delete;

  void Begin(Folder& folder) override;
  bool Next() override;

  static constexpr int kLookEveryMilliseconds = 2000;

 private:
  int wake_[2] = {-1, -1};  // written by the signal handler
  int notices_ = -1;        // inotify, where changes are announced
};

}  // namespace quillon::cli
