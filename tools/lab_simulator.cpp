// A lab at work, for trying Lab Now and `quillon-cli watch` by hand and for
// their screenshots: appends today's activity records to a program folder's
// RECORDS.DAT as the tutoring lessons do (open, one write at the end,
// close), for the students of STUDENTS.DAT, one every few seconds: practice
// mostly, now and then a lesson or unit test, passed or failed. Some
// students stop after a while, as a stuck student would.
//
// usage: lab_simulator [--class N] [--every SECONDS] [--count N] [--backlog N]
//                      [--seed N] FOLDER
//   --backlog N  first N records at once, as if the lab had begun earlier
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <thread>
#include <vector>

#include "base/Text.h"
#include "data/ClassFiles.h"
#include "data/LessonCatalogue.h"
#include "platform/PosixFolder.h"

namespace {

using quillon::FixWidth;
using quillon::ZeroPad;

int Usage() {
  std::fprintf(stderr,
               "usage: lab_simulator [--class N] [--every SECONDS] [--count N] [--backlog N] "
               "[--seed N] FOLDER\n");
  return 2;
}

std::string Today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return ZeroPad(local.tm_mon + 1, 2) + ZeroPad(local.tm_mday, 2) + ZeroPad(local.tm_year % 100, 2);
}

// The course a class mostly works in, as the sample folder's classes do.
std::string CourseOf(int classnum) {
  static const char* const kCourses[] = {"C1", "C2", "C7", "P7", "C8"};
  return kCourses[(classnum + 4) % 5];
}

std::string Record(const quillon::LessonCatalogue& catalogue, int classnum, int student,
                   const std::string& day) {
  const std::string code = CourseOf(classnum);
  std::string r =
      code + FixWidth(std::to_string(classnum), 2) + FixWidth(std::to_string(student), 2) + day;
  const int digit = code[1] - '0';
  const int attempted = 5 + std::rand() % 16;
  const int correct = attempted - std::rand() % (attempted / 2 + 1);
  const std::string counts = FixWidth(std::to_string(attempted), 3) +
                             FixWidth(std::to_string(correct), 3) +
                             FixWidth(std::to_string(3 + std::rand() % 15), 3);
  if (code[0] == 'P') {
    int lessons = 1;
    while (lessons < 46 && !catalogue.NumberedLessonTitles[digit][lessons + 1].empty()) ++lessons;
    return r + "99" + ZeroPad(1 + std::rand() % std::min(lessons, 6), 2) + counts;
  }
  int units = 1;
  while (units < 14 && !catalogue.UnitTitles[digit][units + 1].empty()) ++units;
  const int unit = 1 + std::rand() % std::min(units, 3);
  const int kind = std::rand() % 8;
  if (kind == 0 && digit <= 7) return r + ZeroPad(50 + unit, 2) + "00" + counts;  // unit test
  int lessons = 1;
  while (lessons < 14 && !catalogue.UnitLessonTitles[digit][unit][lessons + 1].empty()) ++lessons;
  const int lesson = 1 + std::rand() % std::min(lessons, 4);
  return r + ZeroPad(unit, 2) + ZeroPad(kind <= 2 ? 50 + lesson : lesson, 2) + counts;
}

bool Append(const std::string& path, const std::string& record) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT, 0644);
  if (fd < 0) return false;
  const bool ok = ::write(fd, record.data(), record.size()) == static_cast<ssize_t>(record.size());
  ::close(fd);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  int only_class = 0, every = 3, count = 60, backlog = 0;
  unsigned seed = 1;
  std::string folder;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const bool value = i + 1 < argc;
    if (a == "--class" && value) {
      only_class = std::atoi(argv[++i]);
    } else if (a == "--every" && value) {
      every = std::atoi(argv[++i]);
    } else if (a == "--count" && value) {
      count = std::atoi(argv[++i]);
    } else if (a == "--backlog" && value) {
      backlog = std::atoi(argv[++i]);
    } else if (a == "--seed" && value) {
      seed = static_cast<unsigned>(std::atoi(argv[++i]));
    } else if (folder.empty() && a.rfind("--", 0) != 0) {
      folder = a;
    } else {
      return Usage();
    }
  }
  if (folder.empty()) return Usage();
  std::srand(seed);
  quillon::PosixFolder dir(folder);
  quillon::LessonCatalogue catalogue;
  std::string students;
  if (!quillon::LoadLessons(dir, &catalogue).ok() ||
      !dir.ReadFile(quillon::kStudentsFile, &students).ok()) {
    std::fprintf(stderr, "lab_simulator: %s has no usable LESSONS.DAT or STUDENTS.DAT\n",
                 folder.c_str());
    return 1;
  }
  // Up to 8 students of the class (or of the first classes), each with the
  // number of records after which they stop.
  struct Student {
    int classnum, number, stops_after;
  };
  std::vector<Student> lab;
  for (std::size_t at = 0; at + 31 <= students.size() && lab.size() < 8; at += 31) {
    const std::string_view r = std::string_view(students).substr(at, 31);
    const int c = quillon::StudentClassNumberOf(r);
    if (only_class != 0 && c != only_class) continue;
    lab.push_back(
        {c, quillon::StudentNumberOf(r), std::rand() % 4 == 0 ? 2 + std::rand() % 3 : count});
  }
  if (lab.empty()) {
    std::fprintf(stderr, "lab_simulator: no students to work\n");
    return 1;
  }
  const std::string path = dir.FullPath("RECORDS.DAT");
  std::vector<int> done(lab.size(), 0);
  for (int n = 0; n < count; ++n) {
    const std::size_t who = static_cast<std::size_t>(std::rand()) % lab.size();
    if (done[who] >= lab[who].stops_after) continue;
    ++done[who];
    if (!Append(path, Record(catalogue, lab[who].classnum, lab[who].number, Today()))) {
      std::perror(path.c_str());
      return 1;
    }
    if (n >= backlog && every > 0) std::this_thread::sleep_for(std::chrono::seconds(every));
  }
  return 0;
}
