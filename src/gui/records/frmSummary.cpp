#include "gui/records/frmSummary.h"

#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include "base/Text.h"
#include "data/ActivityRecord.h"
#include "data/ClassFiles.h"
#include "gui/platform/CenterForm.h"
#include "gui/platform/DateBoxes.h"
#include "gui/platform/Encoding.h"
#include "gui/platform/FolderFollower.h"
#include "gui/platform/Messages.h"
#include "gui/platform/SaveCsv.h"
#include "gui/records/PrintSummary.h"
#include "gui/records/frmProgressChart.h"
#include "records/ProgressChart.h"
#include "records/SummaryText.h"

namespace quillon {
namespace {

const QColor kFailedColor(255, 200, 200);
const QColor kIdleColor(255, 236, 170);

QPushButton* Button(QWidget* parent, const char* name, const char* caption) {
  auto* b = new QPushButton(caption, parent);
  b->setObjectName(name);
  b->setAutoDefault(false);
  return b;
}

}  // namespace

frmSummary::frmSummary(Services services, std::string class_record, QWidget* parent)
    : QDialog(parent), services_(services), follow_(services.folder) {
  setObjectName("frmSummary");
  class_name_ = ClassDisplayName(class_record);
  request_.classnum = ClassNumberOf(class_record);
  request_.passing_grade = PassingGradeOf(class_record);
  setWindowTitle(ToQString("CLASS SUMMARY: " + class_name_));

  lblClass_ = new QLabel(ToQString("Class: " + class_name_ + "      Test passing grade: " +
                                   GeneralNumber(request_.passing_grade) + "%"),
                         this);
  lblClass_->setObjectName("lblClass");
  QFont bold = lblClass_->font();
  bold.setBold(true);
  lblClass_->setFont(bold);
  auto* lblFrom = new QLabel("&From:", this);
  lblFrom->setObjectName("lblFrom");
  txtFrom_ = DateBox(this, "txtFrom", "From");
  lblFrom->setBuddy(txtFrom_);
  auto* lblTo = new QLabel("&To:", this);
  lblTo->setObjectName("lblTo");
  txtTo_ = DateBox(this, "txtTo", "To");
  lblTo->setBuddy(txtTo_);
  cmdDates_ = Button(this, "cmdDates", "Show These Dates");
  auto* lblDatesNote = new QLabel("(mm/dd/yy; empty for no limit)", this);

  grdSummary_ = new QTableWidget(0, kSummaryColumns, this);
  grdSummary_->setObjectName("grdSummary");
  grdSummary_->setAccessibleName("Class Summary");
  QStringList headings;
  for (const char* h : kSummaryHeadings) headings << h;
  grdSummary_->setHorizontalHeaderLabels(headings);
  grdSummary_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grdSummary_->setSelectionBehavior(QAbstractItemView::SelectRows);
  grdSummary_->setSelectionMode(QAbstractItemView::SingleSelection);
  grdSummary_->setTabKeyNavigation(false);
  grdSummary_->verticalHeader()->setVisible(false);
  grdSummary_->horizontalHeader()->setSectionsClickable(true);
  grdSummary_->horizontalHeader()->setSortIndicatorShown(true);
  grdSummary_->horizontalHeader()->setStretchLastSection(false);
  grdSummary_->verticalHeader()->setDefaultSectionSize(grdSummary_->fontMetrics().height() + 8);
  grdSummary_->setMinimumHeight(320);

  lblAttention_ = new QLabel(
      "Highlighted: Needs help, a lesson or unit whose most recent test in these dates was "
      "failed (the pointer over it names them); Last work, no work for 14 days or more.",
      this);
  lblAttention_->setObjectName("lblAttention");
  lblAttention_->setWordWrap(true);
  cmdChart_ = Button(this, "cmdChart", "Progress Chart");
  cmdPrint_ = Button(this, "cmdPrint", "Print Summary");
  cmdCsv_ = Button(this, "cmdCsv", "Save as CSV");
  cmdClose_ = Button(this, "cmdClose", "Close");

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(lblClass_);
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
  layout->addWidget(grdSummary_, 1);
  layout->addWidget(lblAttention_);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(cmdChart_);
  buttons->addWidget(cmdPrint_);
  buttons->addWidget(cmdCsv_);
  buttons->addStretch();
  buttons->addWidget(cmdClose_);
  layout->addLayout(buttons);

  connect(txtFrom_, &QLineEdit::returnPressed, this, &frmSummary::cmdDates_Click);
  connect(txtTo_, &QLineEdit::returnPressed, this, &frmSummary::cmdDates_Click);
  connect(cmdDates_, &QPushButton::clicked, this, &frmSummary::cmdDates_Click);
  connect(grdSummary_->horizontalHeader(), &QHeaderView::sectionClicked, this, &frmSummary::SortBy);
  // Enter on a row, or a double click, shows its chart.
  connect(grdSummary_, &QTableWidget::activated, this,
          [this](const QModelIndex& index) { ShowChart(index.row()); });
  connect(grdSummary_, &QTableWidget::itemSelectionChanged, this, &frmSummary::SelectionChanged);
  connect(cmdChart_, &QPushButton::clicked, this, &frmSummary::cmdChart_Click);
  connect(cmdPrint_, &QPushButton::clicked, this, &frmSummary::cmdPrint_Click);
  connect(cmdCsv_, &QPushButton::clicked, this, &frmSummary::cmdCsv_Click);
  connect(cmdClose_, &QPushButton::clicked, this, &QDialog::accept);

  if (Compute(false)) FillTable();
  SelectionChanged();
  // From the files as they are now on, the changes the lessons make.
  bool changed = false;
  (void)follow_.Look(&changed);
  follower_ = new FolderFollower(
      services_.folder, {kRecordsFile, kStudentsFile}, [this] { LookNow(); }, this);
  adjustSize();
  CenterForm(*this);
}

bool frmSummary::Compute(bool reuse) {
  std::vector<SummaryRow> rows;
  Status s = BuildClassSummary(services_.folder, lists_, reuse, request_, &rows);
  if (!s.ok()) {
    SayFailure(services_.dialogs, services_.folder, "The summary cannot be shown.\r\r", s);
    return false;
  }
  roster_rows_ = std::move(rows);
  return true;
}

void frmSummary::LookNow() {
  bool changed = false;
  // A file that cannot be read now is looked at again in 2 seconds; the
  // figures stay as they are meanwhile.
  if (!follow_.Look(&changed).ok() || !changed) return;
  std::vector<SummaryRow> rows;
  if (!follow_.Summarize(lists_, request_, &rows).ok()) return;
  roster_rows_ = std::move(rows);
  const int scroll_x = grdSummary_->horizontalScrollBar()->value();
  const int scroll_y = grdSummary_->verticalScrollBar()->value();
  FillTable();
  grdSummary_->horizontalScrollBar()->setValue(scroll_x);
  grdSummary_->verticalScrollBar()->setValue(scroll_y);
}

void frmSummary::FillTable() {
  // The student selected stays selected, wherever the new figures put them.
  const int row_before = grdSummary_->selectedItems().isEmpty() ? -1 : grdSummary_->currentRow();
  const int selected = row_before >= 0 && row_before < static_cast<int>(shown_.size())
                           ? shown_[static_cast<std::size_t>(row_before)].student
                           : -1;
  shown_ = roster_rows_;
  SortSummary(&shown_, sort_column_, sort_decreasing_);
  const int reference = request_.range.to ? *request_.range.to : DayKeyOf(services_.clock.Today());
  grdSummary_->setUpdatesEnabled(false);
  grdSummary_->clearContents();
  grdSummary_->setRowCount(static_cast<int>(shown_.size()));
  for (int r = 0; r < static_cast<int>(shown_.size()); ++r) {
    const SummaryRow& row = shown_[static_cast<std::size_t>(r)];
    for (int c = 0; c < kSummaryColumns; ++c) {
      auto* item = new QTableWidgetItem(ToQString(SummaryCell(row, c, DateStyle::kSlashes)));
      if (c != kColumnStudent) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      const bool failed = c == kColumnNeedsHelp && FailedLatestTest(row);
      const bool idle = c == kColumnLastWork && Idle(row, reference);
      if (failed || idle) {
        item->setBackground(failed ? kFailedColor : kIdleColor);
        item->setForeground(Qt::black);
        QFont font = item->font();
        font.setBold(true);
        item->setFont(font);
        item->setToolTip(failed ? HelpTip(row) : "No work for 14 days or more");
      }
      grdSummary_->setItem(r, c, item);
    }
  }
  grdSummary_->horizontalHeader()->setSortIndicator(
      sort_column_, sort_decreasing_ ? Qt::DescendingOrder : Qt::AscendingOrder);
  // Every column wide enough for its cells, and the table for every column
  // (within the screen).
  grdSummary_->resizeColumnsToContents();
  int width = 2 * grdSummary_->frameWidth() + grdSummary_->verticalScrollBar()->sizeHint().width();
  for (int c = 0; c < kSummaryColumns; ++c) width += grdSummary_->columnWidth(c) + 1;
  if (const QScreen* screen = this->screen()) {
    width = std::min(width, screen->availableGeometry().width() - 60);
  }
  grdSummary_->setMinimumWidth(width);
  grdSummary_->setUpdatesEnabled(true);
  const bool any = !shown_.empty();
  cmdPrint_->setEnabled(any);
  cmdCsv_->setEnabled(any);
  for (int r = 0; r < static_cast<int>(shown_.size()); ++r) {
    if (shown_[static_cast<std::size_t>(r)].student == selected) {
      grdSummary_->setCurrentCell(r, 0);
      grdSummary_->selectRow(r);
    }
  }
  SelectionChanged();
}

QString frmSummary::HelpTip(const SummaryRow& row) const {
  const SharedValues& v = services_.values;
  QString tip = "Needs help in:";
  for (const std::string& topic :
       NeedsHelpTopics({v.Catalogue, v.UnitTestNames}, row.help_lines, request_.passing_grade)) {
    tip += "\n" + ToQString(topic);
  }
  return tip;
}

void frmSummary::SelectionChanged() {
  cmdChart_->setEnabled(grdSummary_->currentRow() >= 0 && !grdSummary_->selectedItems().isEmpty());
}

void frmSummary::cmdDates_Click() {
  SummaryRange range;
  if (!ReadDateBoxes(services_.dialogs, txtFrom_, txtTo_, &range)) return;
  const SummaryRange before = request_.range;
  request_.range = range;
  if (!Compute(true)) {
    request_.range = before;
    return;
  }
  FillTable();
}

void frmSummary::SortBy(int column) {
  if (column < 0 || column >= kSummaryColumns) return;
  sort_decreasing_ = column == sort_column_ ? !sort_decreasing_ : false;
  sort_column_ = column;
  FillTable();
}

void frmSummary::cmdChart_Click() { ShowChart(grdSummary_->currentRow()); }

void frmSummary::ShowChart(int row) {
  if (row < 0 || row >= static_cast<int>(shown_.size())) return;
  const SummaryRow& student = shown_[static_cast<std::size_t>(row)];
  SharedValues& v = services_.values;
  frmProgressChart chart(services_,
                         StudentProgress(lists_, {v.Catalogue, v.UnitTestNames}, request_,
                                         student.student, student.name),
                         class_name_, request_.range, this);
  services_.dialogs.ShowModal(chart);
}

void frmSummary::cmdPrint_Click() {
  PrintSummary(services_, shown_, class_name_, request_.passing_grade, request_.range);
}

void frmSummary::cmdCsv_Click() {
  SaveCsvFile(services_.dialogs, "Save Class Summary", SummaryCsvName(class_name_, request_.range),
              "summary", SummaryCsv(shown_));
}

}  // namespace quillon
