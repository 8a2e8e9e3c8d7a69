// The sample folder a new user starts on: every record line of the seed-1
// folder, shown as the records display shows it, has its course and lesson
// title (no "Unit 4:" with nothing after it, no blank lesson).
#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#include "support/core/RunCommand.h"
#include "support/core/TempFolder.h"

namespace quillon {
namespace {

using testing::ReadBytes;

TEST(SampleFolderTest, EveryLineOfTheSeedOneFolderHasItsTitles) {
  testing::TempFolder dir;
  const std::string folder = dir.path() + "/sample";
  ASSERT_EQ(std::system((std::string(MAKE_SAMPLE_FOLDER) + " --seed 1 --lessons " + SAMPLE_LESSONS +
                         " " + folder + " >/dev/null")
                            .c_str()),
            0);
  // "Unit 4:" and nothing after it: a unit test without its title.
  auto untitled_unit = [](const std::string& title) {
    if (title.compare(0, 5, "Unit ") != 0) return false;
    std::size_t at = 5;
    while (at < title.size() && std::isdigit(static_cast<unsigned char>(title[at]))) ++at;
    if (at == 5 || at >= title.size() || title[at] != ':') return false;
    return title.find_first_not_of(' ', at + 1) == std::string::npos;
  };
  std::map<std::string, int> lines_by_course, tests_by_course;
  int lines = 0;
  for (int c = 1; c <= 5; ++c) {
    const std::string out = dir.path() + "/lines";
    const std::string command = std::string(QUILLON_CLI) + " --folder " + folder +
                                " records --class " + std::to_string(c) + " >" + out;
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    std::stringstream text(ReadBytes(out));
    for (std::string l; std::getline(text, l); ++lines) {
      ASSERT_EQ(l.size(), 106u) << l;
      const std::string course = l.substr(24, 8), title = l.substr(34, 24),
                        activity = l.substr(60, 11);
      EXPECT_NE(course, std::string(8, ' ')) << l;
      EXPECT_NE(title, std::string(24, ' ')) << l;
      EXPECT_FALSE(untitled_unit(title)) << l;
      ++lines_by_course[course];
      if (activity != "Practice   ") ++tests_by_course[course];
    }
  }
  EXPECT_EQ(lines, 3000);
  // The courses that had the gaps are there, tests and all.
  EXPECT_GT(lines_by_course["Pre-Foun"], 200);
  EXPECT_GT(tests_by_course["Pre-Foun"], 50);
  EXPECT_GT(tests_by_course["Bus Math"], 50);
}

}  // namespace
}  // namespace quillon
