// SPDX-License-Identifier: GPL-3.0-or-later
// The teacher's report on the terminal: a line per program, a line per failing case.
#include <algorithm>
#include <ostream>

#include "grading.h"
#include "report_parts.h"

namespace tobric {
namespace {

std::string CaseLabel(const TestCase& testCase) {
    std::string label = "line " + std::to_string(testCase.lineNumber);
    if (!testCase.name.empty()) label += " (" + testCase.name + ")";
    if (testCase.hidden) label += " [hidden]";
    return label;
}

// Files without points keep the report they always had.
bool UsesPoints(const std::vector<TestCase>& cases) {
    return std::any_of(cases.begin(), cases.end(),
                       [](const TestCase& testCase) { return testCase.points != 1; });
}

}  // namespace

void WriteText(std::ostream& out, const std::vector<ProgramGrade>& grades, const CasesFile& file,
               std::int64_t maxSteps) {
    const std::vector<TestCase>& cases = file.cases;
    for (const ProgramGrade& grade : grades) {
        out << grade.program << ": " << grade.Passed() << "/" << cases.size() << " passed";
        if (UsesPoints(cases)) {
            const Score score = ProgramScore(grade, cases);
            out << ", " << score.earned << "/" << score.possible << " points";
        }
        out << '\n';
        if (!grade.loaded) {
            out << "  cannot load: " << grade.loadError << '\n';
            continue;
        }
        for (std::size_t i = 0; i < cases.size(); ++i) {
            const CaseResult& result = grade.cases[i];
            if (result.passed) continue;
            out << "  " << CaseLabel(cases[i]) << ": expected " << JoinedNumbers(cases[i].expected);
            switch (result.end) {
                case RunEnd::Halted: out << ", got " << JoinedNumbers(result.actual); break;
                case RunEnd::Failed: out << ", failed: " << result.error; break;
                case RunEnd::StepLimit:
                    out << ", still running after " << StepLimit(cases[i], maxSteps)
                        << " steps (step limit)";
                    break;
                case RunEnd::NoInputLeft:
                    out << ", asked for more input than the case gives";
                    break;
            }
            if (result.end != RunEnd::Halted && !result.actual.empty())
                out << " (output so far " << JoinedNumbers(result.actual) << ")";
            out << '\n';
        }
    }
}

}  // namespace tobric
