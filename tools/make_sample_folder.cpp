// Makes a complete sample program folder, the same for the same seed:
// LESSONS.DAT, classes with rosters and passwords, activity records over a
// term (practice, lesson tests, unit tests, the "P" series, the alternate
// codes "S1", "S4", "S6"), Diag.dat results of both tests and, on request,
// s3.dat.
//
// usage: make_sample_folder [--seed N] [--records N] [--largest] [--password P]
//                           [--lessons FILE] DIR
//   --largest   32,767 activity records (the most the format allows), 20,000
//               of them in class 1, for the benchmarks
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "base/Password.h"
#include "base/Text.h"
#include "data/ClassFiles.h"
#include "data/LessonCatalogue.h"

namespace {

using quillon::FixWidth;
using quillon::ZeroPad;

// A small deterministic generator (the same numbers on every platform).
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed * 2654435761u + 0x9E3779B97F4A7C15ull) {}
  std::uint64_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 7;
    state_ ^= state_ << 17;
    return state_;
  }
  int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint64_t>(n)); }
  int Between(int low, int high) { return low + Below(high - low + 1); }

 private:
  std::uint64_t state_;
};

struct ClassPlan {
  const char* name;
  const char* grade;
  const char* course;  // the course its students mostly work in
};

const ClassPlan kClasses[] = {
    {"Pre-Algebra, Period 2", "060", "C1"}, {"Algebra 1, Period 4", "070", "C2"},
    {"Business Math", "065", "S1"},         {"SAT Preparation", "075", "P7"},
    {"Foundations Lab", "050", "S6"},
};

const char* const kFirst[] = {"Ann",   "Anne",  "Marcus", "Priya", "Tomas", "Lena",  "Jamal",
                              "Sofia", "Kenji", "Olivia", "Diego", "Amara", "Noah",  "Grace",
                              "Ivan",  "Mei",   "Rafael", "Zoe",   "Elena", "Samuel"};
const char* const kLast[] = {"Baker", "Chen",   "Okafor", "Novak",    "Reyes",  "Schmidt",
                             "Patel", "Larsen", "Moreau", "Kowalski", "Nguyen", "Haddad"};

std::string Date(Random& r) {
  // September to December 2026, or January 2027.
  static const int kMonths[] = {9, 10, 11, 12, 1};
  int m = kMonths[r.Below(5)];
  int y = m == 1 ? 27 : 26;
  return ZeroPad(m, 2) + ZeroPad(r.Between(1, 28), 2) + ZeroPad(y, 2);
}

std::string Counts(Random& r, int attempted) {
  int correct = attempted == 0 ? 0 : r.Between(attempted / 3, attempted);
  return FixWidth(std::to_string(attempted), 3) + FixWidth(std::to_string(correct), 3) +
         FixWidth(std::to_string(r.Between(3, 45)), 3);
}

const quillon::UnitNameTable& UnitNames() {
  static const quillon::UnitNameTable table = [] {
    quillon::UnitNameTable t;
    quillon::FillUnitTestNames(&t);
    return t;
  }();
  return table;
}

// One activity record of a student working in `course`.
std::string Activity(Random& r, const quillon::LessonCatalogue& cat, const std::string& course,
                     int cls, int stu) {
  std::string code = course;
  // Now and then a student strays into another course.
  if (r.Below(6) == 0) {
    static const char* const kOther[] = {"C1", "C2", "C3", "P1", "P2", "C7", "P7", "S4"};
    code = kOther[r.Below(8)];
  }
  std::string head =
      code + FixWidth(std::to_string(cls), 2) + FixWidth(std::to_string(stu), 2) + Date(r);
  bool p_series = code[0] == 'P' || code == "S4";
  int digit = code == "S1" ? 7 : code == "S4" ? 7 : code == "S6" ? 8 : code[1] - '0';
  if (p_series) {
    int lessons = 0;
    while (lessons < 46 && !cat.NumberedLessonTitles[digit][lessons + 1].empty()) ++lessons;
    if (r.Below(5) == 0) return head + ZeroPad(r.Between(1, 9), 2) + "00" + Counts(r, 20);
    return head + "99" + ZeroPad(r.Between(1, std::max(lessons, 1)), 2) +
           Counts(r, r.Between(0, 12));
  }
  int units = 0;
  while (units < 14 && !cat.UnitTitles[digit][units + 1].empty()) ++units;
  int unit = r.Between(1, std::max(units, 1));
  int lessons = 0;
  while (lessons < 14 && !cat.UnitLessonTitles[digit][unit][lessons + 1].empty()) ++lessons;
  int lesson = r.Between(1, std::max(lessons, 1));
  int kind = r.Below(10);
  // A unit test only where the program has a name for the unit (none in
  // "C8"); elsewhere a lesson test, so that every line shows a title.
  if (kind == 0 && UnitNames().Name(digit, unit).empty()) kind = 1;
  if (kind == 0) return head + ZeroPad(50 + unit, 2) + "00" + Counts(r, 25);  // unit test
  if (kind <= 2) return head + ZeroPad(unit, 2) + ZeroPad(50 + lesson, 2) + Counts(r, 10);
  return head + ZeroPad(unit, 2) + ZeroPad(lesson, 2) + Counts(r, r.Between(0, 15));
}

std::string Answers(Random& r, const std::string& key, int skill) {
  std::string answers = key;
  for (char& c : answers) {
    if (r.Below(100) >= skill) c = static_cast<char>('A' + r.Below(5));
  }
  return answers;
}

bool WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

int Usage() {
  std::fprintf(stderr,
               "usage: make_sample_folder [--seed N] [--records N] [--largest] [--password P] "
               "[--lessons FILE] DIR\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::uint64_t seed = 1;
  int records = 3000;
  bool largest = false;
  std::string password, lessons_path, dir;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    auto value = [&]() -> std::string { return i + 1 < argc ? argv[++i] : ""; };
    if (a == "--seed") {
      seed = std::strtoull(value().c_str(), nullptr, 10);
    } else if (a == "--records") {
      records = std::atoi(value().c_str());
    } else if (a == "--largest") {
      largest = true;
    } else if (a == "--password") {
      password = value();
    } else if (a == "--lessons") {
      lessons_path = value();
    } else if (!a.empty() && a[0] != '-' && dir.empty()) {
      dir = a;
    } else {
      return Usage();
    }
  }
  if (dir.empty() || records < 0) return Usage();
  if (lessons_path.empty()) {
    // Beside the generator in a build folder; in share/quillon once installed.
    std::error_code error;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    const std::filesystem::path here =
        error ? std::filesystem::path(argv[0]).parent_path() : self.parent_path();
    lessons_path = (here / "LESSONS.DAT").string();
#ifdef QUILLON_INSTALLED_CATALOGUE
    if (!std::filesystem::exists(lessons_path, error)) {
      lessons_path = (here / QUILLON_INSTALLED_CATALOGUE).lexically_normal().string();
    }
#endif
  }
  std::ifstream lessons_in(lessons_path, std::ios::binary);
  if (!lessons_in) {
    std::fprintf(stderr, "make_sample_folder: cannot read %s\n", lessons_path.c_str());
    return 1;
  }
  std::stringstream lessons;
  lessons << lessons_in.rdbuf();
  quillon::LessonCatalogue catalogue;
  quillon::Status s = quillon::ParseLessons(lessons.str(), &catalogue);
  if (!s.ok()) {
    std::fprintf(stderr, "make_sample_folder: %s\n", s.ToString().c_str());
    return 1;
  }
  std::filesystem::create_directories(dir);

  Random r(seed);
  std::string classes, students, activity, diag;
  struct Student {
    int cls, stu;
    std::string course;
  };
  std::vector<Student> roster;
  int class_number = 0;
  for (const ClassPlan& plan : kClasses) {
    ++class_number;
    classes += FixWidth(plan.name, 27) + plan.grade + FixWidth(std::to_string(class_number), 2);
    int size = r.Between(6, 10);
    for (int stu = 1; stu <= size; ++stu) {
      std::string name = std::string(kFirst[r.Below(20)]) + " " + kLast[r.Below(12)];
      std::string pwd;
      for (int k = 0; k < 4; ++k) {
        pwd += static_cast<char>(r.Below(3) == 0 ? '0' + r.Below(10) : 'A' + r.Below(26));
      }
      students += quillon::BuildStudentRecord(name, stu, class_number, pwd);
      roster.push_back({class_number, stu, plan.course});
    }
  }
  const int total = largest ? 32767 : records;
  // With --largest, exactly 20,000 records belong to class 1.
  std::vector<Student> first_class, other_classes;
  for (const Student& st : roster) (st.cls == 1 ? first_class : other_classes).push_back(st);
  auto pick = [&](const std::vector<Student>& from) -> const Student& {
    return from[static_cast<std::size_t>(r.Below(static_cast<int>(from.size())))];
  };
  for (int n = 0; n < total; ++n) {
    const Student& st = !largest    ? pick(roster)
                        : n < 20000 ? pick(first_class)
                                    : pick(other_classes);
    activity += Activity(r, catalogue, st.course, st.cls, st.stu);
  }
  for (const Student& st : roster) {
    if (r.Below(3) == 0) continue;
    std::string key;
    for (int k = 0; k < 30; ++k) key += static_cast<char>('A' + r.Below(5));
    const char* test = st.course == "C2" || r.Below(3) == 0 ? "C2" : "C1";
    std::string head = std::string(test) + FixWidth(std::to_string(st.cls), 2) +
                       FixWidth(std::to_string(st.stu), 2) + Date(r);
    diag += head + Answers(r, key, r.Between(30, 95)) + key;
  }
  bool ok = WriteFile(dir + "/LESSONS.DAT", lessons.str()) &&
            WriteFile(dir + "/CLASSES.DAT", classes) &&
            WriteFile(dir + "/STUDENTS.DAT", students) &&
            WriteFile(dir + "/RECORDS.DAT", activity) && WriteFile(dir + "/Diag.dat", diag);
  if (ok && !password.empty()) {
    ok = WriteFile(dir + "/s3.dat", quillon::ScramblePassword(password) + "\r\n");
  }
  if (!ok) {
    std::fprintf(stderr, "make_sample_folder: cannot write into %s\n", dir.c_str());
    return 1;
  }
  std::printf("%s: %zu classes, %zu students, %d activity records, %zu diagnostic results\n",
              dir.c_str(), classes.size() / 32, students.size() / 31, total, diag.size() / 72);
  return 0;
}
