// quillon-cli watch: today's records so far, then each one as it arrives.
#pragma once

#include "cli/CommandOptions.h"

namespace quillon::cli {

// Prints one line per record of today (of the class, from the time given),
// then follows the files until the pacing ends the watch (Ctrl-C): exit
// status 0. Throws Exit (3) when the files cannot be read at the start.
int WatchCommand(CommandContext& context, const WatchOptions& o);

}  // namespace quillon::cli
