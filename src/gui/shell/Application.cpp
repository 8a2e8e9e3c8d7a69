#include "gui/shell/Application.h"

#include <filesystem>

#include "data/LessonCatalogue.h"
#include "store/Pending.h"
#include "store/Purge.h"
#include "gui/platform/Messages.h"
#include "gui/shell/frmMenu.h"
#include "platform/ProgramFolder.h"

namespace quillon {

std::unique_ptr<frmMenu> Main(Services services) {
  services.values.InitialClassIndex = -1;
  services.values.DataGroup = OptionIndex(DataGroup::kAllRecords);
  Status s = LoadLessons(services.folder, &services.values.Catalogue);
  if (!s.ok()) {
    SayCannotStart(services.dialogs, services.folder, s);
    return nullptr;
  }
  // What a crash left pending (a removal of records cut short, the program
  // killed, the machine stopped) is finished before anything reads the
  // files.
  PendingReport finished;
  s = RecoverFolder(services.folder, &finished);
  if (!s.ok()) {
    SayFailure(services.dialogs, services.folder,
               "An interrupted change of the records could not be finished.\r\n\r\n", s,
               ":\r\n");
  }
  for (const Finished& f : finished) {
    services.dialogs.MessageBox(Describe(f), Buttons::kOk, Icon::kNone, Title::Default());
  }
  auto menu = std::make_unique<frmMenu>(services);
  menu->Form_Load();
  if (services.dialogs.Ended()) return nullptr;
  return menu;
}

std::optional<int> PrepareDefaultFolder(Dialogs& dialogs, const std::string& folder,
                                        const std::string& catalogue) {
  std::error_code ignored;
  if (std::filesystem::exists(std::filesystem::path(folder) / "LESSONS.DAT", ignored)) {
    return std::nullopt;
  }
  const bool exists = std::filesystem::exists(folder, ignored);
  const std::string question =
      "Quillon keeps its classes, rosters and records in a program folder that the tutoring "
      "lessons share. No folder was named, so it uses\r\n\r\n" +
      folder + "\r\n\r\n" +
      (exists ? "This folder has no lesson catalogue (LESSONS.DAT) yet. Put the sample lesson "
                "catalogue in it?"
              : "This folder does not exist yet. Make it now, with the sample lesson catalogue?") +
      "\r\n\r\n(To work in another folder, start the program as: quillon FOLDER)";
  if (dialogs.MessageBox(question, Buttons::kYesNo, Icon::kNone, Title::Default()) !=
      Answer::kYes) {
    return kExitDone;
  }
  Status s = MakeProgramFolder(folder, catalogue);
  if (!s.ok()) {
    dialogs.MessageBox("The program folder could not be made.\r\n\r\n" + s.ToString(), Buttons::kOk,
                       Icon::kCritical, Title::Default());
    return kExitFileProblem;
  }
  return std::nullopt;
}

}  // namespace quillon
