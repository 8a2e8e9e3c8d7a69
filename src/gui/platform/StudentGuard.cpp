#include "gui/platform/StudentGuard.h"

namespace quillon {

bool NamesOneStudent(Dialogs& dialogs, int studentnum) {
  if (studentnum > 0) return true;
  dialogs.MessageBox(
      "This student has no student number in the file, so the student cannot be told apart "
      "from the rest of the class.\r\n\r\nNothing was changed.",
      Buttons::kOk, Icon::kCritical, Title::Default());
  return false;
}

}  // namespace quillon
