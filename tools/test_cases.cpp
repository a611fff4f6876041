// SPDX-License-Identifier: GPL-3.0-or-later
#include "test_cases.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <optional>

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

// Decimal digits only, from 0 to `most`: no sign, no blanks, no hexadecimal.
std::optional<std::int64_t> WholeNumber(std::string_view text, std::int64_t most) {
    std::int64_t value = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || text.front() == '-' || error != std::errc() ||
        end != text.data() + text.size() || value > most)
        return std::nullopt;
    return value;
}

// One option from the brackets: "hidden", "points N" or "steps N".
void ApplyCaseOption(std::string_view option, TestCase& testCase, int lineNumber,
                     std::vector<std::string>& given) {
    const std::size_t blank = option.find_first_of(kBlanks);
    const std::string word(option.substr(0, blank));
    const std::string_view value = blank == std::string_view::npos
                                       ? std::string_view()
                                       : Trimmed(option.substr(blank), kBlanks);
    for (const std::string& earlier : given)
        if (earlier == word) throw CasesFileError(lineNumber, word + " is given twice");
    given.push_back(word);
    if (word == "hidden") {
        if (!value.empty())
            throw CasesFileError(lineNumber,
                                 "hidden takes no value, not '" + std::string(value) + "'");
        testCase.hidden = true;
    } else if (word == "points") {
        const auto points = WholeNumber(value, kMaxCasePoints);
        if (!points)
            throw CasesFileError(lineNumber, "points needs a whole number from 0 to " +
                                                 std::to_string(kMaxCasePoints) + ", not '" +
                                                 std::string(value) + "'");
        testCase.points = static_cast<int>(*points);
    } else if (word == "steps") {
        const auto steps = WholeNumber(value, std::numeric_limits<std::int64_t>::max());
        if (!steps)
            throw CasesFileError(lineNumber, "steps needs a whole number of 0 or more, not '" +
                                                 std::string(value) + "'");
        testCase.maxSteps = *steps;
    } else {
        throw CasesFileError(lineNumber, "unknown case option '" + word +
                                             "' (there are points N, hidden and steps N)");
    }
}

// "[hidden, points 3]" at the end of a case, its brackets already cut off.
void ApplyCaseOptions(std::string_view options, TestCase& testCase, int lineNumber) {
    std::vector<std::string> given;
    for (const std::string& option : Items(options, lineNumber, "options"))
        ApplyCaseOption(option, testCase, lineNumber, given);
    if (given.empty()) throw CasesFileError(lineNumber, "empty options: [ ] with nothing inside");
}

TestCase ParseCase(std::string_view line, int lineNumber, std::string name) {
    TestCase testCase;
    testCase.lineNumber = lineNumber;
    testCase.name = std::move(name);
    const std::size_t arrow = line.find("->");
    if (line.find("->", arrow + 2) != std::string_view::npos)
        throw CasesFileError(lineNumber, "more than one \"->\"");
    testCase.answers = Items(line.substr(0, arrow), lineNumber, "IN answers");
    std::string_view expected = line.substr(arrow + 2);
    // Brackets were never a part of the OUT numbers: whatever follows "[" is the options.
    if (const std::size_t open = expected.find('['); open != std::string_view::npos) {
        if (expected.back() != ']')
            throw CasesFileError(lineNumber,
                                 "the options in [ ] must end the case (a # name "
                                 "may follow them)");
        ApplyCaseOptions(expected.substr(open + 1, expected.size() - open - 2), testCase,
                         lineNumber);
        expected = expected.substr(0, open);
    }
    for (const std::string& number : Items(expected, lineNumber, "OUT numbers")) {
        const std::optional<std::int32_t> value = TryParseInteger(number);
        if (!value) throw CasesFileError(lineNumber, "'" + number + "' is not a whole number");
        testCase.expected.push_back(*value);
    }
    return testCase;
}

constexpr std::string_view kWordCharacters =
    "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ-_";

// A line without "->": a file option "WORD: VALUE", or a case that lost its arrow.
void ApplyFileOption(std::string_view line, CasesFile& file, int lineNumber, int& feedbackLine) {
    const std::size_t colon = line.find(':');
    const std::string_view word = Trimmed(line.substr(0, colon), kBlanks);
    if (colon == std::string_view::npos || word.empty() ||
        word.find_first_not_of(kWordCharacters) != std::string_view::npos)
        throw CasesFileError(lineNumber, "no \"->\" between the IN answers and the OUT numbers");
    const std::string_view value = Trimmed(line.substr(colon + 1), kBlanks);
    if (word != "feedback")
        throw CasesFileError(lineNumber, "unknown file option '" + std::string(word) +
                                             "' (there is feedback: full, actual or none)");
    if (feedbackLine != 0)
        throw CasesFileError(lineNumber, "feedback is given twice (first on line " +
                                             std::to_string(feedbackLine) + ")");
    feedbackLine = lineNumber;
    constexpr Feedback kLevels[] = {Feedback::Full, Feedback::Actual, Feedback::None};
    const auto level = std::find_if(std::begin(kLevels), std::end(kLevels),
                                    [&](Feedback named) { return value == FeedbackName(named); });
    if (level == std::end(kLevels))
        throw CasesFileError(
            lineNumber, "feedback must be full, actual or none, not '" + std::string(value) + "'");
    file.feedback = *level;
}

}  // namespace

CasesFile ParseCasesFile(std::string_view text) {
    CasesFile file;
    int feedbackLine = 0;
    // Notepad starts a UTF-8 file with a byte-order mark; it is no part of the first case.
    if (text.starts_with(kUtf8ByteOrderMark)) text.remove_prefix(kUtf8ByteOrderMark.size());
    // Lines as a program file has them: CR LF, LF or CR end a line.
    const std::vector<std::string> lines = SplitProgramText(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int lineNumber = static_cast<int>(i) + 1;
        std::string_view line = Trimmed(lines[i], kBlanks);
        if (line.empty() || line.front() == '#') continue;
        std::string name;
        if (const std::size_t hash = line.find('#'); hash != std::string_view::npos) {
            name = Trimmed(line.substr(hash + 1), kBlanks);
            line = Trimmed(line.substr(0, hash), kBlanks);
        }
        if (line.find("->") == std::string_view::npos)
            ApplyFileOption(line, file, lineNumber, feedbackLine);
        else
            file.cases.push_back(ParseCase(line, lineNumber, std::move(name)));
    }
    return file;
}

std::vector<TestCase> ParseTestCases(std::string_view text) { return ParseCasesFile(text).cases; }

const char* FeedbackName(Feedback feedback) {
    constexpr const char* kNames[] = {"full", "actual", "none"};  // in the enumeration's order
    return kNames[static_cast<int>(feedback)];
}

}  // namespace tobric
