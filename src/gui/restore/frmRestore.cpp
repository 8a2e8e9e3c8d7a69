// The restore window: lists the bin, restores or deletes the selected entry.
#include "gui/restore/frmRestore.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <vector>

#include "data/ActivityRecord.h"
#include "data/ClassFiles.h"
#include "data/DiagFile.h"
#include "store/Restore.h"
#include "gui/platform/CenterForm.h"
#include "gui/platform/ListBox.h"
#include "gui/platform/Messages.h"

namespace quillon {
namespace {

// "12 activity records", "1 student"; empty for none.
std::string Counted(std::size_t n, const char* one, const char* many) {
  if (n == 0) return std::string();
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

std::string BinEntryLine(const BinEntry& entry) {
  if (!entry.damage.empty()) {
    return entry.note.id + "  damaged entry, cannot be restored (" + entry.damage + ")";
  }
  const std::string counts[] = {
      Counted(entry.Count(kRecordsFile), "activity record", "activity records"),
      Counted(entry.Count(kDiagFile), "diagnostic result", "diagnostic results"),
      Counted(entry.Count(kStudentsFile), "student", "students"),
      Counted(entry.Count(kClassesFile), "class", "classes"),
  };
  std::string joined;
  for (const std::string& c : counts) {
    if (c.empty()) continue;
    joined += (joined.empty() ? "" : ", ") + c;
  }
  if (joined.empty()) joined = "no records";
  return entry.note.when + "  " + entry.note.what + "  (" + joined + ")";
}

frmRestore::frmRestore(Services services, QWidget* parent) : QDialog(parent), services_(services) {
  setObjectName("frmRestore");
  setWindowTitle("Quillon Student Recordkeeping System - RESTORE ERASED RECORDS");
  Label1_ = new QLabel("Restore Erased Records", this);
  Label1_->setObjectName("Label1");
  QFont heading = Label1_->font();
  heading.setPointSize(heading.pointSize() + 2);
  heading.setBold(true);
  Label1_->setFont(heading);
  Label2_ = new QLabel("Erased records, newest first:", this);
  Label2_->setObjectName("Label2");
  lstErased_ = new RecordListBox("lstErased", "Erased records, newest first", false, this);
  Label2_->setBuddy(lstErased_);
  lstErased_->setMinimumSize(480, 160);
  connect(lstErased_, &RecordListBox::Click, this, &frmRestore::lstErased_Click);

  auto button = [this](const char* name, const char* caption) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(name);
    b->setAccessibleName(caption);
    b->setAutoDefault(false);
    return b;
  };
  cmdRestore_ = button("cmdRestore", "Restore Selected");
  cmdDelete_ = button("cmdDelete", "Delete Selected");
  cmdMenu_ = button("cmdMenu", "Return to Menu");
  // Enter on the list restores (after its question); Escape returns.
  cmdRestore_->setDefault(true);
  connect(cmdRestore_, &QPushButton::clicked, this, &frmRestore::cmdRestore_Click);
  connect(cmdDelete_, &QPushButton::clicked, this, &frmRestore::cmdDelete_Click);
  connect(cmdMenu_, &QPushButton::clicked, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Label1_, 0, Qt::AlignHCenter);
  layout->addWidget(Label2_);
  layout->addWidget(lstErased_, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(cmdRestore_);
  buttons->addWidget(cmdDelete_);
  buttons->addStretch();
  buttons->addWidget(cmdMenu_);
  layout->addLayout(buttons);
  setTabOrder(lstErased_, cmdRestore_);
  setTabOrder(cmdRestore_, cmdDelete_);
  setTabOrder(cmdDelete_, cmdMenu_);

  resize(720, 360);
  CenterForm(*this);
  UpdateEntryList();
  lstErased_->setFocus();
}

void frmRestore::UpdateEntryList() {
  lstErased_->Clear();
  std::vector<BinEntry> entries;
  Status s = ListBin(services_.folder, &entries);
  if (!s.ok()) {
    SayFailure(services_.dialogs, services_.folder,
               "The erased records could not be listed.\r\n\r\n", s);
  }
  for (const BinEntry& entry : entries) lstErased_->AddItem(entry.note.id, BinEntryLine(entry));
  UpdateButtons();
}

void frmRestore::UpdateButtons() {
  const bool selected = !SelectedId().empty();
  cmdRestore_->setEnabled(selected);
  cmdDelete_->setEnabled(selected);
}

std::string frmRestore::SelectedId() const { return lstErased_->SelectedRecord(); }

void frmRestore::lstErased_Click() { UpdateButtons(); }

bool frmRestore::SelectedEntry(BinEntry* entry) {
  const std::string id = SelectedId();
  if (id.empty()) return false;
  std::vector<BinEntry> entries;
  Status s = ListBin(services_.folder, &entries);
  if (!s.ok()) {
    SayFailure(services_.dialogs, services_.folder,
               "The erased records could not be listed.\r\n\r\n", s);
    return false;
  }
  for (BinEntry& e : entries) {
    if (e.note.id != id) continue;
    *entry = std::move(e);
    return true;
  }
  services_.dialogs.MessageBox(
      "These erased records are no longer in the bin: they have been restored or deleted since "
      "the list was shown.",
      Buttons::kOk, Icon::kNone, Title::Default());
  UpdateEntryList();
  return false;
}

void frmRestore::cmdRestore_Click() {
  BinEntry entry;
  if (!SelectedEntry(&entry)) return;
  const std::string& id = entry.note.id;
  const std::string failed = "The erased records could not be restored.\r\n\r\n";
  if (!entry.damage.empty()) {
    services_.dialogs.MessageBox(failed + "This entry of the bin is damaged (" + entry.damage +
                                     "). It cannot be restored; Delete Selected removes it.",
                                 Buttons::kOk, Icon::kNone, Title::Default());
    return;
  }
  RestorePlan plan;
  Status s = PlanRestore(services_.folder, entry, false, &plan);
  if (!s.ok()) {
    SayFailure(services_.dialogs, services_.folder, failed, s);
    return;
  }
  bool renumber = false;
  if (plan.conflict.empty()) {
    if (services_.dialogs.MessageBox(
            "Are you sure you want to restore these records?\r\n\r\n" + plan.Describe(entry),
            Buttons::kYesNo, Icon::kNone, Title::Default()) != Answer::kYes) {
      return;
    }
  } else {
    // A number given to someone else since: the records never go to them.
    RestorePlan renumbered;
    s = PlanRestore(services_.folder, entry, true, &renumbered);
    if (!s.ok()) {
      SayFailure(services_.dialogs, services_.folder, failed, s);
      return;
    }
    if (services_.dialogs.MessageBox(
            "These records cannot go back under their own numbers: " + plan.conflict + ".\r\n\r\n" +
                renumbered.Describe(entry) +
                "\r\n\r\nOK restores them under the lowest free numbers; Cancel leaves them "
                "in the bin.",
            Buttons::kOkCancel, Icon::kNone, Title::Default()) != Answer::kOk) {
      return;
    }
    renumber = true;
  }
  s = WhileBusy(services_.dialogs,
                [&] {
    return RestoreBinEntry(services_.folder, id, renumber, services_.clock.Today(), nullptr);
  });
  if (!s.ok()) SayFailure(services_.dialogs, services_.folder, failed, s);
  UpdateEntryList();
  lstErased_->setFocus();  // its buttons are off until another entry is chosen
}

void frmRestore::cmdDelete_Click() {
  BinEntry entry;
  if (!SelectedEntry(&entry)) return;
  if (services_.dialogs.MessageBox(
          "Are you sure you want to delete these erased records for good? They cannot be "
          "restored afterwards.\r\n\r\n" +
              BinEntryLine(entry),
          Buttons::kYesNoDefaultNo, Icon::kNone, Title::Default()) != Answer::kYes) {
    return;
  }
  Status s = DeleteBinEntry(services_.folder, entry.note.id);
  if (!s.ok()) {
    SayFailure(services_.dialogs, services_.folder,
               "The erased records could not be deleted.\r\n\r\n", s);
  }
  UpdateEntryList();
  lstErased_->setFocus();
}

}  // namespace quillon
