// Saving a CSV file where the user chooses, as every window with a "Save as
// CSV" button does it.
#pragma once

#include <string>

#include "gui/platform/Dialogs.h"

namespace quillon {

// Asks for the file with the save dialog `title`, offering `file_name`
// (file text) in the Documents folder; a name chosen without an extension gets ".csv".
// An existing file is replaced only after a Yes to "This file already
// exists. Replace it?". The bytes are written through a temporary file, so
// nothing half-written is ever left under the name. Then says "The <what>
// was saved to the file" and the path, or "The <what> could not be saved."
// and why. Cancelling the dialog does nothing.
void SaveCsvFile(Dialogs& dialogs, const std::string& title, const std::string& file_name,
                 const std::string& what, const std::string& bytes);

}  // namespace quillon
