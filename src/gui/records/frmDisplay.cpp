#include "gui/records/frmDisplay.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QVBoxLayout>

#include "base/Text.h"
#include "gui/platform/CenterForm.h"
#include "gui/platform/Controls.h"
#include "gui/platform/Encoding.h"
#include "gui/platform/ListBox.h"
#include "gui/platform/Messages.h"

namespace quillon {
namespace {

// A frame of option buttons, the array index of each given with its
// caption, top to bottom.
QGroupBox* OptionFrame(QWidget* parent, const char* name, const char* caption,
                       const char* option_name,
                       std::initializer_list<std::pair<int, const char*>> options,
                       QRadioButton** array) {
  auto* frame = new QGroupBox(caption, parent);
  frame->setObjectName(name);
  auto* column = new QVBoxLayout(frame);
  for (auto [index, text] : options) {
    auto* option = new QRadioButton(text, frame);
    option->setObjectName(QString("%1%2").arg(option_name).arg(index));
    array[index] = option;
    column->addWidget(option);
  }
  return frame;
}

// The column headings, each over its columns of the 106-column screen line
// (first column from 1, width), its words wrapped within them.
struct Heading {
  const char* name;
  const char* caption;
  int column, width;
};
constexpr Heading kHeadings[] = {
    {"lblName", "Name", 1, 16},
    {"lblDate", "Date", 18, 6},
    {"lblCourse", "Course", 25, 9},
    {"lblTopic", "Lesson", 35, 24},
    {"lblActivity", "Activity", 61, 11},
    {"lblAttempted", "Probs Att.", 72, 5},
    {"lblCorrect", "Probs Corr.", 77, 6},
    {"lblPercent", "Pct. Corr.", 83, 6},
    {"lblGrade", "Practice Grade*", 89, 8},
    {"lblPassTest", "Pass Test?**", 97, 7},
    {"lblMinutes", "Mins.", 104, 4},
};

// Checks `option` without running its click handler (the other options of
// its frame are unchecked as usual).
void CheckQuietly(QRadioButton* option) {
  const QSignalBlocker quiet(option);
  option->setChecked(true);
}

}  // namespace

frmDisplay::frmDisplay(Services services, WorkingLists& lists, QWidget* parent)
    : QDialog(parent), services_(services), lists_(lists) {
  setObjectName("frmDisplay");
  QGroupBox* groups = OptionFrame(
      this, "fraDataToView", "Select Data to View", "optDataGroup",
      {{3, "Most recent test in each lesson/unit"}, {2, "Tests only"}, {1, "All records"}},
      optDataGroup_.data());
  QGroupBox* sorts =
      OptionFrame(this, "fraSortBy", "Sort By:", "optSort",
                  {{3, "Lesson"}, {2, "Date"}, {1, "Percent"}, {0, "Name"}}, optSort_.data());
  QGroupBox* directions = OptionFrame(this, "fraSortDir", "Sort Direction:", "optSortDir",
                                      {{1, "Decreasing"}, {0, "Increasing"}}, optSortDir_.data());
  // At design time: all records, by name, increasing.
  optDataGroup_[OptionIndex(DataGroup::kAllRecords)]->setChecked(true);
  optSort_[OptionIndex(SortBy::kName)]->setChecked(true);
  optSortDir_[OptionIndex(SortDirection::kIncreasing)]->setChecked(true);
  ConnectOptions(this, optDataGroup_, [this](int i) { optDataGroup_Click(i); });
  ConnectOptions(this, optSort_, [this](int i) { optSort_Click(i); });
  ConnectOptions(this, optSortDir_, [this](int i) { optSortDir_Click(i); });

  lstRecords_ =
      new LinesView("lstRecords",
                    "Records: Name, Date, Course, Lesson, Activity, Problems attempted, "
                    "Problems correct, Percent correct, Practice grade, Pass test, Minutes",
                    10, false, this);
  // Where column c of a line starts: the list's frame, the item's text
  // margin, then c - 1 characters of the font in use (whose width is seldom
  // a whole number of pixels: multiplying a rounded width drifts).
  const QFontMetricsF metrics(lstRecords_->font());
  const int inset =
      lstRecords_->frameWidth() +
      lstRecords_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, lstRecords_) + 1;
  auto column_x = [&](int column) {
    return inset + qRound(metrics.horizontalAdvance(QString(column - 1, 'M')));
  };
  // At least 8 lines; the window opens taller, and wide enough for whole
  // lines, where the screen allows; on a smaller screen the lines and their
  // headings scroll sideways.
  full_width_ = column_x(107) + inset + lstRecords_->verticalScrollBar()->sizeHint().width();
  lstRecords_->setMinimumSize(300, 8 * lstRecords_->fontMetrics().lineSpacing());
  auto* headings = new QWidget(this);
  int tallest = 0;
  for (const Heading& h : kHeadings) {
    auto* label = new QLabel(h.caption, headings);
    label->setObjectName(h.name);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    label->setFixedWidth(column_x(h.column + h.width) - column_x(h.column));
    label->move(column_x(h.column), 0);
    label->setProperty("x", label->x());
    tallest = std::max(tallest, label->heightForWidth(label->width()));
  }
  // The headings scroll sideways with the lines.
  connect(lstRecords_->horizontalScrollBar(), &QScrollBar::valueChanged, headings,
          [headings](int by) {
            for (QLabel* label : headings->findChildren<QLabel*>()) {
              label->move(label->property("x").toInt() - by, 0);
            }
          });
  for (QLabel* label : headings->findChildren<QLabel*>()) {
    label->setFixedHeight(tallest);
  }
  headings->setFixedHeight(tallest);
  headings->setMinimumWidth(lstRecords_->minimumWidth());
  lstRecords_->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);  // as the headings move

  lblTestPassingGradeComment_ = new QLabel(this);
  lblTestPassingGradeComment_->setObjectName("lblTestPassingGradeComment");
  lblPracticeGradeComment_ = new QLabel(this);
  lblPracticeGradeComment_->setObjectName("lblPracticeGradeComment");
  cmdOK_ = new QPushButton("Close", this);
  cmdOK_->setObjectName("cmdOK");
  cmdOK_->setDefault(true);
  connect(cmdOK_, &QPushButton::clicked, this, &frmDisplay::cmdOK_Click);

  auto* layout = new QVBoxLayout(this);
  auto* options = new QHBoxLayout;
  options->addWidget(groups);
  options->addWidget(sorts);
  options->addWidget(directions);
  options->addStretch();
  layout->addLayout(options);
  layout->addWidget(headings);
  layout->addWidget(lstRecords_, 1);
  auto* bottom = new QGridLayout;
  bottom->addWidget(lblTestPassingGradeComment_, 0, 0);
  bottom->addWidget(lblPracticeGradeComment_, 1, 0);
  bottom->addWidget(cmdOK_, 0, 1, 2, 1, Qt::AlignRight | Qt::AlignVCenter);
  layout->addLayout(bottom);
  Form_Load();
}

void frmDisplay::Form_Load() {
  SharedValues& v = services_.values;
  lblTestPassingGradeComment_->setText(ToQString(" ** - The passing grade for a test is " +
                                                 GeneralNumber(v.PassingGrade) + " percent "));
  lblPracticeGradeComment_->setText(
      " * - Practice grades are given when 5 or more problems are attempted ");
  // The options show the settings in force (their handlers change nothing
  // when a setting is already the one chosen).
  CheckOption(optDataGroup_, v.DataGroup);
  CheckOption(optSort_, v.SortBy);
  CheckOption(optSortDir_, v.SortDirection);
  adjustSize();
  const int margins = layout()->contentsMargins().left() + layout()->contentsMargins().right();
  resize(std::max(width(), full_width_ + margins),
         height() + 16 * lstRecords_->fontMetrics().lineSpacing());  // CenterForm fits it
  CenterForm(*this);
}

int frmDisplay::LineCount() const { return lstRecords_->ListCount(); }

int frmDisplay::DisplayNew(int classnum, int studentnum) {
  SharedValues& v = services_.values;
  LastDisplayClass_ = classnum;
  LastDisplayStudent_ = studentnum;
  DisplayRequest request;
  request.classnum = classnum;
  request.studentnum = studentnum;
  request.data_group = v.Group();
  request.sort_by = v.Sort();
  request.sort_direction = v.Direction();
  request.reuse_working_lists = ReuseWorkingLists_;
  DisplayResult result;
  Status s = quillon::DisplayNew(services_.folder, {v.Catalogue, v.UnitTestNames}, request, lists_,
                                 &result);
  const int found = static_cast<int>(result.lines.size());
  if (!s.ok()) {
    SayFailure(services_.dialogs, services_.folder, "The records cannot be shown.\r\r", s);
    return found;
  }
  if (result.lines.empty()) {
    services_.dialogs.MessageBox("No records found.", Buttons::kOk, Icon::kNone, Title::Default());
    return found;
  }
  if (result.one_student) {
    // One student's records are in date order: Date stands in for Name.
    QRadioButton* name = optSort_[OptionIndex(SortBy::kName)];
    if (name->isChecked()) {
      v.SortBy = OptionIndex(SortBy::kDate);
      CheckQuietly(optSort_[OptionIndex(SortBy::kDate)]);
    }
    name->setEnabled(false);
  }
  CheckQuietly(optDataGroup_[static_cast<std::size_t>(v.DataGroup)]);
  shown_ = std::move(result);
  const TitleTables tables{v.Catalogue, v.UnitTestNames};
  const double grade = v.PassingGrade;
  lstRecords_->SetLines(static_cast<int>(shown_.lines.size()), [this, tables, grade](int row) {
    return FormatRecordLine(tables, shown_.lines.RecordLine(static_cast<std::size_t>(row)), grade);
  });
  return found;
}

int frmDisplay::DisplayAgain() {
  ReuseWorkingLists_ = true;
  return DisplayNew(LastDisplayClass_, LastDisplayStudent_);
}

void frmDisplay::optDataGroup_Click(int index) {
  SharedValues& v = services_.values;
  if (index == v.DataGroup) return;
  const int previous = v.DataGroup;
  v.DataGroup = index;
  if (DisplayAgain() == 0 && !services_.dialogs.Ended()) {
    // The list keeps the previous group's lines: so do the option and the
    // setting.
    v.DataGroup = previous;
    CheckQuietly(optDataGroup_[static_cast<std::size_t>(previous)]);
  }
}

void frmDisplay::optSort_Click(int index) {
  SharedValues& v = services_.values;
  if (index == v.SortBy) return;
  v.SortBy = index;
  DisplayAgain();
}

void frmDisplay::optSortDir_Click(int index) {
  SharedValues& v = services_.values;
  if (index == v.SortDirection) return;
  v.SortDirection = index;
  DisplayAgain();
}

}  // namespace quillon
