#include "gui/diagnostics/frmOverview.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "data/ClassFiles.h"
#include "diagnostics/ClassOverviewText.h"
#include "gui/diagnostics/PrintOverview.h"
#include "gui/platform/CenterForm.h"
#include "gui/platform/DateBoxes.h"
#include "gui/platform/Encoding.h"
#include "gui/platform/Messages.h"
#include "gui/platform/SaveCsv.h"
#include "records/SummaryText.h"

namespace quillon {
namespace {

const QColor kMostMissedColor(255, 200, 200);

QPushButton* Button(QWidget* parent, const char* name, const char* caption) {
  auto* b = new QPushButton(caption, parent);
  b->setObjectName(name);
  b->setAutoDefault(false);
  return b;
}

QLabel* Heading(QWidget* parent, const char* name, const char* text, QWidget* buddy) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  QFont bold = label->font();
  bold.setBold(true);
  label->setFont(bold);
  label->setBuddy(buddy);
  return label;
}

// A read-only table of whole rows, named and headed as `table` says. Every
// column is as wide as its cells but `stretch`, which takes the room left
// (its texts cut short where there is too little), so that the numbers
// always show.
QTableWidget* Table(QWidget* parent, const char* name, const char* accessible,
                    const OverviewTable& table, int stretch) {
  auto* grid = new QTableWidget(0, static_cast<int>(table.headings.size()), parent);
  grid->setObjectName(name);
  grid->setAccessibleName(accessible);
  QStringList headings;
  for (const std::string& h : table.headings) headings << ToQString(h);
  grid->setHorizontalHeaderLabels(headings);
  grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid->setSelectionMode(QAbstractItemView::SingleSelection);
  grid->setTabKeyNavigation(false);  // Tab goes on to the next control
  grid->verticalHeader()->setVisible(false);
  grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
  grid->horizontalHeader()->setStretchLastSection(false);
  grid->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  grid->horizontalHeader()->setSectionResizeMode(stretch, QHeaderView::Stretch);
  grid->setWordWrap(false);
  return grid;
}

// Fills `grid` with the rows of `table`, numbers right-aligned.
void Fill(QTableWidget* grid, const OverviewTable& table) {
  grid->setUpdatesEnabled(false);
  grid->clearContents();
  grid->setRowCount(static_cast<int>(table.rows.size()));
  for (int r = 0; r < grid->rowCount(); ++r) {
    const auto& row = table.rows[static_cast<std::size_t>(r)];
    for (int c = 0; c < grid->columnCount(); ++c) {
      auto* item = new QTableWidgetItem(ToQString(row[static_cast<std::size_t>(c)]));
      if (table.numeric[static_cast<std::size_t>(c)]) {
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      }
      grid->setItem(r, c, item);
    }
  }
  grid->setUpdatesEnabled(true);
}

}  // namespace

frmOverview::frmOverview(Services services, std::string class_record, QWidget* parent)
    : QDialog(parent), services_(services) {
  setObjectName("frmOverview");
  class_name_ = ClassDisplayName(class_record);
  request_.classnum = ClassNumberOf(class_record);
  setWindowTitle(ToQString("CLASS OVERVIEW: " + class_name_));
  const std::array<OverviewTable, 3> empty = OverviewTables(ClassOverview{});

  lblClass_ = new QLabel(ToQString("Class: " + class_name_), this);
  lblClass_->setObjectName("lblClass");
  QFont bold = lblClass_->font();
  bold.setBold(true);
  lblClass_->setFont(bold);
  cboTest_ = new QComboBox(this);
  cboTest_->setObjectName("cboTest");
  cboTest_->setAccessibleName("Test");
  auto* lblTest = new QLabel("&Test:", this);
  lblTest->setObjectName("lblTest");
  lblTest->setBuddy(cboTest_);
  chkLatest_ = new QCheckBox("Latest result of each student", this);
  chkLatest_->setObjectName("chkLatest");
  chkLatest_->setChecked(true);
  txtFrom_ = DateBox(this, "txtFrom", "From");
  auto* lblFrom = new QLabel("&From:", this);
  lblFrom->setObjectName("lblFrom");
  lblFrom->setBuddy(txtFrom_);
  txtTo_ = DateBox(this, "txtTo", "To");
  auto* lblTo = new QLabel("T&o:", this);
  lblTo->setObjectName("lblTo");
  lblTo->setBuddy(txtTo_);
  cmdDates_ = Button(this, "cmdDates", "Show These Dates");
  auto* lblDatesNote = new QLabel("(mm/dd/yy; empty for no limit)", this);
  lblCounts_ = new QLabel(this);
  lblCounts_->setObjectName("lblCounts");
  lblCounts_->setWordWrap(true);

  grdProblems_ = Table(this, "grdProblems", "Problems", empty[kProblemsTable], 6);
  lblMostMissed_ = new QLabel("Highlighted: problems missed by half the results or more.", this);
  lblMostMissed_->setObjectName("lblMostMissed");
  lblMostMissed_->setWordWrap(true);
  grdAreas_ = Table(this, "grdAreas", "Skill Areas", empty[kAreasTable], 1);
  grdReteach_ = Table(this, "grdReteach", "Lessons to Reteach", empty[kReteachTable], 5);
  lstNames_ = new QListWidget(this);
  lstNames_->setObjectName("lstNames");
  lstNames_->setAccessibleName("Students whose plans name the lesson");
  cmdPrint_ = Button(this, "cmdPrint", "Print Overview");
  cmdCsv_ = Button(this, "cmdCsv", "Save as CSV");
  cmdClose_ = Button(this, "cmdClose", "Close");

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(lblClass_);
  auto* choice = new QHBoxLayout;
  choice->addWidget(lblTest);
  choice->addWidget(cboTest_);
  choice->addSpacing(16);
  choice->addWidget(chkLatest_);
  choice->addStretch();
  layout->addLayout(choice);
  auto* dates = new QHBoxLayout;
  dates->addWidget(lblFrom);
  dates->addWidget(txtFrom_);
  dates->addSpacing(12);
  dates->addWidget(lblTo);
  dates->addWidget(txtTo_);
  dates->addWidget(cmdDates_);
  dates->addWidget(lblDatesNote);
  dates->addStretch();
  layout->addLayout(dates);
  layout->addWidget(lblCounts_);

  // The problems on the left; the areas, the lessons and the students
  // whose plans name the selected lesson on the right.
  auto* splitter = new QSplitter(Qt::Horizontal, this);
  auto* left = new QWidget(splitter);
  auto* left_column = new QVBoxLayout(left);
  left_column->setContentsMargins(0, 0, 0, 0);
  left_column->addWidget(Heading(left, "lblProblems", "&Problems", grdProblems_));
  left_column->addWidget(grdProblems_, 1);
  left_column->addWidget(lblMostMissed_);
  auto* right = new QWidget(splitter);
  auto* right_column = new QVBoxLayout(right);
  right_column->setContentsMargins(0, 0, 0, 0);
  right_column->addWidget(Heading(right, "lblAreas", "Skill &Areas", grdAreas_));
  right_column->addWidget(grdAreas_);
  right_column->addWidget(Heading(right, "lblReteach", "&Lessons to Reteach", grdReteach_));
  right_column->addWidget(grdReteach_, 2);
  right_column->addWidget(
      Heading(right, "lblNames", "Students whose plans &name the lesson", lstNames_));
  right_column->addWidget(lstNames_, 1);
  splitter->addWidget(left);
  splitter->addWidget(right);
  splitter->setChildrenCollapsible(false);
  layout->addWidget(splitter, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(cmdPrint_);
  buttons->addWidget(cmdCsv_);
  buttons->addStretch();
  buttons->addWidget(cmdClose_);
  layout->addLayout(buttons);

  std::vector<TestResults> tests;
  if (Compute(request_, &tests)) {
    for (const TestResults& t : tests) {
      const DiagnosticTest* test = FindDiagnosticTest(t.code);
      cboTest_->addItem(ToQString(test->name + " (" + t.code + ")"), ToQString(t.code));
    }
    const std::string first = MostResultsTest(tests);
    cboTest_->setCurrentIndex(cboTest_->findData(ToQString(first)));
    OverviewRequest request = request_;
    request.test_code = first;
    if (!first.empty() && Compute(request)) request_ = request;
  }
  FillTables();

  connect(cboTest_, &QComboBox::currentIndexChanged, this, &frmOverview::cboTest_Change);
  connect(chkLatest_, &QCheckBox::toggled, this, &frmOverview::chkLatest_Click);
  connect(txtFrom_, &QLineEdit::returnPressed, this, &frmOverview::cmdDates_Click);
  connect(txtTo_, &QLineEdit::returnPressed, this, &frmOverview::cmdDates_Click);
  connect(cmdDates_, &QPushButton::clicked, this, &frmOverview::cmdDates_Click);
  connect(grdReteach_, &QTableWidget::itemSelectionChanged, this, &frmOverview::ShowNames);
  connect(cmdPrint_, &QPushButton::clicked, this, &frmOverview::cmdPrint_Click);
  connect(cmdCsv_, &QPushButton::clicked, this, &frmOverview::cmdCsv_Click);
  connect(cmdClose_, &QPushButton::clicked, this, &QDialog::accept);

  // As large as the figures want, within the screen (800 x 600 included).
  QSize size(1000, 700);
  if (const QScreen* screen = this->screen()) {
    const QRect room = screen->availableGeometry();
    size = size.boundedTo(QSize(room.width() - 20, room.height() - 40));
  }
  resize(size);
  splitter->setSizes({size.width() / 2, size.width() / 2});
  CenterForm(*this);
}

bool frmOverview::Compute(const OverviewRequest& request, std::vector<TestResults>* tests) {
  ClassOverview overview;
  Status s = BuildClassOverview(services_.folder, request, &overview, tests);
  if (!s.ok()) {
    SayFailure(services_.dialogs, services_.folder, "The overview cannot be shown.\r\r", s);
    return false;
  }
  overview_ = std::move(overview);
  return true;
}

void frmOverview::FillTables() {
  const std::array<OverviewTable, 3> tables = OverviewTables(overview_);
  lblCounts_->setText(ToQString(
      overview_.test == nullptr
          ? std::string("This class has no results of a diagnostic test.")
          : OverviewTestName(overview_) + "   /   Dates: " + RangeText(overview_.request.range) +
                "   /   " + OverviewCounts(overview_) +
                (OverviewLeftOut(overview_).empty() ? ""
                                                    : "   /   " + OverviewLeftOut(overview_))));
  Fill(grdProblems_, tables[kProblemsTable]);
  for (int r = 0; r < grdProblems_->rowCount(); ++r) {
    const int problem = r + 1;
    const int area = overview_.test->area_of[static_cast<std::size_t>(problem)];
    grdProblems_->item(r, 1)->setToolTip(
        ToQString(TrimRight(overview_.test->area_names[static_cast<std::size_t>(area - 1)])));
    if (!MostMissed(overview_, problem)) continue;
    for (int c = 0; c < grdProblems_->columnCount(); ++c) {
      QTableWidgetItem* item = grdProblems_->item(r, c);
      item->setBackground(kMostMissedColor);
      item->setForeground(Qt::black);
      QFont font = item->font();
      font.setBold(true);
      item->setFont(font);
      item->setToolTip(c == 1 ? item->toolTip() : "Missed by half the results or more");
    }
  }
  Fill(grdAreas_, tables[kAreasTable]);
  // Every area shows, without scrolling (four or six; room for one when
  // there are none).
  grdAreas_->setFixedHeight(grdAreas_->horizontalHeader()->sizeHint().height() +
                            std::max(grdAreas_->rowCount(), 1) *
                                grdAreas_->verticalHeader()->defaultSectionSize() +
                            2 * grdAreas_->frameWidth() + 2);
  Fill(grdReteach_, tables[kReteachTable]);
  // The unit shows as the lesson's tip, the names one a line as theirs.
  for (int r = 0; r < grdReteach_->rowCount(); ++r) {
    grdReteach_->item(r, 0)->setToolTip(grdReteach_->item(r, 2)->text());
    QString names;
    for (const OverviewStudent& s : overview_.reteach[static_cast<std::size_t>(r)].students) {
      names += (names.isEmpty() ? "" : "\n") + ToQString(s.name);
    }
    grdReteach_->item(r, grdReteach_->columnCount() - 1)->setToolTip(names);
  }
  grdReteach_->setColumnHidden(2, true);
  if (grdReteach_->rowCount() > 0) grdReteach_->selectRow(0);
  ShowNames();
  const bool any = overview_.results > 0;
  cmdPrint_->setEnabled(any);
  cmdCsv_->setEnabled(any);
}

void frmOverview::ShowNames() {
  lstNames_->clear();
  const int row = grdReteach_->currentRow();
  if (row < 0 || row >= static_cast<int>(overview_.reteach.size()) ||
      grdReteach_->selectedItems().isEmpty()) {
    return;
  }
  for (const OverviewStudent& s : overview_.reteach[static_cast<std::size_t>(row)].students) {
    lstNames_->addItem(ToQString(s.name));
  }
}

void frmOverview::cboTest_Change() {
  OverviewRequest request = request_;
  request.test_code = FromQStringReplacing(cboTest_->currentData().toString());
  if (!Compute(request)) {
    // The box goes back to the test the figures are of.
    const QSignalBlocker quiet(cboTest_);
    cboTest_->setCurrentIndex(cboTest_->findData(ToQString(request_.test_code)));
    return;
  }
  request_ = request;
  FillTables();
}

void frmOverview::chkLatest_Click() {
  OverviewRequest request = request_;
  request.latest_only = chkLatest_->isChecked();
  if (!Compute(request)) {
    const QSignalBlocker quiet(chkLatest_);
    chkLatest_->setChecked(request_.latest_only);
    return;
  }
  request_ = request;
  FillTables();
}

void frmOverview::cmdDates_Click() {
  OverviewRequest request = request_;
  if (!ReadDateBoxes(services_.dialogs, txtFrom_, txtTo_, &request.range)) return;
  if (!Compute(request)) return;
  request_ = request;
  FillTables();
}

void frmOverview::cmdPrint_Click() { PrintOverview(services_, overview_, class_name_); }

void frmOverview::cmdCsv_Click() {
  SaveCsvFile(services_.dialogs, "Save Class Overview",
              "Class overview " + DayKeyIso(DayKeyOf(services_.clock.Today())) + ".csv", "overview",
              OverviewCsv(overview_, class_name_));
}

}  // namespace quillon
