// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Grading: every program against every test case, each case on a freshly loaded program, the
// same machine as a normal run, with the step limit guarding endless loops.

#include <cstdint>
#include <iosfwd>
#include <string>
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

ProgramGrade GradeProgram(const std::string& program, const std::vector<TestCase>& cases,
                          std::int64_t maxSteps);

// All programs, spread over the machine's cores; the results keep the programs' order.
std::vector<ProgramGrade> GradePrograms(const std::vector<std::string>& programs,
                                        const std::vector<TestCase>& cases, std::int64_t maxSteps);

// The report: a passed/total line per program, then what went wrong in each failing case.
void PrintReport(std::ostream& out, const std::vector<ProgramGrade>& grades,
                 const std::vector<TestCase>& cases, std::int64_t maxSteps);

// One row per program and case: program,case,result,expected,actual,steps,error.
void WriteCsv(std::ostream& out, const std::vector<ProgramGrade>& grades,
              const std::vector<TestCase>& cases);

// "pass", "wrong output", "error", "step limit" or "no input left".
std::string ResultText(const CaseResult& result);

}  // namespace tobric
