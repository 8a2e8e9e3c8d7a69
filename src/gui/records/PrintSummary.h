// Printing the class summary (its table on landscape pages, headed on every
// page) and a student's progress chart (one landscape page), through the
// printer seam; a printer fault is asked about as for the records report,
// and any other fault abandons the job.
#pragma once

#include <string>
#include <vector>

#include "gui/shell/Services.h"
#include "records/ProgressChart.h"
#include "records/Summary.h"

namespace quillon {

// Returns when printed, abandoned or the program ended.
void PrintSummary(Services services, const std::vector<SummaryRow>& rows,
                  const std::string& class_name, double passing_grade, const SummaryRange& range);

void PrintProgressChart(Services services, const ProgressData& data, const std::string& class_name,
                        const SummaryRange& range);

// Where and how large the chart is drawn on its landscape page, in inches.
inline constexpr double kChartPageLeft = 0.4, kChartPageWidth = 10.2, kChartPageHeight = 6.8;

}  // namespace quillon
