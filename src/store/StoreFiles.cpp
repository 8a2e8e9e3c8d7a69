#include "store/StoreFiles.h"

#include <ctime>
#include <iterator>
#include <random>

#include "data/ActivityRecord.h"
#include "data/ClassFiles.h"
#include "data/DiagFile.h"
#include "data/RecordFile.h"

namespace quillon {
namespace {

constexpr StoreFile kFiles[] = {{kRecordsFile, "RECORDS.TMP", kActivityRecordLength, true},
                                {kDiagFile, "Diag.TMP", kDiagRecordLength, true},
                                {kClassesFile, "CLASSES.TMP", kClassRecordLength, false},
                                {kStudentsFile, "STUDENTS.TMP", kStudentRecordLength, false}};

}  // namespace

const StoreFile* StoreFiles(std::size_t* count) {
  *count = std::size(kFiles);
  return kFiles;
}

const StoreFile* StoreFileOf(std::string_view main_file) {
  for (const StoreFile& f : kFiles) {
    if (main_file == f.main) return &f;
  }
  return nullptr;
}

Status SetAside(Folder& folder, std::string_view name, std::string_view why, std::string* aside) {
  char stamp[32] = "";
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  if (::localtime_r(&now, &tm) != nullptr) std::strftime(stamp, sizeof stamp, "%y%m%d-%H%M%S", &tm);
  const std::string base = std::string(name) + "." + std::string(why) + "-" + stamp;
  std::random_device random;
  for (unsigned n = 1; n <= 1000; ++n) {
    // After many taken names in one second, a random end instead of a count.
    *aside = base + (n == 1 ? "" : "-" + std::to_string(n < 100 ? n : 100 + random() % 900000));
    bool taken = false;
    Status s = folder.PublishFile(name, *aside, &taken);
    if (!s.ok() || !taken) return s;
  }
  return Status::Error(std::string(name), "cannot be set aside: no free name for it");
}

}  // namespace quillon
