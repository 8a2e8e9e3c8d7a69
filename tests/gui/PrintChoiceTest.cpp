// Every print of every window asks where to print, after the readiness
// message where there is one: Cancel in the print dialog prints nothing,
// begins no job and leaves the printer as it was; OK then prints.
#include "data/ActivityRecord.h"
#include "data/ClassFiles.h"
#include "data/DiagFile.h"
#include "gui/classes/frmClasses.h"
#include "gui/diagnostics/frmDiagnostics.h"
#include "gui/records/frmProgressChart.h"
#include "gui/records/frmStudents.h"
#include "gui/records/frmSummary.h"
#include "support/core/Builders.h"
#include "support/gui/GuiFixture.h"

namespace quillon {
namespace {

using testing::ActRec;
using testing::ClassRec;
using testing::DiagRec;
using testing::StudentRec;

class PrintChoiceTest : public testing::GuiTest {
 protected:
  void SetUp() override {
    dir.Write("LESSONS.DAT", testing::MinimalLessons());
    ASSERT_TRUE(LoadLessons(dir.folder(), &values.Catalogue).ok());
    dir.Write(kClassesFile, ClassRec("Algebra", "070", "1"));
    dir.Write(kStudentsFile, StudentRec("Ann Lee", "1", "1", "KLM"));
    dir.Write(kRecordsFile, ActRec("C1", "1", "1", "091526", "01", "51", "10", "9", "5"));
    const std::string key(30, 'A');
    dir.Write(kDiagFile, DiagRec("C1", "1", "1", "091526", key, key));
  }
};

TEST_F(PrintChoiceTest, CancelInThePrintDialogPrintsNothingInEveryWindow) {
  printer.cancel_destination = true;
  frmStudents students(services());
  students.show();
  auto s = Drive(students);
  s.Select("lstClasses", 0);
  dialogs.ExpectMessage("Turn printer on, then click OK", Buttons::kOk, Icon::kNone,
                        Title::Text("Printing Student Records"), Answer::kOk);
  s.Click("cmdAll", 1);
  // The class summary, and from it a student's chart.
  dialogs.ExpectModal<frmSummary>([&](frmSummary& w) {
    auto d = Drive(w);
    d.Click("cmdPrint");
    d.Select("grdSummary", 0);
    dialogs.ExpectModal<frmProgressChart>(
        [&](frmProgressChart& chart) { Drive(chart).Click("cmdPrint"); });
    d.Click("cmdChart");
  });
  s.Click("cmdSummary");

  frmDiagnostics diagnostics(services());
  diagnostics.show();
  auto g = Drive(diagnostics);
  g.Select("lstClasses", 0);
  g.Click("cmdAll", 1);

  frmClasses classes(services());
  classes.show();
  auto c = Drive(classes);
  c.Select("lstClasses", 0);
  c.Click("cmdPrintSlips");

  EXPECT_EQ(
      printer.destinations,
      (std::vector<std::string>{"Student Records, landscape", "Class Summary, landscape",
                                "Progress Chart, landscape", "Diagnostic Test Results, portrait",
                                "Log-in Slips, portrait"}));
  EXPECT_TRUE(printer.documents.empty());
  EXPECT_TRUE(printer.pages.empty());  // no job begun
  EXPECT_EQ(printer.abandoned, 0);
  EXPECT_EQ(printer.GetOrientation(), Orientation::kPortrait);
  EXPECT_TRUE(dialogs.Done());

  // OK in the dialog prints.
  printer.cancel_destination = false;
  c.Click("cmdPrintSlips");
  ASSERT_EQ(printer.documents.size(), 1u);
  EXPECT_EQ(printer.documents[0][0].lines[9].text, "Class:    Algebra");
}

}  // namespace
}  // namespace quillon
