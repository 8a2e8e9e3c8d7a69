#include "gui/platform/FolderFollower.h"

namespace quillon {

FolderFollower::FolderFollower(Folder& folder, std::vector<std::string> names,
                               std::function<void()> look, QObject* parent)
    : QObject(parent), folder_(folder), names_(std::move(names)), look_(std::move(look)) {
  timer_.setInterval(kLookEveryMilliseconds);
  connect(&timer_, &QTimer::timeout, this, [this] { look_(); });
  timer_.start();
  if (!folder_.ChangesAreAnnounced()) return;
  watcher_ = new QFileSystemWatcher(this);
  // The folder itself: a file made or replaced there.
  std::string path = folder_.FullPath("");
  if (path.size() > 1 && path.back() == '/') path.pop_back();
  watcher_->addPath(QString::fromLocal8Bit(path.c_str()));
  WatchFiles();
  connect(watcher_, &QFileSystemWatcher::fileChanged, this, &FolderFollower::Announced);
  connect(watcher_, &QFileSystemWatcher::directoryChanged, this, &FolderFollower::Announced);
}

QStringList FolderFollower::watched() const {
  return watcher_ == nullptr ? QStringList() : watcher_->files() + watcher_->directories();
}

void FolderFollower::WatchFiles() {
  const QStringList now = watcher_->files();
  for (const std::string& name : names_) {
    const QString path = QString::fromLocal8Bit(folder_.FullPath(name).c_str());
    if (!now.contains(path) && folder_.FileExists(name)) watcher_->addPath(path);
  }
}

void FolderFollower::Announced() {
  if (pending_) return;
  pending_ = true;
  QTimer::singleShot(0, this, [this] {
    pending_ = false;
    WatchFiles();
    look_();
  });
}

}  // namespace quillon
