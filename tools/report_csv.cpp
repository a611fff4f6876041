// SPDX-License-Identifier: GPL-3.0-or-later
// The mark book: one row per program and case, for a spreadsheet.
#include <ostream>

#include "grading.h"
#include "report_parts.h"

namespace tobric {
namespace {

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

}  // namespace

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
                << CaseScore(cases[i], result) << ',' << (cases[i].hidden ? "true" : "false")
                << '\n';
        }
    }
}

}  // namespace tobric
