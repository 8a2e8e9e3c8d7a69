// The records display and the class summary in the real windows, offscreen,
// on the largest folder (32,767 records, 20,000 of class 1): from the click
// on "Display Records for All Students In Class" to the filled list painted
// on the screen, a change of sort option to the re-sorted list painted, and
// the summary's table, range and chart likewise; against the display
// builder's run alone, in the same run.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <chrono>
#include <functional>

#include "BenchFolder.h"
#include "data/LessonCatalogue.h"
#include "gui/platform/Dialogs.h"
#include "gui/records/frmDisplay.h"
#include "gui/records/frmStudents.h"
#include "gui/records/frmSummary.h"
#include "platform/Clock.h"
#include "platform/PosixFolder.h"
#include "records/DisplayBuilder.h"
#include "records/Summary.h"

namespace quillon::bench {
namespace {

// Dialogs whose modal windows run `in_window` and close.
class BenchDialogs : public Dialogs {
 public:
  Answer MessageBox(const std::string&, Buttons, Icon, const Title&) override {
    return Answer::kOk;
  }
  std::string InputBox(const std::string&, const std::string&, const std::string&, int) override {
    return std::string();
  }
  std::string SaveFileName(const std::string&, const std::string&, const std::string&) override {
    return std::string();
  }
  void Beep() override {}
  void SetBusy(bool) override {}
  int ShowModal(QDialog& window) override {
    window.show();
    if (in_window) in_window(window);
    window.hide();
    return QDialog::Accepted;
  }
  void EndProgram(int) override {}
  bool Ended() const override { return false; }
  std::function<void(QDialog&)> in_window;
};

// A printer that is never used here.
class NoPrinter : public Printer {
 public:
  bool ChooseDestination(const std::string&, Orientation) override { return true; }
  int SetFont(const std::string&, double) override { return 0; }
  Orientation GetOrientation() override { return Orientation::kPortrait; }
  int SetOrientation(Orientation) override { return 0; }
  double PageHeight() override { return 11; }
  double CurrentX() override { return 0; }
  double CurrentY() override { return 0; }
  void SetPosition(double, double) override {}
  int PrintLine(const std::string&) override { return 0; }
  int DrawPicture(const Drawing&) override { return 0; }
  int PageNumber() override { return 1; }
  int NewPage() override { return 0; }
  int EndDocument() override { return 0; }
  void AbandonDocument() override {}
};

struct Program {
  PosixFolder folder{LargestFolder()};
  BenchDialogs dialogs;
  SystemClock clock;
  NoPrinter printer;
  SharedValues values;
  Services services() { return {folder, dialogs, clock, printer, values}; }
  Program() {
    if (!LoadLessons(folder, &values.Catalogue).ok()) throw std::runtime_error("LESSONS.DAT");
    FillUnitTestNames(&values.UnitTestNames);
  }
};

// Selects class 1 (20,000 records) in the window's class list.
void SelectClass1(frmStudents& window) {
  auto* classes = window.findChild<QListWidget*>("lstClasses");
  for (int row = 0; row < classes->count(); ++row) {
    if (classes->item(row)->data(Qt::UserRole).toString().mid(30, 2) == "1 ") {
      classes->setCurrentRow(row);
    }
  }
}

// Paints the window as the screen would show it.
void Paint(QWidget& window) { benchmark::DoNotOptimize(window.grab()); }

void BM_CoreDisplayOfTheClass(benchmark::State& state) {
  Program p;
  WorkingLists lists;
  DisplayRequest request;
  request.classnum = 1;
  DisplayResult result;
  for (auto _ : state) {
    Status s =
        DisplayNew(p.folder, {p.values.Catalogue, p.values.UnitTestNames}, request, lists, &result);
    if (!s.ok()) state.SkipWithError(s.ToString().c_str());
  }
  state.counters["lines"] = static_cast<double>(result.lines.size());
}

void BM_ClickToPaintedList(benchmark::State& state) {
  Program p;
  frmStudents window(p.services());
  window.show();
  SelectClass1(window);
  int lines = 0;
  p.dialogs.in_window = [&](QDialog& display) {
    Paint(display);
    lines = static_cast<frmDisplay&>(display).LineCount();
  };
  QPushButton* all = window.findChild<QPushButton*>("cmdAll0");
  for (auto _ : state) all->click();
  state.counters["lines"] = lines;
}

void BM_OptionChangeToPaintedList(benchmark::State& state) {
  Program p;
  frmStudents window(p.services());
  window.show();
  SelectClass1(window);
  p.dialogs.in_window = [&](QDialog& display) {
    Paint(display);
    auto* percent = display.findChild<QRadioButton*>("optSort1");
    auto* lesson = display.findChild<QRadioButton*>("optSort3");
    bool flip = false;
    state.counters["lines"] = static_cast<frmDisplay&>(display).LineCount();
    for (auto _ : state) {
      (flip ? percent : lesson)->click();
      Paint(display);
      flip = !flip;
    }
  };
  window.findChild<QPushButton*>("cmdAll0")->click();
}

// The class summary: the figures alone, the click on "Class Summary" to the
// painted table, a change of range to the repainted table, and the click on
// "Progress Chart" to the painted chart of the first student.
void BM_CoreSummaryOfTheClass(benchmark::State& state) {
  Program p;
  WorkingLists lists;
  SummaryRequest request;
  request.classnum = 1;
  std::vector<SummaryRow> rows;
  for (auto _ : state) {
    Status s = BuildClassSummary(p.folder, lists, false, request, &rows);
    if (!s.ok()) state.SkipWithError(s.ToString().c_str());
  }
  state.counters["rows"] = static_cast<double>(rows.size());
}

void BM_SummaryClickToPaintedTable(benchmark::State& state) {
  Program p;
  frmStudents window(p.services());
  window.show();
  SelectClass1(window);
  p.dialogs.in_window = [&](QDialog& summary) { Paint(summary); };
  QPushButton* button = window.findChild<QPushButton*>("cmdSummary");
  for (auto _ : state) button->click();
}

void BM_SummaryRangeChangeToPaintedTable(benchmark::State& state) {
  Program p;
  frmStudents window(p.services());
  window.show();
  SelectClass1(window);
  p.dialogs.in_window = [&](QDialog& summary) {
    Paint(summary);
    auto* from = summary.findChild<QLineEdit*>("txtFrom");
    QPushButton* dates = summary.findChild<QPushButton*>("cmdDates");
    bool flip = false;
    for (auto _ : state) {
      from->setText(flip ? "" : "01/01/27");
      dates->click();
      Paint(summary);
      flip = !flip;
    }
  };
  window.findChild<QPushButton*>("cmdSummary")->click();
}

void BM_ChartClickToPaintedChart(benchmark::State& state) {
  Program p;
  frmStudents window(p.services());
  window.show();
  SelectClass1(window);
  p.dialogs.in_window = [&](QDialog& summary) {
    if (summary.objectName() != "frmSummary") {
      Paint(summary);
      return;
    }
    summary.findChild<QTableWidget*>("grdSummary")->selectRow(0);
    QPushButton* chart = summary.findChild<QPushButton*>("cmdChart");
    for (auto _ : state) chart->click();
  };
  window.findChild<QPushButton*>("cmdSummary")->click();
}

BENCHMARK(BM_CoreDisplayOfTheClass)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClickToPaintedList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OptionChangeToPaintedList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CoreSummaryOfTheClass)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SummaryClickToPaintedTable)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SummaryRangeChangeToPaintedTable)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChartClickToPaintedChart)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillon::bench

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
