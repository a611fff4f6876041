// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Pieces every report writes the same way.

#include <cstdint>
#include <string>
#include <vector>

#include "grading.h"
#include "test_cases.h"

namespace tobric {

// "3,4": comma-separated, no blanks, as the cases file writes them.
std::string JoinedNumbers(const std::vector<std::int32_t>& numbers);

// The case's name, or "line N" when the file gives none.
std::string CaseTitle(const TestCase& testCase);

// The points a program earned, and the points there were, over the cases given.
struct Score {
    std::int64_t earned = 0;
    std::int64_t possible = 0;
};
Score ProgramScore(const ProgramGrade& grade, const std::vector<TestCase>& cases);

}  // namespace tobric
