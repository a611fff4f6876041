// SPDX-License-Identifier: GPL-3.0-or-later
// The student's reports, for course sites: what they tell about a case is only as much as the
// cases file's feedback level allows, in the same words in every format.
#include <cstdint>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "escaped_text.h"
#include "grading.h"

namespace tobric {
namespace {

struct CaseFeedback {
    std::string message;  // one line: "expected 4, got 7", "got 7", "failed"
    // ("inputs", "3,4"), ("expected", "4"), ("actual", "7"), as far as the level allows.
    std::vector<std::pair<std::string, std::string>> details;
};

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

// For a failing case; a passing case needs no words. A program that could not be loaded is
// explained at every level: that is about the student's own file, not about the cases.
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

// How a case is named to the student: a hidden case by its line alone.
std::string StudentCaseTitle(const TestCase& testCase) {
    if (testCase.hidden) return "hidden case (line " + std::to_string(testCase.lineNumber) + ")";
    return CaseTitle(testCase);
}

// The level a case is explained at: a hidden case's failure tells nothing.
Feedback StudentFeedback(const TestCase& testCase, Feedback level) {
    return testCase.hidden ? Feedback::None : level;
}

// ---- JUnit XML, as CI servers and course-site reporters read it: a suite per program, a test
// case per case, named by the student's view of it.

void WriteFailure(std::ostream& out, const CaseFeedback& feedback, const char* element,
                  const std::string& type) {
    out << "      <" << element << " message=\"" << XmlAttribute(feedback.message) << "\" type=\""
        << XmlAttribute(type) << '"';
    if (feedback.details.empty()) {
        out << "/>\n";
        return;
    }
    out << '>';
    for (std::size_t i = 0; i < feedback.details.size(); ++i) {
        if (i > 0) out << '\n';
        out << XmlContent(feedback.details[i].first + ": " + feedback.details[i].second);
    }
    out << "</" << element << ">\n";
}

void WriteSuite(std::ostream& out, const ProgramGrade& grade, const CasesFile& file,
                std::int64_t maxSteps) {
    const std::vector<TestCase>& cases = file.cases;
    const std::size_t failed = cases.size() - static_cast<std::size_t>(grade.Passed());
    const std::string program = XmlAttribute(grade.program);
    out << "  <testsuite name=\"" << program << "\" tests=\"" << cases.size() << "\" failures=\""
        << (grade.loaded ? failed : 0) << "\" errors=\"" << (grade.loaded ? 0 : failed)
        << "\" skipped=\"0\">\n";
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const CaseResult& result = grade.cases[i];
        out << "    <testcase name=\"" << XmlAttribute(StudentCaseTitle(cases[i]))
            << "\" classname=\"" << program << '"';
        if (result.passed) {
            out << "/>\n";
            continue;
        }
        out << ">\n";
        const Feedback level = StudentFeedback(cases[i], file.feedback);
        const CaseFeedback feedback =
            FailureFeedback(cases[i], result, grade.loaded, level, maxSteps);
        if (!grade.loaded)
            WriteFailure(out, feedback, "error", "cannot load");
        else
            WriteFailure(out, feedback, "failure",
                         level == Feedback::None ? "failed" : ResultText(result));
        out << "    </testcase>\n";
    }
    out << "  </testsuite>\n";
}

// ---- TAP version 14: a commented subtest per program, indented four spaces, ended by its
// correlated test point; a test point per case, with its feedback as a YAML block two spaces
// further in.

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

// ---- Gradescope's results.json: a test per case with its points; hidden cases are shown once
// the teacher publishes the grades.

std::string Output(const CaseFeedback& feedback) {
    std::string output = feedback.message;
    for (const auto& [key, value] : feedback.details) output += "\n" + key + ": " + value;
    return output;
}

}  // namespace

void WriteJunit(std::ostream& out, const std::vector<ProgramGrade>& grades, const CasesFile& file,
                std::int64_t maxSteps) {
    std::size_t failures = 0, errors = 0;
    for (const ProgramGrade& grade : grades)
        (grade.loaded ? failures : errors) +=
            file.cases.size() - static_cast<std::size_t>(grade.Passed());
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<testsuites tests=\"" << grades.size() * file.cases.size() << "\" failures=\""
        << failures << "\" errors=\"" << errors << "\">\n";
    for (const ProgramGrade& grade : grades) WriteSuite(out, grade, file, maxSteps);
    out << "</testsuites>\n";
}

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

void WriteGradescope(std::ostream& out, const std::vector<ProgramGrade>& grades,
                     const CasesFile& file, std::int64_t maxSteps) {
    const std::vector<TestCase>& cases = file.cases;
    std::int64_t score = 0;
    std::string loadErrors;
    for (const ProgramGrade& grade : grades) {
        score += ProgramScore(grade, cases).earned;
        if (!grade.loaded) loadErrors += (loadErrors.empty() ? "" : "\n") + grade.loadError;
    }
    // The published fields only: the assignment's own settings give Gradescope the most points.
    out << "{\"score\":" << score;
    // Said once for the whole submission too, where a student looks first.
    if (!loadErrors.empty()) out << ",\"output\":" << JsonQuoted("cannot load: " + loadErrors);
    out << ",\"tests\":[";
    bool first = true;
    for (const ProgramGrade& grade : grades) {
        for (std::size_t i = 0; i < cases.size(); ++i) {
            const CaseResult& result = grade.cases[i];
            std::string name = CaseTitle(cases[i]);
            if (grades.size() > 1) name = grade.program + ": " + name;
            const std::string output = result.passed
                                           ? std::string()
                                           : Output(FailureFeedback(cases[i], result, grade.loaded,
                                                                    file.feedback, maxSteps));
            out << (first ? "" : ",") << "{\"name\":" << JsonQuoted(name)
                << ",\"score\":" << CaseScore(cases[i], result)
                << ",\"max_score\":" << cases[i].points << ",\"status\":\""
                << (result.passed ? "passed" : "failed") << "\",\"output\":" << JsonQuoted(output)
                << ",\"visibility\":\"" << (cases[i].hidden ? "after_published" : "visible")
                << "\"}";
            first = false;
        }
    }
    out << "]}\n";
}

}  // namespace tobric
