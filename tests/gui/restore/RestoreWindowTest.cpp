// The restore window, driven as an instructor would: what the windows erase
// is listed, put back into the files, or deleted for good.
#include <filesystem>

#include "classes/Erase.h"
#include "data/ActivityRecord.h"
#include "store/Bin.h"
#include "data/ClassFiles.h"
#include "gui/records/frmStudents.h"
#include "gui/restore/frmRestore.h"
#include "support/core/Builders.h"
#include "support/core/FaultyFolder.h"
#include "support/gui/GuiFixture.h"

namespace quillon {
namespace {

using testing::ActRec;
using testing::ClassRec;
using testing::StudentRec;
using Lines = std::vector<std::string>;

const std::string a1 = ActRec("C1", "3", "1", "091526", "01", "01", "10", "9", "25");
const std::string a2 = ActRec("C1", "3", "1", "090126", "01", "51", "10", "5", "5");
const std::string a3 = ActRec("C1", "3", "1", "092026", "01", "02", "10", "7", "5");
const std::string b1 = ActRec("C1", "3", "2", "091026", "51", "00", "20", "19", "30");
const std::string b2 = ActRec("C1", "3", "2", "091026", "01", "01", "4", "4", "3");
const std::string kClasses = ClassRec("Algebra", "070", "3") + ClassRec("Geometry", "060", "4");
const std::string kAnn = StudentRec("Ann", "1", "3"), kBob = StudentRec("Bob", "2", "3");

class RestoreWindowTest : public testing::GuiTest {
 protected:
  void SetUp() override {
    dir.Write(kClassesFile, kClasses);
    dir.Write(kStudentsFile, kAnn + kBob);
    dir.Write(kRecordsFile, a1 + a2 + b1 + a3 + b2);
  }
  frmRestore& Open() {
    window_ = std::make_unique<frmRestore>(services());
    window_->show();
    return *window_;
  }
  testing::WindowDriver d() { return Drive(*window_); }
  // "10": Restore Selected enabled, Delete Selected disabled.
  std::string Buttons() {
    return std::string(d().Enabled("cmdRestore") ? "1" : "0") +
           (d().Enabled("cmdDelete") ? "1" : "0");
  }
  // The bin's entries (the note of completed restores is none).
  std::size_t BinFiles() {
    const auto bin = std::filesystem::path(dir.path()) / kBinFolder;
    if (!std::filesystem::exists(bin)) return 0;
    std::size_t n = 0;
    for (const auto& f : std::filesystem::directory_iterator(bin)) n += f.path().filename() != "RESTORED";
    return n;
  }
  std::unique_ptr<frmRestore> window_;
};

TEST_F(RestoreWindowTest, AnEraseInTheRecordsWindowComesBackWhole) {
  {
    frmStudents records(services());
    records.show();
    auto r = Drive(records);
    r.Select("lstClasses", 0);
    r.Select("lstStudents", 0);  // Ann
    dialogs.ExpectMessage("Are you sure you want to erase this student's records?\r\rAnn",
                          Buttons::kYesNoCancelDefaultNo, Icon::kNone, Title::Text(""),
                          Answer::kYes);
    r.Click("cmdSelected", 2);
  }
  EXPECT_EQ(dir.Read(kRecordsFile), b1 + b2);

  Open();
  EXPECT_EQ(window_->windowTitle(),
            "Quillon Student Recordkeeping System - RESTORE ERASED RECORDS");
  EXPECT_EQ(d().Shown("lstErased"),
            (Lines{"12/09/26 00:00  Records of Ann, Algebra  (3 activity records)"}));
  EXPECT_EQ(Buttons(), "00");
  d().Select("lstErased", 0);
  EXPECT_EQ(Buttons(), "11");
  EXPECT_TRUE(d().Enabled("cmdMenu"));

  const std::string question =
      "Are you sure you want to restore these records?\r\n\r\nRecords of Ann, Algebra (3 "
      "activity records)";
  dialogs.ExpectMessage(question, Buttons::kYesNo, Icon::kNone, Title::Default(), Answer::kNo);
  d().Click("cmdRestore");
  EXPECT_EQ(dir.Read(kRecordsFile), b1 + b2);
  EXPECT_EQ(d().Shown("lstErased").size(), 1u);
  EXPECT_EQ(BinFiles(), 1u);

  dialogs.ExpectMessage(question, Buttons::kYesNo, Icon::kNone, Title::Default(), Answer::kYes);
  d().Click("cmdRestore");
  // Back at the end of the file, as a lesson appends, in the order they stood.
  EXPECT_EQ(dir.Read(kRecordsFile), b1 + b2 + a1 + a2 + a3);
  EXPECT_EQ(dir.Read(kStudentsFile), kAnn + kBob);
  EXPECT_EQ(dir.Read(kClassesFile), kClasses);
  EXPECT_TRUE(d().Items("lstErased").empty());
  EXPECT_EQ(Buttons(), "00");
  EXPECT_EQ(BinFiles(), 0u);
  EXPECT_EQ(dialogs.busy_calls, 2);  // the erase and the restore
  EXPECT_FALSE(dialogs.busy_now);
}

TEST_F(RestoreWindowTest, ANumberGivenToSomeoneElseIsOfferedTheLowestFreeOne) {
  EraseResult erased;
  ASSERT_TRUE(
      DeleteStudentWithRecords(dir.folder(), DateTime{{2026, 12, 9}, 10, 30, 0}, Students::One(ClassNum(3), StudentNum(2)), &erased)
          .ok());
  const std::string cy = StudentRec("Cy", "2", "3");
  dir.Write(kStudentsFile, kAnn + cy);  // Bob's number given to Cy
  Open();
  d().Select("lstErased", 0);
  const std::string question =
      "These records cannot go back under their own numbers: student 2 of class 3 is now "
      "Cy.\r\n\r\nStudent Bob, Algebra, with records (2 activity records, 1 roster or class "
      "record)\r\n\r\nOK restores them under the lowest free numbers; Cancel leaves them in "
      "the bin.";
  dialogs.ExpectMessage(question, Buttons::kOkCancel, Icon::kNone, Title::Default(),
                        Answer::kCancel);
  d().Click("cmdRestore");
  EXPECT_EQ(dir.Read(kStudentsFile), kAnn + cy);
  EXPECT_EQ(dir.Read(kRecordsFile), a1 + a2 + a3);
  EXPECT_EQ(BinFiles(), 1u);

  dialogs.ExpectMessage(question, Buttons::kOkCancel, Icon::kNone, Title::Default(), Answer::kOk);
  d().Click("cmdRestore");
  // Bob comes back as student 3, his records with him; none goes to Cy.
  EXPECT_EQ(dir.Read(kStudentsFile), kAnn + cy + StudentRec("Bob", "3", "3"));
  EXPECT_EQ(dir.Read(kRecordsFile),
            a1 + a2 + a3 + ActRec("C1", "3", "3", "091026", "51", "00", "20", "19", "30") +
                ActRec("C1", "3", "3", "091026", "01", "01", "4", "4", "3"));
  EXPECT_TRUE(d().Items("lstErased").empty());
  EXPECT_EQ(BinFiles(), 0u);
}

TEST_F(RestoreWindowTest, ARestoreThatFailsSaysSoNamingTheFile) {
  EraseResult erased;
  ASSERT_TRUE(
      EraseActivityRecords(dir.folder(), DateTime{{2026, 12, 9}, 9, 15, 0}, Students::One(ClassNum(3), StudentNum(1)), &erased).ok());
  testing::FaultyFolder faulty(&dir.folder(), -1, testing::FaultyFolder::Mode::kFail);
  faulty.fail_if = [](const std::string& what) { return what == "WriteIfSize RECORDS.DAT"; };
  window_ = std::make_unique<frmRestore>(Services{faulty, dialogs, clock, printer, values});
  window_->show();
  d().Select("lstErased", 0);
  const std::string question =
      "Are you sure you want to restore these records?\r\n\r\nRecords of Ann, Algebra (3 "
      "activity records)";
  dialogs.ExpectMessage(question, Buttons::kYesNo, Icon::kNone, Title::Default(), Answer::kYes);
  dialogs.ExpectMessage("The erased records could not be restored.\r\n\r\n" + dir.path() +
                            "/RECORDS.DAT: injected fault; nothing was added",
                        Buttons::kOk, Icon::kCritical, Title::Default(), Answer::kOk);
  d().Click("cmdRestore");
  EXPECT_EQ(dir.Read(kRecordsFile), b1 + b2);
  // The entry stays in the bin until its restore is complete.
  EXPECT_EQ(d().Shown("lstErased"),
            (Lines{"12/09/26 09:15  Records of Ann, Algebra  (3 activity records)"}));
  EXPECT_EQ(Buttons(), "00");
}

TEST_F(RestoreWindowTest, DeleteSelectedRemovesOnlyThatEntryAfterYes) {
  EraseResult erased;
  ASSERT_TRUE(
      EraseActivityRecords(dir.folder(), DateTime{{2026, 12, 9}, 9, 15, 0}, Students::One(ClassNum(3), StudentNum(1)), &erased).ok());
  ASSERT_TRUE(
      DeleteStudentWithRecords(dir.folder(), DateTime{{2026, 12, 9}, 10, 30, 0}, Students::One(ClassNum(3), StudentNum(2)), &erased)
          .ok());
  ASSERT_TRUE(
      DeleteClassWithRecords(dir.folder(), DateTime{{2026, 12, 9}, 11, 5, 0}, Students::WholeClass(ClassNum(4)), &erased).ok());
  ASSERT_EQ(BinFiles(), 3u);
  Open();
  const Lines all = {
      "12/09/26 11:05  Class Geometry, with students and records  (1 class)",
      "12/09/26 10:30  Student Bob, Algebra, with records  (2 activity records, 1 student)",
      "12/09/26 09:15  Records of Ann, Algebra  (3 activity records)",
  };
  EXPECT_EQ(d().Shown("lstErased"), all);

  const std::string question =
      "Are you sure you want to delete these erased records for good? They cannot be restored "
      "afterwards.\r\n\r\n";
  d().Select("lstErased", 1);
  dialogs.ExpectMessage(question + all[1], Buttons::kYesNoDefaultNo, Icon::kNone, Title::Default(),
                        Answer::kNo);
  d().Click("cmdDelete");
  EXPECT_EQ(d().Shown("lstErased"), all);
  EXPECT_EQ(BinFiles(), 3u);

  dialogs.ExpectMessage(question + all[1], Buttons::kYesNoDefaultNo, Icon::kNone, Title::Default(),
                        Answer::kYes);
  d().Click("cmdDelete");
  EXPECT_EQ(d().Shown("lstErased"), (Lines{all[0], all[2]}));
  EXPECT_EQ(d().Selected("lstErased"), -1);
  EXPECT_EQ(Buttons(), "00");
  EXPECT_EQ(BinFiles(), 2u);
  // An entry that left the bin since the list was read (another computer
  // deleted it) is said to be gone, and the list is read again.
  d().Select("lstErased", 0);
  for (const auto& f : std::filesystem::directory_iterator(dir.path() + "/" + kBinFolder)) {
    if (f.path().filename().string().starts_with("261209-1105")) std::filesystem::remove(f);
  }
  dialogs.ExpectMessage(
      "These erased records are no longer in the bin: they have been restored or deleted since "
      "the list was shown.",
      Buttons::kOk, Icon::kNone, Title::Default(), Answer::kOk);
  d().Click("cmdDelete");
  EXPECT_EQ(d().Shown("lstErased"), (Lines{all[2]}));
  EXPECT_EQ(BinFiles(), 1u);
  // Deleting from the bin touches no data file.
  EXPECT_EQ(dir.Read(kRecordsFile), "");
  EXPECT_EQ(dir.Read(kStudentsFile), kAnn);
  EXPECT_EQ(dir.Read(kClassesFile), ClassRec("Algebra", "070", "3"));
}

}  // namespace
}  // namespace quillon
