// Which folder the desktop program works in, and making the default one.
//
// The program folder is the one named on the command line. Without one, the
// folder the user chose in the program last time (a lab's shared folder);
// else a program that has a lesson catalogue (LESSONS.DAT) beside it keeps
// its data there, as the tutoring lessons do; an installed program (in
// /usr/bin, with no catalogue beside it) uses the folder "Quillon" in the
// user's home folder, made on first start with the sample catalogue.
#pragma once

#include <optional>
#include <string>

#include "base/Status.h"

namespace quillon {

struct FolderChoice {
  std::string path;
  // True for the home default: the caller offers to make it when it has no
  // catalogue yet.
  bool is_default = false;
  // True for the folder chosen last time: the caller checks it can still be
  // used (a shared folder may not be there).
  bool is_remembered = false;
};

// `argument`: the folder named on the command line; `remembered`: the one
// chosen in the program last time; `program_dir`: the folder of the
// executable; `home`: $HOME (may be empty). Fails only when the default is
// needed and there is no home folder.
Status ChooseProgramFolder(const std::optional<std::string>& argument,
                           const std::optional<std::string>& remembered,
                           const std::string& program_dir, const std::string& home,
                           FolderChoice* choice);

// Where the installed sample catalogue is, seen from the executable's folder
// (<prefix>/bin -> <prefix>/share/quillon/LESSONS.DAT, as installed).
std::string InstalledCatalogue(const std::string& program_dir);

// Makes `folder` (and its parents) when missing and copies the catalogue at
// `catalogue` into it as LESSONS.DAT. An existing LESSONS.DAT is never
// replaced: that is a failure, and nothing is written.
Status MakeProgramFolder(const std::string& folder, const std::string& catalogue);

}  // namespace quillon
