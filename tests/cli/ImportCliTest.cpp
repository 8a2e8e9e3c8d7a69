// quillon-cli import and slips, run as built: the preview changes nothing,
// --yes adds the students, a second import adds nobody, the slips list the
// roster with its passwords; wrong command lines and files get their status.
#include <gtest/gtest.h>

#include <fstream>

#include "data/ClassFiles.h"
#include "support/core/Builders.h"
#include "support/core/RunCommand.h"
#include "support/core/TempFolder.h"

namespace quillon {
namespace {

using testing::ClassRec;
using testing::StudentRec;

class ImportCliTest : public ::testing::Test {
 protected:
  using Result = testing::CommandResult;
  void SetUp() override {
    dir.Write("LESSONS.DAT", testing::MinimalLessons());
    dir.Write(kClassesFile, ClassRec("Algebra", "070", "1"));
    dir.Write(kStudentsFile, kRoster);
    dir.Write("roster.csv", "Name;PIN\r\nZed Ames;z1\r\n;x\r\nAnn Lee;ab12\r\nBob;q\r\n");
  }
  Result Run(const std::string& args) {
    return testing::RunCommand(std::string(QUILLON_CLI) + " --folder " + dir.path() + " " + args,
                               dir.path());
  }
  static std::string Read(const std::string& path) { return testing::ReadBytes(path); }
  const std::string kRoster = StudentRec("Bob", "1", "1", "[");  // password Q
  testing::TempFolder dir;
};

TEST_F(ImportCliTest, PreviewThenAddThenNobodyAgainThenTheSlips) {
  const std::string preview =
      "2\tZed Ames\tZ1\t2\tadd\t\n"
      "3\t\t\t\tno name\t\n"
      "4\tAnn Lee\tAB12\t3\tadd\t\n"
      "5\tBob\t\t\talready in this class\t\n";
  Result r = Run("import --class 1 roster.csv");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, preview);
  EXPECT_EQ(dir.Read(kStudentsFile), kRoster);

  r = Run("import --yes --class 1 " + dir.path() + "/roster.csv");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, preview);
  EXPECT_EQ(dir.Read(kStudentsFile), kRoster +
                                         "Zed Ames             2 1 d;    "
                                         "Ann Lee              3 1 KL;<  ");

  r = Run("import --class 1 --yes roster.csv");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out,
            "2\tZed Ames\t\t\talready in this class\t\n3\t\t\t\tno name\t\n"
            "4\tAnn Lee\t\t\talready in this class\t\n5\tBob\t\t\talready in this class\t\n");
  EXPECT_EQ(dir.Read(kStudentsFile).size(), 3 * 31u);

  r = Run("slips --class 1");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "3\tAnn Lee\tAB12\n1\tBob\tQ\n2\tZed Ames\tZ1\n");
  r = Run("slips --class 1 --student 2");
  EXPECT_EQ(r.out, "2\tZed Ames\tZ1\n");
  EXPECT_EQ(r.status, 0);
}

// A school file whose headings are not recognised: said on standard error,
// and the columns chosen on the command line (from 1), the heading row left
// out either way.
TEST_F(ImportCliTest, TheColumnsChosenOnTheCommandLine) {
  dir.Write("finnish.csv",
            "Tunnus;Sukunimi;Etunimi;Salasana\n4411;Virtanen;Aino;ai12\n4412;Korhonen;Eero;ek9\n");
  Result r = Run("import --class 1 --password-column 4 finnish.csv");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "2\tVirtanen\tAI12\t2\tadd\t\n3\tKorhonen\tEK9\t3\tadd\t\n");
  EXPECT_EQ(r.err,
            "quillon-cli: no heading row was recognised in finnish.csv; the first column is taken "
            "as the names (choose with --name-column K)\n");
  r =
      Run("import --class 1 --name-column 2 --first-column 3 --password-column 4 --yes "
          "finnish.csv");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "2\tAino Virtanen\tAI12\t2\tadd\t\n3\tEero Korhonen\tEK9\t3\tadd\t\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(dir.Read(kStudentsFile), kRoster +
                                         "Aino Virtanen        2 1 KS;<  "
                                         "Eero Korhonen        3 1 OUC   ");
}

TEST_F(ImportCliTest, WrongCommandLinesAndFiles) {
  struct Case {
    std::string args;
    int status;
    std::string first_error_line;
  } cases[] = {
      {"import --class 1", 2,
       "quillon-cli: the roster file to import is required; try 'quillon-cli import --help'"},
      {"import roster.csv", 2, "quillon-cli: --class is required; try 'quillon-cli import --help'"},
      {"import --class 0 roster.csv", 2,
       "quillon-cli: --class takes a whole number from 1 to 99, not \"0\""},
      {"import --class 9 roster.csv", 2, "quillon-cli: there is no class 9 in CLASSES.DAT"},
      {"import --class 1 --student 2 roster.csv", 2,
       "quillon-cli: unknown option '--student' for import; try 'quillon-cli import --help'"},
      {"import --class 1 none.csv", 3, "quillon-cli: none.csv: there is no such file"},
      {"import --class 1 LESSONS.DAT LESSONS.DAT", 2,
       "quillon-cli: unexpected word 'LESSONS.DAT' for import; try 'quillon-cli import --help'"},
      {"slips --class 1 --student 42", 2, "quillon-cli: there is no student 42 in class 1"},
      {"slips --class 1 --yes", 2,
       "quillon-cli: unknown option '--yes' for slips; try 'quillon-cli slips --help'"},
      {"import --class 1 --name-column 0 roster.csv", 2,
       "quillon-cli: --name-column takes a whole number from 1 to 999, not \"0\""},
      {"import --class 1 --first-column 2 roster.csv", 2,
       "quillon-cli: --first-column needs --name-column, the column of the last names; try "
       "'quillon-cli import --help'"},
      {"import --class 1 --name-column 3 roster.csv", 2,
       "quillon-cli: --name-column 3: roster.csv has 2 columns"},
      {"import --class 1 --password-column 1 --password-column 2 roster.csv", 2,
       "quillon-cli: --password-column is given twice; try 'quillon-cli import --help'"},
  };
  for (const Case& c : cases) {
    Result r = Run(c.args);
    EXPECT_EQ(r.status, c.status) << c.args;
    EXPECT_EQ(r.err.substr(0, r.err.find('\n')), c.first_error_line) << c.args;
    EXPECT_EQ(r.out, "") << c.args;
  }
  dir.Write("binary.csv", std::string("PK\3\4\0\0", 6));
  Result r = Run("import --class 1 binary.csv");
  EXPECT_EQ(r.status, 3);
  EXPECT_EQ(r.err,
            "quillon-cli: binary.csv: is not a text file; save the spreadsheet as CSV or as text "
            "and import that file\n");
  EXPECT_EQ(dir.Read(kStudentsFile), kRoster);
}

}  // namespace
}  // namespace quillon
