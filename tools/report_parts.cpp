// SPDX-License-Identifier: GPL-3.0-or-later
#include "report_parts.h"

namespace tobric {

std::string JoinedNumbers(const std::vector<std::int32_t>& numbers) {
    std::string text;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        if (i > 0) text += ',';
        text += std::to_string(numbers[i]);
    }
    return text;
}

std::string CaseTitle(const TestCase& testCase) {
    return testCase.name.empty() ? "line " + std::to_string(testCase.lineNumber) : testCase.name;
}

Score ProgramScore(const ProgramGrade& grade, const std::vector<TestCase>& cases) {
    Score score;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        score.earned += CaseScore(cases[i], grade.cases[i]);
        score.possible += cases[i].points;
    }
    return score;
}

}  // namespace tobric
