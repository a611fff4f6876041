// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the student-facing reports (JUnit, TAP, Gradescope) tell about a case: only as much as the
// cases file's feedback level allows, in the same words in every format.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "grading.h"
#include "test_cases.h"

namespace tobric {

struct CaseFeedback {
    std::string message;  // one line: "expected 4, got 7", "got 7", "failed"
    // ("inputs", "3,4"), ("expected", "4"), ("actual", "7"), as far as the level allows.
    std::vector<std::pair<std::string, std::string>> details;
};

// For a failing case; a passing case needs no words. A program that could not be loaded is
// explained at every level: that is about the student's own file, not about the cases.
CaseFeedback FailureFeedback(const TestCase& testCase, const CaseResult& result, bool loaded,
                             Feedback level, std::int64_t maxSteps);

// How a case is named to the student: a hidden case by its line alone.
std::string StudentCaseTitle(const TestCase& testCase);

// The level a case is explained at: a hidden case's failure tells nothing.
inline Feedback StudentFeedback(const TestCase& testCase, Feedback level) {
    return testCase.hidden ? Feedback::None : level;
}

}  // namespace tobric
