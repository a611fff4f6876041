// SPDX-License-Identifier: GPL-3.0-or-later
// Error texts as the error report shows them: the period rule and the cut at a NUL.

#include "machine/errors.h"

#include <gtest/gtest.h>

#include <exception>
#include <new>
#include <ostream>
#include <stdexcept>
#include <string>

namespace {

using namespace tobric;
using enum ErrorKind;

struct Period {
    friend void PrintTo(const Period& row, std::ostream* os) { *os << row.name; }
    const char* name;
    std::string message;
    std::string reported;
};

class PeriodRule : public ::testing::TestWithParam<Period> {};

TEST_P(PeriodRule, AppliesByTheLastCharacter) {
    EXPECT_EQ(tobric::ApplyPeriodRule(GetParam().message), GetParam().reported);
}

INSTANTIATE_TEST_SUITE_P(
    Messages, PeriodRule,
    ::testing::Values(
        Period{"EndsInLetter", "abc", "abc."}, Period{"EndsInDigit", "code 7", "code 7."},
        Period{"EndsInSlash", "a/", "a/."},  // code 47, just above "."
        Period{"EndsInColon", "a:", "a:."}, Period{"EndsInHighByte", "caf\xE9", "caf\xE9."},
        Period{"EndsInPeriod", "done.", "done."},
        Period{"EndsInHyphen", "a-", "a-"},  // code 45, just below "."
        Period{"EndsInBracket", "List index out of bounds (100)", "List index out of bounds (100)"},
        Period{"EndsInExclamationMark", "Program Reset!", "Program Reset!"},
        Period{"EndsInQuote", "\"x\"", "\"x\""}, Period{"EndsInBlank", "trailing ", "trailing "},
        Period{"Empty", "", ""}),
    [](const ::testing::TestParamInfo<Period>& row) { return std::string(row.param.name); });

struct Reported {
    friend void PrintTo(const Reported& row, std::ostream* os) { *os << row.name; }
    const char* name;
    MachineError error;
    ErrorKind kind;
    std::string text;
};

class ErrorReport : public ::testing::TestWithParam<Reported> {};

TEST_P(ErrorReport, ShowsTheTemplateFilledInWithThePeriodRule) {
    EXPECT_EQ(GetParam().error.kind(), GetParam().kind);
    EXPECT_EQ(ReportText(std::make_exception_ptr(GetParam().error)), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, ErrorReport,
    ::testing::Values(
        Reported{"Conversion", ConversionError("abc"), Conversion,
                 "'abc' is not a valid integer value."},
        Reported{"ConversionOfEmptyText", ConversionError(""), Conversion,
                 "'' is not a valid integer value."},
        Reported{"ListIndex", ListIndexError(100), ListIndex, "List index out of bounds (100)"},
        Reported{"ListIndexNegative", ListIndexError(-1), ListIndex,
                 "List index out of bounds (-1)"},
        Reported{"Insert", InsertError(), Insert, "Unable to insert a line."},
        Reported{"FileCreate", FileCreateError("/tmp/a b.txt", "Permission denied"), FileCreate,
                 "Cannot create file \"/tmp/a b.txt\". Permission denied."},
        Reported{"FileOpen", FileOpenError("/x/p.txt", "No such file or directory"), FileOpen,
                 "Cannot open file \"/x/p.txt\". No such file or directory."},
        Reported{"Write", WriteError(), Write, "Stream write error."},
        Reported{"Timer", TimerError(), Timer, "Not enough timers available."},
        Reported{"OutOfMemory", OutOfMemoryError(), OutOfMemory, "Out of memory."},
        Reported{"EmptyLine", EmptyLineError(), EmptyLine,
                 "The mailbox line is empty: there is no instruction to obey."}),
    [](const ::testing::TestParamInfo<Reported>& row) { return std::string(row.param.name); });

TEST(ErrorReportOfOtherFailures, BadAllocIsOutOfMemoryAndOthersShowTheirText) {
    EXPECT_EQ(ReportText(std::make_exception_ptr(std::bad_alloc())), "Out of memory.");
    EXPECT_EQ(ReportText(std::make_exception_ptr(std::runtime_error("disk gone"))), "disk gone.");
    EXPECT_EQ(ReportText(std::make_exception_ptr(42)), "Unknown failure.");
}

// The period rule looks at the whole message; the box then shows it up to its first NUL.
TEST(ErrorReportNul, ShowsTheMessageUpToTheFirstNul) {
    EXPECT_EQ(ReportText(std::string("abc\0def", 7)), "abc");
    EXPECT_EQ(ReportText(std::string("ab)\0cd", 6)), "ab)");
    EXPECT_EQ(ReportText(std::string("ab\0)", 4)), "ab");
    EXPECT_EQ(ReportText(std::make_exception_ptr(tobric::ConversionError(std::string("x\0y", 3)))),
              "'x");
}

}  // namespace
