// The export window on a fixed day, 5 April 2024.
#include <QLineEdit>
#include <filesystem>

#include "data/ActivityRecord.h"
#include "data/ClassFiles.h"
#include "gui/export/frmOutput.h"
#include "support/core/Builders.h"
#include "support/core/FaultyFolder.h"
#include "support/gui/GuiFixture.h"

namespace quillon {
namespace {

using testing::ActRec;
using testing::ClassRec;
using testing::StudentRec;

class ExportWindowTest : public testing::GuiTest {
 protected:
  void SetUp() override {
    clock.Set({2024, 4, 5});
    dir.Write(kClassesFile, ClassRec("Math", "060", "1") + ClassRec("Art", "060", "2"));
    dir.Write(kStudentsFile, StudentRec("Ann", "1", "1") + StudentRec("Bob", "1", "2"));
    dir.Write(kRecordsFile, ActRec("C1", "1", "1", "090526", "01", "01", "12", "10", "7") +
                                ActRec("C1", "2", "1", "090426", "01", "01", "5", "4", "3") +
                                ActRec("C1", "1", "1", "033124", "01", "01", "1", "1", "1"));
  }
  frmOutput& Open() {
    window_ = std::make_unique<frmOutput>(services());
    window_->show();
    return *window_;
  }
  testing::WindowDriver d() { return Drive(*window_); }
  // The messages of an export that goes to file `n` of the day.
  void ExpectExport(int n) {
    const std::string path =
        dir.path() + "/Records040524-" + std::string(n < 10 ? "0" : "") + std::to_string(n) + ".txt";
    dialogs.ExpectMessage("Student records will be output to the following file:\r" + path +
                              "\r\rClick OK to proceed",
                          Buttons::kOk, Icon::kNone, Title::Default(), Answer::kOk);
    dialogs.ExpectMessage("Output to file is complete", Buttons::kOk, Icon::kNone,
                          Title::Default(), Answer::kOk);
  }
  std::unique_ptr<frmOutput> window_;
};

TEST_F(ExportWindowTest, TheWindowAsItOpens) {
  Open();
  EXPECT_EQ(window_->windowTitle(), "VARDELLO(tm) RECORDKEEPING - OUTPUT STUDENT DATA TO FILE");
  EXPECT_EQ(d().Text("Label1"), "Output Student Records To File");
  EXPECT_EQ(d().Text("Frame1"), "Date Range");
  EXPECT_EQ(d().Text("Frame2"), "Sort Order");
  EXPECT_TRUE(d().Checked("optDateRange", 1));
  EXPECT_TRUE(d().Checked("optSortChoice", 1));
  EXPECT_EQ(d().Text("txtDate"), "04/05/24");
  EXPECT_FALSE(d().Enabled("txtDate"));
  d().Option("optDateRange", 2);
  EXPECT_TRUE(d().Enabled("txtDate"));
  d().Option("optDateRange", 1);
  EXPECT_FALSE(d().Enabled("txtDate"));
}

TEST_F(ExportWindowTest, NamesOfTheDayAndTheFileWritten) {
  Open();
  d().Option("optSortChoice", 3);  // class, date, student
  ExpectExport(1);
  d().Click("cmdWrite");
  EXPECT_EQ(dir.Read("Records040524-01.txt"),
            "Art\tBob\tV&T-PreA\t09/04/26\t\t5\t4\t3\r\n"
            "Math\tAnn\tV&T-PreA\t03/31/24\t\t1\t1\t1\r\n"
            "Math\tAnn\tV&T-PreA\t09/05/26\t\t12\t10\t7\r\n");
  EXPECT_EQ(dialogs.busy_calls, 1);
  EXPECT_FALSE(dialogs.busy_now);

  // On or after 09/05/26 only, date order.
  d().Option("optDateRange", 2);
  d().Get<QLineEdit>("txtDate").setText("09/05/26");
  d().Option("optSortChoice", 1);
  ExpectExport(2);
  d().Click("cmdWrite");
  EXPECT_EQ(dir.Read("Records040524-02.txt"), "Math\tAnn\tV&T-PreA\t09/05/26\t\t12\t10\t7\r\n");

  // -01 gone, -02 there: -01 is taken again.
  std::filesystem::remove(dir.path() + "/Records040524-01.txt");
  ExpectExport(1);
  d().Click("cmdWrite");
  EXPECT_TRUE(dir.Exists("Records040524-01.txt"));

  for (int n = 3; n <= 20; ++n) {
    dir.Write("Records040524-" + std::string(n < 10 ? "0" : "") + std::to_string(n) + ".txt", "x");
  }
  dialogs.ExpectMessage("An error has occurred while trying\rto create a name for the output file",
                        Buttons::kOk, Icon::kCritical, Title::Default(), Answer::kOk);
  d().Click("cmdWrite");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                          std::filesystem::directory_iterator()),
            3 + 20);  // the data files and twenty exports, nothing more
}

TEST_F(ExportWindowTest, TheDateIsCheckedOnlyWhenItIsUsed) {
  Open();
  d().Option("optDateRange", 2);
  d().Get<QLineEdit>("txtDate").setText("13/45/12");
  dialogs.ExpectMessage("Enter date in format mm/dd/yy", Buttons::kOk, Icon::kCritical,
                        Title::Default(), Answer::kOk);
  d().Click("cmdWrite");
  EXPECT_FALSE(dir.Exists("Records040524-01.txt"));
  d().Option("optDateRange", 1);  // the garbage stays, unused
  ExpectExport(1);
  d().Click("cmdWrite");
  EXPECT_EQ(dir.Read("Records040524-01.txt"),  // all three records, by date
            "Math\tAnn\tV&T-PreA\t03/31/24\t\t1\t1\t1\r\n"
            "Art\tBob\tV&T-PreA\t09/04/26\t\t5\t4\t3\r\n"
            "Math\tAnn\tV&T-PreA\t09/05/26\t\t12\t10\t7\r\n");
}

TEST_F(ExportWindowTest, NothingToExportMakesNoFile) {
  dir.Write(kRecordsFile, "");
  Open();
  dialogs.ExpectMessage("No records found.", Buttons::kOk, Icon::kNone, Title::Default(),
                        Answer::kOk);
  d().Click("cmdWrite");
  EXPECT_FALSE(dir.Exists("Records040524-01.txt"));
}

TEST_F(ExportWindowTest, AFileThatCannotBeWrittenLeavesNothing) {
  testing::FaultyFolder full(&dir.folder(), -1, testing::FaultyFolder::Mode::kFail);
  full.fail_if = [](const std::string& what) { return what == "Write Records040524-01.txt.part"; };
  frmOutput window({full, dialogs, clock, printer, values});
  window.show();
  const std::string path = dir.path() + "/Records040524-01.txt";
  dialogs.ExpectMessage("Student records will be output to the following file:\r" + path +
                            "\r\rClick OK to proceed",
                        Buttons::kOk, Icon::kNone, Title::Default(), Answer::kOk);
  dialogs.ExpectMessage("The records could not be written to the file\r" + path + "\r\rinjected fault",
                        Buttons::kOk, Icon::kCritical, Title::Default(), Answer::kOk);
  Drive(window).Click("cmdWrite");
  EXPECT_FALSE(dir.Exists("Records040524-01.txt"));
  EXPECT_FALSE(dir.Exists("Records040524-01.txt.part"));
  EXPECT_FALSE(dialogs.busy_now);
}

}  // namespace
}  // namespace quillon
