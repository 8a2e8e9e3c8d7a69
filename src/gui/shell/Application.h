// Start-up: the shared values, the lesson catalogue, the menu.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "gui/platform/Dialogs.h"
#include "gui/shell/Services.h"

class QSettings;

namespace quillon {

class frmMenu;

// Sets InitialClassIndex and DataGroup, loads LESSONS.DAT, finishes any
// removal of records that was cut short (saying so), and builds and loads
// the menu (the password gate runs inside); the menu is then ready to
// be shown. When LESSONS.DAT cannot be used, reports it with a message that
// names the file and what is wrong and ends the program before any window is
// shown; a program ended during the start-up gives no menu (nullptr).
std::unique_ptr<frmMenu> Main(Services services);

// Why `path` cannot be the program folder ("there is no such folder", "it
// has no lesson catalogue (LESSONS.DAT)", or what is wrong with its
// LESSONS.DAT), or "" when it can.
std::string UnusableProgramFolder(const std::string& path);

// The default program folder `*folder` of an installed program, before the
// start-up: when it has no LESSONS.DAT, asks whether to make it with the
// sample catalogue at `catalogue` (Yes), to end (No), or to choose another
// folder ("Choose Another Folder...": a folder dialog; a folder that cannot
// be the program folder is refused with the reason and the question asked
// again). Nothing is returned when the program can go on, in `*folder`
// (`*chosen`: the user chose it in the folder dialog); otherwise the exit
// status (kExitDone when the user says No, kExitFileProblem, after a
// message, when it cannot be made).
std::optional<int> PrepareDefaultFolder(Dialogs& dialogs, const std::string& catalogue,
                                        std::string* folder, bool* chosen);

// What decides the desktop program's folder.
struct StartFolderRequest {
  std::optional<std::string> argument;  // named on the command line
  std::string program_dir;              // the executable's folder
  std::string home;                     // $HOME
  std::string catalogue;                // the installed sample catalogue
};

// The folder the desktop program starts on: the command line's; else the
// one chosen in the program last time (the setting ProgramFolder of
// `settings`, Qt's per-user settings), when it can still be used (else
// that is said); else the program's own folder when it holds LESSONS.DAT;
// else ~/Quillon, made or another chosen on the first start
// (PrepareDefaultFolder). A folder chosen there is remembered in `settings`.
// Nothing is returned when the program can go on, on `*folder`; otherwise
// the exit status; a failure to choose any is given to `cannot_start`
// (which says it and returns the status).
std::optional<int> ChooseStartFolder(Dialogs& dialogs, QSettings& settings,
                                     const StartFolderRequest& request, std::string* folder,
                                     const std::function<int(const std::string&)>& cannot_start);

inline constexpr char kProgramFolderSetting[] = "ProgramFolder";

}  // namespace quillon
