// Saving a whole file anywhere the user chooses (a spreadsheet file, say):
// written to a temporary name beside it, forced to disk, then given its
// name, so that no half-written file is ever left under the name.
#pragma once

#include <string>
#include <string_view>

#include "base/Status.h"

namespace quillon {

// Writes `bytes` as the file `path`. When a file of that name exists it is
// replaced only if `replace`; otherwise nothing changes and `*exists` is set
// (it is cleared in every other case). On failure nothing is left under
// either name.
Status SaveWholeFile(const std::string& path, std::string_view bytes, bool replace, bool* exists);

}  // namespace quillon
