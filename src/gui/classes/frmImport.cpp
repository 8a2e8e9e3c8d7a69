#include "gui/classes/frmImport.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "gui/classes/PrintSlips.h"
#include "gui/platform/CenterForm.h"
#include "gui/platform/Encoding.h"
#include "gui/platform/Fonts.h"
#include "gui/platform/Messages.h"

namespace quillon {
namespace {

enum Column { kLine, kName, kPassword, kNumber, kAction, kColumns };

std::string Students(int n) { return std::to_string(n) + (n == 1 ? " student" : " students"); }

}  // namespace

frmImport::frmImport(Services services, int classnum, std::string class_name, std::string file,
                     RosterTable table, RandomSource& random, QWidget* parent)
    : QDialog(parent),
      services_(services),
      classnum_(classnum),
      class_name_(std::move(class_name)),
      table_(std::move(table)),
      random_(random) {
  setObjectName("frmImport");
  setWindowTitle("Quillon Student Recordkeeping System - IMPORT STUDENTS");
  const QString file_name = QString::fromStdString(file.substr(file.find_last_of('/') + 1));
  Label1_ = new QLabel("Rows of " + file_name + " for " + ToQString(class_name_) + ":", this);
  Label1_->setObjectName("Label1");
  lblSummary_ = new QLabel(this);
  lblSummary_->setObjectName("lblSummary");
  tblRows_ = new QTableWidget(0, kColumns, this);
  tblRows_->setObjectName("tblRows");
  tblRows_->setAccessibleName("Rows of the roster file");
  tblRows_->setHorizontalHeaderLabels({"Line", "Name", "Password", "Number", "What will happen"});
  tblRows_->verticalHeader()->hide();
  tblRows_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tblRows_->setSelectionBehavior(QAbstractItemView::SelectRows);
  tblRows_->setSelectionMode(QAbstractItemView::SingleSelection);
  tblRows_->setTabKeyNavigation(false);  // Tab goes on to the buttons
  tblRows_->setFont(FixedPitchFont(10));
  tblRows_->horizontalHeader()->setSectionResizeMode(kAction, QHeaderView::Stretch);
  Label1_->setBuddy(tblRows_);
  cmdPrintSlips_ = new QPushButton("Print Log-in Slips", this);
  cmdPrintSlips_->setObjectName("cmdPrintSlips");
  cmdPrintSlips_->setEnabled(false);
  cmdAdd_ = new QPushButton(this);
  cmdAdd_->setObjectName("cmdAdd");
  cmdCancel_ = new QPushButton("Cancel", this);
  cmdCancel_->setObjectName("cmdCancel");
  for (QPushButton* b : {cmdPrintSlips_, cmdAdd_, cmdCancel_}) b->setAutoDefault(false);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(cmdPrintSlips_);
  buttons->addStretch();
  buttons->addWidget(cmdAdd_);
  buttons->addWidget(cmdCancel_);
  auto* column = new QVBoxLayout(this);
  column->addWidget(Label1_);
  column->addWidget(lblSummary_);
  column->addWidget(tblRows_, 1);
  column->addLayout(buttons);
  // Escape and the close control cancel, as "Cancel" does.
  connect(cmdAdd_, &QPushButton::clicked, this, &frmImport::cmdAdd_Click);
  connect(cmdPrintSlips_, &QPushButton::clicked, this, &frmImport::cmdPrintSlips_Click);
  connect(cmdCancel_, &QPushButton::clicked, this, &frmImport::cmdCancel_Click);

  BuildPreview();
  resize(760, 480);
  CenterForm(*this);
}

void frmImport::BuildPreview() {
  Status s = BuildImportPreview(services_.folder, table_, classnum_, random_, &preview_);
  if (!s.ok()) {
    preview_.rows.clear();
    SayFailure(services_.dialogs, services_.folder, "The students cannot be imported.\r\r", s);
  }
  ShowRows();
  const int n = preview_.Added();
  lblSummary_->setText(ToQString(Students(n) + " will be added, " +
                                 std::to_string(preview_.Skipped()) + " skipped."));
  cmdAdd_->setText(ToQString("Add " + std::to_string(n) + (n == 1 ? " Student" : " Students")));
  cmdAdd_->setEnabled(n > 0);
  cmdAdd_->setDefault(n > 0);  // Enter adds them
}

void frmImport::ShowRows() {
  tblRows_->setRowCount(static_cast<int>(preview_.rows.size()));
  const QColor skipped = palette().color(QPalette::Disabled, QPalette::Text);
  for (int r = 0; r < tblRows_->rowCount(); ++r) {
    const ImportRow& row = preview_.rows[static_cast<std::size_t>(r)];
    const bool add = row.action == ImportAction::kAdd;
    const std::string cells[kColumns] = {
        std::to_string(row.line), row.name + (row.cut ? " (cut)" : ""), row.password,
        row.number > 0 ? std::to_string(row.number) : "",
        Added() > 0 && add ? "added" : ImportActionText(row.action)};
    for (int c = 0; c < kColumns; ++c) {
      auto* item = new QTableWidgetItem(ToQString(cells[c]));
      if (c == kLine || c == kNumber) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      if (!add) item->setForeground(skipped);
      tblRows_->setItem(r, c, item);
    }
  }
  for (int c = kLine; c < kAction; ++c) tblRows_->resizeColumnToContents(c);  // the last stretches
}

void frmImport::cmdAdd_Click() {
  int added = 0;
  Status s = FileImportStudents(services_.folder, preview_, &added);
  if (!s.ok()) {
    SayFailure(services_.dialogs, services_.folder, "The students could not be added.\r\r", s);
    if (services_.dialogs.Ended()) return;
    BuildPreview();  // as the files are now
    return;
  }
  for (const ImportRow& row : preview_.rows) {
    if (row.action == ImportAction::kAdd) added_.push_back({row.number, row.name, row.password});
  }
  ShowRows();
  lblSummary_->setText(ToQString(Students(added) + (added == 1 ? " was" : " were") + " added to " +
                                 class_name_ + "."));
  cmdAdd_->setEnabled(false);
  cmdAdd_->setDefault(false);
  cmdPrintSlips_->setEnabled(true);
  cmdPrintSlips_->setDefault(true);
  cmdCancel_->setText("Close");
}

void frmImport::cmdPrintSlips_Click() { PrintLoginSlips(services_, class_name_, added_); }

void frmImport::cmdCancel_Click() { reject(); }

}  // namespace quillon
