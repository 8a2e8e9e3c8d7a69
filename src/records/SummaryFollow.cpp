#include "records/SummaryFollow.h"

#include "data/ActivityRecord.h"
#include "data/ClassFiles.h"
#include "data/RecordFile.h"

namespace quillon {

SummaryFollow::SummaryFollow(Folder& folder)
    : records_(folder, kRecordsFile, kActivityRecordLength),
      students_(folder, kStudentsFile, kStudentRecordLength),
      held_(folder) {}

Status SummaryFollow::Look(bool* changed) {
  *changed = false;
  bool any = false, settled = true;
  for (auto [tail, bytes] :
       {std::pair{&records_, &record_bytes_}, std::pair{&students_, &student_bytes_}}) {
    TailLook look;
    Status s = tail->Look(&look);
    if (!s.ok()) return s;
    if (look.kind == TailLook::Kind::kAppended) bytes->append(look.records);
    if (look.kind == TailLook::Kind::kReread) *bytes = std::move(look.records);
    any = any || look.kind != TailLook::Kind::kSame;
    settled = settled && !look.zero_at;
  }
  // The figures of a file half changed are not shown; once it settles they
  // are computed again, also when nothing more changed meanwhile.
  *changed = settled && (any || !settled_);
  settled_ = settled;
  return Status::OK();
}

Status SummaryFollow::Summarize(WorkingLists& lists, const SummaryRequest& request,
                                std::vector<SummaryRow>* rows) {
  held_.Hold(kRecordsFile, record_bytes_);
  held_.Hold(kStudentsFile, student_bytes_);
  return BuildClassSummary(held_, lists, false, request, rows);
}

}  // namespace quillon
