#include "gui/classes/frmImport.h"

#include <QCheckBox>
#include <QComboBox>
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

enum Column { kLine, kName, kPassword, kNumber, kAction, kReason, kColumns };

const QColor kLostLetterColor(255, 236, 170);

std::string Students(int n) { return std::to_string(n) + (n == 1 ? " student" : " students"); }

QString FromCodePoints(const std::u32string& text) {
  return QString::fromUcs4(text.data(), static_cast<qsizetype>(text.size()));
}

// A column as its box shows it: its number and what the first row holds
// there ("2: Last name").
QString ColumnText(const RosterTable& table, int column) {
  QString cell;
  if (!table.rows.empty() && static_cast<std::size_t>(column) < table.rows[0].fields.size()) {
    cell = FromCodePoints(table.rows[0].fields[static_cast<std::size_t>(column)]).simplified();
  }
  if (cell.size() > 24) cell = cell.left(23) + QChar(0x2026);
  return QString::number(column + 1) + (cell.isEmpty() ? QString() : ": " + cell);
}

QComboBox* ColumnBox(QWidget* parent, const char* name, const char* heading, QLabel** label) {
  auto* box = new QComboBox(parent);
  box->setObjectName(name);
  box->setAccessibleName(heading);
  box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  *label = new QLabel(QString(heading) + ":", parent);
  (*label)->setBuddy(box);
  return box;
}

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
  lblColumns_ = new QLabel("No heading row was recognised in " + file_name +
                               ": choose the columns that hold the names and the passwords.",
                           this);
  lblColumns_->setObjectName("lblColumns");
  lblColumns_->setWordWrap(true);
  QFont bold = lblColumns_->font();
  bold.setBold(true);
  lblColumns_->setFont(bold);
  QLabel *lblName = nullptr, *lblFirst = nullptr, *lblPassword = nullptr;
  cboNameColumn_ = ColumnBox(this, "cboNameColumn", "Name or last name", &lblName);
  cboFirstColumn_ = ColumnBox(this, "cboFirstColumn", "First name", &lblFirst);
  cboPasswordColumn_ = ColumnBox(this, "cboPasswordColumn", "Password", &lblPassword);
  chkHeading_ = new QCheckBox("Line 1 is a heading row", this);
  chkHeading_->setObjectName("chkHeading");
  lblSummary_ = new QLabel(this);
  lblSummary_->setObjectName("lblSummary");
  tblRows_ = new QTableWidget(0, kColumns, this);
  tblRows_->setObjectName("tblRows");
  tblRows_->setAccessibleName("Rows of the roster file");
  tblRows_->setHorizontalHeaderLabels(
      {"Line", "Name", "Password", "Number", "What will happen", "Why"});
  tblRows_->verticalHeader()->hide();
  tblRows_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tblRows_->setSelectionBehavior(QAbstractItemView::SelectRows);
  tblRows_->setSelectionMode(QAbstractItemView::SingleSelection);
  tblRows_->setTabKeyNavigation(false);  // Tab goes on to the buttons
  tblRows_->setFont(FixedPitchFont(10));
  tblRows_->horizontalHeader()->setSectionResizeMode(kReason, QHeaderView::Stretch);
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
  auto* boxes = new QHBoxLayout;
  for (auto [label, box] : {std::pair<QLabel*, QWidget*>{lblName, cboNameColumn_},
                            {lblFirst, cboFirstColumn_},
                            {lblPassword, cboPasswordColumn_}}) {
    boxes->addWidget(label);
    boxes->addWidget(box);
    boxes->addSpacing(8);
  }
  boxes->addWidget(chkHeading_);
  boxes->addStretch();
  auto* column = new QVBoxLayout(this);
  column->addWidget(Label1_);
  column->addWidget(lblColumns_);
  column->addLayout(boxes);
  column->addWidget(lblSummary_);
  column->addWidget(tblRows_, 1);
  column->addLayout(buttons);
  // Escape and the close control cancel, as "Cancel" does.
  connect(cmdAdd_, &QPushButton::clicked, this, &frmImport::cmdAdd_Click);
  connect(cmdPrintSlips_, &QPushButton::clicked, this, &frmImport::cmdPrintSlips_Click);
  connect(cmdCancel_, &QPushButton::clicked, this, &frmImport::cmdCancel_Click);

  BuildPreview();
  FillColumnBoxes();
  for (QComboBox* box : {cboNameColumn_, cboFirstColumn_, cboPasswordColumn_}) {
    connect(box, &QComboBox::currentIndexChanged, this, &frmImport::Columns_Change);
  }
  connect(chkHeading_, &QCheckBox::toggled, this, &frmImport::Columns_Change);
  // Where the user has a choice to make, the focus starts there.
  (preview_.columns.recognised ? static_cast<QWidget*>(tblRows_) : cboNameColumn_)->setFocus();
  resize(780, 500);
  CenterForm(*this);
}

void frmImport::FillColumnBoxes() {
  const RosterColumns& found = preview_.columns;
  const int count = RosterColumnCount(table_);
  for (QComboBox* box : {cboNameColumn_, cboFirstColumn_, cboPasswordColumn_}) {
    QSignalBlocker quiet(box);
    box->clear();
    if (box != cboNameColumn_) box->addItem("(none)");
    for (int c = 0; c < count; ++c) box->addItem(ColumnText(table_, c));
  }
  QSignalBlocker quiet_name(cboNameColumn_), quiet_first(cboFirstColumn_),
      quiet_password(cboPasswordColumn_), quiet_heading(chkHeading_);
  cboNameColumn_->setCurrentIndex(found.name);
  cboFirstColumn_->setCurrentIndex(found.first + 1);
  cboPasswordColumn_->setCurrentIndex(found.password + 1);
  chkHeading_->setChecked(found.heading);
  // A recognised heading row is always one.
  lblColumns_->setVisible(!found.recognised);
  chkHeading_->setVisible(!found.recognised);
}

void frmImport::Columns_Change() {
  choice_.name = cboNameColumn_->currentIndex();
  choice_.first = cboFirstColumn_->currentIndex() - 1;
  choice_.password = cboPasswordColumn_->currentIndex() - 1;
  choice_.heading = chkHeading_->isChecked();
  BuildPreview();
}

void frmImport::BuildPreview() {
  Status s = BuildImportPreview(services_.folder, table_, classnum_, random_, &preview_, choice_);
  if (!s.ok()) {
    preview_.rows.clear();
    SayFailure(services_.dialogs, services_.folder, "The students cannot be imported.\r\r", s);
  }
  ShowRows();
  const int n = preview_.Added(), lost = preview_.LettersLost();
  lblSummary_->setText(ToQString(
      Students(n) + " will be added, " + std::to_string(preview_.Skipped()) + " skipped." +
      (lost == 0 ? ""
                 : " " + std::to_string(lost) + (lost == 1 ? " name" : " names") +
                       " may have lost a letter in the spreadsheet (marked): correct the file, or "
                       "the names once added.")));
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
    const QString cells[kColumns] = {QString::number(row.line),
                                     ToQString(row.name + (row.cut ? " (cut)" : "")),
                                     ToQString(row.password),
                                     row.number > 0 ? QString::number(row.number) : QString(),
                                     Added() > 0 && add ? "added" : ImportActionText(row.action),
                                     FromCodePoints(row.reason)};
    for (int c = 0; c < kColumns; ++c) {
      auto* item = new QTableWidgetItem(cells[c]);
      if (c == kLine || c == kNumber) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      if (!add) item->setForeground(skipped);
      if (add && row.letter_lost) {
        item->setBackground(kLostLetterColor);
        item->setForeground(Qt::black);
      }
      tblRows_->setItem(r, c, item);
    }
  }
  for (int c = kLine; c < kReason; ++c) tblRows_->resizeColumnToContents(c);  // the last stretches
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
  for (QWidget* w : std::initializer_list<QWidget*>{cboNameColumn_, cboFirstColumn_,
                                                    cboPasswordColumn_, chkHeading_}) {
    w->setEnabled(false);  // the students are added: the columns stay as they were
  }
  cmdPrintSlips_->setEnabled(true);
  cmdPrintSlips_->setDefault(true);
  cmdCancel_->setText("Close");
}

void frmImport::cmdPrintSlips_Click() { PrintLoginSlips(services_, class_name_, added_); }

void frmImport::cmdCancel_Click() { reject(); }

}  // namespace quillon
