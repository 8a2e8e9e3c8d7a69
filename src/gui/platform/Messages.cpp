#include "gui/platform/Messages.h"

#include <cstdio>

namespace quillon {

void SayFailure(Dialogs& dialogs, const Folder& folder, const std::string& headline,
                const Status& s, std::string_view between) {
  dialogs.MessageBox(headline + folder.FullPath(s.file()) + std::string(between) + s.what(),
                     Buttons::kOk, Icon::kCritical, Title::Default());
}

void SayCannotStart(Dialogs& dialogs, const Folder& folder, const Status& s) {
  std::fprintf(stderr, "quillon: The program cannot start. %s: %s\n",
               folder.FullPath(s.file()).c_str(), s.what().c_str());
  SayFailure(dialogs, folder, "The program cannot start.\r\n\r\n", s, ":\r\n");
  dialogs.EndProgram(kExitFileProblem);
}

bool NameEntered(Dialogs& dialogs, const std::string& entry, const std::string& ask) {
  if (entry.empty()) return false;
  if (entry.find_first_not_of(' ') != std::string::npos) return true;
  dialogs.MessageBox(ask, Buttons::kOk, Icon::kNone, Title::Default());
  return false;
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
