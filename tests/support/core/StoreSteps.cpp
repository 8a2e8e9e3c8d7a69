#include "support/core/StoreSteps.h"

#include "data/ActivityRecord.h"
#include "data/DiagFile.h"
#include "store/Append.h"
#include "store/Pending.h"

namespace quillon::testing {

Status PurgeRecordsNow(Folder& folder, const Students& who, RewriteResult* result,
                       const RemovalOptions& options) {
  return WithLock(folder, StoreFileOf(kRecordsFile), [&](const LockToken& lock) {
    return PurgeRecords(folder, lock, who, result, options);
  });
}

Status PurgeDiagnosticsNow(Folder& folder, const Students& who, RewriteResult* result,
                           const RemovalOptions& options) {
  return WithLock(folder, StoreFileOf(kDiagFile), [&](const LockToken& lock) {
    return PurgeDiagnostics(folder, lock, who, result, options);
  });
}

Status AppendRecordsNow(Folder& folder, std::string_view name, std::string_view records) {
  return WithLock(folder, StoreFileOf(name), [&](const LockToken& lock) {
    return AppendRecords(folder, lock, name, records);
  });
}

Status ChangeRecordsNow(Folder& folder, std::string_view name,
                        const std::function<bool(std::string& record)>& change) {
  return WithLock(folder, StoreFileOf(name), [&](const LockToken& lock) {
    return ChangeRecordsInPlace(folder, lock, name, change);
  });
}

}  // namespace quillon::testing
