// SPDX-License-Identifier: GPL-3.0-or-later
#include "student_feedback.h"

#include "escaped_text.h"
#include "report_parts.h"

namespace tobric {
namespace {

// An endless loop of OUT fills a million steps with numbers; a student reads the first ones.
constexpr std::size_t kShownItems = 100;

template <typename Item, typename Text>
std::string Shown(const std::vector<Item>& items, Text text) {
    if (items.empty()) return "nothing";
    std::string shown;
    for (std::size_t i = 0; i < items.size() && i < kShownItems; ++i) {
        if (i > 0) shown += ',';
        shown += text(items[i]);
    }
    if (items.size() > kShownItems)
        shown += " and " + std::to_string(items.size() - kShownItems) + " more";
    return shown;
}

std::string ShownNumbers(const std::vector<std::int32_t>& numbers) {
    return Shown(numbers, [](std::int32_t n) { return std::to_string(n); });
}

// What the program did, without what it should have done; the output so far is a detail.
std::string Behaviour(const TestCase& testCase, const CaseResult& result, std::int64_t maxSteps) {
    switch (result.end) {
        case RunEnd::Halted: return "got " + ShownNumbers(result.actual);
        case RunEnd::Failed: return "failed: " + Printable(result.error);
        case RunEnd::StepLimit:
            return "still running after " + std::to_string(StepLimit(testCase, maxSteps)) +
                   " steps (step limit)";
        case RunEnd::NoInputLeft: return "asked for more input than the case gives";
    }
    return "failed";
}

}  // namespace

CaseFeedback FailureFeedback(const TestCase& testCase, const CaseResult& result, bool loaded,
                             Feedback level, std::int64_t maxSteps) {
    if (!loaded) return {"cannot load: " + Printable(result.error), {}};
    const std::string inputs = Shown(testCase.answers, [](const std::string& a) { return a; });
    const std::string expected = ShownNumbers(testCase.expected);
    const std::string actual = ShownNumbers(result.actual);
    switch (level) {
        case Feedback::Full:
            return {"expected " + expected + ", " + Behaviour(testCase, result, maxSteps),
                    {{"inputs", inputs}, {"expected", expected}, {"actual", actual}}};
        case Feedback::Actual:
            return {Behaviour(testCase, result, maxSteps),
                    {{"inputs", inputs}, {"actual", actual}}};
        case Feedback::None: break;
    }
    return {"failed", {}};
}

std::string StudentCaseTitle(const TestCase& testCase) {
    if (testCase.hidden) return "hidden case (line " + std::to_string(testCase.lineNumber) + ")";
    return CaseTitle(testCase);
}

}  // namespace tobric
