// SPDX-License-Identifier: GPL-3.0-or-later
#include "grading.h"

#include <algorithm>
#include <atomic>
#include <ostream>
#include <sstream>
#include <thread>

#include "machine/errors.h"
#include "machine/program_file.h"
#include "named_input.h"

namespace tobric {
namespace {

std::string Joined(const std::vector<std::int32_t>& numbers) {
    std::string text;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        if (i > 0) text += ',';
        text += std::to_string(numbers[i]);
    }
    return text;
}

std::string CaseLabel(const TestCase& testCase) {
    std::string label = "line " + std::to_string(testCase.lineNumber);
    if (!testCase.name.empty()) label += " (" + testCase.name + ")";
    return label;
}

// A CSV field, quoted when it holds a comma, a quote or a line break.
std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

}  // namespace

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

ProgramGrade GradeProgram(const std::string& program, const std::vector<TestCase>& cases,
                          std::int64_t maxSteps) {
    ProgramGrade grade;
    grade.program = program;
    std::vector<std::string> lines;
    try {
        lines = SplitProgramText(ReadNamedInput(program));
    } catch (...) {
        grade.loaded = false;
        grade.loadError = ReportText(std::current_exception());
        grade.cases.resize(cases.size(), CaseResult{false, RunEnd::Failed, grade.loadError, 0, {}});
        return grade;
    }
    std::ostringstream discarded;
    for (const TestCase& testCase : cases) {
        RunOptions options;
        options.answers = testCase.answers;
        options.maxSteps = maxSteps;
        options.printOutputs = false;
        HeadlessRun run(lines, std::move(options), discarded);
        const RunResult result = run.Run();
        CaseResult caseResult;
        caseResult.end = result.end;
        caseResult.error = result.error;
        caseResult.steps = result.steps;
        caseResult.actual = result.outputs;
        caseResult.passed = result.end == RunEnd::Halted && result.outputs == testCase.expected;
        grade.cases.push_back(std::move(caseResult));
    }
    return grade;
}

std::vector<ProgramGrade> GradePrograms(const std::vector<std::string>& programs,
                                        const std::vector<TestCase>& cases, std::int64_t maxSteps) {
    std::vector<ProgramGrade> grades(programs.size());
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t i = next++; i < programs.size(); i = next++)
            grades[i] = GradeProgram(programs[i], cases, maxSteps);
    };
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t workers = std::min<std::size_t>(cores, programs.size());
    std::vector<std::jthread> threads;
    for (std::size_t i = 1; i < workers; ++i) threads.emplace_back(work);
    work();
    return grades;  // the threads are joined before the results are read
}

void PrintReport(std::ostream& out, const std::vector<ProgramGrade>& grades,
                 const std::vector<TestCase>& cases, std::int64_t maxSteps) {
    for (const ProgramGrade& grade : grades) {
        out << grade.program << ": " << grade.Passed() << "/" << cases.size() << " passed\n";
        if (!grade.loaded) {
            out << "  cannot load: " << grade.loadError << '\n';
            continue;
        }
        for (std::size_t i = 0; i < cases.size(); ++i) {
            const CaseResult& result = grade.cases[i];
            if (result.passed) continue;
            out << "  " << CaseLabel(cases[i]) << ": expected " << Joined(cases[i].expected);
            switch (result.end) {
                case RunEnd::Halted: out << ", got " << Joined(result.actual); break;
                case RunEnd::Failed: out << ", failed: " << result.error; break;
                case RunEnd::StepLimit:
                    out << ", still running after " << maxSteps << " steps (step limit)";
                    break;
                case RunEnd::NoInputLeft:
                    out << ", asked for more input than the case gives";
                    break;
            }
            if (result.end != RunEnd::Halted && !result.actual.empty())
                out << " (output so far " << Joined(result.actual) << ")";
            out << '\n';
        }
    }
}

void WriteCsv(std::ostream& out, const std::vector<ProgramGrade>& grades,
              const std::vector<TestCase>& cases) {
    out << "program,case,result,expected,actual,steps,error\n";
    for (const ProgramGrade& grade : grades) {
        for (std::size_t i = 0; i < cases.size(); ++i) {
            const CaseResult& result = grade.cases[i];
            const std::string label = cases[i].name.empty()
                                          ? "line " + std::to_string(cases[i].lineNumber)
                                          : cases[i].name;
            out << CsvField(grade.program) << ',' << CsvField(label) << ','
                << CsvField(ResultText(result)) << ',' << CsvField(Joined(cases[i].expected)) << ','
                << CsvField(Joined(result.actual)) << ',' << result.steps << ','
                << CsvField(result.error) << '\n';
        }
    }
}

}  // namespace tobric
