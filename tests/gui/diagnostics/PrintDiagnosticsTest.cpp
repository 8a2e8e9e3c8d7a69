// Diagnostic reports on paper: two portrait pages a report.
#include "data/ClassFiles.h"
#include "gui/diagnostics/PrintDiagnostics.h"
#include "support/core/Builders.h"
#include "support/gui/GuiFixture.h"

namespace quillon {
namespace {

using testing::DiagRec;
using testing::StudentRec;

const std::string kKey = "ABCDEABCDEABCDEABCDEABCDEABCDE";

class PrintDiagnosticsTest : public testing::GuiTest {
 protected:
  void SetUp() override { dir.Write(kStudentsFile, StudentRec("Ann Baker", "3", "7")); }
};

TEST_F(PrintDiagnosticsTest, AC1ReportOnTwoPages) {
  PrintDiagnostics(services(), {DiagRec("C1", "7", "3", "091526", kKey, kKey)});
  ASSERT_EQ(printer.documents.size(), 1u);
  const auto& pages = printer.documents[0];
  ASSERT_EQ(pages.size(), 2u);  // the new page before the end adds no sheet
  EXPECT_EQ(pages[0].orientation, Orientation::kPortrait);
  ASSERT_EQ(pages[0].lines.size(), 36u);
  EXPECT_EQ(pages[0].lines[0].text,
            "Pre-Algebra Diagnostic Test Results                     Page 1 of 2");
  EXPECT_EQ(pages[0].lines[0].y, 0.5);
  EXPECT_EQ(pages[0].lines[0].x, 0.4);
  EXPECT_EQ(pages[0].lines[0].points, 11);
  EXPECT_EQ(pages[0].lines[35].text,
            "Other Operations with Integers         7         7         Good");
  const std::vector<std::string> page2 = {
      "Pre-Algebra Diagnostic Test Results                     Page 2 of 2",
      " ",
      "Student: Ann Baker            ",
      "Date:    09/15/26",
      " ",
      " ",
      "                        RECOMMENDED PLAN OF STUDY",
      "                        =========================",
  };
  std::vector<std::string> got;
  for (const auto& l : pages[1].lines) got.push_back(l.text);
  EXPECT_EQ(got, page2);
  EXPECT_EQ(pages[1].lines[0].y, 0.5);
}

TEST_F(PrintDiagnosticsTest, AllOfThreeResultsGivesSixPages) {
  PrintDiagnostics(services(), {DiagRec("C1", "7", "3", "091526", kKey, kKey),
                                DiagRec("C2", "7", "3", "091626", std::string(30, 'x'), kKey),
                                DiagRec("C1", "7", "9", "091726", kKey, kKey)});
  ASSERT_EQ(printer.documents.size(), 1u);
  const auto& pages = printer.documents[0];
  ASSERT_EQ(pages.size(), 6u);
  EXPECT_EQ(pages[2].lines[0].text,
            "Algebra 1 Diagnostic Test Results                     Page 1 of 2");
  EXPECT_EQ(pages[2].lines.size(), 38u);  // six skill areas
  EXPECT_EQ(pages[3].lines.size(), 87u - 38u + 5u - 2u);
  EXPECT_EQ(pages[5].lines[2].text, "Student: ");  // not on the roster
}

TEST_F(PrintDiagnosticsTest, NoResultsIsAnEmptyJob) {
  PrintDiagnostics(services(), {});
  ASSERT_EQ(printer.documents.size(), 1u);
  EXPECT_TRUE(printer.documents[0].empty());
}

}  // namespace
}  // namespace quillon
