// SPDX-License-Identifier: GPL-3.0-or-later
#include "command_line.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <optional>
#include <string_view>

namespace tobric {

const char* const kUsageText =
    "Usage: tobric-run [--input LIST]... [--max-steps N] [--trace] [--dump] PROGRAM\n"
    "       tobric-run --cases FILE [--format FORMAT] [--csv FILE] [--max-steps N] PROGRAM...\n"
    "       tobric-run --check PROGRAM...\n"
    "\n"
    "Runs a Tobric program file from mailbox 0 until HLT, a failure or the step limit.\n"
    "\n"
    "  --cases FILE     grade each PROGRAM against the test cases in FILE, one case a line:\n"
    "                   IN answers -> expected OUT numbers [options], e.g.\n"
    "                   \"3,4 -> 4  [points 2, hidden, steps 500]  # larger\"\n"
    "  --format FORMAT  with --cases: write the results as text (the default), csv, json,\n"
    "                   junit, tap or gradescope (one PROGRAM only)\n"
    "  --csv FILE       with --cases: also write one row per program and case to FILE\n"
    "  --check          point out likely mistakes in each PROGRAM without running it\n"
    "  --input LIST     comma-separated answers to IN, one per IN, in order; may be repeated\n"
    "  --max-steps N    obey at most N steps (default 1000000)\n"
    "  --trace          print a line after every step, and the IN and OUT numbers\n"
    "  --dump           print the registers and every mailbox after the run\n"
    "  --help           print this text\n"
    "  --version        print the version\n"
    "\n"
    "A PROGRAM or the cases FILE given as - is read from standard input.\n"
    "Without --trace, each OUT's number is printed on a line of its own.\n"
    "Exit status: 0 halted, 1 a step failed, 2 bad usage, an unreadable file or lost output,\n"
    "3 step limit reached, 4 no input left for IN. With --cases: 0 when every case of\n"
    "every program passed, 1 otherwise. With --check: 0 when nothing was found, 1 otherwise.\n";

namespace {

// The entry of `table` called `name`, or null.
template <typename Entry, std::size_t kSize>
const Entry* Named(const Entry (&table)[kSize], std::string_view name) {
    const auto found = std::find_if(std::begin(table), std::end(table),
                                    [&](const Entry& entry) { return entry.name == name; });
    return found == std::end(table) ? nullptr : found;
}

struct ReportFormat {
    std::string_view name;
    ReportWriter write;
};

// The report writers by the names --format takes.
constexpr ReportFormat kFormats[] = {
    {"text", WriteText},   {"csv", WriteCsv}, {"json", WriteJson},
    {"junit", WriteJunit}, {"tap", WriteTap}, {"gradescope", WriteGradescope},
};

// "text, csv, json, junit, tap or gradescope", for messages.
std::string FormatNames() {
    std::string names;
    for (std::size_t i = 0; i < std::size(kFormats); ++i) {
        if (i > 0) names += i + 1 < std::size(kFormats) ? ", " : " or ";
        names += kFormats[i].name;
    }
    return names;
}

// Each option's action sets what it stands for and returns an error text, or an empty text.
using OptionAction = std::string (*)(CommandLine& command, std::string_view name,
                                     std::string_view value);

std::string AddAnswers(CommandLine& command, std::string_view, std::string_view list) {
    for (;;) {
        const std::size_t comma = list.find(',');
        command.options.answers.emplace_back(list.substr(0, comma));
        if (comma == std::string_view::npos) return {};
        list.remove_prefix(comma + 1);
    }
}

std::string SetMaxSteps(CommandLine& command, std::string_view, std::string_view value) {
    std::int64_t steps = -1;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), steps);
    const bool whole = end == value.data() + value.size() && !value.starts_with("-");
    if (error == std::errc::result_out_of_range && whole)
        return "--max-steps " + std::string(value) + " is too large: at most " +
               std::to_string(std::numeric_limits<std::int64_t>::max());
    if (error != std::errc() || !whole)
        return "--max-steps needs a whole number of 0 or more, not '" + std::string(value) + "'";
    command.options.maxSteps = steps;
    return {};
}

std::string SetTrace(CommandLine& command, std::string_view, std::string_view) {
    command.options.trace = true;
    return {};
}

// A file name; an empty one would read as the option not given at all.
template <std::string CommandLine::*kText>
std::string SetFileName(CommandLine& command, std::string_view name, std::string_view value) {
    if (value.empty()) return std::string(name) + " needs a file name, not an empty text";
    command.*kText = value;
    return {};
}

std::string SetFormat(CommandLine& command, std::string_view, std::string_view value) {
    const ReportFormat* format = Named(kFormats, value);
    if (format == nullptr)
        return "--format must be " + FormatNames() + ", not '" + std::string(value) + "'";
    command.format = value;
    command.writeReport = format->write;
    return {};
}

template <bool CommandLine::*kFlag>
std::string SetFlag(CommandLine& command, std::string_view, std::string_view) {
    command.*kFlag = true;
    return {};
}

struct Option {
    std::string_view name;
    bool takesValue;  // "--name VALUE" or "--name=VALUE"
    OptionAction action;
};

constexpr Option kOptions[] = {
    {"--input", true, AddAnswers},
    {"--max-steps", true, SetMaxSteps},
    {"--cases", true, SetFileName<&CommandLine::casesFile>},
    {"--csv", true, SetFileName<&CommandLine::csvFile>},
    {"--format", true, SetFormat},
    {"--check", false, SetFlag<&CommandLine::check>},
    {"--trace", false, SetTrace},
    {"--dump", false, SetFlag<&CommandLine::dump>},
    {"--help", false, SetFlag<&CommandLine::help>},
    {"--version", false, SetFlag<&CommandLine::version>},
    {"-h", false, SetFlag<&CommandLine::help>},
};

// Cuts "=VALUE" off an argument that begins with the name of an option taking a value
// ("--input=3,4" leaves "--input"); any other argument keeps its "=" and names no option.
std::optional<std::string_view> CutInlineValue(std::string_view& arg) {
    const std::size_t equals = arg.find('=');
    const bool forValueOption = std::any_of(
        std::begin(kOptions), std::end(kOptions),
        [&](const Option& option) { return option.takesValue && arg.starts_with(option.name); });
    if (equals == std::string_view::npos || !forValueOption) return std::nullopt;
    const std::string_view value = arg.substr(equals + 1);
    arg = arg.substr(0, equals);
    return value;
}

// The options given make sense together.
std::string CheckCombination(const CommandLine& command) {
    if (command.help || command.version) return {};
    if (command.programs.empty()) return "no PROGRAM given";
    const auto stdinUses = std::count(command.programs.begin(), command.programs.end(), "-") +
                           (command.casesFile == "-" ? 1 : 0);
    if (stdinUses > 1) return "standard input (-) can be read only once";
    if (command.check && !command.casesFile.empty())
        return "--check and --cases do not go together";
    if (!command.csvFile.empty() && command.casesFile.empty()) return "--csv needs --cases";
    if (!command.format.empty() && command.casesFile.empty()) return "--format needs --cases";
    // Gradescope grades one submission at a time, and its file has room for one.
    if (command.format == "gradescope" && command.programs.size() > 1)
        return "--format gradescope grades one PROGRAM, not " +
               std::to_string(command.programs.size());
    const bool grading = command.check || !command.casesFile.empty();
    if (grading && (command.options.trace || command.dump || !command.options.answers.empty()))
        return "--input, --trace and --dump are for running one program";
    if (!grading && command.programs.size() > 1) return "only one PROGRAM may be given";
    return {};
}

// Applies the option args[i] names, taking its value from args[i + 1] when it is not given after
// "=" (and moving i on past it).
std::string ApplyOption(const std::vector<std::string_view>& args, std::size_t& i,
                        CommandLine& command) {
    std::string_view arg = args[i];
    std::optional<std::string_view> value = CutInlineValue(arg);
    const Option* option = Named(kOptions, arg);
    if (option == nullptr) return "unknown option " + std::string(arg);
    if (option->takesValue && !value) {
        if (i + 1 >= args.size()) return std::string(arg) + " needs a value";
        value = args[++i];
    }
    return option->action(command, option->name, value.value_or(""));
}

}  // namespace

std::string ParseCommandLine(const std::vector<std::string>& arguments, CommandLine& command) {
    const std::vector<std::string_view> args(arguments.begin(), arguments.end());
    bool onlyFiles = false;  // after "--", every argument is a PROGRAM
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (onlyFiles || !args[i].starts_with("-") || args[i] == "-") {
            command.programs.emplace_back(args[i]);
        } else if (args[i] == "--") {
            onlyFiles = true;
        } else if (std::string problem = ApplyOption(args, i, command); !problem.empty()) {
            return problem;
        }
    }
    return CheckCombination(command);
}

}  // namespace tobric
