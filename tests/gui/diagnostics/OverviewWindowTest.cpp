// The class overview window on the hand-worked folder
// (support/core/OverviewFolder.h), driven as an instructor would: opened
// from the diagnostic results window, a range typed, the latest results
// toggled, the other test chosen, printed and saved.
#include <QBrush>
#include <QTableWidget>
#include <filesystem>

#include "gui/diagnostics/frmDiagnostics.h"
#include "gui/diagnostics/frmOverview.h"
#include "support/core/OverviewFolder.h"
#include "support/gui/GuiFixture.h"

namespace quillon {
namespace {

using Lines = std::vector<std::string>;

class OverviewWindowTest : public testing::GuiTest {
 protected:
  void SetUp() override { testing::WriteOverviewFolder(dir); }
  // The texts of column `c` of a table, top to bottom.
  static Lines Column(frmOverview& w, const char* table, int c) {
    auto* grid = w.findChild<QTableWidget*>(table);
    Lines cells;
    for (int r = 0; r < grid->rowCount(); ++r) {
      cells.push_back(grid->item(r, c)->text().toLatin1().toStdString());
    }
    return cells;
  }
  // The problems whose rows are highlighted.
  static std::vector<int> Highlighted(frmOverview& w) {
    auto* grid = w.findChild<QTableWidget*>("grdProblems");
    std::vector<int> rows;
    for (int r = 0; r < grid->rowCount(); ++r) {
      if (grid->item(r, 4)->background().style() != Qt::NoBrush) rows.push_back(r + 1);
    }
    return rows;
  }
};

const Lines kC2Page = {
    "CLASS OVERVIEW: Algebra Lab   /   Algebra 1 (C2)   /   Page 1",
    "Dates: 09/01/26 to 12/31/26   /   Printed 12/09/26",
    "1 result of 1 student, all results",
    "Left out: 1 result not scored (test code not known)",
    "",
    "PROBLEMS",
    "Prob  Area  Wrong    Of  Wrong %  Lesson",
    "----  ----  -----  ----  -------  -----------------------------------------",
    "   1     1      0     1       0%  PA0101 Adding Whole Numbers",
    "   2     1      0     1       0%  PA0102 Subtracting Whole Numbers",
    "   3     1      0     1       0%  PA0201 Multiplying by Whole Numbers",
    "   4     1      0     1       0%  PA0202 Dividing by Whole Numbers",
    "   5     2      0     1       0%  PA0401 Fractions and Mixed Numbers",
    "   6     2      0     1       0%  PA0402 Reducing Fractions to Lowest Terms",
    "   7     2      0     1       0%  PA0403 Adding Fractions",
    "   8     2      0     1       0%  PA0404 Subtracting Fractions",
    "   9     2      0     1       0%  PA0501 Multiplying Fractions",
    "  10     3      0     1       0%  PA0601 Place Value and Decimal Numbers",
    "  11     3      0     1       0%  PA0602 Adding Decimal Numbers",
    "  12     3      0     1       0%  PA0603 Multiplying Decimal Numbers",
    "  13     4      0     1       0%  PA0301 Factoring Whole Numbers",
    "  14     4      0     1       0%  PA0302 Square Roots of Perfect Squares",
    "  15     4      0     1       0%  PA0701 The Number Line",
    "  16     4      0     1       0%  PA0702 Addition",
    "  17     4      0     1       0%  PA0703 Multiplication",
    "  18     4      0     1       0%  PA0303 Finding the GCF and LCM",
    "  19     4      1     1     100%* PB0101 Using Exponents",
    "  20     4      0     1       0%  PA0304 Order of Operations",
    "  21     4      1     1     100%* PB0101 Using Exponents",
    "  22     5      0     1       0%  PA1001 Percents and Decimal Numbers",
    "  23     5      0     1       0%  PA1002 Using the Percent Equation",
    "  24     5      0     1       0%  PA1003 Word Problems Involving Percent",
    "  25     6      0     1       0%  PB0102 Variables and Expressions",
    "  26     6      0     1       0%  PB0301 Like Terms",
    "  27     6      1     1     100%* PB0302 Simplifying Expressions",
    "  28     6      1     1     100%* PB0302 Solving Linear Equations",
    "  29     6      1     1     100%* PB0302 Solving Literal Eqns and Formulas",
    "  30     4      0     1       0%  PB0501 Multiplying with Exponents",
    "",
    "* Missed by half the results or more.",
    "",
    "SKILL AREAS",
    "Area  Skill area                         Problems  Poor  Fair  Good  Mean correct",
    "----  ---------------------------------  --------  ----  ----  ----  ------------",
    "   1  Basic Operations with Integers            4     0     0     1           4.0",
    "   2  Basic Operations with Fractions           5     0     0     1           5.0",
    "   3  Basic Operations with Decimals            3     0     0     1           3.0",
    "   4  Other Operations with Integers           10     0     0     1           8.0",
    "   5  Percent                                   3     0     0     1           3.0",
    "   6  Variables, Expressions, Equations         5     1     0     0           2.0",
    "",
    "LESSONS TO RETEACH",
    "Lesson  Lesson title                        Students",
    "------  ----------------------------------  --------------------",
    "PB0101  Using Exponents                     1 of 1 student",
    "        Cho, Bob",
    "PB0302  Simplifying Expressions             1 of 1 student",
    "        Cho, Bob",
    "PB0302  Solving Linear Equations            1 of 1 student",
    "        Cho, Bob",
    "PB0302  Solving Literal Eqns and Formulas   1 of 1 student",
    "        Cho, Bob",
};

TEST_F(OverviewWindowTest, OpenChooseToggleLatestPrintAndSave) {
  frmDiagnostics diagnostics(services());
  diagnostics.show();
  testing::WindowDriver results = Drive(diagnostics);
  EXPECT_EQ(results.Text("cmdOverview"), "Class Overview");
  EXPECT_FALSE(results.Enabled("cmdOverview"));
  results.Select("lstClasses", 1);  // "Empty": no results
  EXPECT_FALSE(results.Enabled("cmdOverview"));
  results.Select("lstClasses", 0);  // "Algebra Lab"
  ASSERT_TRUE(results.Enabled("cmdOverview"));
  EXPECT_EQ(results.States("cmdAll", 0, 2) + results.States("cmdSelected", 0, 2), "111000");

  const std::string csv_path = dir.path() + "/overview.csv";
  dialogs.ExpectModal<frmOverview>([&](frmOverview& w) {
    testing::WindowDriver d = Drive(w);
    EXPECT_EQ(w.windowTitle(), "CLASS OVERVIEW: Algebra Lab");
    EXPECT_EQ(d.Text("lblClass"), "Class: Algebra Lab");
    // The class's tests; Pre-Algebra, with more results, first chosen.
    EXPECT_EQ(d.Items("cboTest"), (Lines{"Pre-Algebra (C1)", "Algebra 1 (C2)"}));
    EXPECT_EQ(d.Text("cboTest"), "Pre-Algebra (C1)");
    EXPECT_EQ(d.Text("chkLatest"), "Latest result of each student");
    EXPECT_TRUE(d.Checked("chkLatest"));
    // All dates: Dee's latest (08/15/26, wrong 17-23 and 30) counts too, so
    // three of five results are needed to be most missed.
    EXPECT_EQ(d.Text("lblCounts"),
              "Pre-Algebra (C1)   /   Dates: all dates   /   5 results of 5 students, the latest "
              "result of each   /   Left out: 1 result not scored (test code not known)");
    EXPECT_EQ(Column(w, "grdProblems", 2)[16], "1");
    EXPECT_EQ(Highlighted(w), (std::vector<int>{6, 7, 16, 30}));

    // September to December: the figures of the hand-worked overview.
    d.Type("txtFrom", "09/01/26");
    d.Type("txtTo", "12/31/26");
    d.Key("txtTo", Qt::Key_Return);
    EXPECT_EQ(d.Text("lblCounts"),
              "Pre-Algebra (C1)   /   Dates: 09/01/26 to 12/31/26   /   4 results of 4 students, "
              "the latest result of each   /   Left out: 1 result not scored (test code not "
              "known), 1 result without a date");
    EXPECT_EQ(Highlighted(w), (std::vector<int>{5, 6, 7, 15, 16, 26, 27, 30}));
    EXPECT_EQ(Column(w, "grdAreas", 6), (Lines{"4.5", "7.3", "7.0", "5.0"}));
    EXPECT_EQ(Column(w, "grdReteach", 0),
              (Lines{"PA0203", "PA1001", "PA0202", "PA0503", "PA0201", "PA0502", "PA0701", "PA0303",
                     "PA0104", "PA0406", "PA0501"}));
    EXPECT_EQ(Column(w, "grdReteach", 3),
              (Lines{"4", "4", "3", "3", "2", "2", "2", "2", "1", "1", "1"}));
    // The first lesson's students are listed; another row, its own.
    EXPECT_EQ(d.Shown("lstNames"), (Lines{"", "Ann Baker", "Cho, Bob", "Cy M\xFCller"}));
    d.Select("grdReteach", 4);
    EXPECT_EQ(d.Shown("lstNames"), (Lines{"Ann Baker", "Cho, Bob"}));

    // Every result: Ann's earlier one too, though she counts once a lesson.
    d.Click("chkLatest");
    EXPECT_FALSE(d.Checked("chkLatest"));
    EXPECT_EQ(d.Text("lblCounts"),
              "Pre-Algebra (C1)   /   Dates: 09/01/26 to 12/31/26   /   5 results of 4 students, "
              "all results   /   Left out: 1 result not scored (test code not known), 1 result "
              "without a date");
    EXPECT_EQ(Column(w, "grdReteach", 0),
              (Lines{"PA0203", "PA1001", "PA0202", "PA0503", "PA0201", "PA0502", "PA0701", "PA0303",
                     "PA0101", "PA0102", "PA0104", "PA0406", "PA0501"}));
    EXPECT_EQ(Column(w, "grdReteach", 4)[0], "4");

    // On paper: six lessons fill the first page; the seventh (PA0701) goes
    // on under the headings again.
    d.Click("cmdPrint");
    ASSERT_EQ(printer.documents.size(), 1u);
    ASSERT_EQ(printer.documents[0].size(), 2u);
    const testing::PrintedPage& second = printer.documents[0][1];
    Lines head;
    for (std::size_t i = 0; i < 10 && i < second.lines.size(); ++i) {
      head.push_back(second.lines[i].text);
    }
    EXPECT_EQ(head,
              (Lines{"CLASS OVERVIEW: Algebra Lab   /   Pre-Algebra (C1)   /   Page 2",
                     "Dates: 09/01/26 to 12/31/26   /   Printed 12/09/26",
                     "5 results of 4 students, all results",
                     "Left out: 1 result not scored (test code not known), 1 result without a date",
                     "", "LESSONS TO RETEACH (continued)",
                     "Lesson  Lesson title                        Students",
                     "------  ----------------------------------  --------------------",
                     "PA0701  The Number Line                     2 of 4 students",
                     "        ; Cho, Bob"}));
    // Lessons only student 9 (named "") needs show no line of names.
    EXPECT_EQ(second.lines.size(), 8u + 5 * 2 + 2 * 1);
    EXPECT_EQ(printer.documents[0][0].lines.size(), 64u);  // a page of 10 inches at 10 points

    // Algebra 1, printed on one page.
    d.Choose("cboTest", 1);
    EXPECT_EQ(d.Text("lblCounts"),
              "Algebra 1 (C2)   /   Dates: 09/01/26 to 12/31/26   /   1 result of 1 student, all "
              "results   /   Left out: 1 result not scored (test code not known)");
    d.Click("cmdPrint");
    ASSERT_EQ(printer.documents.size(), 2u);
    ASSERT_EQ(printer.documents[1].size(), 1u);
    const testing::PrintedPage& page = printer.documents[1][0];
    EXPECT_EQ(page.orientation, Orientation::kPortrait);
    EXPECT_EQ(testing::RecordingPrinter::Texts(printer.documents[1]), kC2Page);
    for (std::size_t i = 0; i < page.lines.size(); ++i) {
      EXPECT_EQ(page.lines[i].x, 0.4) << i;
      EXPECT_EQ(page.lines[i].y, 0.5 + 0.15625 * static_cast<double>(i)) << i;
      EXPECT_EQ(page.lines[i].font, "Courier New") << i;
      EXPECT_EQ(page.lines[i].points, 10) << i;
    }

    // Saved as CSV: its first section says what was counted.
    dialogs.ExpectSaveFile("Save Class Overview", dir.path() + "/overview");
    dialogs.ExpectMessage("The overview was saved to the file\r\n" + csv_path, Buttons::kOk,
                          Icon::kNone, Title::Default(), Answer::kOk);
    d.Click("cmdCsv");
    const std::string csv = dir.Read("overview.csv");
    EXPECT_EQ(csv.substr(0, csv.find("\r\n\r\n")),
              "\xEF\xBB\xBF"
              "Class Overview\r\n"
              "Class,Test,Test name,Results,Students,Latest result of each student,From,To,Not "
              "scored,Without a date\r\n"
              "Algebra Lab,C2,Algebra 1,1,1,no,2026-09-01,2026-12-31,1,0");
  });
  results.Click("cmdOverview");
  EXPECT_TRUE(dialogs.Done());
}

// Results of a test code not known give no overview; a file that cannot
// be read once the window is open is said, and the figures and the test box
// stay as they were.
TEST_F(OverviewWindowTest, NothingToScoreAndAFileThatCannotBeRead) {
  const std::string full = dir.Read("Diag.dat");
  dir.Write("Diag.dat", full.substr(5 * 72, 72));  // Ann's "c1" alone
  frmDiagnostics diagnostics(services());
  diagnostics.show();
  testing::WindowDriver results = Drive(diagnostics);
  results.Select("lstClasses", 0);
  EXPECT_EQ(results.Items("lstStudents").size(), 1u);
  EXPECT_FALSE(results.Enabled("cmdOverview"));

  dir.Write("Diag.dat", full);
  results.Select("lstClasses", 2);
  results.Select("lstClasses", 0);
  dialogs.ExpectModal<frmOverview>([&](frmOverview& w) {
    testing::WindowDriver d = Drive(w);
    const std::string before = d.Text("lblCounts");
    std::filesystem::remove(dir.path() + "/Diag.dat");
    std::filesystem::create_directory(dir.path() + "/Diag.dat");
    dialogs.ExpectMessage(
        "The overview cannot be shown.\r\r" + dir.path() + "/Diag.dat: is not an ordinary file",
        Buttons::kOk, Icon::kCritical, Title::Default(), Answer::kOk);
    d.Choose("cboTest", 1);
    EXPECT_EQ(d.Text("cboTest"), "Pre-Algebra (C1)");
    EXPECT_EQ(d.Text("lblCounts"), before);
    EXPECT_EQ(w.overview().results, 5);
    EXPECT_TRUE(d.Enabled("cmdPrint"));
  });
  results.Click("cmdOverview");
  EXPECT_TRUE(dialogs.Done());
}

}  // namespace
}  // namespace quillon
