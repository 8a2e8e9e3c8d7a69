// A program folder through the record removal, failing at any operation:
// once the removal is finished (as the next start would), RECORDS.DAT holds
// all its old bytes or exactly the records the model keeps, then any partial
// record that ended it; a removal that reports success left exactly those,
// and RECORDS.TMP holds the kept records. Whole records of zero bytes are
// gaps, dropped; any other zero byte is damage, never written over.
#include <chrono>
#include <cstdint>

#include "base/Text.h"
#include "data/ActivityRecord.h"
#include "data/RecordFile.h"
#include "store/Pending.h"
#include "store/Purge.h"
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
  std::size_t whole = 0, removed = 0, gaps = 0;
  bool damaged = false;
  for (std::size_t at = 0; at + 25 <= old.size(); at += 25, ++whole) {
    const std::string_view r = std::string_view(old).substr(at, 25);
    const bool gap = r.find_first_not_of('\0') == std::string_view::npos;
    damaged = damaged || (!gap && r.find('\0') != std::string_view::npos);
    const int cls = ValInt(r.substr(2, 2)), stu = ValInt(r.substr(4, 2));
    const bool goes = classnum == 0 || (cls == classnum && (studentnum == 0 || stu == studentnum));
    if (gap) {
      ++gaps;
    } else if (goes) {
      ++removed;
    } else {
      kept.append(r);
    }
  }
  const std::string tail = old.substr(whole * 25);
  damaged = damaged || tail.find('\0') != std::string::npos;
  fuzz::MemoryFolder folder;
  folder.files[kRecordsFile] = old;
  folder.fail_at = fail_at == 0 ? -1 : fail_at;
  const Students who = Students::One(ClassNum(classnum), StudentNum(studentnum));
  RewriteResult result;
  const bool ok = WithLock(folder, StoreFileOf(kRecordsFile), [&](const LockToken& lock) {
                    return PurgeRecords(folder, lock, who, &result);
                  }).ok();
  folder.fail_at = -1;
  const bool recovered = RecoverFolder(folder).ok();
  const std::string& now = folder.files[kRecordsFile];
  FUZZ_CHECK(recovered);
  if (damaged) {
    // A zero byte that is not a gap: never changed.
    FUZZ_CHECK(!ok && now == old);
    return 0;
  }
  FUZZ_CHECK(now == old || now == kept + tail);
  if (ok) {
    FUZZ_CHECK(now == kept + tail);
    FUZZ_CHECK(folder.files["RECORDS.TMP"] == kept);
    FUZZ_CHECK(result.kept + result.removed + result.gaps == whole && result.removed == removed &&
               result.gaps == gaps);
  }
  return 0;
}
