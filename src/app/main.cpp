// The desktop program. Usage: quillon [PROGRAM-FOLDER]
// The program folder is the one named; without one, the folder chosen in the
// program last time, else the executable's folder when LESSONS.DAT is there,
// else ~/Quillon (platform/ProgramFolder.h, gui/shell/Application.h).
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "gui/platform/DesktopConventions.h"
#include "gui/platform/QtDialogs.h"
#include "gui/platform/QtPrinter.h"
#include "gui/shell/Application.h"
#include "gui/shell/frmMenu.h"
#include "platform/PosixFolder.h"
#include "platform/ProgramFolder.h"

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
    std::fprintf(argc == 2 ? stdout : stderr,
                 "usage: quillon [PROGRAM-FOLDER]\n"
                 "Without a folder: the folder chosen in the program last time; else the\n"
                 "program's own folder when LESSONS.DAT is there; otherwise ~/Quillon (made\n"
                 "on first start, after asking, or another folder chosen then).\n");
    return argc == 2 ? quillon::kExitDone : quillon::kExitUsage;
  }
  if (!HasDisplay()) {
    std::fprintf(stderr, "quillon: no display found; run it under Xvfb: xvfb-run -a %s%s%s\n",
                 argv[0], argc == 2 ? " " : "", argc == 2 ? argv[1] : "");
    return quillon::kExitNoDisplay;
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName("Quillon");
  QApplication::setOrganizationName("Quillon");  // the settings: ~/.config/Quillon/Quillon.conf
  quillon::UseDesktopConventions(app);
  std::optional<std::string> argument;
  if (argc == 2) argument = argv[1];
  const std::string program_dir =
      QCoreApplication::applicationDirPath().toLocal8Bit().toStdString();
  const char* home = std::getenv("HOME");
  quillon::QtDialogs dialogs;
  // Said on the terminal and in a message box: the menu entry has no terminal.
  auto cannot_start = [&dialogs](const std::string& what) {
    std::fprintf(stderr, "quillon: %s\n", what.c_str());
    dialogs.MessageBox("The program cannot start.\r\n\r\n" + what, quillon::Buttons::kOk,
                       quillon::Icon::kCritical, quillon::Title::Default());
    return quillon::kExitFileProblem;
  };
  QSettings settings;
  std::string path;
  if (std::optional<int> status =
          quillon::ChooseStartFolder(dialogs, settings,
                                     {argument, program_dir, home != nullptr ? home : "",
                                      quillon::InstalledCatalogue(program_dir)},
                                     &path, cannot_start)) {
    return *status;
  }
  const QDir dir(QString::fromLocal8Bit(path.c_str()));
  if (!dir.exists()) {
    const bool other = QFileInfo::exists(QString::fromLocal8Bit(path.c_str()));
    return cannot_start(path + (other ? " is not a folder" : ": there is no such folder"));
  }
  quillon::PosixFolder folder(dir.absolutePath().toLocal8Bit().toStdString());
  quillon::SystemClock clock;
  // PDF files are offered in the user's documents folder, never in the shared
  // program folder unless chosen there; the file dialogs (the print
  // dialog's own PDF file among them) start there too.
  quillon::QtPrinter printer("", dialogs, clock);
  QDir::setCurrent(QString::fromLocal8Bit(printer.PdfFolder().c_str()));
  quillon::SharedValues values;
  std::unique_ptr<quillon::frmMenu> menu = quillon::Main({folder, dialogs, clock, printer, values});
  if (dialogs.Ended()) return dialogs.exit_status();
  menu->show();
  const int status = app.exec();
  return dialogs.Ended() ? dialogs.exit_status() : status;
}
