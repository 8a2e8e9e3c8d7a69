// Start-up: the shared values, the lesson catalogue, the menu.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "gui/platform/Dialogs.h"
#include "gui/shell/Services.h"

namespace quillon {

class frmMenu;

// Sets InitialClassIndex and DataGroup, loads LESSONS.DAT, finishes any
// removal of records that was cut short (saying so), and builds and loads
// the menu (the password gate runs inside); the menu is then ready to
// be shown. When LESSONS.DAT cannot be used, reports it with a message that
// names the file and what is wrong and ends the program before any window is
// shown; a program ended during the start-up gives no menu (nullptr).
std::unique_ptr<frmMenu> Main(Services services);

// The default program folder `folder` of an installed program, before the
// start-up: when it has no LESSONS.DAT, asks whether to make it with the
// sample catalogue at `catalogue` and does so. Nothing is returned when the
// program can go on; otherwise the exit status (kExitDone when the user says
// No, kExitFileProblem, after a message, when it cannot be made).
std::optional<int> PrepareDefaultFolder(Dialogs& dialogs, const std::string& folder,
                                        const std::string& catalogue);

}  // namespace quillon
