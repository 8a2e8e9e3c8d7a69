// What every window is handed by its owner: the program folder, the dialogs,
// the clock and the shared values.
#pragma once

#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Folder.h"
#include "shell/SharedValues.h"

namespace quillon {

struct Services {
  Folder& folder;
  Dialogs& dialogs;
  Clock& clock;
  SharedValues& values;
};

}  // namespace quillon
