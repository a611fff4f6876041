// SPDX-License-Identifier: GPL-3.0-or-later
// The teacher's reports: the whole truth, hidden cases and all.
#include <algorithm>
#include <ostream>

#include "escaped_text.h"
#include "grading.h"

namespace tobric {
namespace {

// "3,4": comma-separated, no blanks, as the cases file writes them.
std::string JoinedNumbers(const std::vector<std::int32_t>& numbers) {
    std::string text;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        if (i > 0) text += ',';
        text += std::to_string(numbers[i]);
    }
    return text;
}

const char* Boolean(bool value) { return value ? "true" : "false"; }

// ---- Text, on the terminal: a line per program, a line per failing case.

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

// ---- CSV, the mark book: one row per program and case, for a spreadsheet.

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

// ---- JSON: every grade in one document, on one line, its keys in the order tobric-run(1)
// documents.

template <typename Item, typename Write>
void WriteArray(std::ostream& out, const std::vector<Item>& items, Write write) {
    out << '[';
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) out << ',';
        write(items[i]);
    }
    out << ']';
}

void WriteNumbers(std::ostream& out, const std::vector<std::int32_t>& numbers) {
    WriteArray(out, numbers, [&](std::int32_t n) { out << n; });
}

void WriteCase(std::ostream& out, const TestCase& testCase, const CaseResult& result,
               std::int64_t maxSteps) {
    out << "{\"name\":" << JsonQuoted(testCase.name) << ",\"line\":" << testCase.lineNumber
        << ",\"points\":" << testCase.points << ",\"hidden\":" << Boolean(testCase.hidden)
        << ",\"inputs\":";
    WriteArray(out, testCase.answers,
               [&](const std::string& answer) { out << JsonQuoted(answer); });
    out << ",\"expected\":";
    WriteNumbers(out, testCase.expected);
    out << ",\"actual\":";
    WriteNumbers(out, result.actual);
    out << ",\"result\":" << JsonQuoted(ResultText(result))
        << ",\"passed\":" << Boolean(result.passed) << ",\"score\":" << CaseScore(testCase, result)
        << ",\"steps\":" << result.steps << ",\"step_limit\":" << StepLimit(testCase, maxSteps)
        << ",\"error\":" << JsonQuoted(result.error) << '}';
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

void WriteCsv(std::ostream& out, const std::vector<ProgramGrade>& grades, const CasesFile& file,
              std::int64_t) {
    // New columns go at the end: spreadsheets built on the first seven keep working.
    out << "program,case,result,expected,actual,steps,error,points,score,hidden\n";
    const std::vector<TestCase>& cases = file.cases;
    for (const ProgramGrade& grade : grades) {
        for (std::size_t i = 0; i < cases.size(); ++i) {
            const CaseResult& result = grade.cases[i];
            out << CsvField(grade.program) << ',' << CsvField(CaseTitle(cases[i])) << ','
                << CsvField(ResultText(result)) << ',' << CsvField(JoinedNumbers(cases[i].expected))
                << ',' << CsvField(JoinedNumbers(result.actual)) << ',' << result.steps << ','
                << CsvField(result.error) << ',' << cases[i].points << ','
                << CaseScore(cases[i], result) << ',' << Boolean(cases[i].hidden) << '\n';
        }
    }
}

void WriteJson(std::ostream& out, const std::vector<ProgramGrade>& grades, const CasesFile& file,
               std::int64_t maxSteps) {
    const std::vector<TestCase>& cases = file.cases;
    Score total;
    std::int64_t passed = 0;
    out << "{\"feedback\":" << JsonQuoted(FeedbackName(file.feedback))
        << ",\"step_limit\":" << maxSteps << ",\"programs\":";
    WriteArray(out, grades, [&](const ProgramGrade& grade) {
        const Score score = ProgramScore(grade, cases);
        total.earned += score.earned;
        total.possible += score.possible;
        passed += grade.Passed();
        out << "{\"program\":" << JsonQuoted(grade.program)
            << ",\"loaded\":" << Boolean(grade.loaded)
            << ",\"load_error\":" << JsonQuoted(grade.loadError) << ",\"passed\":" << grade.Passed()
            << ",\"cases_total\":" << cases.size() << ",\"score\":" << score.earned
            << ",\"max_score\":" << score.possible << ",\"cases\":[";
        for (std::size_t i = 0; i < cases.size(); ++i) {
            if (i > 0) out << ',';
            WriteCase(out, cases[i], grade.cases[i], maxSteps);
        }
        out << "]}";
    });
    out << ",\"totals\":{\"programs\":" << grades.size()
        << ",\"cases\":" << grades.size() * cases.size() << ",\"passed\":" << passed
        << ",\"score\":" << total.earned << ",\"max_score\":" << total.possible << "}}\n";
}

}  // namespace tobric
