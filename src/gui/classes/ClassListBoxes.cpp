#include "gui/classes/ClassListBoxes.h"

#include "base/Text.h"
#include "data/ClassFiles.h"
#include "store/Read.h"
#include "gui/platform/Messages.h"

namespace quillon {

void FillClassListBox(Folder& folder, Dialogs& dialogs, RecordListBox* list) {
  list->Clear();
  ClassList classes;
  if (Status s = FillClassList(folder, &classes); !s.ok()) {
    SayFailure(dialogs, folder, "The classes cannot be read.\r\n\r\n", s);
    classes.items.clear();
  }
  if (classes.bad_class_number) {
    dialogs.MessageBox("Class number <=0!", Buttons::kOk, Icon::kNone, Title::Default());
    dialogs.EndProgram(kExitFileProblem);
    return;
  }
  for (const std::string& r : classes.items) list->AddItem(r, TrimRight(r.substr(0, 27)));
  list->SetListIndex(-1);
}

void FillRosterListBox(Folder& folder, Dialogs& dialogs, int classnum, RecordListBox* list,
                       const std::string& headline) {
  list->Clear();
  if (classnum <= 0) return;
  std::vector<std::string> roster;
  if (Status s = FillRosterList(folder, classnum, &roster); !s.ok()) {
    SayFailure(dialogs, folder, headline, s);
    return;
  }
  for (const std::string& r : roster) list->AddItem(r, TrimRight(r.substr(0, 21)));
  list->SetListIndex(-1);
}

}  // namespace quillon
