// The desktop program. Usage: quillon [PROGRAM-FOLDER]
// The program folder is the folder of the executable unless one is named.
#include <QApplication>
#include <QDir>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "gui/platform/QtDialogs.h"
#include "gui/platform/QtPrinter.h"
#include "gui/shell/Application.h"
#include "gui/shell/frmMenu.h"
#include "platform/PosixFolder.h"

namespace {

bool HasDisplay() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (platform != nullptr && *platform != '\0') return true;  // the user chose one
  const char* x = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x != nullptr && *x != '\0') || (wayland != nullptr && *wayland != '\0');
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 2 || (argc == 2 && std::strcmp(argv[1], "--help") == 0)) {
    std::fprintf(argc == 2 ? stdout : stderr, "usage: quillon [PROGRAM-FOLDER]\n");
    return argc == 2 ? quillon::kExitDone : quillon::kExitUsage;
  }
  if (!HasDisplay()) {
    std::fprintf(stderr, "quillon: no display found; run it under Xvfb: xvfb-run -a %s%s%s\n",
                 argv[0], argc == 2 ? " " : "", argc == 2 ? argv[1] : "");
    return quillon::kExitNoDisplay;
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName("Quillon");
  std::string folder_path =
      argc == 2 ? std::string(argv[1]) : QCoreApplication::applicationDirPath().toStdString();
  if (!QDir(QString::fromLocal8Bit(folder_path.c_str())).exists()) {
    std::fprintf(stderr, "quillon: the program folder %s does not exist\n", folder_path.c_str());
    return quillon::kExitFileProblem;
  }
  quillon::PosixFolder folder(
      QDir(QString::fromLocal8Bit(folder_path.c_str())).absolutePath().toLocal8Bit().toStdString());
  quillon::QtDialogs dialogs;
  quillon::SystemClock clock;
  quillon::QtPrinter printer(folder.path(), dialogs, clock);
  quillon::SharedValues values;
  std::unique_ptr<quillon::frmMenu> menu = quillon::Main({folder, dialogs, clock, printer, values});
  if (dialogs.Ended()) return dialogs.exit_status();
  menu->show();
  const int status = app.exec();
  return dialogs.Ended() ? dialogs.exit_status() : status;
}
