// SPDX-License-Identifier: GPL-3.0-or-later
#include "grading.h"

#include <algorithm>
#include <sstream>

#include "machine/errors.h"
#include "machine/program_file.h"
#include "named_input.h"

namespace tobric {

int ProgramGrade::Passed() const {
    return static_cast<int>(
        std::count_if(cases.begin(), cases.end(), [](const CaseResult& r) { return r.passed; }));
}

std::string ResultText(const CaseResult& result) {
    if (result.passed) return "pass";
    switch (result.end) {
        case RunEnd::Halted: return "wrong output";
        case RunEnd::Failed: return "error";
        case RunEnd::StepLimit: return "step limit";
        case RunEnd::NoInputLeft: return "no input left";
    }
    return "error";
}

Score ProgramScore(const ProgramGrade& grade, const std::vector<TestCase>& cases) {
    Score score;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        score.earned += CaseScore(cases[i], grade.cases[i]);
        score.possible += cases[i].points;
    }
    return score;
}

std::string CaseTitle(const TestCase& testCase) {
    return testCase.name.empty() ? "line " + std::to_string(testCase.lineNumber) : testCase.name;
}

ProgramGrade GradeProgramText(const std::string& name, std::string_view fileBytes,
                              const std::vector<TestCase>& cases, std::int64_t maxSteps) {
    ProgramGrade grade;
    grade.program = name;
    const std::vector<std::string> lines = SplitProgramText(fileBytes);
    std::ostringstream discarded;
    for (const TestCase& testCase : cases) {
        RunOptions options{.answers = testCase.answers,
                           .maxSteps = StepLimit(testCase, maxSteps),
                           .printOutputs = false};
        RunResult result = HeadlessRun(lines, std::move(options), discarded).Run();
        const bool passed = result.end == RunEnd::Halted && result.outputs == testCase.expected;
        grade.cases.push_back(
            {passed, result.end, std::move(result.error), result.steps, std::move(result.outputs)});
    }
    return grade;
}

ProgramGrade GradeProgram(const std::string& program, const std::vector<TestCase>& cases,
                          std::int64_t maxSteps) {
    std::string bytes;
    try {
        bytes = ReadNamedInput(program);
    } catch (...) {
        ProgramGrade grade;
        grade.program = program;
        grade.loaded = false;
        grade.loadError = ReportText(std::current_exception());
        grade.cases.resize(cases.size(), CaseResult{false, RunEnd::Failed, grade.loadError, 0, {}});
        return grade;
    }
    return GradeProgramText(program, bytes, cases, maxSteps);
}

}  // namespace tobric
