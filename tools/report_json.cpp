// SPDX-License-Identifier: GPL-3.0-or-later
// The teacher's report for programs: every grade in one JSON document, on one line, its keys in
// the order tobric-run(1) documents.
#include <ostream>

#include "escaped_text.h"
#include "grading.h"
#include "report_parts.h"

namespace tobric {
namespace {

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

const char* Boolean(bool value) { return value ? "true" : "false"; }

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
