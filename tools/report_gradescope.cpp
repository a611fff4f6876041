// SPDX-License-Identifier: GPL-3.0-or-later
// Gradescope's results.json: a test per case with its points; hidden cases are shown once the
// teacher publishes the grades.
#include <ostream>

#include "escaped_text.h"
#include "grading.h"
#include "report_parts.h"
#include "student_feedback.h"

namespace tobric {
namespace {

std::string Output(const CaseFeedback& feedback) {
    std::string output = feedback.message;
    for (const auto& [key, value] : feedback.details) output += "\n" + key + ": " + value;
    return output;
}

}  // namespace

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
