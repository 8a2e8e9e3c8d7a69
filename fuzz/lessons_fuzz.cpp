// LESSONS.DAT: any text either loads, every title then one of its fields,
// or is refused naming LESSONS.DAT with the catalogue left as it was.
#include <cstdint>
#include <string_view>

#include "data/LessonCatalogue.h"
#include "support/Check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quillon;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  LessonCatalogue catalogue;
  catalogue.UnitTitles[1][1] = "untouched";
  Status s = ParseLessons(text, &catalogue);
  if (!s.ok()) {
    FUZZ_CHECK(s.file() == "LESSONS.DAT");
    FUZZ_CHECK(catalogue.UnitTitles[1][1] == "untouched");
    return 0;
  }
  auto from_text = [&](const std::string& title) {
    return title.empty() || text.find(title) != std::string_view::npos;
  };
  for (int c = 0; c <= 8; ++c) {
    FUZZ_CHECK(catalogue.UnitTitles[c][0].empty());
    for (int u = 0; u <= 14; ++u) {
      FUZZ_CHECK(from_text(catalogue.UnitTitles[c][u]));
      for (int l = 0; l <= 14; ++l) FUZZ_CHECK(from_text(catalogue.UnitLessonTitles[c][u][l]));
    }
  }
  for (int c = 0; c <= 7; ++c) {
    for (int n = 0; n <= 46; ++n) FUZZ_CHECK(from_text(catalogue.NumberedLessonTitles[c][n]));
  }
  return 0;
}
