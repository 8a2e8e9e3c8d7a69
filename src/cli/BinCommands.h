// quillon-cli's bin of erased records: `bin` lists the entries, `bin
// --delete ID` and `bin --empty` remove them for good, `restore ID` puts
// one back, over the same core as the restore window.
#pragma once

#include "cli/CommandOptions.h"

namespace quillon::cli {

// Each returns 0 done, or 1 when the bin is empty or the change was not
// confirmed (no --yes, or a number conflict without --renumber); throws
// Exit for an ID the bin does not hold (2) or a file that cannot be read or
// written (3).
int BinCommand(CommandContext& context, const BinOptions& o);
int RestoreCommand(CommandContext& context, const RestoreOptions& o);

}  // namespace quillon::cli
