// tobric-run: runs one program file without a window, for scripts and for checking many programs.

#include <charconv>
#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "headless_run.h"
#include "machine/errors.h"
#include "machine/program_file.h"

namespace {

constexpr const char* kUsageText =
    "Usage: tobric-run [--input LIST]... [--max-steps N] [--trace] [--dump] PROGRAM\n"
    "\n"
    "Runs a Tobric program file from mailbox 0 until HLT, a failure or the step limit.\n"
    "\n"
    "  --input LIST     comma-separated answers to IN, one per IN, in order; may be repeated\n"
    "  --max-steps N    obey at most N steps (default 1000000)\n"
    "  --trace          print a line after every step, and the IN and OUT numbers\n"
    "  --dump           print the registers and every mailbox after the run\n"
    "  --help           print this text\n"
    "\n"
    "Without --trace, each OUT's number is printed on a line of its own.\n"
    "Exit status: 0 halted, 1 a step failed, 2 bad usage or unreadable file,\n"
    "3 step limit reached, 4 no input left for IN.\n";

enum ExitStatus { kHalted = 0, kFailed = 1, kBadUsage = 2, kStepLimit = 3, kNoInput = 4 };

struct CommandLine {
    tobric::RunOptions options;
    bool dump = false;
    bool help = false;
    std::string program;
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
        const bool takesValue = !onlyFiles && (arg.starts_with("--input") || arg.starts_with("--max-steps"));
        if (takesValue) {
            if (const std::size_t equals = arg.find('='); equals != std::string_view::npos) {
                value = arg.substr(equals + 1);
                arg = arg.substr(0, equals);
            } else if (arg == "--input" || arg == "--max-steps") {
                if (i + 1 >= args.size()) return std::string(arg) + " needs a value";
                value = args[++i];
            }
        }
        if (onlyFiles || !arg.starts_with("-") || arg == "-") {
            if (!command.program.empty()) return "only one PROGRAM may be given";
            command.program = std::string(arg);
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
    if (!command.help && command.program.empty()) return "no PROGRAM given";
    return {};
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
        return kHalted;
    }

    std::vector<std::string> lines;
    try {
        lines = tobric::ReadProgramFile(command.program);
    } catch (...) {
        std::cerr << "error: " << tobric::ReportText(std::current_exception()) << '\n';
        return kBadUsage;
    }

    tobric::HeadlessRun run(std::move(lines), command.options, std::cout);
    const tobric::RunResult result = run.Run();
    if (command.dump) run.Dump(std::cout);
    std::cout.flush();

    switch (result.end) {
        case tobric::RunEnd::Halted: return kHalted;
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
