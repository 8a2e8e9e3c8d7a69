// The export of all activity records to a tab-separated text file, in one of
// five sort orders (see ExportOrder.h; the line layout is in ExportLine.h),
// and the choice of the export file's name.
#pragma once

#include <optional>
#include <string>

#include "export/ExportDate.h"
#include "platform/Clock.h"
#include "platform/Folder.h"
#include "records/RecordLine.h"

namespace quillon {

// How many records of RECORDS.DAT an export with `cutoff` would write.
Status CountExportRecords(Folder& folder, const std::optional<std::string>& cutoff,
                          std::size_t* count);

// Writes every record of RECORDS.DAT dated on or after `cutoff` (yymmdd; a
// plain text comparison, so within one century), sorted in `order`, to a new
// file of the program folder named `*file_name`. The lines go to a
// temporary file first (`*file_name` + ".part"), which then takes the name
// only if no file has it meanwhile; if one has, the next free name of the
// day is taken (`*file_name` tells which). No file is ever overwritten, and
// on any failure nothing is left under either name. `*written` receives the
// number of lines.
Status WriteExport(Folder& folder, Clock& clock, const TitleTables& tables,
                   const std::optional<std::string>& cutoff, int order, std::string* file_name,
                   std::size_t* written);

// "Records" + mmddyy + "-" + nn + ".txt" for the first nn of 01-20 with no
// such file; "Error" when all twenty are taken.
std::string MakeOutputFileName(Folder& folder, Clock& clock);

}  // namespace quillon
