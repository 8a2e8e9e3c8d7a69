// quillon-cli's text as a terminal and a script get it, run as the built
// program on a folder with accented names: the files' Latin-1 bytes shown in
// the locale's encoding or as stored, names typed on the command line stored
// back or refused, and every listing as a JSON document, parsed back and
// compared whole.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "support/core/Builders.h"
#include "support/core/RunCommand.h"
#include "support/core/TempFolder.h"

namespace quillon {
namespace {

using nlohmann::json;
using testing::ActRec;
using testing::ClassRec;
using testing::DiagRec;
using testing::StudentRec;
using Result = testing::CommandResult;

// Géométrie and Amélie Lefèvre as the files hold them (Latin-1), and a class
// whose name holds a terminal command (ESC [31m, red).
const std::string kGeometrie = "G\xE9om\xE9trie", kAmelie = "Am\xE9lie Lef\xE8vre";
const std::string kRed = "Alg\x1B[31mebra";
// The same in UTF-8.
const std::string kGeometrieUtf8 = "G\xC3\xA9om\xC3\xA9trie",
                  kAmelieUtf8 = "Am\xC3\xA9lie Lef\xC3\xA8vre";
const std::string kKey = "ABCDEABCDEABCDEABCDEABCDEABCDE";

class TerminalTextCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.Write("LESSONS.DAT", testing::MinimalLessons());
    dir.Write("CLASSES.DAT", ClassRec(kGeometrie, "060", "1") + ClassRec(kRed, "070", "2"));
    dir.Write("STUDENTS.DAT",
              StudentRec("Bob", "2", "1", "[") + StudentRec(kAmelie, "1", "1", "KLM"));
    dir.Write("RECORDS.DAT", ActRec("C3", "1", "1", "091526", "01", "51", "10", "9", "25") +
                                 ActRec("C3", "1", "2", "091426", "01", "01", "10", "6", "5"));
    // Amélie: problems 28 and 30 missed; Bob: a test code no test has.
    dir.Write("Diag.dat",
              DiagRec("C1", "1", "1", "091626", kKey.substr(0, 27) + "X" + kKey[28] + "X", kKey) +
                  DiagRec("Z9", "1", "2", "022926", kKey, kKey));
  }
  // `args` run under the locale `locale` (LC_ALL) in the folder.
  Result Run(const std::string& locale, const std::string& args) {
    return testing::RunCommand("env LC_ALL=" + locale + " " + std::string(QUILLON_CLI) + " " + args,
                               dir.path());
  }
  testing::TempFolder dir;
};

TEST_F(TerminalTextCliTest, AccentedNamesInEachEncoding) {
  struct Case {
    std::string locale, args, out;
  } cases[] = {
      {"C.UTF-8", "classes", "2\t70\tAlg?[31mebra\n1\t60\t" + kGeometrieUtf8 + "\n"},
      {"C", "classes", "2\t70\tAlg?[31mebra\n1\t60\tG?om?trie\n"},
      {"C", "--encoding utf-8 classes", "2\t70\tAlg?[31mebra\n1\t60\t" + kGeometrieUtf8 + "\n"},
      {"C.UTF-8", "--encoding latin1 classes", "2\t70\t" + kRed + "\n1\t60\t" + kGeometrie + "\n"},
      {"C", "classes --encoding=raw", "2\t70\t" + kRed + "\n1\t60\t" + kGeometrie + "\n"},
      {"C.UTF-8", "roster --class 1", "1\t" + kAmelieUtf8 + "\n2\tBob\n"},
      {"C", "roster --class 1", "1\tAm?lie Lef?vre\n2\tBob\n"},
      {"C.UTF-8", "slips --class 1 --student 1", "1\t" + kAmelieUtf8 + "\tABC\n"},
      {"C", "--encoding latin1 slips --class 1", "1\t" + kAmelie + "\tABC\n2\tBob\tQ\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Run(c.locale, c.args), (Result{0, c.out, ""})) << c.locale << " " << c.args;
  }
  // A records line: the stored bytes with --encoding latin1, and each
  // accented letter as its two UTF-8 bytes in a UTF-8 locale.
  const Result stored = Run("C", "--encoding latin1 records --class 1 --student 1");
  ASSERT_EQ(stored.status, 0);
  EXPECT_EQ(stored.out.substr(0, 24), "Am\xE9lie Lef\xE8vre   091526 ");
  std::string utf8 = stored.out;
  utf8.replace(utf8.find('\xE9'), 1, "\xC3\xA9");
  utf8.replace(utf8.find('\xE8'), 1, "\xC3\xA8");
  EXPECT_EQ(Run("C.UTF-8", "records --class 1 --student 1").out, utf8);
}

TEST_F(TerminalTextCliTest, NamesOnTheCommandLineAreStoredBackOrRefused) {
  const Result geometrie{0, "1\t" + kAmelieUtf8 + "\n2\tBob\n", ""};
  EXPECT_EQ(Run("C.UTF-8", "roster --class '" + kGeometrieUtf8 + "'"), geometrie);
  EXPECT_EQ(Run("C.UTF-8", "roster --class='" + kGeometrieUtf8 + "'"), geometrie);
  EXPECT_EQ(Run("C", "--encoding utf-8 roster --class '" + kGeometrieUtf8 + "'"), geometrie);
  EXPECT_EQ(Run("C", "--encoding latin1 roster --class '" + kGeometrie + "'"),
            (Result{0, "1\t" + kAmelie + "\n2\tBob\n", ""}));
  struct Case {
    std::string locale, name, err;
  } cases[] = {
      {"C.UTF-8",
       "\xC4\x9C"
       "eom\xC3\xA9trie",
       "--class \"\xC4\x9C"
       "eom\xC3\xA9trie\": the character \"\xC4\x9C\" (U+011C) cannot be "
       "stored: the program's files hold only Latin-1 characters"},
      {"C.UTF-8", kGeometrie, "--class \"" + kGeometrie + "\": is not valid UTF-8 text"},
      {"C", kGeometrieUtf8,
       "--class \"" + kGeometrieUtf8 +
           "\": is not text in the terminal's encoding (ANSI_X3.4-1968); set LANG to the "
           "terminal's locale, or give --encoding utf-8"},
      {"C.UTF-8", "G\xC3\xA9om\xC3\xA8trie",
       "there is no class named \"G\xC3\xA9om\xC3\xA8trie\" in CLASSES.DAT"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Run(c.locale, "roster --class '" + c.name + "'"),
              (Result{2, "", "quillon-cli: " + c.err + "\n"}))
        << c.locale << " " << c.name;
  }
}

TEST_F(TerminalTextCliTest, JsonDocumentsParsedBackWhole) {
  std::filesystem::create_directories(dir.path() + "/Erased");
  const std::string erased = ActRec("C3", "1", "1", "010420", "01", "01", "4", "4", "3");
  dir.Write("Erased/200105-081500-0a1b.qbn",
            "QUILLON ERASED 1\nID: 200105-081500-0a1b\nWhen: 01/05/20 08:15\nWhat: Records of " +
                kAmelie + ", " + kGeometrie + "\nClass: " + ClassRec(kGeometrie, "060", "1") +
                "\nStudent: " + StudentRec(kAmelie, "1", "1", "KLM") +
                "\nGroup: RECORDS.DAT 25 1 00ff00ff00ff00ff\n" + erased + "\n");
  dir.Write("roster.csv", "Name;PIN\r\nZo\xC3\xA9 Ames;z1\r\nBob;\r\n");

  const json geometrie = {{"number", 1}, {"name", kGeometrieUtf8}, {"passing_grade", 60}};
  json answers = json::array();
  for (int p = 1; p <= 30; ++p) {
    const std::string key(1, kKey[static_cast<std::size_t>(p - 1)]);
    const bool missed = p == 28 || p == 30;
    answers.push_back(
        {{"problem", p}, {"answer", missed ? "X" : key}, {"key", key}, {"correct", !missed}});
  }
  struct Case {
    std::string args;
    json document;
  } cases[] = {
      {"classes --json",
       {{"classes",
         {{{"number", 2}, {"name", "Alg\x1B[31mebra"}, {"passing_grade", 70}}, geometrie}}}},
      {"roster --class 1 --json",
       {{"class", geometrie},
        {"students", {{{"number", 1}, {"name", kAmelieUtf8}}, {{"number", 2}, {"name", "Bob"}}}}}},
      {"records --class 1 --json",
       {{"class", geometrie},
        {"student", nullptr},
        {"group", "all"},
        {"sort", "name"},
        {"direction", "increasing"},
        {"records",
         {{{"name", kAmelieUtf8},
           {"date", "2026-09-15"},
           {"course_code", "C3"},
           {"course", "V&T-Geom"},
           {"unit", 1},
           {"lesson", 1},
           {"title", "C3 U1 L1"},
           {"activity", "Lesson Test"},
           {"attempted", 10},
           {"correct", 9},
           {"percent", 90},
           {"grade", nullptr},
           {"passed", true},
           {"minutes", 25}},
          {{"name", "Bob"},
           {"date", "2026-09-14"},
           {"course_code", "C3"},
           {"course", "V&T-Geom"},
           {"unit", 1},
           {"lesson", 1},
           {"title", "C3 U1 L1"},
           {"activity", "Practice"},
           {"attempted", 10},
           {"correct", 6},
           {"percent", 60},
           {"grade", "D"},
           {"passed", nullptr},
           {"minutes", 5}}}}}},
      {"diagnostics --class 1 --json",
       {{"class", geometrie},
        {"results",
         {{{"entry", 1},
           {"student", {{"number", 1}, {"name", kAmelieUtf8}}},
           {"test_code", "C1"},
           {"test", "Pre-Algebra"},
           {"date", "2026-09-16"},
           {"score",
            {{"correct", 28},
             {"problems", 30},
             {"percent", 93},
             {"answers", answers},
             {"areas",
              {{{"area", "Basic Operations with Integers"},
                {"problems", 7},
                {"correct", 7},
                {"rating", "Good"}},
               {{"area", "Basic Operations with Fractions"},
                {"problems", 9},
                {"correct", 9},
                {"rating", "Good"}},
               {{"area", "Basic Operations with Decimals"},
                {"problems", 7},
                {"correct", 7},
                {"rating", "Good"}},
               {{"area", "Other Operations with Integers"},
                {"problems", 7},
                {"correct", 5},
                {"rating", "Fair"}}}},
             {"lessons_to_study",
              {{{"code", "PA0304"},
                {"unit", "UNIT 3: Whole Numbers: Other Operations"},
                {"lesson", "Using Exponents"}},
               {{"code", "PA1001"},
                {"unit", "UNIT 10: Percent"},
                {"lesson", "Percents and Decimal Numbers"}}}}}}},
          {{"entry", 2},
           {"student", {{"number", 2}, {"name", "Bob"}}},
           {"test_code", "Z9"},
           {"test", nullptr},
           {"date", nullptr},  // 02/29/26 is no day
           {"score", nullptr}}}}}},
      {"summary --class 1 --json",
       {{"class", geometrie},
        {"from", nullptr},
        {"to", nullptr},
        {"students",
         {{{"number", 1},
           {"name", kAmelieUtf8},
           {"tests", 1},
           {"passed", 1},
           {"failed", 0},
           {"average", 90},
           {"practice", 0},
           {"practice_percent", nullptr},
           {"minutes", 25},
           {"last_work", "2026-09-15"},
           {"needs_help", 0}},
          {{"number", 2},
           {"name", "Bob"},
           {"tests", 0},
           {"passed", 0},
           {"failed", 0},
           {"average", nullptr},
           {"practice", 10},
           {"practice_percent", 60},
           {"minutes", 5},
           {"last_work", "2026-09-14"},
           {"needs_help", 0}}}}}},
      {"slips --class 1 --json",
       {{"class", geometrie},
        {"slips",
         {{{"number", 1}, {"name", kAmelieUtf8}, {"password", "ABC"}},
          {{"number", 2}, {"name", "Bob"}, {"password", "Q"}}}}}},
      {"bin --json",
       {{"entries",
         {{{"id", "200105-081500-0a1b"},
           {"when", "2020-01-05T08:15"},
           {"what", "Records of " + kAmelieUtf8 + ", " + kGeometrieUtf8},
           {"activity_records", 1},
           {"diagnostic_results", 0},
           {"roster_and_class_records", 0}}}}}},
      {"import --class 1 roster.csv --json",
       {{"class", geometrie},
        {"file", "roster.csv"},
        {"added", 0},
        {"rows",
         {{{"line", 2},
           {"name", "Zo\xC3\xA9 Ames"},
           {"cut", false},
           {"password", "Z1"},
           {"generated", false},
           {"number", 3},
           {"action", "add"},
           {"why", ""}},
          {{"line", 3},
           {"name", "Bob"},
           {"cut", false},
           {"password", ""},
           {"generated", false},
           {"number", nullptr},
           {"action", "already in this class"},
           {"why", ""}}}}}},
  };
  for (const Case& c : cases) {
    // UTF-8 where the terminal takes it, \u escapes (plain ASCII) where not:
    // the same document.
    for (const char* locale : {"C.UTF-8", "C"}) {
      const Result r = Run(locale, c.args);
      EXPECT_EQ(r.status, 0) << c.args;
      EXPECT_EQ(r.err, "") << c.args;
      const json parsed = json::parse(r.out, nullptr, /*allow_exceptions=*/false);
      EXPECT_EQ(parsed, c.document) << locale << " " << c.args << "\n" << r.out;
      if (std::string(locale) == "C") {
        EXPECT_EQ(r.out.find_first_not_of(
                      std::string("\t\n\r ") +
                      "!\"#$%&'()*+,-./0123456789:;<=>?@"
                      "ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`abcdefghijklmnopqrstuvwxyz{|}~"),
                  std::string::npos)
            << c.args;
      }
    }
  }
  // The members keep their order: "number" before "name".
  EXPECT_EQ(Run("C", "classes --json").out.substr(0, 54),
            "{\n  \"classes\": [\n    {\n      \"number\": 2,\n      \"name\"");
  // Nothing found: an empty list, and status 1.
  EXPECT_EQ(Run("C", "records --class 2 --json").status, 1);
  EXPECT_EQ(json::parse(Run("C", "records --class 2 --json").out)["records"], json::array());
  EXPECT_EQ(dir.Read("STUDENTS.DAT").size(), 62u);  // the preview added nobody
}

}  // namespace
}  // namespace quillon
