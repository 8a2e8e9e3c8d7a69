#include <gtest/gtest.h>

#include "data/ClassFiles.h"
#include "data/RecordFile.h"
#include "store/Read.h"
#include "support/core/Builders.h"
#include "support/core/StoreSteps.h"
#include "support/core/TempFolder.h"

namespace quillon {
namespace {

using testing::ClassRec;
using testing::StudentRec;
using testing::TempFolder;

TEST(ClassRecordTest, ReadingRules) {
  struct Case {
    std::string record;
    int number, grade;
    const char* display;
  } cases[] = {
      {ClassRec("Algebra", "070", "7"), 7, 70, "Algebra"},
      {ClassRec("Algebra", "070", " 7"), 7, 70, "Algebra"},
      {ClassRec("Algebra", "070", "07"), 7, 70, "Algebra"},
      {ClassRec("Algebra", "abc", "12"), 12, 60, "Algebra"},  // letters: 60
      {ClassRec("Algebra", "   ", "12"), 12, 60, "Algebra"},  // blank: 60
      {ClassRec("Algebra", "100", "12"), 12, 100, "Algebra"},
      {ClassRec("  Spaced  ", "050", "  "), 0, 50, "Spaced"},
      {ClassRec("A twenty-seven char name!!", "050", "3"), 3, 50, "A twenty-seven char name!"},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(c.record.size(), 32u);
    EXPECT_EQ(ClassNumberOf(c.record), c.number) << c.record;
    EXPECT_EQ(PassingGradeOf(c.record), c.grade) << c.record;
    EXPECT_EQ(ClassDisplayName(c.record), c.display) << c.record;
  }
}

TEST(StudentRecordTest, BuildAndReadBack) {
  std::string r = BuildStudentRecord("Ann Baker", 12, 3, "ab");
  EXPECT_EQ(r, "Ann Baker            123 kl    ");
  EXPECT_EQ(StudentNumberOf(r), 12);
  EXPECT_EQ(StudentClassNumberOf(r), 3);
  EXPECT_EQ(StudentDisplayName(r), "Ann Baker");
  EXPECT_EQ(StudentPasswordOf(r), "ab");
  EXPECT_EQ(BuildStudentRecord("A very long student name here", 1, 99, "ABCDEFGH"),
            "A very long student n1 99KLMNOP");
}

class RosterFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.Write(kClassesFile, ClassRec("One", "060", "1") + ClassRec("Two", "060", "2") +
                                ClassRec("Four", "060", "4"));
    dir.Write(kStudentsFile, StudentRec("Ann", "12", "4") + StudentRec("Bob", "1", "3") +
                                 StudentRec("Cy", "2", "3") + StudentRec("Dup", "2", " 3") +
                                 "partial");
  }
  std::string Name(int c, int s) {
    std::string name = "unset";
    EXPECT_TRUE(LookupStudentName(dir.folder(), c, s, &name).ok());
    return name;
  }
  TempFolder dir;
};

TEST_F(RosterFilesTest, LookupsByNumber) {
  // The empty text, not 21 blanks, for a pair not on the roster.
  EXPECT_EQ(Name(3, 12), "");
  // The first record of a pair wins; the name keeps its 21 characters.
  EXPECT_EQ(Name(3, 2), "Cy                   ");
  Roster roster;
  ASSERT_TRUE(LoadRoster(dir.folder(), &roster).ok());
  EXPECT_EQ(roster.Name(3, 2), "Cy                   ");
  EXPECT_EQ(roster.Name(3, 12), "");
}

TEST(NewNumbersTest, AreTheLowestFreeAndNeverAbove99) {
  const RecordSet classes(ClassRec("One", "060", "1") + ClassRec("Two", "060", "2") +
                              ClassRec("Four", "060", "4"),
                          kClassRecordLength);
  const RecordSet students(StudentRec("Ann", "12", "4") + StudentRec("Bob", "1", "3") +
                               StudentRec("Cy", "2", "3") + "partial",
                           kStudentRecordLength);
  EXPECT_EQ(NewClassNumber(classes), 3);
  EXPECT_EQ(NewStudentNumber(students, 3), 3);
  EXPECT_EQ(NewStudentNumber(students, 5), 1);
  // With 1 to 99 taken there is no number: 100 would be stored as "10".
  std::string all_classes, all_students;
  for (int c = 1; c <= 99; ++c) {
    all_classes += ClassRec("C", "060", std::to_string(c));
    all_students += StudentRec("S", std::to_string(c), "7");
  }
  EXPECT_EQ(NewClassNumber(RecordSet(all_classes, kClassRecordLength)), 0);
  EXPECT_EQ(NewStudentNumber(RecordSet(all_students, kStudentRecordLength), 7), 0);
}

TEST_F(RosterFilesTest, ListsInFileOrder) {
  ClassList classes;
  ASSERT_TRUE(FillClassList(dir.folder(), &classes).ok());
  EXPECT_FALSE(classes.bad_class_number);
  ASSERT_EQ(classes.items.size(), 3u);
  EXPECT_EQ(classes.items[2], ClassRec("Four", "060", "4"));
  std::vector<std::string> roster;
  ASSERT_TRUE(FillRosterList(dir.folder(), 3, &roster).ok());
  EXPECT_EQ(roster,
            (std::vector<std::string>{StudentRec("Bob", "1", "3"), StudentRec("Cy", "2", "3"),
                                      StudentRec("Dup", "2", " 3")}));
  ASSERT_TRUE(FillRosterList(dir.folder(), 0, &roster).ok());
  EXPECT_TRUE(roster.empty());
}

TEST(ClassListTest, ClassNumberZeroStopsTheFilling) {
  TempFolder dir;
  dir.Write(kClassesFile, ClassRec("One", "060", "1") + ClassRec("Blank", "060", "  ") +
                              ClassRec("Three", "060", "3"));
  ClassList classes;
  ASSERT_TRUE(FillClassList(dir.folder(), &classes).ok());
  EXPECT_TRUE(classes.bad_class_number);
  EXPECT_EQ(classes.items.size(), 1u);
}

TEST(ClassListTest, MissingFileIsAnEmptyListAndReadingCreatesNothing) {
  TempFolder dir;
  ClassList classes;
  ASSERT_TRUE(FillClassList(dir.folder(), &classes).ok());
  EXPECT_TRUE(classes.items.empty());
  EXPECT_FALSE(classes.bad_class_number);
  EXPECT_EQ(dir.Read(kClassesFile), "<missing>");
}

TEST(AppendRecordTest, GoesAfterTheWholeRecords) {
  TempFolder dir;
  dir.Write(kClassesFile, ClassRec("One", "060", "1") + "stray");
  ASSERT_TRUE(
      testing::AppendRecordsNow(dir.folder(), kClassesFile, ClassRec("Two", "060", "2")).ok());
  EXPECT_EQ(dir.Read(kClassesFile), ClassRec("One", "060", "1") + ClassRec("Two", "060", "2"));
}

}  // namespace
}  // namespace quillon
