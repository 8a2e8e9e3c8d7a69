// The order of the export's lines. Each line's key is read from its record,
// from the fields the line holds: for `order`
//   1  date, class name, student name     4  class name, student name, date
//   2  date, student name                 5  student name, course title, date
//   3  class name, date, student name
// (any other order: order 1), the names and the course title padded as the
// line pads them, the date as yyyymmdd (ExportDateValue: 0 for a date that is
// not one). Lines are ordered by their keys exactly as the export's recursive
// quicksort orders them (middle pivot, exchanges while i <= j), lines with
// equal keys in the order that procedure leaves them.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "export/ExportLookups.h"

namespace quillon {

// The places (from 0) of `records` in the export's order for `order`: the
// procedure itself, run on whole-number ranks of the keys with its stack
// bounded (the smaller part first, the larger one in a loop). Should an
// order of records defeat its middle pivot, an n log n sort gives the order
// instead, kept when no two records with equal keys make different lines:
// `same(a, b)` tells whether records a and b make the same line.
std::vector<std::uint32_t> ExportOrder(
    const std::vector<std::string_view>& records, int order, const ExportLookups& lookups,
    const std::function<bool(std::uint32_t, std::uint32_t)>& same);

}  // namespace quillon
