// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Grading: a program against every test case, each case on a freshly loaded program, the same
// machine as a normal run, with the step limit guarding endless loops; and the reports of the
// grades. Nothing here starts a thread: the browser edition's page calls it as it is.

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "headless_run.h"
#include "test_cases.h"

namespace tobric {

struct CaseResult {
    bool passed = false;
    RunEnd end = RunEnd::Halted;
    std::string error;  // the failed step's report, or why the program could not be loaded
    std::int64_t steps = 0;
    std::vector<std::int32_t> actual;
};

struct ProgramGrade {
    std::string program;
    bool loaded = true;
    std::string loadError;
    std::vector<CaseResult> cases;  // one per test case, in the file's order
    int Passed() const;
};

// A program given as its file's bytes (a NUL ends them, as it ends a file that is read), each
// case under its own step limit or else `maxSteps`.
ProgramGrade GradeProgramText(const std::string& name, std::string_view fileBytes,
                              const std::vector<TestCase>& cases, std::int64_t maxSteps);

// The program file read first (standard input for "-"); one that cannot be read is graded as not
// loaded, every case failing with the reason.
ProgramGrade GradeProgram(const std::string& program, const std::vector<TestCase>& cases,
                          std::int64_t maxSteps);

// "pass", "wrong output", "error", "step limit" or "no input left".
std::string ResultText(const CaseResult& result);

// The case's points when it passed, else 0.
inline int CaseScore(const TestCase& testCase, const CaseResult& result) {
    return result.passed ? testCase.points : 0;
}

// The points a program earned, and the points there were, over the cases given.
struct Score {
    std::int64_t earned = 0;
    std::int64_t possible = 0;
};
Score ProgramScore(const ProgramGrade& grade, const std::vector<TestCase>& cases);

// The case's name, or "line N" when the file gives none.
std::string CaseTitle(const TestCase& testCase);

// ---- The reports, one per format; every one shows the same verdicts ----
using ReportWriter = void (*)(std::ostream& out, const std::vector<ProgramGrade>& grades,
                              const CasesFile& file, std::int64_t maxSteps);
// The teacher's (teacher_reports.cpp): the whole truth, hidden cases and all, at every level.

// A passed/total line per program, then what went wrong in each failing case.
void WriteText(std::ostream& out, const std::vector<ProgramGrade>& grades, const CasesFile& file,
               std::int64_t maxSteps);

// One row per program and case:
// program,case,result,expected,actual,steps,error,points,score,hidden.
void WriteCsv(std::ostream& out, const std::vector<ProgramGrade>& grades, const CasesFile& file,
              std::int64_t maxSteps);

// One JSON document, compact on one line (the schema is in tobric-run(1)).
void WriteJson(std::ostream& out, const std::vector<ProgramGrade>& grades, const CasesFile& file,
               std::int64_t maxSteps);

// The student's (student_reports.cpp), for course sites: a failing case tells what the file's
// feedback level allows, and a hidden case is neither named nor explained (Gradescope keeps it
// until grades are published instead). A program that cannot be loaded says why at every level.

// JUnit XML: a <testsuite> per program, a <testcase> per case, unloadable programs as <error>.
void WriteJunit(std::ostream& out, const std::vector<ProgramGrade>& grades, const CasesFile& file,
                std::int64_t maxSteps);

// TAP version 14: a subtest per program, a test point per case, YAML diagnostics for failures.
void WriteTap(std::ostream& out, const std::vector<ProgramGrade>& grades, const CasesFile& file,
              std::int64_t maxSteps);

// Gradescope's results.json for one submission (with more programs, each test's name carries
// its program's).
void WriteGradescope(std::ostream& out, const std::vector<ProgramGrade>& grades,
                     const CasesFile& file, std::int64_t maxSteps);

}  // namespace tobric
