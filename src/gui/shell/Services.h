// What every window is handed by its owner: the program folder, the dialogs,
// the clock and the shared values.
#pragma once

#include "gui/platform/Dialogs.h"
#include "gui/shell/SharedValues.h"
#include "platform/Clock.h"
#include "platform/Folder.h"

namespace quillon {

struct Services {
  Folder& folder;
  Dialogs& dialogs;
  Clock& clock;
  SharedValues& values;
};

}  // namespace quillon
