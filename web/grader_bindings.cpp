// SPDX-License-Identifier: GPL-3.0-or-later
// The grader for the page: tobric-run's own cases file parser, grading and writers, bound to the
// page's grading worker. One case is graded per call, so the worker can report each as it ends
// and be stopped between any two; the cases of one program gather into one grade, which is what
// tobric-run's grading of that program gives, so the CSV and JSON are tobric-run's byte for byte.

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <sstream>
#include <string>
#include <vector>

#include "tools/grading.h"
#include "tools/headless_run.h"
#include "tools/test_cases.h"

namespace tobric {
namespace {

using emscripten::val;

// tobric-run's limit when no --max-steps is given.
const std::int64_t kStepLimit = RunOptions{}.maxSteps;

class Grader {
public:
    // "" when the text is a cases file, or the error naming its line. A student's check keeps the
    // visible cases only: the hidden ones are neither run nor shown nor counted.
    std::string Parse(const std::string& text, bool visibleOnly) {
        m_grades.clear();
        try {
            m_file = ParseCasesFile(text);
        } catch (const CasesFileError& error) {
            m_file = {};
            return error.what();
        }
        if (visibleOnly) std::erase_if(m_file.cases, [](const TestCase& c) { return c.hidden; });
        return "";
    }

    std::string FeedbackLevel() const { return FeedbackName(m_file.feedback); }

    val Cases() const {
        val cases = val::array();
        for (const TestCase& testCase : m_file.cases) {
            val item = val::object();
            item.set("name", testCase.name);
            item.set("line", testCase.lineNumber);
            item.set("points", testCase.points);
            item.set("hidden", testCase.hidden);
            item.set("answers", val::array(testCase.answers));
            item.set("expected", val::array(testCase.expected));
            item.set("stepLimit", static_cast<double>(StepLimit(testCase, kStepLimit)));
            cases.call<void>("push", item);
        }
        return cases;
    }

    // Grades case `index` on a program given as its file's bytes; case 0 starts the program's row.
    val GradeCase(const std::string& name, const std::string& fileBytes, int index) {
        const ProgramGrade one = GradeProgramText(
            name, fileBytes, {m_file.cases.at(static_cast<std::size_t>(index))}, kStepLimit);
        if (index == 0)
            m_grades.push_back(one);
        else
            m_grades.back().cases.push_back(one.cases.front());
        const CaseResult& result = one.cases.front();
        val item = val::object();
        item.set("result", ResultText(result));
        item.set("passed", result.passed);
        item.set("actual", val::array(result.actual));
        item.set("error", result.error);
        return item;
    }

    // tobric-run's CSV or JSON of the grades so far.
    template <auto kWrite>
    std::string Written() const {
        std::ostringstream out;
        kWrite(out, m_grades, m_file, kStepLimit);
        return out.str();
    }

private:
    CasesFile m_file;
    std::vector<ProgramGrade> m_grades;
};

}  // namespace
}  // namespace tobric

EMSCRIPTEN_BINDINGS(tobric_grader) {
    using tobric::Grader;
    emscripten::class_<Grader>("Grader")
        .constructor<>()
        .function("parse", &Grader::Parse)
        .function("feedback", &Grader::FeedbackLevel)
        .function("cases", &Grader::Cases)
        .function("gradeCase", &Grader::GradeCase)
        .function("csv", &Grader::Written<&tobric::WriteCsv>)
        .function("json", &Grader::Written<&tobric::WriteJson>);
}
