// The class list and the roster list of the class windows, filled from
// CLASSES.DAT and STUDENTS.DAT.
#pragma once

#include <string>

#include "gui/platform/Dialogs.h"
#include "gui/platform/ListBox.h"
#include "platform/Folder.h"

namespace quillon {

// Fills `list` with the class records of CLASSES.DAT, each shown by its
// name, with nothing selected. A file that cannot be read is said and leaves
// the list empty; a class number of 0 or less is said and ends the program.
void FillClassListBox(Folder& folder, Dialogs& dialogs, RecordListBox* list);
// Fills `list` with the roster of class `classnum` (nothing for a class
// number not above 0), each student shown by name, with nothing selected.
// A file that cannot be read is said after `headline` and leaves it empty.
void FillRosterListBox(Folder& folder, Dialogs& dialogs, int classnum, RecordListBox* list,
                       const std::string& headline);

}  // namespace quillon
