// Start-up: the shared values, the lesson catalogue, the menu.
#pragma once

#include <memory>

#include "shell/Services.h"

namespace quillon {

class frmMenu;

// Sets InitialClassIndex and DataGroup, loads LESSONS.DAT and builds and
// loads the menu (the password gate runs inside). When LESSONS.DAT cannot be
// used, reports it with a message that names the file and what is wrong and
// ends the program before any window is shown.
std::unique_ptr<frmMenu> Main(Services services);

}  // namespace quillon
