// Messages that several windows give.
#pragma once

#include <string>
#include <string_view>

#include "base/Status.h"
#include "gui/platform/Dialogs.h"
#include "platform/Folder.h"

namespace quillon {

// A failed file operation, said in a critical message box: `headline` (with
// the line breaks that end it), the file's full path, `between`, and what
// went wrong.
void SayFailure(Dialogs& dialogs, const Folder& folder, const std::string& headline,
                const Status& s, std::string_view between = ": ");

// A data file that keeps the program from starting (LESSONS.DAT, s3.dat):
// said on standard error, for a start from a terminal or a script, and in a
// message box, for a start from the menu entry, in the same words; then the
// program ends (kExitFileProblem).
void SayCannotStart(Dialogs& dialogs, const Folder& folder, const Status& s);

// A name typed into an input box: false when the box was cancelled (the
// empty text) and, after asking for the name with `ask`, when it is blank.
bool NameEntered(Dialogs& dialogs, const std::string& entry, const std::string& ask);

// A roster or results line whose student number is blank or 0 cannot name
// one student: 0 means "every student of the class" to the removals. True
// when `studentnum` names one student; otherwise says why nothing is done
// and returns false.
bool NamesOneStudent(Dialogs& dialogs, int studentnum);

}  // namespace quillon
