#include "classes/Restore.h"

namespace quillon {

std::string RestorePlan::Describe(const BinEntry& entry) const { return entry.note.what; }

Status PlanRestore(Folder&, const BinEntry&, bool, RestorePlan*) {
  return Status::Error("Erased", "restoring is not built yet");
}

Status RestoreBinEntry(Folder&, std::string_view, bool, RestorePlan*) {
  return Status::Error("Erased", "restoring is not built yet");
}

Status FinishRestores(Folder&) { return Status::OK(); }

}  // namespace quillon
