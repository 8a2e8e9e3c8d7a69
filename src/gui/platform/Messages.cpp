#include "gui/platform/Messages.h"

namespace quillon {

void SayFailure(Dialogs& dialogs, const Folder& folder, const std::string& headline,
                const Status& s, std::string_view between) {
  dialogs.MessageBox(headline + folder.FullPath(s.file()) + std::string(between) + s.what(),
                     Buttons::kOk, Icon::kCritical, Title::Default());
}

bool NamesOneStudent(Dialogs& dialogs, int studentnum) {
  if (studentnum > 0) return true;
  dialogs.MessageBox(
      "This student has no student number in the file, so the student cannot be told apart "
      "from the rest of the class.\r\n\r\nNothing was changed.",
      Buttons::kOk, Icon::kCritical, Title::Default());
  return false;
}

}  // namespace quillon
