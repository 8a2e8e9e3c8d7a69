// Start-up: the shared values, the lesson catalogue, the menu.
#pragma once

#include <memory>

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

}  // namespace quillon
