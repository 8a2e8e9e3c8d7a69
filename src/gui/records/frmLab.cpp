#include "gui/records/frmLab.h"

#include <QComboBox>
#include <QFont>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "data/ActivityRecord.h"
#include "data/ClassFiles.h"
#include "data/DiagFile.h"
#include "data/LessonCatalogue.h"
#include "gui/platform/CenterForm.h"
#include "gui/platform/Encoding.h"
#include "gui/platform/FolderFollower.h"
#include "gui/platform/Messages.h"
#include "gui/records/frmProgressChart.h"
#include "records/DisplayBuilder.h"
#include "records/ProgressChart.h"

namespace quillon {
namespace {

const QColor kFailedColor(255, 200, 200);
const QColor kIdleColor(255, 236, 170);

// Each row carries its student as class * 1000 + student number.
constexpr int kStudentRole = Qt::UserRole;
int StudentKey(const LabLine& line) { return line.classnum * 1000 + line.student; }

}  // namespace

frmLab::frmLab(Services services, QWidget* parent)
    : QDialog(parent),
      services_(services),
      watch_(services.folder, services.clock,
             {services.values.Catalogue, services.values.UnitTestNames}) {
  setObjectName("frmLab");
  setWindowTitle("Quillon Student Recordkeeping System - LAB NOW");
  // The unit tests' titles, as the student records window fills them.
  FillUnitTestNames(&services_.values.UnitTestNames);

  lblClass_ = new QLabel("&Class:", this);
  lblClass_->setObjectName("lblClass");
  cboClass_ = new QComboBox(this);
  cboClass_->setObjectName("cboClass");
  cboClass_->setAccessibleName("Class");
  cboClass_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  lblClass_->setBuddy(cboClass_);

  grdLab_ = new QTableWidget(0, kLabColumns, this);
  grdLab_->setObjectName("grdLab");
  grdLab_->setAccessibleName("Students at work today");
  QStringList headings;
  for (const char* h : kLabHeadings) headings << h;
  grdLab_->setHorizontalHeaderLabels(headings);
  grdLab_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grdLab_->setSelectionBehavior(QAbstractItemView::SelectRows);
  grdLab_->setSelectionMode(QAbstractItemView::SingleSelection);
  grdLab_->setTabKeyNavigation(false);
  grdLab_->verticalHeader()->setVisible(false);
  grdLab_->horizontalHeader()->setStretchLastSection(true);
  grdLab_->verticalHeader()->setDefaultSectionSize(grdLab_->fontMetrics().height() + 8);
  grdLab_->setMinimumHeight(260);

  lblAttention_ = new QLabel(
      "Highlighted: a test failed today (red), or no record for 15 minutes while others work "
      "(yellow); the Attention column says which. Enter or a double click shows the student's "
      "progress chart.",
      this);
  lblAttention_->setObjectName("lblAttention");
  lblAttention_->setWordWrap(true);
  lblStatus_ = new QLabel(this);
  lblStatus_->setObjectName("lblStatus");
  lblStatus_->setWordWrap(true);
  lblStatus_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  cmdChart_ = new QPushButton("Progress Chart", this);
  cmdChart_->setObjectName("cmdChart");
  cmdChart_->setAutoDefault(false);
  cmdMenu_ = new QPushButton("Return to Menu", this);
  cmdMenu_->setObjectName("cmdMenu");
  cmdMenu_->setAutoDefault(false);

  auto* layout = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;
  top->addWidget(lblClass_);
  top->addWidget(cboClass_);
  top->addStretch();
  layout->addLayout(top);
  layout->addWidget(grdLab_, 1);
  layout->addWidget(lblAttention_);
  layout->addWidget(lblStatus_);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(cmdChart_);
  buttons->addStretch();
  buttons->addWidget(cmdMenu_);
  layout->addLayout(buttons);

  connect(cboClass_, &QComboBox::currentIndexChanged, this, [this] { FillTable(); });
  connect(grdLab_, &QTableWidget::activated, this,
          [this](const QModelIndex& index) { ShowChart(index.row()); });
  connect(grdLab_, &QTableWidget::itemSelectionChanged, this, &frmLab::SelectionChanged);
  connect(cmdChart_, &QPushButton::clicked, this, &frmLab::cmdChart_Click);
  connect(cmdMenu_, &QPushButton::clicked, this, &QDialog::accept);

  follower_ = new FolderFollower(
      services_.folder, {kClassesFile, kStudentsFile, kRecordsFile, kDiagFile},
      [this] { LookNow(); }, this);
  LookNow();
  SelectionChanged();
  resize(std::max(sizeHint().width(), 1000), 560);  // CenterForm fits it to the screen
  CenterForm(*this);
}

frmLab::~frmLab() = default;

void frmLab::LookNow() {
  const Status s = watch_.Look();
  failure_ = s.ok() ? std::string() : s.ToString();
  FillClasses();
  FillTable();
}

void frmLab::FillClasses() {
  std::vector<std::string> classes = watch_.classes();
  std::sort(classes.begin(), classes.end());  // as the windows' class lists order them
  if (classes == classes_shown_ && cboClass_->count() > 0) return;
  // The class chosen stays chosen, wherever it now stands.
  const int chosen = ChosenClass();
  classes_shown_ = std::move(classes);
  const QSignalBlocker quiet(cboClass_);
  cboClass_->clear();
  cboClass_->addItem("All Classes", kAllClasses);
  for (const std::string& c : classes_shown_) {
    cboClass_->addItem(ToQString(ClassDisplayName(c)), ClassNumberOf(c));
  }
  const int at = cboClass_->findData(chosen);
  cboClass_->setCurrentIndex(at < 0 ? 0 : at);
}

int frmLab::ChosenClass() const {
  return cboClass_->count() == 0 ? kAllClasses : cboClass_->currentData().toInt();
}

void frmLab::FillTable() {
  const DateTime now = services_.clock.Now();
  // The student selected stays selected, and the view where it was.
  const int row_before = grdLab_->selectedItems().isEmpty() ? -1 : grdLab_->currentRow();
  const int selected = row_before >= 0 && row_before < static_cast<int>(rows_.size())
                           ? StudentKey(rows_[static_cast<std::size_t>(row_before)].last)
                           : -1;
  const int scroll_x = grdLab_->horizontalScrollBar()->value();
  const int scroll_y = grdLab_->verticalScrollBar()->value();
  rows_ = watch_.Rows(ChosenClass(), SecondsOf(now));
  const QSignalBlocker quiet(grdLab_);
  grdLab_->setUpdatesEnabled(false);
  grdLab_->clearContents();
  grdLab_->setRowCount(static_cast<int>(rows_.size()));
  int select = -1;
  for (int r = 0; r < static_cast<int>(rows_.size()); ++r) {
    const LabRow& row = rows_[static_cast<std::size_t>(r)];
    const std::string attention = LabAttention(row);
    // Said for screen readers with every cell of the row.
    const QString reason = ToQString(row.last.student_name +
                                     (attention.empty() ? "" : ": needs attention: " + attention));
    for (int c = 0; c < kLabColumns; ++c) {
      auto* item = new QTableWidgetItem(ToQString(LabCell(row, c)));
      if (c >= kLabPercent && c <= kLabFailed && c != kLabResult) {
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      }
      item->setData(Qt::AccessibleDescriptionRole, reason);
      if (c == 0) item->setData(kStudentRole, StudentKey(row.last));
      if (row.failed_test || row.idle) {
        item->setBackground(row.failed_test ? kFailedColor : kIdleColor);
        item->setForeground(Qt::black);
        if (c == kLabStudent || c == kLabAttention) {
          QFont font = item->font();
          font.setBold(true);
          item->setFont(font);
        }
      }
      grdLab_->setItem(r, c, item);
    }
    if (StudentKey(row.last) == selected) select = r;
  }
  // One class chosen: its name on every row says nothing.
  grdLab_->setColumnHidden(kLabClass, ChosenClass() != kAllClasses);
  grdLab_->resizeColumnsToContents();
  if (select >= 0) {
    grdLab_->setCurrentCell(select, 0);
    grdLab_->selectRow(select);
  }
  grdLab_->setUpdatesEnabled(true);
  grdLab_->horizontalScrollBar()->setValue(scroll_x);
  grdLab_->verticalScrollBar()->setValue(scroll_y);
  // The status line: what keeps part of the files from view, else how they
  // are followed.
  std::string status = failure_;
  for (const std::string& note : watch_.notes()) status += (status.empty() ? "" : "\n") + note;
  if (status.empty()) {
    status = std::string(rows_.empty() ? "No student has worked today yet. " : "") +
             (follower_->announced()
                  ? "The lessons' records are shown as they are written."
                  : "The program folder is a share: it is looked at every 2 seconds.");
  }
  lblStatus_->setText(ToQString(status));
  SelectionChanged();
}

void frmLab::SelectionChanged() {
  cmdChart_->setEnabled(grdLab_->currentRow() >= 0 && !grdLab_->selectedItems().isEmpty());
}

void frmLab::cmdChart_Click() { ShowChart(grdLab_->currentRow()); }

void frmLab::ShowChart(int row) {
  if (row < 0 || row >= static_cast<int>(rows_.size())) return;
  const LabLine student = rows_[static_cast<std::size_t>(row)].last;
  // The student's whole record, read as the records windows read it.
  WorkingLists lists;
  Status s = lists.Build(services_.folder);
  if (!s.ok()) {
    SayFailure(services_.dialogs, services_.folder, "The progress chart cannot be shown.\r\r", s);
    return;
  }
  SummaryRequest request;
  request.classnum = student.classnum;
  request.passing_grade = watch_.PassingGrade(student.classnum);
  SharedValues& v = services_.values;
  frmProgressChart chart(services_,
                         StudentProgress(lists, {v.Catalogue, v.UnitTestNames}, request,
                                         student.student, student.student_name),
                         student.class_name, SummaryRange{}, this);
  services_.dialogs.ShowModal(chart);
}

}  // namespace quillon
