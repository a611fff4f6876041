// SPDX-License-Identifier: GPL-3.0-or-later
// The one text-to-number conversion: what it accepts, what it refuses, and the refusal's text.

#include "machine/parse_integer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <ostream>
#include <string>

#include "machine/errors.h"
#include "support/machine_test.h"

namespace {

using tobric::ParseInteger;
using tobric_test::ErrorFrom;

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

struct Accepted {
    // Test output shows a row by its name.
    friend void PrintTo(const Accepted& row, std::ostream* os) { *os << row.name; }

    const char* name;
    std::string text;
    std::int32_t value;
};

class ParseIntegerAccepts : public ::testing::TestWithParam<Accepted> {};

TEST_P(ParseIntegerAccepts, GivesTheValue) {
    EXPECT_EQ(ParseInteger(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseIntegerAccepts,
    ::testing::Values(
        Accepted{"Zero", "0", 0}, Accepted{"MinusZero", "-0", 0}, Accepted{"PlusSign", "+5", 5},
        Accepted{"LeadingBlanks", "  12", 12}, Accepted{"BlanksBeforeSign", "   -5", -5},
        Accepted{"LeadingZeros", "0012", 12},
        Accepted{"ManyLeadingZeros", "000000000000000012", 12}, Accepted{"DollarHex", "$1F", 31},
        Accepted{"SmallXHex", "x1f", 31}, Accepted{"CapitalXHex", "X1F", 31},
        Accepted{"ZeroSmallXHex", "0x1f", 31}, Accepted{"ZeroCapitalXHex", "0X1F", 31},
        Accepted{"NegativeHex", "-$10", -16}, Accepted{"PlusHex", "+x10", 16},
        Accepted{"HexAllOnesIsMinusOne", "$FFFFFFFF", -1},
        Accepted{"HexTopBitIsNegative", "$80000000", kMin},
        Accepted{"NegatedHexMinimumWraps", "-$80000000", kMin},
        Accepted{"HexLargestPositive", "$7fffffff", kMax},
        Accepted{"HexLeadingZerosBeyondEightDigits", "$000000000001", 1},
        Accepted{"Largest", "2147483647", kMax}, Accepted{"Smallest", "-2147483648", kMin},
        Accepted{"NulEndsTheText", std::string("7\0abc", 5), 7},
        Accepted{"NulAfterHex", std::string("$a\0 !", 5), 10}),
    [](const ::testing::TestParamInfo<Accepted>& row) { return std::string(row.param.name); });

struct Rejected {
    // Test output shows a row by its name.
    friend void PrintTo(const Rejected& row, std::ostream* os) { *os << row.name; }

    const char* name;
    std::string text;
};

class ParseIntegerRejects : public ::testing::TestWithParam<Rejected> {};

// The conversion error quotes the whole text as it was given, blanks and NULs included.
TEST_P(ParseIntegerRejects, WithTheConversionErrorForTheWholeText) {
    const tobric::MachineError error = ErrorFrom([] { ParseInteger(GetParam().text); });
    EXPECT_EQ(error.kind(), tobric::ErrorKind::Conversion);
    EXPECT_EQ(error.message(), "'" + GetParam().text + "' is not a valid integer value");
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseIntegerRejects,
    ::testing::Values(Rejected{"Empty", ""}, Rejected{"BlanksOnly", "   "},
                      Rejected{"LeadingTab", "\t5"}, Rejected{"TrailingBlank", "12 "},
                      Rejected{"InnerBlank", "1 2"}, Rejected{"TwoMinusSigns", "--5"},
                      Rejected{"PlusThenMinus", "+-5"}, Rejected{"BlankAfterSign", "- 5"},
                      Rejected{"DecimalPoint", "1.5"}, Rejected{"Exponent", "1e3"},
                      Rejected{"ThousandsSeparator", "1,000"}, Rejected{"MinusAlone", "-"},
                      Rejected{"PlusAlone", "+"}, Rejected{"DollarAlone", "$"},
                      Rejected{"ZeroXAlone", "0x"}, Rejected{"XAlone", "X"},
                      Rejected{"OnePastLargest", "2147483648"},
                      Rejected{"OnePastSmallest", "-2147483649"},
                      Rejected{"FarTooLarge", "99999999999"},
                      Rejected{"NineHexDigits", "$100000000"}, Rejected{"BadHexDigit", "$1G"},
                      Rejected{"HexDigitsWithoutPrefix", "12AB"}, Rejected{"TwoHexPrefixes", "$x1"},
                      Rejected{"Letters", "abc"}, Rejected{"NulFirst", std::string{'\0', '5'}},
                      Rejected{"BadTextBeforeNul", std::string{'1', ' ', '\0', '2'}}),
    [](const ::testing::TestParamInfo<Rejected>& row) { return std::string(row.param.name); });

}  // namespace
