// The values the windows share, owned by the application and handed to the
// windows, so that each run and each test starts fresh. What only one window
// uses lives in that window.
#pragma once

#include "data/LessonCatalogue.h"
#include "records/DisplayOptions.h"

namespace quillon {

// The index of a setting's option in the windows' option arrays, which is how
// the shared values hold the setting.
template <typename Setting>
constexpr int OptionIndex(Setting setting) {
  return static_cast<int>(setting);
}

struct SharedValues {
  // Start-up and menu.
  int InitialClassIndex = -1;  // the class list selection the task windows load with
  int DataGroup = OptionIndex(DataGroup::kAllRecords);

  // The test passing grade (percent) of the class selected last.
  double PassingGrade = 0;

  // The records display's sort, kept for the next display and the printout.
  int SortBy = OptionIndex(SortBy::kName);
  int SortDirection = OptionIndex(SortDirection::kIncreasing);

  // The settings above as what they are.
  quillon::DataGroup Group() const { return static_cast<quillon::DataGroup>(DataGroup); }
  quillon::SortBy Sort() const { return static_cast<quillon::SortBy>(SortBy); }
  quillon::SortDirection Direction() const {
    return static_cast<quillon::SortDirection>(SortDirection);
  }

  // Loaded at start-up / filled by the student records window.
  LessonCatalogue Catalogue;
  UnitNameTable UnitTestNames;
};

}  // namespace quillon
