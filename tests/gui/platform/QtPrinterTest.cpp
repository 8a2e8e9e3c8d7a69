// The real printer, headless: with QUILLON_PRINT_TO_PDF every job is a PDF
// file, read back with poppler's pdfinfo and pdftotext.
#include <QDir>
#include <QFileInfo>
#include <QPrinterInfo>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "data/ActivityRecord.h"
#include "data/ClassFiles.h"
#include "gui/diagnostics/PrintDiagnostics.h"
#include "gui/platform/QtPrinter.h"
#include "gui/records/PrintRecords.h"
#include "support/core/Builders.h"
#include "support/gui/GuiFixture.h"

namespace quillon {
namespace {

using testing::ActRec;
using testing::DiagRec;
using testing::StudentRec;

std::string Output(const std::string& command) {
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return out;
  char buffer[4096];
  while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
  pclose(pipe);
  return out;
}

// pdftotext places words by their positions and guesses the blanks between
// them: texts are compared with every run of blanks taken as one.
std::string Words(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == ' ' && !out.empty() && out.back() == ' ') continue;
    out += c;
  }
  return out;
}

class QtPrinterTest : public testing::GuiTest {
 protected:
  void SetUp() override {
    pdfs_ = dir.path() + "/pdf";
    qputenv("QUILLON_PRINT_TO_PDF", pdfs_.c_str());
    dir.Write(kStudentsFile, StudentRec("Ann", "1", "3") + StudentRec("Bob", "2", "3"));
    values.PassingGrade = 70;
  }
  void TearDown() override {
    qunsetenv("QUILLON_PRINT_TO_PDF");
    GuiTest::TearDown();
  }
  Services real() { return {dir.folder(), dialogs, clock, qt_printer_, values}; }
  // The n-th PDF file of the day for `job`.
  std::string Pdf(int n, const std::string& job = "Student Records") {
    return pdfs_ + "/Quillon " + job + " 2026-12-09 " + std::to_string(n) + ".pdf";
  }
  void ExpectPdf(int n, const std::string& job = "Student Records") { ExpectPrinted(Pdf(n, job)); }
  void ExpectPrinted(const std::string& pdf) {
    dialogs.ExpectMessage("The report was printed to the PDF file\r\n" + pdf, Buttons::kOk,
                          Icon::kNone, Title::Default(), Answer::kOk);
  }
  void ExpectReady() {
    dialogs.ExpectMessage("Turn printer on, then click OK", Buttons::kOk, Icon::kNone,
                          Title::Text("Printing Student Records"), Answer::kOk);
  }
  static bool Exists(const std::string& path) {
    return QFileInfo::exists(QString::fromStdString(path));
  }
  static int Pages(const std::string& pdf) {
    const std::string info = Output("pdfinfo '" + pdf + "'");
    const std::size_t at = info.find("Pages:");
    return at == std::string::npos ? -1 : std::stoi(info.substr(at + 6));
  }
  static std::string PageSize(const std::string& pdf) {
    const std::string info = Output("pdfinfo '" + pdf + "'");
    const std::size_t at = info.find("Page size:");
    return at == std::string::npos ? "" : info.substr(at + 10, info.find('\n', at) - at - 10);
  }

  std::string pdfs_;
  QtPrinter qt_printer_{"", dialogs, clock};
};

TEST_F(QtPrinterTest, ARecordsReportBecomesALandscapePdfWithItsLines) {
  std::string records;
  for (int d = 1; d <= 28; ++d) {
    records += ActRec("C1", "3", "1", "09" + ZeroPad(d, 2) + "26", "01", "01", "10", "9", "5");
    records += ActRec("C1", "3", "2", "10" + ZeroPad(d, 2) + "26", "01", "51", "10", "6", "5");
  }
  dir.Write(kRecordsFile, records);
  dialogs.ExpectMessage("Turn printer on, then click OK", Buttons::kOk, Icon::kNone,
                        Title::Text("Printing Student Records"), Answer::kOk);
  ExpectPdf(1);
  PrintRecords(real(), 3, -1);
  ASSERT_EQ(qt_printer_.last_pdf(), Pdf(1));
  EXPECT_EQ(Pages(Pdf(1)), 2);
  EXPECT_NE(PageSize(Pdf(1)).find("792 x 612 pts"), std::string::npos) << PageSize(Pdf(1));
  const std::string text = Words(Output("pdftotext -layout '" + Pdf(1) + "' -"));
  EXPECT_NE(text.find(Words("STUDENT RECORDS: All Students   /   Test Passing Grade: 70%   /   "
                            "Showing: All Records")),
            std::string::npos)
      << text;
  EXPECT_NE(
      text.find(Words("       Name       Date   Course            Lesson              Activity   "
                      "Att  Corr  Corr    Grade   Test?  Mins")),
      std::string::npos);
  EXPECT_NE(
      text.find(Words("Bob              102826 V&T-PreA                              Lesson Test  "
                      "10     6    60           No      5")),
      std::string::npos);
  EXPECT_NE(text.find(Words("Page 2")), std::string::npos);

  // The next job never overwrites the first.
  dialogs.ExpectMessage("Turn printer on, then click OK", Buttons::kOk, Icon::kNone,
                        Title::Text("Printing Student Records"), Answer::kOk);
  ExpectPdf(2);
  PrintRecords(real(), 3, 1);
  EXPECT_EQ(Pages(Pdf(2)), 1);
  EXPECT_EQ(Pages(Pdf(1)), 2);
}

TEST_F(QtPrinterTest, ADiagnosticReportIsTwoPortraitPages) {
  const std::string key = "ABCDEABCDEABCDEABCDEABCDEABCDE";
  const std::string pdf = Pdf(1, "Diagnostic Test Results");
  ExpectPrinted(pdf);
  PrintDiagnostics(real(), {DiagRec("C2", "3", "1", "091526", std::string(30, 'x'), key)});
  EXPECT_EQ(Pages(pdf), 2);
  EXPECT_NE(PageSize(pdf).find("612 x 792 pts"), std::string::npos) << PageSize(pdf);
  const std::string text = Words(Output("pdftotext -layout '" + pdf + "' -"));
  EXPECT_NE(text.find(Words("Algebra 1 Diagnostic Test Results                     Page 1 of 2")),
            std::string::npos)
      << text;
  EXPECT_NE(text.find(Words("  1       x       A       No      16       x       A       No")),
            std::string::npos);
  EXPECT_NE(text.find(Words("UNIT 5: Exponents and Powers               LESSON - Multiplying with "
                            "Exponents")),
            std::string::npos)
      << text;
}

// Without QUILLON_PRINT_TO_PDF the print dialog is asked, after the
// readiness message: Cancel prints nothing and leaves no file; a PDF file and
// pages chosen there are printed, and pages beyond the report print nothing
// and say so. Without a printer the dialog first offers a PDF file of the
// job's name in the documents folder, not the program folder.
TEST_F(QtPrinterTest, ThePrintDialogChoosesTheFileAndThePagesAndCancelPrintsNothing) {
  qunsetenv("QUILLON_PRINT_TO_PDF");
  QtPrinter printer(pdfs_, dialogs, clock);
  Services services{dir.folder(), dialogs, clock, printer, values};
  std::string records;
  for (int d = 1; d <= 28; ++d) {
    records += ActRec("C1", "3", "1", "09" + ZeroPad(d, 2) + "26", "01", "01", "10", "9", "5");
    records += ActRec("C1", "3", "2", "10" + ZeroPad(d, 2) + "26", "01", "51", "10", "6", "5");
  }
  dir.Write(kRecordsFile, records);  // two pages

  ExpectReady();
  dialogs.ExpectPrintDialog("");
  PrintRecords(services, 3, -1);
  EXPECT_EQ(dialogs.print_dialogs, std::vector<std::string>{"Quillon Student Records"});
  if (QPrinterInfo::defaultPrinter().isNull()) {
    EXPECT_EQ(dialogs.print_files, std::vector<std::string>{Pdf(1)});
  }
  EXPECT_FALSE(QDir(QString::fromStdString(pdfs_)).exists() &&
               !QDir(QString::fromStdString(pdfs_)).entryList(QDir::Files).isEmpty());

  const std::string chosen = dir.path() + "/second page.pdf";
  ExpectReady();
  dialogs.ExpectPrintDialog(chosen, 2, 2);
  ExpectPrinted(chosen);
  PrintRecords(services, 3, -1);
  EXPECT_EQ(Pages(chosen), 1);
  const std::string text = Words(Output("pdftotext -layout '" + chosen + "' -"));
  EXPECT_NE(text.find("Page 2"), std::string::npos) << text;
  EXPECT_EQ(text.find("Page 1"), std::string::npos) << text;
  EXPECT_NE(text.find(Words("STUDENT RECORDS: All Students")), std::string::npos) << text;

  const std::string beyond = dir.path() + "/beyond.pdf";
  ExpectReady();
  dialogs.ExpectPrintDialog(beyond, 5, 6);
  dialogs.ExpectMessage(
      "Nothing was printed: the report has 2 pages, and none of them is among the pages chosen.",
      Buttons::kOk, Icon::kNone, Title::Default(), Answer::kOk);
  PrintRecords(services, 3, -1);
  EXPECT_FALSE(Exists(beyond));
  EXPECT_TRUE(dialogs.Done());
}

TEST_F(QtPrinterTest, AnAbandonedJobLeavesNoFile) {
  EXPECT_EQ(qt_printer_.PrintLine("a line"), 0);
  qt_printer_.AbandonDocument();
  EXPECT_TRUE(QDir(QString::fromStdString(pdfs_)).entryList(QDir::Files).isEmpty());
}

}  // namespace
}  // namespace quillon
