// The diagnostic results window and the report window, driven as an
// instructor would.
#include "data/ClassFiles.h"
#include "data/DiagFile.h"
#include "gui/diagnostics/frmDiagnostics.h"
#include "gui/diagnostics/frmDisplayDiagnostics.h"
#include "support/core/Builders.h"
#include "support/gui/GuiFixture.h"

namespace quillon {
namespace {

using testing::ClassRec;
using testing::DiagRec;
using testing::StudentRec;

const std::string kKey = "ABCDEABCDEABCDEABCDEABCDEABCDE";
const std::string kAnnC2 = DiagRec("C2", "7", "3", "091626", std::string(30, 'x'), kKey);
const std::string kAnnC1 = DiagRec("C1", "7", "3", "091526", kKey, kKey);
const std::string kGone = DiagRec("C1", "7", "9", "091726", kKey, kKey);  // not on the roster
const std::string kBob = DiagRec("C1", "7", "4", "091826", kKey, kKey);
const std::string kOther = DiagRec("C1", "8", "3", "091926", kKey, kKey);

class DiagnosticsWindowsTest : public testing::GuiTest {
 protected:
  void SetUp() override {
    dir.Write(kClassesFile, ClassRec("A class of twenty-seven ch", "060", "7") +
                                ClassRec("Empty", "060", "8") + ClassRec("None", "060", "6"));
    dir.Write(kStudentsFile, StudentRec("Ann Baker", "3", "7") + StudentRec("Bob", "4", "7"));
    dir.Write(kDiagFile, kAnnC2 + kBob + kOther + kAnnC1 + kGone);
  }
  frmDiagnostics& Open() {
    window_ = std::make_unique<frmDiagnostics>(services());
    window_->show();
    return *window_;
  }
  testing::WindowDriver d() { return Drive(*window_); }
  std::string Buttons() { return d().States("cmdAll", 0, 2) + d().States("cmdSelected", 0, 2); }
  std::unique_ptr<frmDiagnostics> window_;
};

TEST_F(DiagnosticsWindowsTest, AClassWithoutResultsOpensAnEmptyReportWindow) {
  Open();
  EXPECT_EQ(window_->windowTitle(),
            "Quillon Student Recordkeeping System - DIAGNOSTIC TEST RESULTS");
  EXPECT_EQ(Buttons(), "000000");
  d().Select("lstClasses", 2);  // "None": no results
  EXPECT_TRUE(d().Items("lstStudents").empty());
  EXPECT_EQ(Buttons(), "111000");
  dialogs.ExpectModal<frmDisplayDiagnostics>([this](frmDisplayDiagnostics& w) {
    EXPECT_EQ(w.windowTitle(), "STUDENT DIAGNOSTICS: All Students");
    EXPECT_EQ(Drive(w).Text("lblHeading"), "Diagnostic Test Results");
    EXPECT_TRUE(Drive(w).Items("lstRecords").empty());
  });
  d().Click("cmdAll", 0);
  d().Click("cmdAll", 1);  // printing it prints nothing
  ASSERT_EQ(printer.documents.size(), 1u);
  EXPECT_TRUE(printer.documents.back().empty());
}

TEST_F(DiagnosticsWindowsTest, EntriesByNameThenRecordAndAllReportsWithSeparators) {
  Open();
  d().Select("lstClasses", 0);
  const std::string ann = FixWidth("Ann Baker", 50);
  // The removed student (empty name) first; Ann's C1 before her C2.
  EXPECT_EQ(d().Items("lstStudents"),
            (std::vector<std::string>{std::string(50, ' ') + kGone, ann + kAnnC1, ann + kAnnC2,
                                      FixWidth("Bob", 50) + kBob}));
  EXPECT_EQ(d().Shown("lstStudents"),
            (std::vector<std::string>{"", "Ann Baker", "Ann Baker", "Bob"}));
  dialogs.ExpectModal<frmDisplayDiagnostics>([this](frmDisplayDiagnostics& w) {
    const std::vector<std::string>& lines = w.records();
    // 41 lines for an all-correct "C1", 87 for an all-wrong "C2".
    ASSERT_EQ(lines.size(), 41u + 4 + 41 + 4 + 87 + 4 + 41);
    EXPECT_EQ(lines[2], "Student: ");
    EXPECT_EQ(lines[41], " ");
    EXPECT_EQ(lines[42], std::string(94, '='));
    EXPECT_EQ(lines[43], std::string(94, '='));
    EXPECT_EQ(lines[44], " ");
    EXPECT_EQ(lines[45], "Pre-Algebra Diagnostic Test Results");
    EXPECT_EQ(lines[47], "Student: Ann Baker            ");
    EXPECT_EQ(lines[90], "Algebra 1 Diagnostic Test Results");
    EXPECT_EQ(Drive(w).Items("lstRecords"), lines);
  });
  d().Click("cmdAll", 0);
}

TEST_F(DiagnosticsWindowsTest, TheRemovedStudentCanBeShownPrintedAndErased) {
  Open();
  d().Select("lstClasses", 0);
  d().Select("lstStudents", 0);
  EXPECT_EQ(window_->SelectedDiagRecord(), kGone);
  EXPECT_EQ(Buttons(), "111111");
  dialogs.ExpectModal<frmDisplayDiagnostics>([](frmDisplayDiagnostics& w) {
    EXPECT_EQ(w.windowTitle(), "STUDENT DIAGNOSTICS: ");
    EXPECT_EQ(w.records().size(), 41u);
  });
  d().Click("cmdSelected", 0);
  d().Click("cmdSelected", 1);
  ASSERT_EQ(printer.documents.size(), 1u);
  EXPECT_EQ(printer.documents[0].size(), 2u);
  dialogs.ExpectMessage(
      "Are you sure you want to erase this student's Diagnostic Test results?"
      "\r\n\r\n",
      Buttons::kYesNoDefaultNo, Icon::kNone, Title::Text(""), Answer::kYes);
  d().Click("cmdSelected", 2);
  EXPECT_EQ(dir.Read(kDiagFile), kAnnC2 + kBob + kOther + kAnnC1);
}

TEST_F(DiagnosticsWindowsTest, ErasingAStudentRemovesBothResultsAndNoStillRebuildsTheList) {
  Open();
  d().Select("lstClasses", 0);
  d().Select("lstStudents", 2);  // Ann's C2
  dialogs.ExpectMessage(
      "Are you sure you want to erase this student's Diagnostic Test results?\r\n\r\nAnn Baker",
      Buttons::kYesNoDefaultNo, Icon::kNone, Title::Text(""), Answer::kNo);
  d().Click("cmdSelected", 2);
  EXPECT_EQ(dir.Read(kDiagFile), kAnnC2 + kBob + kOther + kAnnC1 + kGone);
  EXPECT_EQ(d().Selected("lstStudents"), -1);
  EXPECT_EQ(Buttons(), "111000");

  d().Select("lstStudents", 1);
  dialogs.ExpectMessage(
      "Are you sure you want to erase this student's Diagnostic Test results?\r\n\r\nAnn Baker",
      Buttons::kYesNoDefaultNo, Icon::kNone, Title::Text(""), Answer::kYes);
  d().Click("cmdSelected", 2);
  EXPECT_EQ(dir.Read(kDiagFile), kBob + kOther + kGone);  // both of Ann's, only those
  EXPECT_EQ(dir.Read("Diag.TMP"), kBob + kOther + kGone);
  EXPECT_EQ(d().Items("lstStudents").size(), 2u);
  EXPECT_EQ(Buttons(), "111000");
  // The focus is on the list the erase changed, not on a button beside it.
  EXPECT_EQ(window_->focusWidget(), &d().Get("lstStudents"));

  // The whole class; its name cut to 25 characters in the question.
  dialogs.ExpectMessage(
      "Are you sure you want to erase the Diagnostic Test results for ALL students in this "
      "class?\r\n\r\nA class of twenty-seven c",
      Buttons::kYesNoDefaultNo, Icon::kNone, Title::Text(""), Answer::kYes);
  d().Click("cmdAll", 2);
  EXPECT_EQ(dir.Read(kDiagFile), kOther);
  EXPECT_TRUE(d().Items("lstStudents").empty());
}

TEST_F(DiagnosticsWindowsTest, AResultWithoutAStudentNumberIsNotErasedAsTheWholeClass) {
  const std::string unnumbered = DiagRec("C1", "7", "  ", "091726", kKey, kKey);
  dir.Write(kDiagFile, kAnnC1 + unnumbered);
  Open();
  d().Select("lstClasses", 0);
  d().Select("lstStudents", 0);
  ASSERT_EQ(window_->SelectedDiagRecord(), unnumbered);
  dialogs.ExpectMessage(
      "This student has no student number in the file, so the student cannot "
      "be told apart from the rest of the class.\r\n\r\nNothing was changed.",
      Buttons::kOk, Icon::kCritical, Title::Default(), Answer::kOk);
  d().Click("cmdSelected", 2);
  EXPECT_EQ(dir.Read(kDiagFile), kAnnC1 + unnumbered);
  EXPECT_TRUE(dialogs.Done());
}

TEST_F(DiagnosticsWindowsTest, PrintAllPrintsEveryListedReport) {
  Open();
  d().Select("lstClasses", 0);
  d().Click("cmdAll", 1);
  ASSERT_EQ(printer.documents.size(), 1u);
  EXPECT_EQ(printer.documents[0].size(), 8u);  // four results, two pages each
}

}  // namespace
}  // namespace quillon
