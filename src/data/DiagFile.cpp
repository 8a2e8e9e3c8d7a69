#include "data/DiagFile.h"

#include "data/RecordFile.h"

namespace quillon {

Status ReadDiagRecords(Folder& folder, std::vector<std::string>* records) {
  records->clear();
  RecordSet set;
  Status s = ReadRecords(folder, kDiagFile, kDiagRecordLength, &set);
  for (std::size_t i = 0; i < set.Count(); ++i) records->emplace_back(set.At(i));
  return s;
}

}  // namespace quillon
