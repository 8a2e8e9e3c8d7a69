// The From and To boxes of the windows that show figures over a range of
// dates: how they look, and how their dates are read.
#pragma once

#include <QLineEdit>

#include "gui/platform/Dialogs.h"
#include "records/Summary.h"

namespace quillon {

// A box for a date typed as mm/dd/yy, named `name`, its accessible name
// `heading`, wide enough for mm/dd/yyyy.
QLineEdit* DateBox(QWidget* parent, const char* name, const char* heading);

// The range typed in `from` and `to` (an empty box: no limit). A text that
// is not a date, or a From after the To, is said in a message box, the box
// gets the focus, and false is returned with `*range` unchanged.
bool ReadDateBoxes(Dialogs& dialogs, QLineEdit* from, QLineEdit* to, SummaryRange* range);

}  // namespace quillon
