// A program folder through the record removal, failing at any operation:
// once the removal is finished (as the next start would), RECORDS.DAT holds
// all its old bytes or exactly the records the model keeps; a removal that
// reports success left exactly those, and RECORDS.TMP holds them too.
#include <chrono>
#include <cstdint>

#include "base/Text.h"
#include "data/ActivityRecord.h"
#include "data/Purge.h"
#include "data/RecordFile.h"
#include "support/Check.h"
#include "support/MemoryFolder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quillon;
  const std::vector<std::string> parts = fuzz::SplitInput(data, size, 2);
  const std::string& p = parts[0];
  auto param = [&](std::size_t i) { return i < p.size() ? static_cast<unsigned char>(p[i]) : 0; };
  const int studentnum = param(0) % 5, classnum = param(1) % 5, fail_at = param(2) % 40;
  const std::string old = parts[1];
  // The model: the whole records whose class (3-4) and student (5-6) fields
  // are not the ones removed.
  std::string kept;
  std::size_t whole = 0, removed = 0;
  for (std::size_t at = 0; at + 25 <= old.size(); at += 25, ++whole) {
    const std::string_view r = std::string_view(old).substr(at, 25);
    const int cls = ValInt(r.substr(2, 2)), stu = ValInt(r.substr(4, 2));
    const bool goes = classnum == 0 || (cls == classnum && (studentnum == 0 || stu == studentnum));
    if (goes) {
      ++removed;
    } else {
      kept.append(r);
    }
  }
  fuzz::MemoryFolder folder;
  folder.files[kRecordsFile] = old;
  folder.fail_at = fail_at == 0 ? -1 : fail_at;
  // Without the wait for a lesson's append in progress: a memory folder
  // has no lessons.
  RewriteOptions options;
  options.partial_wait = std::chrono::milliseconds(0);
  RewriteResult result;
  const bool ok = PurgeRecords(folder, studentnum, classnum, &result, options).ok();
  folder.fail_at = -1;
  std::vector<std::string> finished;
  const bool recovered = RecoverRemovals(folder, &finished).ok();
  const std::string& now = folder.files[kRecordsFile];
  if (old.find('\0') != std::string::npos) {
    // Zero bytes without a journal: never taken for records, never changed.
    FUZZ_CHECK(!ok && !recovered && now == old);
    return 0;
  }
  FUZZ_CHECK(recovered);
  FUZZ_CHECK(now == old || now == kept);
  if (ok) {
    FUZZ_CHECK(now == kept);
    FUZZ_CHECK(folder.files["RECORDS.TMP"] == kept);
    FUZZ_CHECK(result.kept + result.removed == whole && result.removed == removed);
  }
  return 0;
}
