// A roster or results line whose student number is blank or 0 cannot name
// one student: 0 means "every student of the class" to the removals.
#pragma once

#include "gui/platform/Dialogs.h"

namespace quillon {

// True when `studentnum` names one student; otherwise says why nothing is
// done and returns false.
bool NamesOneStudent(Dialogs& dialogs, int studentnum);

}  // namespace quillon
