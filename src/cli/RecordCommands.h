// quillon-cli's classes and rosters, activity records, diagnostic results,
// the export and the erase, over the same core as the windows.
#pragma once

#include "cli/CommandOptions.h"

namespace quillon::cli {

// Each returns the exit status (0 done, 1 nothing found or not confirmed)
// and throws Exit for a wrong value (2) or a file that cannot be used (3).
int ClassesCommand(CommandContext& context, const ClassesOptions& o);
int RosterCommand(CommandContext& context, const RosterOptions& o);
int RecordsCommand(CommandContext& context, const RecordsOptions& o);
int DiagnosticsCommand(CommandContext& context, const DiagnosticsOptions& o);
int ExportCommand(CommandContext& context, const ExportOptions& o);
int EraseCommand(CommandContext& context, const EraseOptions& o);

}  // namespace quillon::cli
