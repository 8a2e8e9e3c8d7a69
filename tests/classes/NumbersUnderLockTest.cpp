// Two computers adding at once: the numbers of new classes and students are
// chosen under the folder's lock, right before the write, so no number is
// ever given twice; an import adds all of its students or none.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <map>
#include <random>
#include <set>

#include "classes/ClassOperations.h"
#include "classes/RosterImport.h"
#include "data/ClassFiles.h"
#include "data/RecordFile.h"
#include "support/core/Builders.h"
#include "support/core/CountingRandom.h"
#include "support/core/TempFolder.h"

namespace quillon {
namespace {

using testing::ClassRec;
using testing::StudentRec;
using testing::TempFolder;

// Runs `work` in a process of its own after `delay` microseconds; true when
// it reported success.
pid_t Start(unsigned delay, const std::function<bool()>& work) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::usleep(delay);
    ::_exit(work() ? 0 : 1);
  }
  return pid;
}

bool Succeeded(pid_t pid) {
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(NumbersUnderLockTest, TwoProcessesAddingAtOnceNeverShareANumber) {
  std::mt19937 random(20261210);
  for (int round = 0; round < 40; ++round) {
    TempFolder dir;
    dir.Write(kClassesFile, ClassRec("Algebra", "060", "1"));
    dir.Write(kStudentsFile, StudentRec("Ann", "1", "1"));
    // The import's preview is made before either process begins, as a
    // window shows it before the user presses Add.
    RosterTable table;
    ASSERT_TRUE(ParseRosterText("Name\nDee\nEd\nFay\n", "roster.csv", &table).ok());
    testing::CountingRandom passwords;
    ImportPreview preview;
    ASSERT_TRUE(BuildImportPreview(dir.folder(), table, 1, passwords, &preview).ok());

    const pid_t adder = Start(random() % 300, [&] {
      bool ok = true;
      for (const char* name : {"Gus", "Hal", "Ida"}) {
        int n = 0;
        ok = FileAddStudent(dir.folder(), name, 1, "pw", &n).ok() && ok;
      }
      int c = 0;
      return FileAddClass(dir.folder(), "Geometry", &c).ok() && ok;
    });
    const pid_t importer = Start(random() % 300, [&] {
      int added = 0;
      const Status s = FileImportStudents(dir.folder(), preview, &added);
      int c = 0;
      const bool classed = FileAddClass(dir.folder(), "Physics", &c).ok();
      // Refused, having added nobody, when the roster changed meanwhile.
      return classed && (s.ok() ? added == 3 : s.code() == StatusCode::kRefused && added == 0);
    });
    ASSERT_TRUE(Succeeded(adder)) << "round " << round;
    ASSERT_TRUE(Succeeded(importer)) << "round " << round;

    const RecordSet students(dir.Read(kStudentsFile), kStudentRecordLength);
    std::map<int, std::string> by_number;
    std::set<std::string> names;
    for (std::size_t i = 0; i < students.Count(); ++i) {
      const std::string_view r = students.At(i);
      ASSERT_EQ(StudentClassNumberOf(r), 1);
      EXPECT_TRUE(by_number.emplace(StudentNumberOf(r), StudentDisplayName(r)).second)
          << "round " << round << ": student number " << StudentNumberOf(r) << " given twice";
      names.insert(StudentDisplayName(r));
    }
    for (const char* name : {"Ann", "Gus", "Hal", "Ida"}) EXPECT_EQ(names.count(name), 1u);
    const std::size_t imported = names.count("Dee") + names.count("Ed") + names.count("Fay");
    EXPECT_TRUE(imported == 0 || imported == 3) << "round " << round;
    const RecordSet classes(dir.Read(kClassesFile), kClassRecordLength);
    ASSERT_EQ(classes.Count(), 3u);
    std::set<int> class_numbers;
    for (std::size_t i = 0; i < classes.Count(); ++i) {
      class_numbers.insert(ClassNumberOf(classes.At(i)));
    }
    EXPECT_EQ(class_numbers, (std::set<int>{1, 2, 3})) << "round " << round;
  }
}

}  // namespace
}  // namespace quillon
