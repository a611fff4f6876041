// tobric-run: runs one program file without a window, for scripts and for checking many programs.

#include <algorithm>
#include <charconv>
#include <fstream>
#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "grading.h"
#include "headless_run.h"
#include "program_check.h"
#include "test_cases.h"
#include "machine/errors.h"
#include "machine/program_file.h"

namespace {

constexpr const char* kUsageText =
    "Usage: tobric-run [--input LIST]... [--max-steps N] [--trace] [--dump] PROGRAM\n"
    "       tobric-run --cases FILE [--csv FILE] [--max-steps N] PROGRAM...\n"
    "       tobric-run --check PROGRAM...\n"
    "\n"
    "Runs a Tobric program file from mailbox 0 until HLT, a failure or the step limit.\n"
    "\n"
    "  --cases FILE     grade each PROGRAM against the test cases in FILE, one case a line:\n"
    "                   IN answers -> expected OUT numbers, e.g. \"3,4 -> 4  # larger\"\n"
    "  --csv FILE       with --cases: also write one row per program and case to FILE\n"
    "  --check          point out likely mistakes in each PROGRAM without running it\n"
    "  --input LIST     comma-separated answers to IN, one per IN, in order; may be repeated\n"
    "  --max-steps N    obey at most N steps (default 1000000)\n"
    "  --trace          print a line after every step, and the IN and OUT numbers\n"
    "  --dump           print the registers and every mailbox after the run\n"
    "  --help           print this text\n"
    "\n"
    "Without --trace, each OUT's number is printed on a line of its own.\n"
    "Exit status: 0 halted, 1 a step failed, 2 bad usage or unreadable file,\n"
    "3 step limit reached, 4 no input left for IN. With --cases: 0 when every case of\n"
    "every program passed, 1 otherwise. With --check: 0 when nothing was found, 1 otherwise.\n";

enum ExitStatus { kSuccess = 0, kFailed = 1, kBadUsage = 2, kStepLimit = 3, kNoInput = 4 };

struct CommandLine {
    tobric::RunOptions options;
    bool dump = false;
    bool help = false;
    bool check = false;
    std::string casesFile;
    std::string csvFile;
    std::vector<std::string> programs;
};

void SplitAnswers(std::string_view list, std::vector<std::string>& answers) {
    for (;;) {
        const std::size_t comma = list.find(',');
        answers.emplace_back(list.substr(0, comma));
        if (comma == std::string_view::npos) return;
        list.remove_prefix(comma + 1);
    }
}

// Returns an error text, or an empty text when the arguments are good.
std::string ParseCommandLine(int argc, char** argv, CommandLine& command) {
    std::vector<std::string_view> args(argv + 1, argv + argc);
    bool onlyFiles = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string_view arg = args[i];
        std::string_view value;
        const bool takesValue =
            !onlyFiles && (arg.starts_with("--input") || arg.starts_with("--max-steps") ||
                           arg.starts_with("--cases") || arg.starts_with("--csv"));
        if (takesValue) {
            if (const std::size_t equals = arg.find('='); equals != std::string_view::npos) {
                value = arg.substr(equals + 1);
                arg = arg.substr(0, equals);
            } else if (arg == "--input" || arg == "--max-steps" || arg == "--cases" || arg == "--csv") {
                if (i + 1 >= args.size()) return std::string(arg) + " needs a value";
                value = args[++i];
            }
        }
        if (onlyFiles || !arg.starts_with("-") || arg == "-") {
            command.programs.emplace_back(arg);
        } else if (arg == "--") {
            onlyFiles = true;
        } else if (arg == "--input") {
            SplitAnswers(value, command.options.answers);
        } else if (arg == "--max-steps") {
            std::int64_t steps = -1;
            const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), steps);
            if (error != std::errc() || end != value.data() + value.size() || steps < 0)
                return "--max-steps needs a whole number of 0 or more, not '" + std::string(value) + "'";
            command.options.maxSteps = steps;
        } else if (arg == "--cases") {
            command.casesFile = std::string(value);
        } else if (arg == "--csv") {
            command.csvFile = std::string(value);
        } else if (arg == "--check") {
            command.check = true;
        } else if (arg == "--trace") {
            command.options.trace = true;
        } else if (arg == "--dump") {
            command.dump = true;
        } else if (arg == "--help" || arg == "-h") {
            command.help = true;
        } else {
            return "unknown option " + std::string(arg);
        }
    }
    if (command.help) return {};
    if (command.programs.empty()) return "no PROGRAM given";
    if (command.check && !command.casesFile.empty()) return "--check and --cases do not go together";
    if (!command.csvFile.empty() && command.casesFile.empty()) return "--csv needs --cases";
    const bool grading = command.check || !command.casesFile.empty();
    if (grading && (command.options.trace || command.dump || !command.options.answers.empty()))
        return "--input, --trace and --dump are for running one program";
    if (!grading && command.programs.size() > 1) return "only one PROGRAM may be given";
    return {};
}

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
                std::cout << "mailbox " << (finding.mailbox < 10 ? "0" : "") << finding.mailbox << ": ";
            std::cout << finding.message << '\n';
        }
        if (findings.empty()) std::cout << program << ": nothing found\n";
        if (!findings.empty() && status == kSuccess) status = kFailed;
    }
    return status;
}

int GradePrograms(const CommandLine& command) {
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

}  // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    CommandLine command;
    if (const std::string problem = ParseCommandLine(argc, argv, command); !problem.empty()) {
        std::cerr << "error: " << problem << "\n" << kUsageText;
        return kBadUsage;
    }
    if (command.help) {
        std::cout << kUsageText;
        return kSuccess;
    }

    if (command.check) return CheckPrograms(command.programs);
    if (!command.casesFile.empty()) return GradePrograms(command);

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
        case tobric::RunEnd::Failed:
            std::cerr << "error: " << result.error << '\n';
            return kFailed;
        case tobric::RunEnd::StepLimit:
            std::cerr << "error: step limit of " << command.options.maxSteps << " reached\n";
            return kStepLimit;
        case tobric::RunEnd::NoInputLeft:
            std::cerr << "error: no input left for IN\n";
            return kNoInput;
    }
    return kFailed;
}
