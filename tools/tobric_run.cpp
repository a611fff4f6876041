// SPDX-License-Identifier: GPL-3.0-or-later
// tobric-run: runs one program file without a window, for scripts and for checking many programs.

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "command_line.h"
#include "escaped_text.h"
#include "grade_programs.h"
#include "grading.h"
#include "headless_run.h"
#include "machine/display_text.h"
#include "machine/errors.h"
#include "machine/file_system.h"
#include "machine/program_file.h"
#include "named_input.h"
#include "program_check.h"
#include "test_cases.h"
#include "tobric/version.h"

namespace {

enum ExitStatus { Success = 0, Failed = 1, BadUsage = 2, StepLimit = 3, NoInput = 4 };

// The tool's own troubles (usage, files, lost output) are named by the tool, as Unix tools do;
// how a run of the program ended keeps its "error: " lines, which scripts read.
void Complain(const std::string& message) {
    std::cerr << "tobric-run: " << tobric::Printable(message) << '\n';
}

// Runs `work`: true, or false once what it failed with is told.
template <typename Work>
bool Completed(Work work) {
    try {
        work();
        return true;
    } catch (...) {
        Complain(tobric::ReportText(std::current_exception()));
        return false;
    }
}

bool ReadProgram(const std::string& name, std::vector<std::string>& lines) {
    return Completed([&] { lines = tobric::SplitProgramText(tobric::ReadNamedInput(name)); });
}

// Everything written to standard output really left: a full disk or a closed pipe is an error,
// not a silent success.
int CheckedOutput(int status) {
    errno = 0;
    if (std::cout.flush()) return status;
    Complain(std::string("cannot write the output: ") +
             (errno != 0 ? std::strerror(errno) : "write error"));
    return BadUsage;
}

int CheckPrograms(const std::vector<std::string>& programs) {
    int status = Success;
    for (const std::string& program : programs) {
        std::vector<std::string> lines;
        if (!ReadProgram(program, lines)) {
            status = BadUsage;
            continue;
        }
        const std::vector<tobric::Finding> findings = tobric::CheckProgram(lines);
        const std::string shownName = tobric::Printable(program);
        for (const tobric::Finding& finding : findings) {
            std::cout << shownName << ": ";
            if (finding.mailbox >= 0)
                std::cout << "mailbox " << tobric::MailboxNumberText(finding.mailbox) << ": ";
            std::cout << tobric::Printable(finding.message) << '\n';
        }
        if (findings.empty()) std::cout << shownName << ": nothing found\n";
        if (!findings.empty() && status == Success) status = Failed;
    }
    return status;
}

int GradePrograms(const tobric::CommandLine& command) {
    tobric::CasesFile file;
    try {
        file = tobric::ParseCasesFile(tobric::ReadNamedInput(command.casesFile));
    } catch (const tobric::CasesFileError& error) {
        Complain(command.casesFile + ": " + error.what());
        return BadUsage;
    } catch (...) {
        Complain(tobric::ReportText(std::current_exception()));
        return BadUsage;
    }
    if (file.cases.empty()) {
        Complain(command.casesFile + " holds no test cases");
        return BadUsage;
    }
    const std::int64_t maxSteps = command.options.maxSteps;
    const auto grades = tobric::GradePrograms(command.programs, file.cases, maxSteps);
    command.writeReport(std::cout, grades, file, maxSteps);
    // The report is out before the CSV file is written, whatever becomes of that.
    if (CheckedOutput(Success) != Success) return BadUsage;
    if (!command.csvFile.empty()) {
        std::ostringstream csv;
        tobric::WriteCsv(csv, grades, file, maxSteps);
        if (!Completed([&] { tobric::WriteFileBytes(command.csvFile, csv.str()); }))
            return BadUsage;
    }
    const bool allPassed = std::all_of(grades.begin(), grades.end(), [&](const auto& grade) {
        return grade.Passed() == static_cast<int>(file.cases.size());
    });
    return allPassed ? Success : Failed;
}

int RunProgram(const tobric::CommandLine& command) {
    std::vector<std::string> lines;
    if (!ReadProgram(command.programs.front(), lines)) return BadUsage;
    tobric::HeadlessRun run(std::move(lines), command.options, std::cout);
    const tobric::RunResult result = run.Run();
    if (command.dump) run.Dump(std::cout);
    if (CheckedOutput(Success) != Success) return BadUsage;

    switch (result.end) {
        case tobric::RunEnd::Halted: return Success;
        case tobric::RunEnd::Failed:
            std::cerr << "error: " << tobric::Printable(result.error) << '\n';
            return Failed;
        case tobric::RunEnd::StepLimit:
            std::cerr << "error: step limit of " << command.options.maxSteps << " reached\n";
            return StepLimit;
        case tobric::RunEnd::NoInputLeft:
            std::cerr << "error: no input left for IN\n";
            return NoInput;
    }
    return Failed;
}

}  // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    tobric::UseBinaryStandardStreams();
    tobric::CommandLine command;
    if (const std::string problem =
            tobric::ParseCommandLine(tobric::CommandLineArguments(argc, argv), command);
        !problem.empty()) {
        Complain(problem);
        std::cerr << "Try 'tobric-run --help' for more information.\n";
        return BadUsage;
    }
    if (command.help) {
        std::cout << tobric::kUsageText;
        return CheckedOutput(Success);
    }
    if (command.version) {
        std::cout << "tobric-run " << tobric::kVersion << '\n';
        return CheckedOutput(Success);
    }
    if (command.check) return CheckedOutput(CheckPrograms(command.programs));
    if (!command.casesFile.empty()) return GradePrograms(command);
    return RunProgram(command);
}
