// The store's changes as one step each, taking the folder's lock and
// finishing what is pending first, as the program's own entry points do:
// for tests that change a file without an erase or a window around it.
#pragma once

#include <string_view>

#include "data/Students.h"
#include "store/Purge.h"

namespace quillon::testing {

Status PurgeRecordsNow(Folder& folder, const Students& who, RewriteResult* result = nullptr,
                       const RemovalOptions& options = {});
Status PurgeDiagnosticsNow(Folder& folder, const Students& who, RewriteResult* result = nullptr,
                           const RemovalOptions& options = {});
Status AppendRecordsNow(Folder& folder, std::string_view name, std::string_view records);
Status ChangeRecordsNow(Folder& folder, std::string_view name,
                        const std::function<bool(std::string& record)>& change);

// Students::One and WholeClass with bare numbers, for tables of cases.
inline Students Who(int classnum, int studentnum) {
  return Students::One(ClassNum(classnum), StudentNum(studentnum));
}

}  // namespace quillon::testing
