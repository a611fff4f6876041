// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// tobric-run's command line: the options, how they combine, and the usage text.

#include <string>
#include <vector>

#include "grading.h"
#include "headless_run.h"

namespace tobric {

struct CommandLine {
    RunOptions options;
    bool dump = false;
    bool help = false;
    bool check = false;
    bool version = false;
    std::string casesFile;
    std::string csvFile;
    std::string format;  // as --format gives it; empty: the text report
    ReportWriter writeReport = WriteText;
    std::vector<std::string> programs;
};

extern const char* const kUsageText;

// Returns an error text, or an empty text when the arguments are good.
std::string ParseCommandLine(const std::vector<std::string>& arguments, CommandLine& command);

}  // namespace tobric
