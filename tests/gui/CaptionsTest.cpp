// The texts every window shows, control by control, and the names screen
// readers give its lists and text boxes: the words of their headings.
#include <functional>
#include <map>
#include <memory>

#include "gui/classes/frmClasses.h"
#include "gui/classes/frmStudentName.h"
#include "gui/diagnostics/frmDiagnostics.h"
#include "gui/diagnostics/frmDisplayDiagnostics.h"
#include "gui/diagnostics/frmOverview.h"
#include "gui/export/frmOutput.h"
#include "gui/records/frmDisplay.h"
#include "gui/records/frmLab.h"
#include "gui/records/frmStudents.h"
#include "gui/restore/frmRestore.h"
#include "support/core/Builders.h"
#include "support/gui/GuiFixture.h"

namespace quillon {
namespace {

struct Caption {
  const char* control;
  int index;  // -1: not a control array
  const char* text;
};

struct Window {
  const char* name;
  std::function<std::unique_ptr<QWidget>(Services, WorkingLists&)> make;
  std::vector<Caption> captions;
  std::vector<std::pair<const char*, const char*>> accessible_names;
};

const Window kWindows[] = {
    {"frmClasses",
     [](Services s, WorkingLists&) { return std::make_unique<frmClasses>(s); },
     {{"Label1", 0, "Classes"},
      {"Label1", 1, "Students in Class"},
      {"cmdClass", 0, "Create a New Class"},
      {"cmdClass", 1, "Delete Selected Class"},
      {"cmdClass", 2, "Erase All Classes"},
      {"cmdClass", 3, "Edit Class Name"},
      {"cmdStudent", 0, "Add a Student to Class"},
      {"cmdStudent", 1, "Delete Student from Class"},
      {"cmdStudent", 2, "Erase All Students in a Class"},
      {"cmdStudent", 3, "Edit Student Name"},
      {"Frame1", -1, "Passing Grade"},
      {"optPassingGrade", 1, "50%"},
      {"optPassingGrade", 6, "100%"},
      {"cmdChangePassingGrade", -1, "Change Passing Grade"},
      {"cmdMenu", -1, "Return to Menu"}},
     {{"lstClasses", "Classes"}, {"lstStudents", "Students in Class"}}},
    {"frmStudentName",
     [](Services s, WorkingLists&) { return std::make_unique<frmStudentName>(s); },
     {{"Label1", -1, "Student Name"},
      {"Label2", -1, "Password"},
      {"cmdOK", -1, "OK"},
      {"cmdCancel", -1, "Cancel"}},
     {{"Text1", "Student Name"}, {"Text2", "Password"}}},
    {"frmStudents",
     [](Services s, WorkingLists&) { return std::make_unique<frmStudents>(s); },
     {{"Label1", 0, "Classes"},
      {"Label1", 1, "Students in Class"},
      {"cmdSelected", 0, "Display Records for Selected Student"},
      {"cmdSelected", 1, "Print Records for Selected Student"},
      {"cmdSelected", 2, "Erase Records for Selected Student"},
      {"cmdAll", 0, "Display Records for All Students In Class"},
      {"cmdAll", 1, "Print Records for All Students In Class"},
      {"cmdAll", 2, "Erase Records for All Students In Class"},
      {"fraDataToView", -1, "Select Data to Print"},
      {"optDataGroup", 3, "Most recent test in each lesson/unit"},
      {"optDataGroup", 2, "Tests only"},
      {"optDataGroup", 1, "All records"},
      {"cmdSummary", -1, "Class Summary"},
      {"cmdMenu", -1, "Return to Menu"}},
     {{"lstClasses", "Classes"}, {"lstStudents", "Students in Class"}}},
    {"frmDisplay",
     [](Services s, WorkingLists& lists) { return std::make_unique<frmDisplay>(s, lists); },
     {{"fraDataToView", -1, "Select Data to View"},
      {"optDataGroup", 3, "Most recent test in each lesson/unit"},
      {"optDataGroup", 2, "Tests only"},
      {"optDataGroup", 1, "All records"},
      {"fraSortBy", -1, "Sort By:"},
      {"optSort", 3, "Lesson"},
      {"optSort", 2, "Date"},
      {"optSort", 1, "Percent"},
      {"optSort", 0, "Name"},
      {"fraSortDir", -1, "Sort Direction:"},
      {"optSortDir", 1, "Decreasing"},
      {"optSortDir", 0, "Increasing"},
      {"lblName", -1, "Name"},
      {"lblDate", -1, "Date"},
      {"lblCourse", -1, "Course"},
      {"lblTopic", -1, "Lesson"},
      {"lblActivity", -1, "Activity"},
      {"lblAttempted", -1, "Probs Att."},
      {"lblCorrect", -1, "Probs Corr."},
      {"lblPercent", -1, "Pct. Corr."},
      {"lblGrade", -1, "Practice Grade*"},
      {"lblPassTest", -1, "Pass Test?**"},
      {"lblMinutes", -1, "Mins."},
      {"cmdOK", -1, "Close"}},
     {{"lstRecords",
       "Records: Name, Date, Course, Lesson, Activity, Problems attempted, Problems correct, "
       "Percent correct, Practice grade, Pass test, Minutes"}}},
    {"frmDiagnostics",
     [](Services s, WorkingLists&) { return std::make_unique<frmDiagnostics>(s); },
     {{"Label1", 0, "Classes"},
      {"Label1", 1, "Diagnostic Test Results"},
      {"cmdAll", 0, "Display Diagnostic Test Results for All Students Shown In List"},
      {"cmdAll", 1, "Print Diagnostic Test Results for All Students Shown In List"},
      {"cmdAll", 2, "Erase Diagnostic Test Results for All Students Shown In List"},
      {"cmdSelected", 0, "Display Diagnostic Test Results for Selected Student"},
      {"cmdSelected", 1, "Print Diagnostic Test Results for Selected Student"},
      {"cmdSelected", 2, "Erase Diagnostic Test Results for Selected Student"},
      {"cmdOverview", -1, "Class Overview"},
      {"cmdMenu", -1, "Return to Menu"}},
     {{"lstClasses", "Classes"}, {"lstStudents", "Diagnostic Test Results"}}},
    {"frmOverview",
     [](Services s, WorkingLists&) {
       return std::make_unique<frmOverview>(s, testing::ClassRec("Algebra Lab", "060", "3"));
     },
     {{"lblClass", -1, "Class: Algebra Lab"},
      {"chkLatest", -1, "Latest result of each student"},
      {"cmdDates", -1, "Show These Dates"},
      {"lblCounts", -1, "This class has no results of a diagnostic test."},
      {"cmdPrint", -1, "Print Overview"},
      {"cmdCsv", -1, "Save as CSV"},
      {"cmdClose", -1, "Close"}},
     {{"cboTest", "Test"},
      {"txtFrom", "From"},
      {"txtTo", "To"},
      {"grdProblems", "Problems"},
      {"grdAreas", "Skill Areas"},
      {"grdReteach", "Lessons to Reteach"},
      {"lstNames", "Students whose plans name the lesson"}}},
    {"frmDisplayDiagnostics",
     [](Services, WorkingLists&) { return std::make_unique<frmDisplayDiagnostics>(); },
     {{"cmdOK", -1, "Close"}},
     {{"lstRecords", "Diagnostic Test Results"}}},
    {"frmOutput",
     [](Services s, WorkingLists&) { return std::make_unique<frmOutput>(s); },
     {{"Label1", -1, "Output Student Records To File"},
      {"Frame1", -1, "Date Range"},
      {"optDateRange", 1, "Output all student data"},
      {"optDateRange", 2, "Output student data on or after"},
      {"Label2", -1, "mm/dd/yy"},
      {"Frame2", -1, "Sort Order"},
      {"optSortChoice", 1, "Date, Class, Student"},
      {"optSortChoice", 2, "Date, Student"},
      {"optSortChoice", 3, "Class, Date, Student"},
      {"optSortChoice", 4, "Class, Student, Date"},
      {"optSortChoice", 5, "Student, Subject, Date"},
      {"cmdWrite", -1, "Write Data to File"},
      {"cmdMenu", -1, "Return to Menu"}},
     {{"txtDate", "Output student data on or after, mm/dd/yy"}}},
    {"frmLab",
     [](Services s, WorkingLists&) { return std::make_unique<frmLab>(s); },
     {{"lblClass", -1, "&Class:"},
      {"cboClass", -1, "All Classes"},
      {"cmdChart", -1, "Progress Chart"},
      {"cmdMenu", -1, "Return to Menu"}},
     {{"cboClass", "Class"}, {"grdLab", "Students at work today"}}},
    {"frmRestore",
     [](Services s, WorkingLists&) { return std::make_unique<frmRestore>(s); },
     {{"Label1", -1, "Restore Erased Records"},
      {"Label2", -1, "Erased records, newest first:"},
      {"cmdRestore", -1, "Restore Selected"},
      {"cmdDelete", -1, "Delete Selected"},
      {"cmdMenu", -1, "Return to Menu"}},
     {{"lstErased", "Erased records, newest first"},
      {"cmdRestore", "Restore Selected"},
      {"cmdDelete", "Delete Selected"},
      {"cmdMenu", "Return to Menu"}}},
};

class CaptionsTest : public testing::GuiTest {};

TEST_F(CaptionsTest, EveryControlShowsItsTextAndListsAndBoxesTheirHeadings) {
  for (const Window& window : kWindows) {
    WorkingLists lists;
    std::unique_ptr<QWidget> w = window.make(services(), lists);
    auto d = Drive(*w);
    for (const Caption& c : window.captions) {
      EXPECT_EQ(d.Text(c.control, c.index), c.text) << window.name << " " << c.control << c.index;
    }
    for (const auto& [control, name] : window.accessible_names) {
      EXPECT_EQ(d.Get(control).accessibleName().toStdString(), name)
          << window.name << " " << control;
    }
  }
  EXPECT_TRUE(dialogs.Done());
}

// Tab reaches every control a user can act on, row by row across the
// button arrays (the hidden working list of the report window never).
TEST_F(CaptionsTest, TabGoesThroughTheControlsInReadingOrder) {
  const std::map<std::string, std::string> expected = {
      {"frmClasses",
       "lstClasses lstStudents cmdClass0 cmdStudent0 cmdClass1 cmdStudent1 cmdClass2 cmdStudent2 "
       "cmdClass3 cmdStudent3 cmdImportStudents cmdPrintSlips optPassingGrade1 optPassingGrade2 "
       "optPassingGrade3 "
       "optPassingGrade4 optPassingGrade5 optPassingGrade6 cmdChangePassingGrade cmdMenu"},
      {"frmStudentName", "Text1 Text2 cmdOK cmdCancel"},
      {"frmStudents",
       "lstClasses lstStudents cmdAll0 cmdSelected0 cmdAll1 cmdSelected1 cmdAll2 cmdSelected2 "
       "optDataGroup3 optDataGroup2 optDataGroup1 cmdSummary cmdMenu"},
      {"frmDisplay",
       "optDataGroup3 optDataGroup2 optDataGroup1 optSort3 optSort2 optSort1 optSort0 "
       "optSortDir1 optSortDir0 lstRecords cmdOK"},
      {"frmDiagnostics",
       "lstClasses lstStudents cmdAll0 cmdSelected0 cmdAll1 cmdSelected1 cmdAll2 cmdSelected2 "
       "cmdOverview cmdMenu"},
      {"frmOverview",
       "cboTest chkLatest txtFrom txtTo cmdDates grdProblems grdAreas grdReteach lstNames "
       "cmdPrint cmdCsv cmdClose"},
      {"frmDisplayDiagnostics", "lstRecords cmdOK"},
      {"frmOutput",
       "optDateRange1 optDateRange2 txtDate optSortChoice1 optSortChoice2 optSortChoice3 "
       "optSortChoice4 optSortChoice5 cmdWrite cmdMenu"},
      {"frmRestore", "lstErased cmdRestore cmdDelete cmdMenu"},
      {"frmLab", "cboClass grdLab cmdChart cmdMenu"},
  };
  for (const Window& window : kWindows) {
    WorkingLists lists;
    std::unique_ptr<QWidget> w = window.make(services(), lists);
    std::string chain;
    for (QWidget* at = w->nextInFocusChain(); at != w.get(); at = at->nextInFocusChain()) {
      if ((at->focusPolicy() & Qt::TabFocus) && at->isVisibleTo(w.get())) {
        chain += (chain.empty() ? "" : " ") + at->objectName().toStdString();
      }
    }
    EXPECT_EQ(chain, expected.at(window.name)) << window.name;
  }
}

}  // namespace
}  // namespace quillon
