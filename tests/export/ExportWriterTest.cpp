#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <numeric>
#include <random>

#include "base/Text.h"
#include "data/ActivityRecord.h"
#include "data/ClassFiles.h"
#include "export/ExportLine.h"
#include "export/ExportWriter.h"
#include "support/core/Builders.h"
#include "support/core/FaultyFolder.h"
#include "support/core/FixedClock.h"
#include "support/core/TempFolder.h"

namespace quillon {
namespace {

using testing::ActRec;
using testing::ClassRec;
using testing::StudentRec;

class ExportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.Write(kClassesFile, ClassRec("Math", "060", "1") + ClassRec("Math", "070", "2") +
                                ClassRec("Zeta", "060", "3"));
    dir.Write(kStudentsFile, StudentRec("Anne", "2", "1") + StudentRec("Ann", "1", "1") +
                                 StudentRec("bob", "1", "2") + StudentRec("Bob", "2", "2") +
                                 StudentRec("Cy", "1", "3"));
    catalogue.UnitLessonTitles[7][1][2] = "Reading a Pay Stub";
    catalogue.UnitLessonTitles[1][4][7] = "A lesson title that is longer than thirty-six";
    catalogue.NumberedLessonTitles[2][12] = "Twelfth";
    FillUnitTestNames(&names);
  }
  // The export of `records` as lines of "field|field|...".
  std::vector<std::string> Export(const std::string& records, int order,
                                  std::optional<std::string> cutoff = std::nullopt) {
    dir.Write(kRecordsFile, records);
    std::filesystem::remove(dir.path() + "/out.txt");
    std::size_t written = 0;
    std::string name = "out.txt";
    EXPECT_TRUE(
        WriteExport(dir.folder(), clock, {catalogue, names}, cutoff, order, &name, &written).ok());
    EXPECT_EQ(name, "out.txt");
    std::vector<std::string> lines;
    std::string text = dir.Read("out.txt"), line;
    for (char c : text) {
      if (c == '\n') {
        lines.push_back(line);
        line.clear();
      } else if (c != '\r') {
        line += c == '\t' ? '|' : c;
      }
    }
    EXPECT_EQ(lines.size(), written);
    return lines;
  }
  // The class and student fields of each exported line.
  std::vector<std::string> Who(const std::vector<std::string>& lines) {
    std::vector<std::string> out;
    for (const auto& l : lines) {
      std::size_t a = l.find('|'), b = l.find('|', a + 1), c = l.find('|', b + 1),
                  d = l.find('|', c + 1);
      out.push_back(l.substr(0, b) + "|" + l.substr(c + 1, d - c - 1));
    }
    return out;
  }
  testing::TempFolder dir;
  testing::FixedClock clock{{2024, 4, 5}};
  LessonCatalogue catalogue;
  UnitNameTable names;
};

using Lines = std::vector<std::string>;

TEST_F(ExportTest, ExactBytesOfTheFile) {
  dir.Write(kRecordsFile, ActRec("S1", "1", "1", "090526", "01", "02", "12", "10", "7") +
                              ActRec("C1", "9", "9", "090626", "04", "57", "5", "4", "3"));
  std::size_t written = 0;
  std::string name = "out.txt";
  ASSERT_TRUE(
      WriteExport(dir.folder(), clock, {catalogue, names}, std::nullopt, 1, &name, &written).ok());
  EXPECT_EQ(written, 2u);
  EXPECT_EQ(dir.Read("out.txt"),
            "Math\tAnn\tBus Math\t09/05/26\tReading a Pay Stub\t12\t10\t7\r\n"
            "\t\tV&T-PreA\t09/06/26\tA lesson title that is longer than t\t5\t4\t3\r\n");
}

TEST_F(ExportTest, LineLayout) {
  ExportLookups lookups;
  ASSERT_TRUE(LoadExportLookups(dir.folder(), &lookups).ok());
  std::string line = ComposeExportLine(
      {catalogue, names}, lookups, ActRec("P2", "2", "2", "123126", "99", "12", "7", "0", "45"));
  EXPECT_EQ(line, std::string("Math") + std::string(21, ' ') + "Bob" + std::string(18, ' ') +
                      "K&J-Alg1" + "12/31/26" + "Twelfth" + std::string(29, ' ') + "7  0  45 ");
  EXPECT_EQ(line.size(), 107u);
  // "C" tests are labelled as the display labels them.
  EXPECT_EQ(ComposeExportLine({catalogue, names}, lookups,
                              ActRec("C2", "1", "1", "010126", "53", "00", "1", "1", "1"))
                .substr(62, 36),
            FixWidth("Unit Test: Equations", 36));
  EXPECT_EQ(ComposeExportLine({catalogue, names}, lookups,
                              ActRec("P2", "1", "1", "010126", "05", "12", "1", "1", "1"))
                .substr(62, 36),
            FixWidth("Test...various prob types", 36));
}

TEST_F(ExportTest, FiveOrders) {
  const std::string records =
      ActRec("C1", "2", "2", "090526", "01", "01", "1", "1", "1") +  // Math/Bob
      ActRec("C1", "1", "2", "090526", "01", "01", "1", "1", "1") +  // Math/Anne
      ActRec("C1", "3", "1", "090426", "01", "01", "1", "1", "1") +  // Zeta/Cy
      ActRec("P1", "2", "1", "090526", "99", "01", "1", "1", "1") +  // Math/bob
      ActRec("C1", "1", "1", "090726", "01", "01", "1", "1", "1") +  // Math/Ann
      ActRec("C1", "1", "1", "123199", "01", "01", "1", "1", "1");   // Math/Ann in 1999
  EXPECT_EQ(Who(Export(records, 1)),
            (Lines{"Math|Ann|12/31/99", "Zeta|Cy|09/04/26", "Math|Anne|09/05/26",
                   "Math|Bob|09/05/26", "Math|bob|09/05/26", "Math|Ann|09/07/26"}));
  EXPECT_EQ(Who(Export(records, 2)),
            (Lines{"Math|Ann|12/31/99", "Zeta|Cy|09/04/26", "Math|Anne|09/05/26",
                   "Math|Bob|09/05/26", "Math|bob|09/05/26", "Math|Ann|09/07/26"}));
  // Classes 1 and 2 share a name and interleave.
  EXPECT_EQ(Who(Export(records, 3)),
            (Lines{"Math|Ann|12/31/99", "Math|Anne|09/05/26", "Math|Bob|09/05/26",
                   "Math|bob|09/05/26", "Math|Ann|09/07/26", "Zeta|Cy|09/04/26"}));
  EXPECT_EQ(Who(Export(records, 4)),
            (Lines{"Math|Ann|12/31/99", "Math|Ann|09/07/26", "Math|Anne|09/05/26",
                   "Math|Bob|09/05/26", "Math|bob|09/05/26", "Zeta|Cy|09/04/26"}));
  // Capitals before small letters: Cy before bob.
  EXPECT_EQ(Who(Export(records, 5)),
            (Lines{"Math|Ann|12/31/99", "Math|Ann|09/07/26", "Math|Anne|09/05/26",
                   "Math|Bob|09/05/26", "Zeta|Cy|09/04/26", "Math|bob|09/05/26"}));
}

TEST_F(ExportTest, CutoffIsAPlainYymmddComparison) {
  const std::string records = ActRec("C1", "1", "1", "090426", "01", "01", "1", "1", "1") +
                              ActRec("C1", "1", "1", "090526", "01", "01", "1", "1", "1") +
                              ActRec("C1", "1", "1", "123199", "01", "01", "1", "1", "1");
  // Equal to the cutoff: kept. The 1999 record passes too: "991231" is the
  // larger text.
  EXPECT_EQ(Export(records, 1, "260905").size(), 2u);
  EXPECT_EQ(Export(records, 1, "260904").size(), 3u);
  EXPECT_EQ(Export(records, 1, "990101").size(), 1u);  // year 99 excludes 00-98
  EXPECT_TRUE(Export("", 1).empty());
  EXPECT_EQ(dir.Read("out.txt"), "");
}

// Date order reads two-digit years 00-29 as 2000-2029 and 30-99 as
// 1930-1999; a date that is not one sorts first.
TEST_F(ExportTest, CenturyAndInvalidDatesInDateOrder) {
  dir.Write(kStudentsFile, StudentRec("S1", "1", "1") + StudentRec("S2", "2", "1") +
                               StudentRec("S3", "3", "1") + StudentRec("S4", "4", "1") +
                               StudentRec("S5", "5", "1") + StudentRec("S6", "6", "1") +
                               StudentRec("S7", "7", "1") + StudentRec("S8", "8", "1"));
  const char* dates[] = {"090526", "123129", "010130", "022924",
                         "022926", "130126", "abcdef", "      "};
  std::string records;
  for (int n = 0; n < 8; ++n) {
    records += ActRec("C1", "1", std::to_string(8 - n), dates[n], "01", "01", "1", "1", "1");
  }
  // Student 8 - n has date n: S8 09/05/26 ... S1 with blanks.
  EXPECT_EQ(
      Who(Export(records, 2)),
      (Lines{"Math|S1|/  /", "Math|S2|ab/cd/ef", "Math|S3|13/01/26", "Math|S4|02/29/26",
             "Math|S6|01/01/30", "Math|S5|02/29/24", "Math|S8|09/05/26", "Math|S7|12/31/29"}));
}

TEST(ParseCutoffDateTest, MonthDayYear) {
  EXPECT_EQ(ParseCutoffDate("09/05/26"), "260905");
  EXPECT_EQ(ParseCutoffDate("9/5/2026"), "260905");
  EXPECT_EQ(ParseCutoffDate("13/45/12"), std::nullopt);
  EXPECT_EQ(ParseCutoffDate("02/30/26"), std::nullopt);
  EXPECT_EQ(ParseCutoffDate("090526"), std::nullopt);
  EXPECT_EQ(ParseCutoffDate("a/b/c"), std::nullopt);
  EXPECT_EQ(ParseCutoffDate(""), std::nullopt);
}

// The key of a file line (fields joined by tabs) for `order`, built from its
// fields padded as the 107-character line pads them; the dates of these tests
// are all in 2026 or between 1930 and 2029.
std::string LiteralKey(const std::string& line, int order) {
  std::vector<std::string> f;
  for (std::size_t at = 0;;) {
    const std::size_t tab = line.find('\t', at);
    f.push_back(line.substr(at, tab == std::string::npos ? std::string::npos : tab - at));
    if (tab == std::string::npos) break;
    at = tab + 1;
  }
  const std::string yy = f[3].substr(6, 2);
  const std::string d = (yy < "30" ? "20" : "19") + yy + f[3].substr(0, 2) + f[3].substr(3, 2);
  const std::string cls = FixWidth(f[0], 25), stu = FixWidth(f[1], 21), course = FixWidth(f[2], 8);
  switch (order) {
    case 1:
      return d + cls + stu;
    case 2:
      return d + stu;
    case 3:
      return cls + d + stu;
    case 4:
      return cls + stu + d;
    default:
      return stu + course + d;
  }
}

// The export's quicksort on (key, line) pairs.
using Keyed = std::vector<std::pair<std::string, std::string>>;
void LiteralQuickSort(Keyed& list, long low, long high) {
  long i = low, j = high;
  const std::string pivot = list[static_cast<std::size_t>((low + high) / 2)].first;
  while (i <= j) {
    while (list[static_cast<std::size_t>(i)].first < pivot && i < high) ++i;
    while (pivot < list[static_cast<std::size_t>(j)].first && j > low) --j;
    if (i <= j) {
      std::swap(list[static_cast<std::size_t>(i)], list[static_cast<std::size_t>(j)]);
      ++i;
      --j;
    }
  }
  if (low < j) LiteralQuickSort(list, low, j);
  if (i < high) LiteralQuickSort(list, i, high);
}

// The lines of an export file.
std::vector<std::string> FileLines(const std::string& text) {
  std::vector<std::string> lines;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t end = text.find("\r\n", at);
    lines.push_back(text.substr(at, end - at));
    at = end + 2;
  }
  return lines;
}

// Exports `records` in `order` and compares the file with `lines` (the
// file line of each record, in the records' order) put in order by the
// literal procedure.
void ExpectLiteralOrder(testing::TempFolder& dir, const std::string& records,
                        std::vector<std::string> lines, int order) {
  dir.Write(kRecordsFile, records);
  std::filesystem::remove(dir.path() + "/out.txt");
  testing::FixedClock clock({2024, 4, 5});
  LessonCatalogue catalogue;
  UnitNameTable names;
  std::string name = "out.txt";
  std::size_t written = 0;
  ASSERT_TRUE(
      WriteExport(dir.folder(), clock, {catalogue, names}, std::nullopt, order, &name, &written)
          .ok());
  Keyed keyed;
  for (std::string& line : lines) keyed.emplace_back(LiteralKey(line, order), std::move(line));
  LiteralQuickSort(keyed, 0, static_cast<long>(keyed.size()) - 1);
  std::vector<std::string> expected;
  for (auto& [key, line] : keyed) expected.push_back(std::move(line));
  ASSERT_EQ(FileLines(dir.Read("out.txt")), expected) << "order " << order;
}

TEST(ExportOrderTest, SameOrderAsTheLiteralProcedureEqualKeysIncluded) {
  testing::TempFolder dir;
  const char* names[] = {"Ann", "Anne", "Bob", "bob"};
  dir.Write(kClassesFile, ClassRec("Ann", "060", "1") + ClassRec("Anne", "060", "2"));
  std::string roster;
  for (int c = 1; c <= 2; ++c) {
    for (int s = 1; s <= 4; ++s)
      roster += StudentRec(names[s - 1], std::to_string(s), std::to_string(c));
  }
  dir.Write(kStudentsFile, roster);
  std::mt19937 rng(3);
  for (int round = 0; round < 50; ++round) {
    std::string records;
    std::vector<std::string> lines;
    for (int n = 0; n < 40; ++n) {
      const unsigned c = rng() % 2 + 1, s = rng() % 4 + 1, day = rng() % 3 + 1;
      records +=
          ActRec("C1", std::to_string(c), std::to_string(s), "090" + std::to_string(day) + "26",
                 "01", "01", "1", "1", std::to_string(n));
      lines.push_back(std::string(names[c - 1]) + "\t" + names[s - 1] + "\tV&T-PreA\t09/0" +
                      std::to_string(day) + "/26\t\t1\t1\t" + std::to_string(n));
    }
    for (int order = 1; order <= 5; ++order) ExpectLiteralOrder(dir, records, lines, order);
  }
}

// McIlroy's adversary ("A Killer Adversary for Quicksort", 1999): values for
// n items, fixed as the export's procedure compares them, that make it take
// about n*n/2 comparisons. Item i is the i-th line of the input.
std::vector<int> KillerValues(int n) {
  std::vector<int> val(static_cast<std::size_t>(n), n);  // n: not fixed yet
  int solid = 0, candidate = 0;
  auto less = [&](int x, int y) {
    auto& vx = val[static_cast<std::size_t>(x)];
    auto& vy = val[static_cast<std::size_t>(y)];
    if (vx == n && vy == n) (x == candidate ? vx : vy) = solid++;
    if (vx == n) {
      candidate = x;
    } else if (vy == n) {
      candidate = y;
    }
    return vx < vy;
  };
  std::vector<int> list(static_cast<std::size_t>(n));
  std::iota(list.begin(), list.end(), 0);
  auto at = [&](long k) -> int& { return list[static_cast<std::size_t>(k)]; };
  // The procedure with its larger part in a loop (the same comparisons).
  std::function<void(long, long)> sort = [&](long low, long high) {
    while (low < high) {
      long i = low, j = high;
      const int pivot = at((low + high) / 2);
      while (i <= j) {
        while (less(at(i), pivot) && i < high) ++i;
        while (less(pivot, at(j)) && j > low) --j;
        if (i <= j) std::swap(at(i++), at(j--));
      }
      if (j - low < high - i) {
        if (low < j) sort(low, j);
        low = i;
      } else {
        if (i < high) sort(i, high);
        high = j;
      }
    }
  };
  sort(0, n - 1);
  for (int& v : val) {
    if (v == n) v = solid++;
  }
  return val;
}

// mm/dd/yy of the day `days` after 01/01/1930 (1930 to 2029, the export's
// century).
std::string DayAfter1930(int days) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  int year = 1930, month = 0;
  for (;;) {
    const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
    const int in_month = kDays[month] + (month == 1 && leap ? 1 : 0);
    if (days < in_month) break;
    days -= in_month;
    if (++month == 12) month = 0, ++year;
  }
  return ZeroPad(month + 1, 2) + "/" + ZeroPad(days + 1, 2) + "/" + ZeroPad(year % 100, 2);
}

// One student, dates in the order that is worst for the procedure: with
// every key different the order is found in n log n, with equal keys on
// different lines the procedure runs, its stack bounded; either way the
// same order as the literal procedure.
TEST(ExportOrderTest, TheUnluckiestOrderOfDates) {
  testing::TempFolder dir;
  dir.Write(kClassesFile, ClassRec("Class", "060", "1"));
  dir.Write(kStudentsFile, StudentRec("Student", "1", "1"));
  const std::vector<int> killer = KillerValues(3000);
  for (bool doubled : {false, true}) {
    std::string records;
    std::vector<std::string> lines;
    for (int v : killer) {
      // Doubled: two records a day, told apart by their minutes.
      const std::string date = DayAfter1930(doubled ? v / 2 : v);
      const std::string minutes = doubled ? std::to_string(v % 2) : "1";
      records += ActRec("C1", "1", "1", date.substr(0, 2) + date.substr(3, 2) + date.substr(6, 2),
                        "01", "01", "1", "1", minutes);
      lines.push_back("Class\tStudent\tV&T-PreA\t" + date + "\t\t1\t1\t" + minutes);
    }
    ExpectLiteralOrder(dir, records, lines, 1);
  }
}

// The largest file the format allows, in that order, through the export:
// it finishes (and under the sanitizer build its stack holds).
TEST(ExportOrderTest, TheLargestUnluckyFileIsExportedInDateOrder) {
  testing::TempFolder dir;
  std::string records;
  const std::vector<int> killer = KillerValues(32767);
  for (int v : killer) {
    const std::string date = DayAfter1930(v);
    records += ActRec("C1", "1", "1", date.substr(0, 2) + date.substr(3, 2) + date.substr(6, 2),
                      "01", "01", "1", "1", "1");
  }
  dir.Write(kRecordsFile, records);
  testing::FixedClock clock({2024, 4, 5});
  LessonCatalogue catalogue;
  UnitNameTable names;
  std::string name = "out.txt";
  std::size_t written = 0;
  ASSERT_TRUE(
      WriteExport(dir.folder(), clock, {catalogue, names}, std::nullopt, 2, &name, &written).ok());
  ASSERT_EQ(written, 32767u);
  const std::string text = dir.Read("out.txt");
  std::string previous = "00000000";
  for (std::size_t at = 0; at < text.size(); at = text.find('\n', at) + 1) {
    const std::size_t date_at = text.find("\t", text.find("\t", at) + 1) + 1;
    const std::string mmddyy = text.substr(date_at + 1, 8);
    const std::string yy = mmddyy.substr(6, 2);
    const std::string key =
        (yy < "30" ? "20" : "19") + yy + mmddyy.substr(0, 2) + mmddyy.substr(3, 2);
    ASSERT_LE(previous, key) << mmddyy;
    previous = key;
  }
}

TEST_F(ExportTest, EveryCodeNotBeginningWithACapitalCIsLabelledAsTheNumberedSeries) {
  ExportLookups lookups;
  ASSERT_TRUE(LoadExportLookups(dir.folder(), &lookups).ok());
  struct Case {
    const char* code;
    const char* unit;
    const char* label;
  } cases[] = {{"c3", "05", "Test...various prob types"},
               {"p2", "05", "Test...various prob types"},
               {"X1", "04", "Test...various prob types"},
               {"X2", "99", "Twelfth"}};
  for (const Case& c : cases) {
    const std::string line =
        ComposeExportLine({catalogue, names}, lookups,
                          ActRec(c.code, "1", "1", "010126", c.unit, "12", "1", "1", "1"));
    EXPECT_EQ(line.substr(62, 36), FixWidth(c.label, 36)) << c.code;
  }
}

// A file of the chosen name appearing between the choice and the write is
// never overwritten: the export takes the next name.
TEST_F(ExportTest, AFileThatAppearsMeanwhileIsNeverOverwritten) {
  dir.Write(kRecordsFile, ActRec("C1", "1", "1", "090526", "01", "01", "1", "1", "1"));
  testing::FaultyFolder racing(&dir.folder(), -1, testing::FaultyFolder::Mode::kFail);
  racing.before = [&](int, const std::string& what) {
    if (what == "PublishFile Records040524-01.txt") dir.Write("Records040524-01.txt", "theirs");
  };
  std::string name = MakeOutputFileName(racing, clock);
  ASSERT_EQ(name, "Records040524-01.txt");
  std::size_t written = 0;
  ASSERT_TRUE(
      WriteExport(racing, clock, {catalogue, names}, std::nullopt, 1, &name, &written).ok());
  EXPECT_EQ(name, "Records040524-02.txt");
  EXPECT_EQ(dir.Read("Records040524-01.txt"), "theirs");
  EXPECT_EQ(dir.Read("Records040524-02.txt"), "Math\tAnn\tV&T-PreA\t09/05/26\t\t1\t1\t1\r\n");
  EXPECT_FALSE(dir.Exists("Records040524-01.txt.part"));
}

// A temporary file left by an export cut short, or a link put in its place,
// is removed, never written through: what the link points at is kept.
TEST_F(ExportTest, ALinkInPlaceOfTheTemporaryFileIsNotWrittenThrough) {
  testing::TempFolder outside;
  outside.Write("theirs.txt", "keep");
  dir.Write(kRecordsFile, ActRec("C1", "1", "1", "090526", "01", "01", "1", "1", "1"));
  std::filesystem::create_symlink(outside.path() + "/theirs.txt",
                                  dir.path() + "/Records040524-01.txt.part");
  std::string name = "Records040524-01.txt";
  std::size_t written = 0;
  ASSERT_TRUE(
      WriteExport(dir.folder(), clock, {catalogue, names}, std::nullopt, 1, &name, &written).ok());
  EXPECT_EQ(dir.Read("Records040524-01.txt"), "Math\tAnn\tV&T-PreA\t09/05/26\t\t1\t1\t1\r\n");
  EXPECT_EQ(outside.Read("theirs.txt"), "keep");
  EXPECT_FALSE(std::filesystem::is_symlink(dir.path() + "/Records040524-01.txt.part"));
}

TEST(MakeOutputFileNameTest, LowestFreeOfTwenty) {
  testing::TempFolder dir;
  testing::FixedClock clock({2024, 4, 5});
  EXPECT_EQ(MakeOutputFileName(dir.folder(), clock), "Records040524-01.txt");
  dir.Write("Records040524-01.txt", "");
  dir.Write("Records040524-02.txt", "");
  EXPECT_EQ(MakeOutputFileName(dir.folder(), clock), "Records040524-03.txt");
  std::filesystem::remove(dir.path() + "/Records040524-01.txt");
  EXPECT_EQ(MakeOutputFileName(dir.folder(), clock), "Records040524-01.txt");
  for (int n = 1; n <= 20; ++n) {
    dir.Write("Records040524-" + ZeroPad(n, 2) + ".txt", "");
  }
  EXPECT_EQ(MakeOutputFileName(dir.folder(), clock), "Error");
}

}  // namespace
}  // namespace quillon

namespace quillon {
namespace {

// The export's lines are made from texts found once per distinct bytes (a
// class and student, a course code with its unit and lesson fields, a
// count): records whose bytes differ where a text looks each get their own
// text, however the bytes were first met.
TEST_F(ExportTest, LinesMadeFromTextsFoundOncePerBytesAreEachRecordsOwn) {
  dir.Write(kRecordsFile,
            ActRec("S1", "1", "1", "090526", "01", "02", " 12", "010", "7") +  // C7 written S1
            ActRec("C7", "1", "1", "090626", "01", "02", "12", "10", "007") +
            ActRec("C7", "1", "1", "090726", "01", "02", "1.5", "ab", "-3") +
            ActRec("c7", "1", "1", "090826", "01", "02", "5", "4", "3") +  // lowercase: numbered
            ActRec("C7", "1", "2", " 9 526", "01", "52", "12", "10", "7") +  // the lesson's test
            ActRec("C2", "2", "2", "090526", "53", "00", "", "", "") +      // a unit test
            ActRec("P2", "9", "9", "123126", "99", "12", "7", "0", "45"));  // not on file
  std::string name = "out.txt";
  std::size_t written = 0;
  ASSERT_TRUE(
      WriteExport(dir.folder(), clock, {catalogue, names}, std::nullopt, 4, &name, &written).ok());
  EXPECT_EQ(dir.Read("out.txt"),
            "\t\tK&J-Alg1\t12/31/26\tTwelfth\t7\t0\t45\r\n"
            "Math\tAnn\tBus Math\t09/05/26\tReading a Pay Stub\t12\t10\t7\r\n"
            "Math\tAnn\tBus Math\t09/06/26\tReading a Pay Stub\t12\t10\t7\r\n"
            "Math\tAnn\tBus Math\t09/07/26\tReading a Pay Stub\t1.5\t0\t-3\r\n"
            "Math\tAnn\tBus Math\t09/08/26\tTest...various prob types\t5\t4\t3\r\n"
            "Math\tAnne\tBus Math\t9/ 5/26\tReading a Pay Stub\t12\t10\t7\r\n"
            "Math\tBob\tV&T-Alg1\t09/05/26\tUnit Test: Equations\t0\t0\t0\r\n");
}

}  // namespace
}  // namespace quillon
