// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The report formats by the names --format takes.

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "grading.h"

namespace tobric {

using ReportWriter = void (*)(std::ostream& out, const std::vector<ProgramGrade>& grades,
                              const CasesFile& file, std::int64_t maxSteps);

struct ReportFormat {
    std::string_view name;
    ReportWriter write;
};

// Null for a name that is no format.
const ReportFormat* FindReportFormat(std::string_view name);

// "text, csv, json, junit, tap or gradescope", for messages.
std::string ReportFormatNames();

}  // namespace tobric
