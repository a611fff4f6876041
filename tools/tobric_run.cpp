// tobric-run: runs one program file without a window, for scripts and for checking many programs.

#include <algorithm>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "command_line.h"
#include "grading.h"
#include "headless_run.h"
#include "machine/display_text.h"
#include "machine/errors.h"
#include "machine/file_system.h"
#include "machine/program_file.h"
#include "program_check.h"
#include "test_cases.h"
#include "tobric/version.h"

namespace {

enum ExitStatus { kSuccess = 0, kFailed = 1, kBadUsage = 2, kStepLimit = 3, kNoInput = 4 };

int CheckPrograms(const std::vector<std::string>& programs) {
    int status = kSuccess;
    for (const std::string& program : programs) {
        std::vector<std::string> lines;
        try {
            lines = tobric::ReadProgramFile(program);
        } catch (...) {
            std::cerr << "error: " << tobric::ReportText(std::current_exception()) << '\n';
            status = kBadUsage;
            continue;
        }
        const std::vector<tobric::Finding> findings = tobric::CheckProgram(lines);
        for (const tobric::Finding& finding : findings) {
            std::cout << program << ": ";
            if (finding.mailbox >= 0)
                std::cout << "mailbox " << tobric::MailboxNumberText(finding.mailbox) << ": ";
            std::cout << finding.message << '\n';
        }
        if (findings.empty()) std::cout << program << ": nothing found\n";
        if (!findings.empty() && status == kSuccess) status = kFailed;
    }
    return status;
}

int GradePrograms(const tobric::CommandLine& command) {
    std::vector<tobric::TestCase> cases;
    try {
        cases = tobric::ReadTestCases(command.casesFile);
    } catch (const tobric::CasesFileError& error) {
        std::cerr << "error: " << command.casesFile << ": " << error.what() << '\n';
        return kBadUsage;
    } catch (...) {
        std::cerr << "error: " << tobric::ReportText(std::current_exception()) << '\n';
        return kBadUsage;
    }
    if (cases.empty()) {
        std::cerr << "error: " << command.casesFile << " holds no test cases\n";
        return kBadUsage;
    }
    const auto grades = tobric::GradePrograms(command.programs, cases, command.options.maxSteps);
    tobric::PrintReport(std::cout, grades, cases, command.options.maxSteps);
    if (!command.csvFile.empty()) {
        std::ofstream csv(command.csvFile, std::ios::binary | std::ios::trunc);
        tobric::WriteCsv(csv, grades, cases);
        if (!csv.flush()) {
            std::cerr << "error: cannot write " << command.csvFile << '\n';
            return kBadUsage;
        }
    }
    const bool allPassed = std::all_of(grades.begin(), grades.end(), [&](const auto& grade) {
        return grade.Passed() == static_cast<int>(cases.size());
    });
    return allPassed ? kSuccess : kFailed;
}

int RunProgram(const tobric::CommandLine& command) {
    std::vector<std::string> lines;
    try {
        lines = tobric::ReadProgramFile(command.programs.front());
    } catch (...) {
        std::cerr << "error: " << tobric::ReportText(std::current_exception()) << '\n';
        return kBadUsage;
    }

    tobric::HeadlessRun run(std::move(lines), command.options, std::cout);
    const tobric::RunResult result = run.Run();
    if (command.dump) run.Dump(std::cout);
    std::cout.flush();

    switch (result.end) {
        case tobric::RunEnd::Halted: return kSuccess;
        case tobric::RunEnd::Failed: std::cerr << "error: " << result.error << '\n'; return kFailed;
        case tobric::RunEnd::StepLimit:
            std::cerr << "error: step limit of " << command.options.maxSteps << " reached\n";
            return kStepLimit;
        case tobric::RunEnd::NoInputLeft:
            std::cerr << "error: no input left for IN\n";
            return kNoInput;
    }
    return kFailed;
}

}  // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    tobric::UseBinaryStandardStreams();
    tobric::CommandLine command;
    if (const std::string problem =
            tobric::ParseCommandLine(tobric::CommandLineArguments(argc, argv), command);
        !problem.empty()) {
        std::cerr << "error: " << problem << "\n" << tobric::kUsageText;
        return kBadUsage;
    }
    if (command.help) {
        std::cout << tobric::kUsageText;
        return kSuccess;
    }
    if (command.check) return CheckPrograms(command.programs);
    if (!command.casesFile.empty()) return GradePrograms(command);
    return RunProgram(command);
}
