// quillon-cli's roster import and log-in slips, over the same core as the
// classes window.
#pragma once

#include "cli/CommandOptions.h"

namespace quillon::cli {

// import: the preview of the roster file's rows, and with --yes the students
// added in one write. Returns 0 when someone is (or would be) added, 1 when
// nobody is; throws Exit for a wrong class (2) or a file that cannot be read
// or written (3).
int ImportCommand(CommandContext& context, const ImportOptions& o);

// slips: number, name and password of each student in roster order.
// Returns 0, or 1 when the class has no students; throws Exit for a wrong
// class or student (2) or a file that cannot be read (3).
int SlipsCommand(CommandContext& context, const SlipsOptions& o);

}  // namespace quillon::cli
