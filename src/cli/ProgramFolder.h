// The program folder that quillon-cli works on.
#pragma once

#include <memory>
#include <string>

#include "platform/Folder.h"

namespace quillon {

// The program folder named on the command line: an existing folder that
// holds LESSONS.DAT, or null and what it is instead in `*problem`.
std::unique_ptr<Folder> OpenProgramFolder(const std::string& path, std::string* problem);

}  // namespace quillon
