#include "gui/shell/Application.h"

#include <cstdio>

#include "data/LessonCatalogue.h"
#include "data/Purge.h"
#include "gui/shell/frmMenu.h"

namespace quillon {

std::unique_ptr<frmMenu> Main(Services services) {
  services.values.InitialClassIndex = -1;
  services.values.DataGroup = 1;
  Status s = LoadLessons(services.folder, &services.values.Catalogue);
  if (!s.ok()) {
    std::fprintf(stderr, "quillon: %s\n", s.ToString().c_str());
    services.dialogs.MessageBox("The program cannot start.\r\n\r\n" +
                                    services.folder.FullPath(s.file()) + ":\r\n" + s.what(),
                                Buttons::kOk, Icon::kCritical, Title::Default());
    services.dialogs.EndProgram(kExitFileProblem);
    return nullptr;
  }
  // A removal of records cut short (the program killed, the machine
  // stopped) is finished before anything reads the files.
  std::vector<std::string> finished;
  s = RecoverRemovals(services.folder, &finished);
  if (!s.ok()) {
    services.dialogs.MessageBox("An interrupted removal of records could not be finished.\r\n\r\n" +
                                    services.folder.FullPath(s.file()) + ":\r\n" + s.what(),
                                Buttons::kOk, Icon::kCritical, Title::Default());
  }
  for (const std::string& file : finished) {
    services.dialogs.MessageBox(
        "A removal of records from " + file + " was interrupted; it has now been finished.",
        Buttons::kOk, Icon::kNone, Title::Default());
  }
  auto menu = std::make_unique<frmMenu>(services);
  menu->Form_Load();
  if (services.dialogs.Ended()) return nullptr;
  return menu;
}

}  // namespace quillon
