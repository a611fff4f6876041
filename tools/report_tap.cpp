// SPDX-License-Identifier: GPL-3.0-or-later
// TAP version 14: a commented subtest per program, indented four spaces, ended by its correlated
// test point; a test point per case, with its feedback as a YAML block two spaces further in.
#include <ostream>

#include "escaped_text.h"
#include "grading.h"
#include "student_feedback.h"

namespace tobric {
namespace {

// A name for a test point line: one line, no control character, and "\" and "#" escaped so a
// harness never reads a directive into it.
std::string Description(const std::string& name) {
    std::string escaped;
    for (const char c : Printable(name)) {
        if (c == '\\' || c == '#') escaped += '\\';
        escaped += c;
    }
    return escaped;
}

void WriteYaml(std::ostream& out, const CaseFeedback& feedback) {
    // JSON strings are YAML double-quoted scalars; JsonQuoted keeps to YAML's printable set.
    out << "      ---\n      message: " << JsonQuoted(feedback.message) << '\n';
    for (const auto& [key, value] : feedback.details)
        out << "      " << key << ": " << JsonQuoted(value) << '\n';
    out << "      ...\n";
}

}  // namespace

void WriteTap(std::ostream& out, const std::vector<ProgramGrade>& grades, const CasesFile& file,
              std::int64_t maxSteps) {
    const std::vector<TestCase>& cases = file.cases;
    out << "TAP version 14\n1.." << grades.size() << '\n';
    for (std::size_t p = 0; p < grades.size(); ++p) {
        const ProgramGrade& grade = grades[p];
        // The comment names the subtest as the harness reads the description: unescaped.
        out << "# Subtest: " << Printable(grade.program) << "\n    1.." << cases.size() << '\n';
        for (std::size_t i = 0; i < cases.size(); ++i) {
            const CaseResult& result = grade.cases[i];
            out << "    " << (result.passed ? "ok " : "not ok ") << i + 1 << " - "
                << Description(StudentCaseTitle(cases[i])) << '\n';
            if (result.passed) continue;
            // "not ok" says all that a failure may tell at the level none.
            const Feedback level = StudentFeedback(cases[i], file.feedback);
            if (level != Feedback::None || !grade.loaded)
                WriteYaml(out, FailureFeedback(cases[i], result, grade.loaded, level, maxSteps));
        }
        const bool allPassed = grade.Passed() == static_cast<int>(cases.size());
        out << (allPassed ? "ok " : "not ok ") << p + 1 << " - " << Description(grade.program)
            << '\n';
    }
}

}  // namespace tobric
