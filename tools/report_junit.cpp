// SPDX-License-Identifier: GPL-3.0-or-later
// JUnit XML, as CI servers and course-site reporters read it: a suite per program, a test case
// per case, named by the student's view of it.
#include <ostream>

#include "escaped_text.h"
#include "grading.h"
#include "student_feedback.h"

namespace tobric {
namespace {

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

}  // namespace tobric
