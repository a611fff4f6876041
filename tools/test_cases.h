// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Test-case files for grading: one case a line, the IN answers, "->", the expected OUT numbers,
// both comma-separated ("3,4 -> 4"; "-> 1,1,2" for no input), then optionally the case's options
// in square brackets ("[hidden, points 3, steps 500]"). Blank lines and lines starting with "#"
// are ignored; a "#" after a case names it. A line "WORD: VALUE" without "->" sets an option of
// the whole file (only "feedback: full|actual|none").

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tobric {

// How much a failing case tells the student: full = inputs, expected and actual; actual = inputs
// and actual only; none = that it failed, nothing more.
enum class Feedback { Full, Actual, None };

struct TestCase {
    int lineNumber = 0;
    std::string name;  // empty when the line gives none
    std::vector<std::string> answers;
    std::vector<std::int32_t> expected;
    int points = 1;
    bool hidden = false;         // graded by the teacher, never run or shown by a student's check
    std::int64_t maxSteps = -1;  // -1: the run's limit
};

struct CasesFile {
    std::vector<TestCase> cases;
    Feedback feedback = Feedback::Full;
};

inline constexpr int kMaxCasePoints = 1000000;

class CasesFileError : public std::runtime_error {
public:
    CasesFileError(int lineNumber, const std::string& message)
        : std::runtime_error("line " + std::to_string(lineNumber) + ": " + message) {}
};

// Throws CasesFileError for the first malformed line; nothing is run then.
CasesFile ParseCasesFile(std::string_view text);

// The cases alone, for callers that need no file option.
std::vector<TestCase> ParseTestCases(std::string_view text);

// "full", "actual" or "none", as the file writes it.
const char* FeedbackName(Feedback feedback);

// The limit a case runs under: its own, or the run's.
inline std::int64_t StepLimit(const TestCase& testCase, std::int64_t runLimit) {
    return testCase.maxSteps >= 0 ? testCase.maxSteps : runLimit;
}

}  // namespace tobric
