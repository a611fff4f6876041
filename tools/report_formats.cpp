// SPDX-License-Identifier: GPL-3.0-or-later
#include "report_formats.h"

#include <algorithm>
#include <iterator>

namespace tobric {
namespace {

constexpr ReportFormat kFormats[] = {
    {"text", WriteText},   {"csv", WriteCsv}, {"json", WriteJson},
    {"junit", WriteJunit}, {"tap", WriteTap}, {"gradescope", WriteGradescope},
};

}  // namespace

const ReportFormat* FindReportFormat(std::string_view name) {
    const auto found =
        std::find_if(std::begin(kFormats), std::end(kFormats),
                     [&](const ReportFormat& format) { return format.name == name; });
    return found == std::end(kFormats) ? nullptr : found;
}

std::string ReportFormatNames() {
    std::string names;
    for (std::size_t i = 0; i < std::size(kFormats); ++i) {
        if (i > 0) names += i + 1 < std::size(kFormats) ? ", " : " or ";
        names += kFormats[i].name;
    }
    return names;
}

}  // namespace tobric
