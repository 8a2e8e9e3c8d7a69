// Calls a window's look at the files within moments of a tutoring lesson's
// append: at once where the system announces the files' changes
// (QFileSystemWatcher, on a folder of this computer's own disk), and every
// 2 seconds in any case: on a share, whose files other computers change
// unannounced, that look is the only way, and everywhere it moves the
// minutes on. The look itself is the window's (records/RecordTail.h: the
// length and time of each file, its new bytes only when it grew).
#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "platform/Folder.h"

namespace quillon {

class FolderFollower : public QObject {
  Q_OBJECT

 public:
  static constexpr int kLookEveryMilliseconds = 2000;

  // Follows the files `names` of `folder`; `look` runs in the window's own
  // thread, never twice at once.
  FolderFollower(Folder& folder, std::vector<std::string> names, std::function<void()> look,
                 QObject* parent);

  // Whether changes are announced here (else the 2-second look alone).
  bool announced() const { return watcher_ != nullptr; }
  // The 2-second look (a test stops it, to see the announced changes alone).
  QTimer& timer() { return timer_; }
  // The paths the system announces changes of.
  QStringList watched() const;

 private:
  // A change announced: the look runs once the event loop is free again, so
  // that a burst of changes makes one look.
  void Announced();
  // Watches the files again that were made, or replaced, since.
  void WatchFiles();

  Folder& folder_;
  std::vector<std::string> names_;
  std::function<void()> look_;
  QTimer timer_;
  QFileSystemWatcher* watcher_ = nullptr;
  bool pending_ = false;
};

}  // namespace quillon
