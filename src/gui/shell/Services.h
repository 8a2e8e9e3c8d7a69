// What every window is handed by its owner: the program folder, the dialogs,
// the clock, the printer and the shared values.
#pragma once

#include "gui/platform/Dialogs.h"
#include "gui/shell/SharedValues.h"
#include "platform/Clock.h"
#include "platform/Folder.h"
#include "platform/Printer.h"

namespace quillon {

struct Services {
  Folder& folder;
  Dialogs& dialogs;
  Clock& clock;
  Printer& printer;
  SharedValues& values;
};

}  // namespace quillon
