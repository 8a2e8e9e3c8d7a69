// The class summary kept up to date while its window is open: RECORDS.DAT and
// STUDENTS.DAT followed as Lab Now follows them (records/RecordTail.h:
// reading only, no file kept open, no lock, nothing finished), and the
// figures computed again from the bytes held, by the summary's own rules.
#pragma once

#include <string>
#include <vector>

#include "platform/Folder.h"
#include "records/DisplayBuilder.h"
#include "records/HeldFolder.h"
#include "records/RecordTail.h"
#include "records/Summary.h"

namespace quillon {

class SummaryFollow {
 public:
  explicit SummaryFollow(Folder& folder);

  // A look at both files; the first reads them whole. `*changed` is true
  // when a file changed since the last look and the figures are to be
  // computed again (Summarize); false while one holds a zero byte (a
  // removal under way: it is computed once that is gone) and when a file
  // cannot be read (then the status says why).
  [[nodiscard]] Status Look(bool* changed);
  // The figures from the files as the last look left them: the working
  // lists rebuilt from the bytes held, then SummarizeClass.
  [[nodiscard]] Status Summarize(WorkingLists& lists, const SummaryRequest& request,
                                 std::vector<SummaryRow>* rows);

 private:
  RecordTail records_, students_;
  std::string record_bytes_, student_bytes_;
  bool settled_ = true;  // no zero byte in either file
  HeldFolder held_;
};

}  // namespace quillon
