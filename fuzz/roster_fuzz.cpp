// A roster file to import: any bytes either are refused naming the file, or
// give rows in line order whose preview adds only storable names, each with
// a free number and a password of capitals and digits, never two alike where
// made up; the one write then adds exactly those records to STUDENTS.DAT.
#include <cstdint>
#include <set>

#include "base/Text.h"
#include "classes/RosterImport.h"
#include "data/ClassFiles.h"
#include "support/Check.h"
#include "support/MemoryFolder.h"

namespace {

// Random bytes that are the same on every run (xorshift), so that a saved
// input fails again.
class FixedRandom : public quillon::RandomSource {
 public:
  quillon::Status Fill(unsigned char* bytes, std::size_t count) override {
    for (std::size_t i = 0; i < count; ++i) {
      state_ ^= state_ << 13;
      state_ ^= state_ >> 7;
      state_ ^= state_ << 17;
      bytes[i] = static_cast<unsigned char>(state_ >> 24);
    }
    return quillon::Status::OK();
  }

 private:
  std::uint64_t state_ = 88172645463325252ull;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quillon;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  RosterTable table;
  Status s = ParseRosterText(bytes, "roster.csv", &table);
  if (!s.ok()) {
    FUZZ_CHECK(s.file() == "roster.csv");
    return 0;
  }
  FUZZ_CHECK(table.rows.size() <= kMaxRosterRows);
  for (std::size_t i = 0; i < table.rows.size(); ++i) {
    FUZZ_CHECK(table.rows[i].line >= 1);
    FUZZ_CHECK(i == 0 || table.rows[i].line > table.rows[i - 1].line);
  }

  fuzz::MemoryFolder folder;
  const std::string roster = BuildStudentRecord("Ann", 1, 3, "ABCDEF") +
                             BuildStudentRecord("Bob", 2, 4, "") +
                             BuildStudentRecord("Cy", 3, 3, "GHJKLM");
  folder.files[kClassesFile] = BuildClassRecord("Three", 3);
  folder.files[kStudentsFile] = roster;
  FixedRandom random;
  ImportPreview preview;
  FUZZ_CHECK(BuildImportPreview(folder, table, 3, random, &preview).ok());
  std::set<int> numbers = {1, 3};
  std::set<std::string> made_up = {"ABCDEF", "GHJKLM"};
  std::string added;
  for (const ImportRow& row : preview.rows) {
    FUZZ_CHECK(row.name.size() <= 21);
    if (row.action != ImportAction::kAdd) {
      FUZZ_CHECK(row.number == 0 && row.password.empty());
      continue;
    }
    FUZZ_CHECK(!row.name.empty() && row.name == Trim(row.name));
    for (char c : row.name) {
      const auto code = static_cast<unsigned char>(c);
      FUZZ_CHECK(code >= 32 && code != 127 && (code < 0x80 || code > 0x9F));
    }
    FUZZ_CHECK(row.number >= 1 && row.number <= 99 && numbers.insert(row.number).second);
    FUZZ_CHECK(!row.password.empty() && row.password.size() <= 6);
    FUZZ_CHECK(row.password.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789") ==
               std::string::npos);
    if (row.generated) FUZZ_CHECK(made_up.insert(row.password).second);
    added += BuildStudentRecord(row.name, row.number, 3, row.password);
  }
  int count = -1;
  FUZZ_CHECK(FileImportStudents(folder, preview, &count).ok());
  FUZZ_CHECK(count == preview.Added());
  FUZZ_CHECK(folder.files[kStudentsFile] == roster + added);
  return 0;
}
