#include "gui/shell/Application.h"

#include <QSettings>
#include <filesystem>

#include "data/LessonCatalogue.h"
#include "store/Pending.h"
#include "store/Purge.h"
#include "gui/platform/Messages.h"
#include "gui/shell/frmMenu.h"
#include "platform/PosixFolder.h"
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

std::string UnusableProgramFolder(const std::string& path) {
  std::error_code ignored;
  if (!std::filesystem::exists(path, ignored)) return "there is no such folder";
  if (!std::filesystem::is_directory(path, ignored)) return "it is not a folder";
  if (!std::filesystem::exists(std::filesystem::path(path) / "LESSONS.DAT", ignored)) {
    return "it has no lesson catalogue (LESSONS.DAT), so it is not the folder the tutoring "
           "lessons use";
  }
  PosixFolder folder(path);
  LessonCatalogue catalogue;
  Status s = LoadLessons(folder, &catalogue);
  return s.ok() ? std::string() : s.ToString();
}

std::optional<int> PrepareDefaultFolder(Dialogs& dialogs, const std::string& catalogue,
                                        std::string* folder, bool* chosen) {
  *chosen = false;
  std::error_code ignored;
  if (std::filesystem::exists(std::filesystem::path(*folder) / "LESSONS.DAT", ignored)) {
    return std::nullopt;
  }
  const bool exists = std::filesystem::exists(*folder, ignored);
  const std::string question =
      "Quillon keeps its classes, rosters and records in a program folder that the tutoring "
      "lessons share. No folder was named, so it uses\r\n\r\n" +
      *folder + "\r\n\r\n" +
      (exists ? "This folder has no lesson catalogue (LESSONS.DAT) yet. Put the sample lesson "
                "catalogue in it?"
              : "This folder does not exist yet. Make it now, with the sample lesson catalogue?") +
      "\r\n\r\nTo work in the folder the tutoring lessons already use (a lab's shared folder), "
      "press Choose Another Folder...; it is remembered for the next start.";
  for (;;) {
    const Answer answer =
        dialogs.QuestionWithOther(question, "Choose Another Folder...", Title::Default());
    if (answer == Answer::kOther) {
      const std::string path = dialogs.FolderName("Choose the Program Folder", *folder);
      if (dialogs.Ended()) return kExitDone;
      if (path.empty()) continue;  // cancelled: the question again
      if (const std::string why = UnusableProgramFolder(path); !why.empty()) {
        dialogs.MessageBox(path + "\r\n\r\nThis folder cannot be the program folder: " + why + ".",
                           Buttons::kOk, Icon::kNone, Title::Default());
        continue;
      }
      *folder = path;
      *chosen = true;
      return std::nullopt;
    }
    if (answer != Answer::kYes) return kExitDone;
    break;
  }
  Status s = MakeProgramFolder(*folder, catalogue);
  if (!s.ok()) {
    dialogs.MessageBox("The program folder could not be made.\r\n\r\n" + s.ToString(), Buttons::kOk,
                       Icon::kCritical, Title::Default());
    return kExitFileProblem;
  }
  return std::nullopt;
}

std::optional<int> ChooseStartFolder(Dialogs& dialogs, QSettings& settings,
                                     const StartFolderRequest& request, std::string* folder,
                                     const std::function<int(const std::string&)>& cannot_start) {
  std::optional<std::string> remembered;
  if (const QString kept = settings.value(kProgramFolderSetting).toString(); !kept.isEmpty()) {
    remembered = kept.toLocal8Bit().toStdString();
  }
  FolderChoice choice;
  Status s =
      ChooseProgramFolder(request.argument, remembered, request.program_dir, request.home, &choice);
  if (s.ok() && choice.is_remembered) {
    // A shared folder may not be connected today: said, then the default.
    if (const std::string why = UnusableProgramFolder(choice.path); !why.empty()) {
      dialogs.MessageBox("The program folder chosen last time cannot be used now:\r\n\r\n" +
                             choice.path + ": " + why +
                             ".\r\n\r\n(A shared folder may need to be connected first.)",
                         Buttons::kOk, Icon::kNone, Title::Default());
      if (dialogs.Ended()) return kExitDone;
      s = ChooseProgramFolder(request.argument, std::nullopt, request.program_dir, request.home,
                              &choice);
    }
  }
  if (!s.ok()) return cannot_start(s.ToString());
  if (choice.is_default) {
    bool chosen = false;
    if (std::optional<int> status =
            PrepareDefaultFolder(dialogs, request.catalogue, &choice.path, &chosen)) {
      return status;
    }
    if (chosen) {
      settings.setValue(kProgramFolderSetting, QString::fromLocal8Bit(choice.path.c_str()));
      settings.sync();
      if (settings.status() != QSettings::NoError) {
        dialogs.MessageBox(
            "The folder could not be remembered for the next start (the settings file cannot "
            "be written); this time it is used.",
            Buttons::kOk, Icon::kNone, Title::Default());
      }
    }
  }
  *folder = choice.path;
  return std::nullopt;
}

}  // namespace quillon
