// The classes window's "Import Students..." and "Print Log-in Slips"
// buttons: a roster file read and previewed in frmImport, and the slips of
// the selected student or of the whole class.
#include <QEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "classes/LoginSlips.h"
#include "classes/RosterImport.h"
#include "gui/classes/PrintSlips.h"
#include "gui/classes/frmClasses.h"
#include "gui/classes/frmImport.h"
#include "gui/platform/Encoding.h"
#include "gui/platform/ListBox.h"

namespace quillon {
namespace {

// Keeps `followers` enabled exactly when `leader` is.
class EnabledFollower : public QObject {
 public:
  EnabledFollower(QWidget* leader, std::vector<QWidget*> followers)
      : QObject(leader), followers_(std::move(followers)) {
    leader->installEventFilter(this);
    Follow(leader);
  }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::EnabledChange) Follow(static_cast<QWidget*>(watched));
    return false;
  }

 private:
  void Follow(QWidget* leader) {
    for (QWidget* f : followers_) f->setEnabled(leader->isEnabled());
  }
  std::vector<QWidget*> followers_;
};

// A path as the messages show it: the system spells paths in UTF-8.
std::string Shown(const std::string& path) {
  return FromQStringReplacing(QString::fromStdString(path));
}

}  // namespace

void frmClasses::AddImportButtons(QVBoxLayout* column) {
  cmdImportStudents_ = new QPushButton("Import Students...", this);
  cmdImportStudents_->setObjectName("cmdImportStudents");
  cmdPrintSlips_ = new QPushButton("Print Log-in Slips", this);
  cmdPrintSlips_->setObjectName("cmdPrintSlips");
  column->addSpacing(8);
  column->addWidget(cmdImportStudents_);
  column->addWidget(cmdPrintSlips_);
  QWidget::setTabOrder(cmdStudent_[3], cmdImportStudents_);
  QWidget::setTabOrder(cmdImportStudents_, cmdPrintSlips_);
  connect(cmdImportStudents_, &QPushButton::clicked, this, &frmClasses::cmdImportStudents_Click);
  connect(cmdPrintSlips_, &QPushButton::clicked, this, &frmClasses::cmdPrintSlips_Click);
  // "Delete Selected Class" is enabled exactly while a class is selected.
  new EnabledFollower(cmdClass_[1], {cmdImportStudents_, cmdPrintSlips_});
}

void frmClasses::cmdImportStudents_Click() {
  if (lstClasses_->ListIndex() < 0) {
    services_.dialogs.MessageBox("You must first select a class from the class list.", Buttons::kOk,
                                 Icon::kNone, Title::Default());
    return;
  }
  const int c = SelectedClassNumber();
  const std::string path = services_.dialogs.OpenFileName(
      "Import Students", "Roster files (*.csv *.tsv *.txt);;All files (*)");
  if (path.empty() || services_.dialogs.Ended()) return;
  std::string bytes;
  RosterTable table;
  Status s = ReadRosterFile(path, &bytes);
  if (s.ok()) s = ParseRosterText(bytes, path, &table);
  if (!s.ok()) {
    services_.dialogs.MessageBox(
        "The students cannot be imported.\r\r" + Shown(s.file()) + ": " + s.what(), Buttons::kOk,
        Icon::kCritical, Title::Default());
    return;
  }
  SystemRandom random;
  frmImport window(services_, c, SelectedClassName(), path, std::move(table), random, this);
  services_.dialogs.ShowModal(window);
  if (services_.dialogs.Ended() || window.Added() == 0) return;
  UpdateStudentList(c);
  using enum ButtonState;
  SetButtonStates(kOn, kOn, kOn, kOn, kOn, kOff, kOn, kOff);  // as after adding a student
}

void frmClasses::cmdPrintSlips_Click() {
  if (lstClasses_->ListIndex() < 0) {
    services_.dialogs.MessageBox("You must first select a class from the class list.", Buttons::kOk,
                                 Icon::kNone, Title::Default());
    return;
  }
  std::vector<std::string> students;
  if (lstStudents_->ListIndex() >= 0) {
    students.push_back(lstStudents_->SelectedRecord());
  } else {
    for (int i = 0; i < lstStudents_->ListCount(); ++i)
      students.push_back(lstStudents_->ItemRecord(i));
  }
  if (students.empty()) {
    services_.dialogs.MessageBox("There are no students in this class.", Buttons::kOk, Icon::kNone,
                                 Title::Default());
    return;
  }
  PrintLoginSlips(services_, SelectedClassName(), RosterSlips(students));
}

}  // namespace quillon
