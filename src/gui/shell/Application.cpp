#include "gui/shell/Application.h"

#include <cstdio>

#include "data/LessonCatalogue.h"
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
  auto menu = std::make_unique<frmMenu>(services);
  menu->Form_Load();
  if (services.dialogs.Ended()) return nullptr;
  return menu;
}

}  // namespace quillon
