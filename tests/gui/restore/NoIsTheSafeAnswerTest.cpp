// Every question before something is deleted or erased, in every window, has
// No as its default button: Enter on it changes no file and files nothing in
// the bin.
#include <QDialog>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sstream>

#include "classes/Erase.h"
#include "data/ActivityRecord.h"
#include "data/ClassFiles.h"
#include "data/DiagFile.h"
#include "gui/classes/frmClasses.h"
#include "gui/diagnostics/frmDiagnostics.h"
#include "gui/records/frmStudents.h"
#include "gui/restore/frmRestore.h"
#include "support/core/Builders.h"
#include "support/gui/GuiFixture.h"

namespace quillon {
namespace {

using testing::ActRec;
using testing::ClassRec;
using testing::DiagRec;
using testing::StudentRec;

const std::string kKey = "ABCDEABCDEABCDEABCDEABCDEABCDE";

class NoIsTheSafeAnswerTest : public testing::GuiTest {
 protected:
  // Every file under the program folder, by its path there, with its bytes.
  std::map<std::string, std::string> Snapshot() {
    std::map<std::string, std::string> files;
    for (const auto& f : std::filesystem::recursive_directory_iterator(dir.path())) {
      if (!f.is_regular_file()) continue;
      std::ifstream in(f.path(), std::ios::binary);
      std::ostringstream bytes;
      bytes << in.rdbuf();
      files[std::filesystem::relative(f.path(), dir.path()).string()] = bytes.str();
    }
    return files;
  }
};

template <typename W>
std::unique_ptr<QDialog> Make(Services services) {
  return std::make_unique<W>(services);
}

TEST_F(NoIsTheSafeAnswerTest, EnterOnEveryDestructiveQuestionAnswersNo) {
  dir.Write(kClassesFile, ClassRec("Algebra", "070", "3"));
  dir.Write(kStudentsFile, StudentRec("Ann", "1", "3") + StudentRec("Bob", "2", "3"));
  dir.Write(kRecordsFile, ActRec("C1", "3", "1", "091526", "01", "01", "10", "9", "25") +
                              ActRec("C1", "3", "2", "091026", "51", "00", "20", "19", "30"));
  dir.Write(kDiagFile, DiagRec("C1", "3", "1", "091526", kKey, kKey) +
                           DiagRec("C1", "3", "2", "091826", kKey, kKey));
  // One entry in the bin, for the restore window.
  EraseResult erased;
  ASSERT_TRUE(
      EraseDiagnosticResults(dir.folder(), DateTime{{2026, 12, 9}, 9, 15, 0},
                             Students::One(ClassNum(3), StudentNum(2)), &erased).ok());
  const std::map<std::string, std::string> before = Snapshot();
  ASSERT_EQ(before.size(), 6u);  // the four files, Diag.TMP and the entry

  struct Question {
    const char* what;
    std::unique_ptr<QDialog> (*open)(Services);
    int klass, student;  // rows to select, -1 for none
    const char* button;
    int index;
    std::string prompt;
    Buttons buttons;
  } questions[] = {
      {"delete a class", Make<frmClasses>, 0, -1, "cmdClass", 1,
       "Are you sure you want to delete this class?\r\rAlgebra", Buttons::kYesNoCancelDefaultNo},
      {"erase all classes", Make<frmClasses>, -1, -1, "cmdClass", 2,
       "Are you sure you want to delete ALL classes?", Buttons::kYesNoCancelDefaultNo},
      {"delete a student", Make<frmClasses>, 0, 0, "cmdStudent", 1,
       "Are you sure you want to delete this student?\r\rAnn", Buttons::kYesNoCancelDefaultNo},
      {"erase all students", Make<frmClasses>, 0, -1, "cmdStudent", 2,
       "Are you sure you want to delete ALL students from this class?\r\rAlgebra",
       Buttons::kYesNoCancelDefaultNo},
      {"erase a student's records", Make<frmStudents>, 0, 0, "cmdSelected", 2,
       "Are you sure you want to erase this student's records?\r\rAnn",
       Buttons::kYesNoCancelDefaultNo},
      {"erase a class's records", Make<frmStudents>, 0, -1, "cmdAll", 2,
       "Are you sure you want to erase the records for ALL students in this class?\r\rAlgebra",
       Buttons::kYesNoCancelDefaultNo},
      {"erase a student's results", Make<frmDiagnostics>, 0, 0, "cmdSelected", 2,
       "Are you sure you want to erase this student's Diagnostic Test results?\r\n\r\nAnn",
       Buttons::kYesNoDefaultNo},
      {"erase a class's results", Make<frmDiagnostics>, 0, -1, "cmdAll", 2,
       "Are you sure you want to erase the Diagnostic Test results for ALL students in this "
       "class?\r\n\r\nAlgebra",
       Buttons::kYesNoDefaultNo},
      {"delete a bin entry", Make<frmRestore>, -1, -1, "cmdDelete", -1,
       "Are you sure you want to delete these erased records for good? They cannot be restored "
       "afterwards.\r\n\r\n12/09/26 09:15  Diagnostic results of Bob, Algebra  (1 diagnostic "
       "result)",
       Buttons::kYesNoDefaultNo},
  };
  for (const Question& q : questions) {
    SCOPED_TRACE(q.what);
    std::unique_ptr<QDialog> window = q.open(services());
    window->show();
    auto d = Drive(*window);
    if (q.open == Make<frmRestore>) {
      d.Select("lstErased", 0);
    } else {
      if (q.klass >= 0) d.Select("lstClasses", q.klass);
      if (q.student >= 0) d.Select("lstStudents", q.student);
    }
    const Title title = q.open == Make<frmRestore> ? Title::Default() : Title::Text("");
    dialogs.ExpectEnter(q.prompt, q.buttons, Icon::kNone, title);
    d.Click(q.button, q.index);
    EXPECT_TRUE(dialogs.Done());
    EXPECT_EQ(dialogs.busy_calls, 0);
    EXPECT_TRUE(Snapshot() == before);
  }
}

}  // namespace
}  // namespace quillon
