// The dates of the export: a record's date as a number that sorts as the
// dates do and as the "yymmdd" the cutoff is compared with, and the cutoff
// date typed as month/day/year.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillon {

// yyyymmdd of the date mm, dd, yy (two digits each); 0 when that is not a
// valid date, so such records sort first. Two-digit years 00-29 are 2000-2029
// and 30-99 are 1930-1999.
std::uint32_t ExportDateValue(std::string_view mm, std::string_view dd, std::string_view yy);

// "yymmdd" of a record's date (characters 11-12, then 7-10).
std::string RecordYymmdd(std::string_view record);

// Parses a cutoff typed as month/day/year (m/d/yy, mm/dd/yy or with a
// four-digit year) into "yymmdd"; nullopt when it is not a date.
std::optional<std::string> ParseCutoffDate(std::string_view text);

}  // namespace quillon
