// SPDX-License-Identifier: GPL-3.0-or-later
#include "test_cases.h"

#include "machine/errors.h"
#include "machine/parse_integer.h"
#include "machine/program_file.h"
#include "trimmed.h"

namespace tobric {
namespace {

// A cases file is written by hand in any editor: tabs and stray carriage returns are blanks too.
constexpr std::string_view kBlanks = " \t\r";

// Comma-separated items, each trimmed; an empty side has no items, an empty item is an error.
std::vector<std::string> Items(std::string_view side, int lineNumber, const char* what) {
    std::vector<std::string> items;
    side = Trimmed(side, kBlanks);
    if (side.empty()) return items;
    for (;;) {
        const std::size_t comma = side.find(',');
        const std::string_view item = Trimmed(side.substr(0, comma), kBlanks);
        if (item.empty())
            throw CasesFileError(lineNumber, std::string("empty item among the ") + what);
        items.emplace_back(item);
        if (comma == std::string_view::npos) return items;
        side.remove_prefix(comma + 1);
    }
}

}  // namespace

std::vector<TestCase> ParseTestCases(std::string_view text) {
    std::vector<TestCase> cases;
    // Notepad starts a UTF-8 file with a byte-order mark; it is no part of the first case.
    if (text.starts_with(kUtf8ByteOrderMark)) text.remove_prefix(kUtf8ByteOrderMark.size());
    // Lines as a program file has them: CR LF, LF or CR end a line.
    const std::vector<std::string> lines = SplitProgramText(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int lineNumber = static_cast<int>(i) + 1;
        std::string_view line = Trimmed(lines[i], kBlanks);
        if (line.empty() || line.front() == '#') continue;

        TestCase testCase;
        testCase.lineNumber = lineNumber;
        if (const std::size_t hash = line.find('#'); hash != std::string_view::npos) {
            testCase.name = Trimmed(line.substr(hash + 1), kBlanks);
            line = Trimmed(line.substr(0, hash), kBlanks);
        }
        const std::size_t arrow = line.find("->");
        if (arrow == std::string_view::npos)
            throw CasesFileError(lineNumber,
                                 "no \"->\" between the IN answers and the OUT numbers");
        if (line.find("->", arrow + 2) != std::string_view::npos)
            throw CasesFileError(lineNumber, "more than one \"->\"");
        testCase.answers = Items(line.substr(0, arrow), lineNumber, "IN answers");
        for (const std::string& number : Items(line.substr(arrow + 2), lineNumber, "OUT numbers")) {
            try {
                testCase.expected.push_back(ParseInteger(number));
            } catch (const MachineError&) {
                throw CasesFileError(lineNumber, "'" + number + "' is not a whole number");
            }
        }
        cases.push_back(std::move(testCase));
    }
    return cases;
}

std::vector<TestCase> ReadTestCases(const std::string& path) {
    return ParseTestCases(ReadFileBytes(path));
}

}  // namespace tobric
