// SPDX-License-Identifier: GPL-3.0-or-later
// The calculator keypad: key sequences on the machine's accumulator.

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <map>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "support/machine_test.h"

namespace {

using Calls = std::vector<std::string>;

class KeypadTest : public tobric_test::MachineTest {
protected:
    // Presses keys given as words: digits, "+", "-", "=", "C", "CE".
    void Press(const std::string& keys) {
        using tobric::Machine;
        static const std::map<std::string, void (Machine::*)()> kOperators = {
            {"+", &Machine::PressPlus},
            {"-", &Machine::PressMinus},
            {"=", &Machine::PressEquals},
            {"C", &Machine::PressClear},
            {"CE", &Machine::PressClearEntry}};
        std::istringstream words(keys);
        for (std::string key; words >> key;) {
            if (const auto op = kOperators.find(key); op != kOperators.end())
                (machine().*op->second)();
            else if (key.size() == 1 && key[0] >= '0' && key[0] <= '9')
                machine().PressDigit(key[0] - '0');
            else
                ADD_FAILURE() << "no key " << key;
        }
    }
};

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

struct Keys {
    friend void PrintTo(const Keys& row, std::ostream* os) { *os << row.name; }
    const char* name;
    std::int32_t accumulator;  // before the first key
    const char* keys;
    std::int32_t result;  // the accumulator after the last key
    const char* shown;    // what the calculator shows then
};

class KeySequences : public KeypadTest, public ::testing::WithParamInterface<Keys> {};

TEST_P(KeySequences, LeaveTheAccumulatorAndTheDisplay) {
    Start({}, {.accumulator = GetParam().accumulator});
    Press(GetParam().keys);
    EXPECT_EQ(regs().accumulator, GetParam().result);
    EXPECT_EQ(view.Last("ShowCalculator"), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Keypad, KeySequences,
    ::testing::Values(
        Keys{"DigitsShowTheTypedNumber", 7, "1 2", 7, "12 "},
        Keys{"EqualsBeforeAnyOperatorCopiesTheTypedNumber", 100, "4 2 =", 42, "42 "},
        Keys{"PlusThenEquals", 0, "7 + 5 =", 12, "12 "},
        Keys{"EqualsAgainAddsNothing", 0, "7 + 5 = =", 12, "12 "},
        Keys{"MinusThenEquals", 0, "9 - 4 =", 5, "5 "},
        Keys{"ZeroEntryDoesNotReplaceTheAccumulator", 0, "9 - 4 = 0 + 4 =", 9, "9 "},
        Keys{"SecondPlusTakesTheNumberTypedSince", 0, "5 + 3 + 2 =", 5, "5 "},
        Keys{"PlusAfterEqualsGoesOnFromTheResult", 0, "1 2 = + 3 =", 15, "15 "},
        Keys{"MinusAfterThat", 0, "1 2 = + 3 = - 5 =", 10, "10 "},
        Keys{"ClearEntryEmptiesTheAccumulator", 0, "+ 4 CE", 0, "0 "},
        Keys{"ClearEntryKeepsTheHalfTypedNumber", 0, "+ 4 CE 2 =", 42, "42 "},
        // After CE the typed number no longer counts for "+" and "-".
        Keys{"OperatorAfterClearEntryDropsTheHalfTypedNumber", 0, "4 CE + 3 =", 3, "3 "},
        Keys{"ClearShowsTheAccumulator", 0, "3 0 = + 7 C", 30, "30 "},
        Keys{"ClearDiscardsTheTypedNumber", 0, "3 0 = + 7 C =", 30, "30 "},
        // 12345678901 - 3 * 2^32
        Keys{"MoreThanTenDigitsWrapIn32Bits", 0, "1 2 3 4 5 6 7 8 9 0 1", 0, "-539222987 "},
        Keys{"TheWrappedNumberIsTaken", 0, "1 2 3 4 5 6 7 8 9 0 1 =", -539222987, "-539222987 "},
        Keys{"EqualsWrapsIn32Bits", kMax, "+ 1 =", kMin, "-2147483648 "}),
    [](const ::testing::TestParamInfo<Keys>& row) { return std::string(row.param.name); });

TEST_F(KeypadTest, DigitsAndEqualsShowAtEveryKeyAndOperatorsNever) {
    Press("1 2 + - =");
    EXPECT_EQ(view.calls, (Calls{"ShowCalculator 1 ", "ShowCalculator 12 ", "ShowCalculator 12 "}));
}

TEST_F(KeypadTest, WorksOnTheAccumulatorProgramsUse) {
    LoadProgram({"LDA 03", "OUT", "HLT", "DAT 8"});
    machine().Step();
    Press("+ 2 =");
    EXPECT_EQ(regs().accumulator, 10);
    machine().Step();
    EXPECT_EQ(view.ArgumentsOf("ShowOutput"), Calls{"10"});
}

}  // namespace
