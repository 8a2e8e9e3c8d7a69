// quillon-cli overview on the hand-worked folder (support/core/OverviewFolder.h),
// run as the built program: its tab-separated lines, its JSON, its CSV
// bytes' ends and its exit statuses.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/core/OverviewFolder.h"
#include "support/core/RunCommand.h"
#include "support/core/TempFolder.h"

namespace quillon {
namespace {

// Algebra 1, Bob's one result (wrong 19, 21, 27, 28, 29): problems 19 and
// 21 share a lesson, named once; area 4 (10 problems) at 8 correct is Good,
// area 6 (5) at 2 Poor.
const char kAlgebraJson[] =
    "{\n"
    "  \"class\": 3,\n"
    "  \"class_name\": \"Algebra Lab\",\n"
    "  \"test\": \"C2\",\n"
    "  \"test_name\": \"Algebra 1\",\n"
    "  \"latest_only\": true,\n"
    "  \"from\": null,\n"
    "  \"to\": \"2026-12-31\",\n"
    "  \"results\": 1,\n"
    "  \"students\": 1,\n"
    "  \"not_scored\": 1,\n"
    "  \"without_date\": 0,\n"
    "  \"problems\": [\n"
    "    {\"problem\": 1, \"area\": 1, \"wrong\": 0, \"of\": 1, \"percent\": 0, \"lesson\": "
    "\"PA0101\", \"lesson_title\": \"Adding Whole Numbers\"},\n"
    "    {\"problem\": 2, \"area\": 1, \"wrong\": 0, \"of\": 1, \"percent\": 0, \"lesson\": "
    "\"PA0102\", \"lesson_title\": \"Subtracting Whole Numbers\"},\n"
    "    {\"problem\": 3, \"area\": 1, \"wrong\": 0, \"of\": 1, \"percent\": 0, \"lesson\": "
    "\"PA0201\", \"lesson_title\": \"Multiplying by Whole Numbers\"},\n"
    "    {\"problem\": 4, \"area\": 1, \"wrong\": 0, \"of\": 1, \"percent\": 0, \"lesson\": "
    "\"PA0202\", \"lesson_title\": \"Dividing by Whole Numbers\"},\n"
    "    {\"problem\": 5, \"area\": 2, \"wrong\": 0, \"of\": 1, \"percent\": 0, \"lesson\": "
    "\"PA0401\", \"lesson_title\": \"Fractions and Mixed Numbers\"},\n"
    "    {\"problem\": 6, \"area\": 2, \"wrong\": 0, \"of\": 1, \"percent\": 0, \"lesson\": "
    "\"PA0402\", \"lesson_title\": \"Reducing Fractions to Lowest Terms\"},\n"
    "    {\"problem\": 7, \"area\": 2, \"wrong\": 0, \"of\": 1, \"percent\": 0, \"lesson\": "
    "\"PA0403\", \"lesson_title\": \"Adding Fractions\"},\n"
    "    {\"problem\": 8, \"area\": 2, \"wrong\": 0, \"of\": 1, \"percent\": 0, \"lesson\": "
    "\"PA0404\", \"lesson_title\": \"Subtracting Fractions\"},\n"
    "    {\"problem\": 9, \"area\": 2, \"wrong\": 0, \"of\": 1, \"percent\": 0, \"lesson\": "
    "\"PA0501\", \"lesson_title\": \"Multiplying Fractions\"},\n"
    "    {\"problem\": 10, \"area\": 3, \"wrong\": 0, \"of\": 1, \"percent\": 0, \"lesson\": "
    "\"PA0601\", \"lesson_title\": \"Place Value and Decimal Numbers\"},\n"
    "    {\"problem\": 11, \"area\": 3, \"wrong\": 0, \"of\": 1, \"percent\": 0, \"lesson\": "
    "\"PA0602\", \"lesson_title\": \"Adding Decimal Numbers\"},\n"
    "    {\"problem\": 12, \"area\": 3, \"wrong\": 0, \"of\": 1, \"percent\": 0, \"lesson\": "
    "\"PA0603\", \"lesson_title\": \"Multiplying Decimal Numbers\"},\n"
    "    {\"problem\": 13, \"area\": 4, \"wrong\": 0, \"of\": 1, \"percent\": 0, \"lesson\": "
    "\"PA0301\", \"lesson_title\": \"Factoring Whole Numbers\"},\n"
    "    {\"problem\": 14, \"area\": 4, \"wrong\": 0, \"of\": 1, \"percent\": 0, \"lesson\": "
    "\"PA0302\", \"lesson_title\": \"Square Roots of Perfect Squares\"},\n"
    "    {\"problem\": 15, \"area\": 4, \"wrong\": 0, \"of\": 1, \"percent\": 0, \"lesson\": "
    "\"PA0701\", \"lesson_title\": \"The Number Line\"},\n"
    "    {\"problem\": 16, \"area\": 4, \"wrong\": 0, \"of\": 1, \"percent\": 0, \"lesson\": "
    "\"PA0702\", \"lesson_title\": \"Addition\"},\n"
    "    {\"problem\": 17, \"area\": 4, \"wrong\": 0, \"of\": 1, \"percent\": 0, \"lesson\": "
    "\"PA0703\", \"lesson_title\": \"Multiplication\"},\n"
    "    {\"problem\": 18, \"area\": 4, \"wrong\": 0, \"of\": 1, \"percent\": 0, \"lesson\": "
    "\"PA0303\", \"lesson_title\": \"Finding the GCF and LCM\"},\n"
    "    {\"problem\": 19, \"area\": 4, \"wrong\": 1, \"of\": 1, \"percent\": 100, \"lesson\": "
    "\"PB0101\", \"lesson_title\": \"Using Exponents\"},\n"
    "    {\"problem\": 20, \"area\": 4, \"wrong\": 0, \"of\": 1, \"percent\": 0, \"lesson\": "
    "\"PA0304\", \"lesson_title\": \"Order of Operations\"},\n"
    "    {\"problem\": 21, \"area\": 4, \"wrong\": 1, \"of\": 1, \"percent\": 100, \"lesson\": "
    "\"PB0101\", \"lesson_title\": \"Using Exponents\"},\n"
    "    {\"problem\": 22, \"area\": 5, \"wrong\": 0, \"of\": 1, \"percent\": 0, \"lesson\": "
    "\"PA1001\", \"lesson_title\": \"Percents and Decimal Numbers\"},\n"
    "    {\"problem\": 23, \"area\": 5, \"wrong\": 0, \"of\": 1, \"percent\": 0, \"lesson\": "
    "\"PA1002\", \"lesson_title\": \"Using the Percent Equation\"},\n"
    "    {\"problem\": 24, \"area\": 5, \"wrong\": 0, \"of\": 1, \"percent\": 0, \"lesson\": "
    "\"PA1003\", \"lesson_title\": \"Word Problems Involving Percent\"},\n"
    "    {\"problem\": 25, \"area\": 6, \"wrong\": 0, \"of\": 1, \"percent\": 0, \"lesson\": "
    "\"PB0102\", \"lesson_title\": \"Variables and Expressions\"},\n"
    "    {\"problem\": 26, \"area\": 6, \"wrong\": 0, \"of\": 1, \"percent\": 0, \"lesson\": "
    "\"PB0301\", \"lesson_title\": \"Like Terms\"},\n"
    "    {\"problem\": 27, \"area\": 6, \"wrong\": 1, \"of\": 1, \"percent\": 100, \"lesson\": "
    "\"PB0302\", \"lesson_title\": \"Simplifying Expressions\"},\n"
    "    {\"problem\": 28, \"area\": 6, \"wrong\": 1, \"of\": 1, \"percent\": 100, \"lesson\": "
    "\"PB0302\", \"lesson_title\": \"Solving Linear Equations\"},\n"
    "    {\"problem\": 29, \"area\": 6, \"wrong\": 1, \"of\": 1, \"percent\": 100, \"lesson\": "
    "\"PB0302\", \"lesson_title\": \"Solving Literal Eqns and Formulas\"},\n"
    "    {\"problem\": 30, \"area\": 4, \"wrong\": 0, \"of\": 1, \"percent\": 0, \"lesson\": "
    "\"PB0501\", \"lesson_title\": \"Multiplying with Exponents\"}\n"
    "  ],\n"
    "  \"areas\": [\n"
    "    {\"area\": 1, \"skill_area\": \"Basic Operations with Integers\", \"problems\": 4, "
    "\"poor\": 0, \"fair\": 0, \"good\": 1, \"mean_correct\": 4.0},\n"
    "    {\"area\": 2, \"skill_area\": \"Basic Operations with Fractions\", \"problems\": 5, "
    "\"poor\": 0, \"fair\": 0, \"good\": 1, \"mean_correct\": 5.0},\n"
    "    {\"area\": 3, \"skill_area\": \"Basic Operations with Decimals\", \"problems\": 3, "
    "\"poor\": 0, \"fair\": 0, \"good\": 1, \"mean_correct\": 3.0},\n"
    "    {\"area\": 4, \"skill_area\": \"Other Operations with Integers\", \"problems\": 10, "
    "\"poor\": 0, \"fair\": 0, \"good\": 1, \"mean_correct\": 8.0},\n"
    "    {\"area\": 5, \"skill_area\": \"Percent\", \"problems\": 3, "
    "\"poor\": 0, \"fair\": 0, \"good\": 1, \"mean_correct\": 3.0},\n"
    "    {\"area\": 6, \"skill_area\": \"Variables, Expressions, Equations\", \"problems\": 5, "
    "\"poor\": 1, \"fair\": 0, \"good\": 0, \"mean_correct\": 2.0}\n"
    "  ],\n"
    "  \"reteach\": [\n"
    "    {\"lesson\": \"PB0101\", \"lesson_title\": \"Using Exponents\", \"unit\": \"UNIT 1: "
    "Review of Arithmetic\", \"students\": 1, \"of\": 1, \"names\": [\"Cho, Bob\"]},\n"
    "    {\"lesson\": \"PB0302\", \"lesson_title\": \"Simplifying Expressions\", \"unit\": "
    "\"UNIT 3: Equations\", \"students\": 1, \"of\": 1, \"names\": [\"Cho, Bob\"]},\n"
    "    {\"lesson\": \"PB0302\", \"lesson_title\": \"Solving Linear Equations\", \"unit\": "
    "\"UNIT 3: Equations\", \"students\": 1, \"of\": 1, \"names\": [\"Cho, Bob\"]},\n"
    "    {\"lesson\": \"PB0302\", \"lesson_title\": \"Solving Literal Eqns and Formulas\", "
    "\"unit\": \"UNIT 3: Equations\", \"students\": 1, \"of\": 1, \"names\": [\"Cho, Bob\"]}\n"
    "  ]\n"
    "}\n";

TEST(OverviewCli, LinesJsonCsvAndStatuses) {
  testing::TempFolder dir;
  testing::WriteOverviewFolder(dir);
  auto run = [&](const std::string& args) {
    return testing::RunCommand(std::string(QUILLON_CLI) + " --folder " + dir.path() + " " + args);
  };
  struct Case {
    const char* args;
    int status;
    const char* out;
    const char* err;  // the first line of standard error
  } cases[] = {
      // The test with the most results (C1) when none is named; the names
      // as the files hold them.
      {"--encoding latin1 overview --class 3 --from 09/01/26 --to 12/31/26", 0,
       testing::kOverviewRangeLatestTabs, ""},
      {"overview --class 3 --test C2 --to 12/31/26 --json", 0, kAlgebraJson, ""},
      {"overview --class 6", 1, "No diagnostic results found.\n", ""},
      {"overview --class 3 --test C2 --from 11/04/26", 1, "No diagnostic results found.\n", ""},
      {"overview --class 3 --test c1", 2, "", "quillon-cli: --test takes C1|C2, not \"c1\"\n"},
      {"overview --class 3 --from 13/01/26", 2, "",
       "quillon-cli: --from takes a date as mm/dd/yy, not \"13/01/26\"\n"},
      {"overview --class 3 --from 12/01/26 --to 11/01/26", 2, "",
       "quillon-cli: --from is after --to\n"},
      {"overview --class 7", 2, "", "quillon-cli: there is no class 7 in CLASSES.DAT\n"},
      {"overview --class 3 --csv --json", 2, "",
       "quillon-cli: --csv and --json do not go together; try 'quillon-cli overview --help'\n"},
      {"overview --test C1", 2, "",
       "quillon-cli: --class is required; try 'quillon-cli overview --help'\n"},
  };
  for (const Case& c : cases) {
    const testing::CommandResult r = run(c.args);
    EXPECT_EQ(r.status, c.status) << c.args;
    EXPECT_EQ(r.out, c.out) << c.args;
    EXPECT_EQ(r.err.substr(0, r.err.find('\n') + 1), c.err) << c.args;
  }

  // The CSV file's bytes (all of them in the core's tests): its mark and
  // first row, its last row; the JSON keeps to ASCII.
  const std::string csv = run("overview --class 3 --from 09/01/26 --to 12/31/26 --csv").out;
  EXPECT_EQ(csv.substr(0, 19),
            "\xEF\xBB\xBF"
            "Class Overview\r\n");
  EXPECT_TRUE(csv.ends_with(
      "\r\nPA0501,Multiplying Fractions,UNIT 5: Fractions & Mixed Nos: Mult/Div,1,4,\r\n"));
  const std::string json = run("overview --class 3 --from 09/01/26 --json").out;
  EXPECT_NE(json.find("\"names\": [\"\", \"Ann Baker\", \"Cho, Bob\", \"Cy M\\u00fcller\"]"),
            std::string::npos);

  // Results that cannot be read (a folder in the file's place).
  std::filesystem::remove(dir.path() + "/Diag.dat");
  std::filesystem::create_directory(dir.path() + "/Diag.dat");
  const testing::CommandResult r = run("overview --class 3");
  EXPECT_EQ(r.status, 3);
  EXPECT_TRUE(r.err.starts_with("quillon-cli: ")) << r.err;
}

}  // namespace
}  // namespace quillon
