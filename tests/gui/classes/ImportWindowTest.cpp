// The classes window's import and slips buttons, driven as an instructor
// would: the buttons follow the class selection, the preview window shows
// every row and writes nothing before its Add button, then the bytes left in
// STUDENTS.DAT, and the slips' pages as the printer receives them.
#include <QCheckBox>
#include <QComboBox>
#include <QTableWidget>
#include <cstdio>

#include "data/ClassFiles.h"
#include "gui/classes/frmClasses.h"
#include "gui/classes/frmImport.h"
#include "support/core/Builders.h"
#include "support/gui/GuiFixture.h"

namespace quillon {
namespace {

using testing::ClassRec;
using testing::StudentRec;

class ImportWindowTest : public testing::GuiTest {
 protected:
  void SetUp() override {
    dir.Write(kClassesFile,
              ClassRec("Grade 5 Maths", "060", "2") + ClassRec("Algebra", "070", "1"));
    dir.Write(kStudentsFile, kRoster);
  }
  frmClasses& Open() {
    window_ = std::make_unique<frmClasses>(services());
    window_->show();
    return *window_;
  }
  testing::WindowDriver d() { return Drive(*window_); }
  std::string ImportButtons() {
    return std::string(d().Enabled("cmdImportStudents") ? "1" : "0") +
           (d().Enabled("cmdPrintSlips") ? "1" : "0");
  }
  // The preview's rows, a line of tab-separated cells each.
  static std::string Rows(frmImport& w) {
    auto& table = *w.findChild<QTableWidget*>("tblRows");
    std::string rows;
    for (int r = 0; r < table.rowCount(); ++r) {
      for (int c = 0; c < table.columnCount(); ++c) {
        rows += table.item(r, c)->text().toLatin1().toStdString() +
                (c + 1 < table.columnCount() ? "\t" : "\n");
      }
    }
    return rows;
  }
  // A printed page as "x y text" lines, positions to 2 decimals.
  static std::string Page(const testing::PrintedPage& page) {
    std::string lines;
    for (const testing::PrintedLine& l : page.lines) {
      char at[32];
      std::snprintf(at, sizeof at, "%.2f %.2f ", l.x, l.y);
      lines += at + l.text + "\n";
    }
    return lines;
  }

  const std::string kRoster = StudentRec("Maria Gonzalez", "1", "2", "KLMNOP");
  std::unique_ptr<frmClasses> window_;
};

TEST_F(ImportWindowTest, PreviewThenAddThenSlipsOfTheNewStudents) {
  dir.Write("roster.csv",
            "Name,PIN\r\nAnn Lee,ab12\r\nMaria Gonzalez,\r\n,7\r\nZo\xC3\xAB Park,zp9\r\n");
  Open();
  EXPECT_EQ(ImportButtons(), "00");
  d().Select("lstClasses", 1);  // Grade 5 Maths
  EXPECT_EQ(ImportButtons(), "11");
  EXPECT_EQ(d().Text("cmdImportStudents"), "Import Students...");
  EXPECT_EQ(d().Text("cmdPrintSlips"), "Print Log-in Slips");

  dialogs.ExpectFile("Import Students", dir.path() + "/roster.csv");
  dialogs.ExpectModal<frmImport>([&](frmImport& w) {
    auto p = Drive(w);
    EXPECT_EQ(w.windowTitle().toStdString(),
              "Quillon Student Recordkeeping System - IMPORT STUDENTS");
    EXPECT_EQ(p.Text("Label1"), "Rows of roster.csv for Grade 5 Maths:");
    EXPECT_EQ(p.Text("lblSummary"), "2 students will be added, 2 skipped.");
    EXPECT_EQ(Rows(w),
              "2\tAnn Lee\tAB12\t2\tadd\t\n"
              "3\tMaria Gonzalez\t\t\talready in this class\t\n"
              "4\t\t\t\tno name\t\n"
              "5\tZo\xEB Park\tZP9\t3\tadd\t\n");
    EXPECT_EQ(p.Get("tblRows").accessibleName().toStdString(), "Rows of the roster file");
    EXPECT_EQ(p.Text("cmdAdd"), "Add 2 Students");
    EXPECT_FALSE(p.Enabled("cmdPrintSlips"));
    EXPECT_EQ(dir.Read(kStudentsFile), kRoster);  // nothing before the button

    p.Click("cmdAdd");
    EXPECT_EQ(p.Text("lblSummary"), "2 students were added to Grade 5 Maths.");
    EXPECT_EQ(Rows(w),
              "2\tAnn Lee\tAB12\t2\tadded\t\n"
              "3\tMaria Gonzalez\t\t\talready in this class\t\n"
              "4\t\t\t\tno name\t\n"
              "5\tZo\xEB Park\tZP9\t3\tadded\t\n");
    EXPECT_FALSE(p.Enabled("cmdAdd"));
    EXPECT_EQ(p.Text("cmdCancel"), "Close");
    p.Click("cmdPrintSlips");
    p.Click("cmdCancel");
  });
  d().Click("cmdImportStudents");
  EXPECT_TRUE(dialogs.Done());
  EXPECT_EQ(dir.Read(kStudentsFile), kRoster +
                                         "Ann Lee              2 2 KL;<  "
                                         "Zo\xEB Park             3 2 dZC   ");
  EXPECT_EQ(d().Shown("lstStudents"),
            (std::vector<std::string>{"Ann Lee", "Maria Gonzalez", "Zo\xEB Park"}));
  EXPECT_EQ(d().States("cmdStudent", 0, 3), "1010");
  ASSERT_EQ(printer.documents.size(), 1u);
  ASSERT_EQ(printer.documents[0].size(), 1u);
  const std::string dashes(75, '-');
  EXPECT_EQ(Page(printer.documents[0][0]),
            "0.50 0.40 " + dashes + "\n0.50 1.80 " + dashes +
                "\n"
                "4.20 0.50 |\n4.20 0.70 |\n4.20 0.90 |\n4.20 1.10 |\n4.20 1.30 |\n4.20 1.50 |\n"
                "4.20 1.70 |\n"
                "0.70 0.80 Class:    Grade 5 Maths\n"
                "0.70 1.10 Student:  Ann Lee\n"
                "0.70 1.40 Password: AB12\n"
                "4.45 0.80 Class:    Grade 5 Maths\n"
                "4.45 1.10 Student:  Zo\xEB Park\n"
                "4.45 1.40 Password: ZP9\n");
  EXPECT_EQ(printer.documents[0][0].lines[0].font, "Courier New");
  EXPECT_EQ(printer.documents[0][0].lines[0].points, 12);
}

// Two files as schools' systems export them. The first, with a number column
// and "Last"/"First" headings, imports as it is: the columns are shown as
// found, a letter the roster cannot hold is written as its nearest with the
// reason beside it, and a "?" left for a lost letter is marked. The second
// has headings in a language not recognised: the window says so, the user
// chooses the columns, and the heading row is not imported.
TEST_F(ImportWindowTest, SchoolFilesWithAndWithoutRecognisedHeadings) {
  dir.Write("school.csv",
            "Student ID,Last,First,PIN\r\n10231,Y\xC4\xB1lmaz,Ay\xC5\x9F"
            "e,ay1\r\n10232,Nguy?n,Th?,tn2\r\n");
  dir.Write("finnish.csv",
            "Tunnus;Sukunimi;Etunimi;Salasana\n4411;Virtanen;Aino;ai12\n4412;Korhonen;Eero;ek9\n");
  Open();
  d().Select("lstClasses", 1);  // Grade 5 Maths
  const auto box = [](frmImport& w, const char* name) -> QComboBox& {
    return *w.findChild<QComboBox*>(name);
  };
  const auto reasons = [](frmImport& w) {
    auto& table = *w.findChild<QTableWidget*>("tblRows");
    QStringList why;
    for (int r = 0; r < table.rowCount(); ++r) why << table.item(r, 5)->text();
    return why.join('|');
  };
  dialogs.ExpectFile("Import Students", dir.path() + "/school.csv");
  dialogs.ExpectModal<frmImport>([&](frmImport& w) {
    auto p = Drive(w);
    EXPECT_TRUE(p.Get("lblColumns").isHidden());
    EXPECT_TRUE(p.Get("chkHeading").isHidden());
    EXPECT_EQ(box(w, "cboNameColumn").currentText().toStdString(), "2: Last");
    EXPECT_EQ(box(w, "cboFirstColumn").currentText().toStdString(), "3: First");
    EXPECT_EQ(box(w, "cboPasswordColumn").currentText().toStdString(), "4: PIN");
    EXPECT_EQ(box(w, "cboFirstColumn").itemText(0).toStdString(), "(none)");
    EXPECT_EQ(box(w, "cboNameColumn").accessibleName().toStdString(), "Name or last name");
    EXPECT_EQ(Rows(w),
              "2\tAyse Yilmaz\tAY1\t2\tadd\t? written as s, ? written as i\n"
              "3\tTh? Nguy?n\tTN2\t3\tadd\ta letter may be lost\n");
    EXPECT_EQ(reasons(w), QString::fromUtf8("\xC5\x9F written as s, \xC4\xB1 written as i|"
                                            "a letter may be lost"));
    EXPECT_EQ(p.Text("lblSummary"),
              "2 students will be added, 0 skipped. 1 name may have lost a letter in the "
              "spreadsheet (marked): correct the file, or the names once added.");
    auto& table = *w.findChild<QTableWidget*>("tblRows");
    EXPECT_EQ(table.item(1, 1)->background().color(), QColor(255, 236, 170));
    EXPECT_EQ(table.item(0, 1)->background().style(), Qt::NoBrush);
    p.Click("cmdAdd");
    EXPECT_FALSE(p.Enabled("cboNameColumn"));
    p.Click("cmdCancel");
  });
  d().Click("cmdImportStudents");

  dialogs.ExpectFile("Import Students", dir.path() + "/finnish.csv");
  dialogs.ExpectModal<frmImport>([&](frmImport& w) {
    auto p = Drive(w);
    EXPECT_FALSE(p.Get("lblColumns").isHidden());
    EXPECT_EQ(p.Text("lblColumns"),
              "No heading row was recognised in finnish.csv: choose the columns that hold the "
              "names and the passwords.");
    EXPECT_TRUE(p.Checked("chkHeading"));  // over a column of numbers: plainly a heading
    EXPECT_EQ(box(w, "cboNameColumn").currentText().toStdString(), "2: Sukunimi");
    EXPECT_EQ(box(w, "cboPasswordColumn").currentText().toStdString(), "(none)");
    EXPECT_EQ(QApplication::focusWidget(), &box(w, "cboNameColumn"));
    box(w, "cboFirstColumn").setCurrentIndex(3);     // 3: Etunimi
    box(w, "cboPasswordColumn").setCurrentIndex(4);  // 4: Salasana
    EXPECT_EQ(Rows(w), "2\tAino Virtanen\tAI12\t4\tadd\t\n3\tEero Korhonen\tEK9\t5\tadd\t\n");
    p.Get<QCheckBox>("chkHeading").setChecked(false);  // line 1 would be a student
    // (its password, "Salasana", too long to keep: one is made up)
    EXPECT_EQ(Rows(w).substr(0, 19), "1\tEtunimi Sukunimi\t");
    EXPECT_EQ(Rows(w).substr(25, Rows(w).find('\n') - 25), "\t4\tadd\t") << Rows(w);
    p.Get<QCheckBox>("chkHeading").setChecked(true);
    EXPECT_EQ(p.Text("cmdAdd"), "Add 2 Students");
    p.Click("cmdAdd");
    p.Click("cmdCancel");
  });
  d().Click("cmdImportStudents");
  EXPECT_TRUE(dialogs.Done());
  EXPECT_EQ(dir.Read(kStudentsFile), kRoster +
                                         "Ayse Yilmaz          2 2 Kc;   "
                                         "Th? Nguy?n           3 2 ^X<   "
                                         "Aino Virtanen        4 2 KS;<  "
                                         "Eero Korhonen        5 2 OUC   ");
}

TEST_F(ImportWindowTest, CancelOrAFileThatIsNotTextWritesNothing) {
  dir.Write("roster.csv", "Ann Lee\r\n");
  dir.Write("sheet.csv", std::string("PK\3\4\0\0", 6));
  Open();
  d().Select("lstClasses", 1);
  dialogs.ExpectFile("Import Students", "");  // the file dialog cancelled
  d().Click("cmdImportStudents");
  dialogs.ExpectFile("Import Students", dir.path() + "/sheet.csv")
      .ExpectMessage("The students cannot be imported.\r\r" + dir.path() +
                         "/sheet.csv: is not a text file; save the spreadsheet as CSV or as text "
                         "and import that file",
                     Buttons::kOk, Icon::kCritical, Title::Default(), Answer::kOk);
  d().Click("cmdImportStudents");
  dialogs.ExpectFile("Import Students", dir.path() + "/roster.csv");
  dialogs.ExpectModal<frmImport>([&](frmImport& w) {
    auto p = Drive(w);
    EXPECT_EQ(p.Text("lblSummary"), "1 student will be added, 0 skipped.");
    EXPECT_EQ(p.Text("cmdAdd"), "Add 1 Student");
    p.Click("cmdCancel");
    EXPECT_FALSE(w.isVisible());
  });
  d().Click("cmdImportStudents");
  EXPECT_TRUE(dialogs.Done());
  EXPECT_EQ(dir.Read(kStudentsFile), kRoster);
  EXPECT_EQ(d().Shown("lstStudents"), (std::vector<std::string>{"Maria Gonzalez"}));
}

// The roster or the class changed while the preview was open: a message
// naming the file, nothing written, and the preview made again.
TEST_F(ImportWindowTest, AChangeMeanwhileWritesNothingAndShowsTheRowsAgain) {
  dir.Write("roster.csv", "Name,PIN\nAnn Lee,a1\nBob,b2\n");
  Open();
  d().Select("lstClasses", 1);
  dialogs.ExpectFile("Import Students", dir.path() + "/roster.csv");
  dialogs.ExpectModal<frmImport>([&](frmImport& w) {
    auto p = Drive(w);
    EXPECT_EQ(Rows(w), "2\tAnn Lee\tA1\t2\tadd\t\n3\tBob\tB2\t3\tadd\t\n");
    const std::string bob = StudentRec("Bob", "2", "2", "");
    dir.Write(kStudentsFile, kRoster + bob);  // another program added Bob as number 2
    dialogs.ExpectMessage("The students could not be added.\r\r" + dir.path() +
                              "/STUDENTS.DAT: the class's roster has changed since the preview; "
                              "nobody was added",
                          Buttons::kOk, Icon::kCritical, Title::Default(), Answer::kOk);
    p.Click("cmdAdd");
    EXPECT_EQ(dir.Read(kStudentsFile), kRoster + bob);
    EXPECT_EQ(Rows(w), "2\tAnn Lee\tA1\t3\tadd\t\n3\tBob\t\t\talready in this class\t\n");
    EXPECT_EQ(p.Text("cmdAdd"), "Add 1 Student");

    dir.Write(kClassesFile, ClassRec("Algebra", "070", "1"));  // the class deleted
    dialogs.ExpectMessage("The students could not be added.\r\r" + dir.path() +
                              "/CLASSES.DAT: class 2 is not there any more; nobody was added",
                          Buttons::kOk, Icon::kCritical, Title::Default(), Answer::kOk);
    p.Click("cmdAdd");
    EXPECT_EQ(dir.Read(kStudentsFile), kRoster + bob);
    p.Click("cmdCancel");
  });
  d().Click("cmdImportStudents");
  EXPECT_TRUE(dialogs.Done());
}

// Fifteen students: fourteen slips on the first page, in roster order, one
// on the second; with a student selected, that student's slip alone.
TEST_F(ImportWindowTest, SlipsOfTheWholeClassOrOfTheSelectedStudent) {
  std::string roster;
  for (char c = 'O'; c >= 'A'; --c)
    roster += StudentRec(std::string(1, c) + " Pupil", "1", "1", "K");
  dir.Write(kStudentsFile, roster);
  Open();
  d().Select("lstClasses", 0);  // Algebra
  d().Click("cmdPrintSlips");
  ASSERT_EQ(printer.documents.size(), 1u);
  ASSERT_EQ(printer.documents[0].size(), 2u);
  std::string students;
  for (const auto& line : printer.documents[0][0].lines) {
    if (line.text.rfind("Student:  ", 0) == 0) students += line.text.substr(10, 1);
  }
  EXPECT_EQ(students, "ABCDEFGHIJKLMN");
  EXPECT_EQ(printer.documents[0][0].lines.size(), 8 + 7 * 7 + 14 * 3u);  // cut lines, bars, slips
  const std::string dashes(75, '-');
  EXPECT_EQ(Page(printer.documents[0][1]),
            "0.50 0.40 " + dashes + "\n0.50 1.80 " + dashes +
                "\n"
                "4.20 0.50 |\n4.20 0.70 |\n4.20 0.90 |\n4.20 1.10 |\n4.20 1.30 |\n4.20 1.50 |\n"
                "4.20 1.70 |\n"
                "0.70 0.80 Class:    Algebra\n"
                "0.70 1.10 Student:  O Pupil\n"
                "0.70 1.40 Password: A\n");

  d().Select("lstStudents", 2);  // C Pupil
  d().Click("cmdPrintSlips");
  ASSERT_EQ(printer.documents.size(), 2u);
  ASSERT_EQ(printer.documents[1].size(), 1u);
  EXPECT_EQ(printer.documents[1][0].lines.back().text, "Password: A");
  EXPECT_EQ(printer.documents[1][0].lines[printer.documents[1][0].lines.size() - 2].text,
            "Student:  C Pupil");
  EXPECT_TRUE(dialogs.Done());
}

}  // namespace
}  // namespace quillon
