// The calculator keypad: key sequences on the machine's accumulator.

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "fakes.h"

namespace {

using Calls = std::vector<std::string>;

class KeypadTest : public tobric_test::MachineTest {
protected:
    // Presses keys given as words: digits, "+", "-", "=", "C", "CE".
    void Press(const std::string& keys) {
        std::istringstream words(keys);
        for (std::string key; words >> key;) {
            if (key == "+") machine.PressPlus();
            else if (key == "-") machine.PressMinus();
            else if (key == "=") machine.PressEquals();
            else if (key == "C") machine.PressClear();
            else if (key == "CE") machine.PressClearEntry();
            else if (key.size() == 1 && key[0] >= '0' && key[0] <= '9') machine.PressDigit(key[0] - '0');
            else ADD_FAILURE() << "no key " << key;
        }
    }
    std::int32_t acc() { return regs().accumulator; }
};

TEST_F(KeypadTest, EqualsBeforeAnyOperatorCopiesTheTypedNumber) {
    Press("1 2 =");
    EXPECT_EQ(acc(), 12);
    EXPECT_EQ(view.calls, (Calls{"ShowCalculator 1 ", "ShowCalculator 12 ", "ShowCalculator 12 "}));
}

TEST_F(KeypadTest, EqualsBeforeAnyOperatorReplacesAProgramsAccumulator) {
    regs().accumulator = 100;
    Press("4 2 =");
    EXPECT_EQ(acc(), 42);
}

TEST_F(KeypadTest, PlusThenEqualsAgainAddsNothing) {
    Press("7 + 5 =");
    EXPECT_EQ(view.Last("ShowCalculator"), "12 ");
    Press("=");
    EXPECT_EQ(acc(), 12);
    EXPECT_EQ(view.Last("ShowCalculator"), "12 ");
}

TEST_F(KeypadTest, ZeroEntryDoesNotReplaceTheAccumulator) {
    Press("9 - 4 =");
    EXPECT_EQ(view.Last("ShowCalculator"), "5 ");
    Press("0 + 4 =");
    EXPECT_EQ(acc(), 9);
    EXPECT_EQ(view.Last("ShowCalculator"), "9 ");
}

TEST_F(KeypadTest, OperatorKeysChangeNoDisplay) {
    Press("3");
    view.calls.clear();
    Press("+ -");
    EXPECT_TRUE(view.calls.empty());
}

TEST_F(KeypadTest, SecondPlusTakesTheNumberTypedSince) {
    Press("5 + 3 + 2 =");
    EXPECT_EQ(acc(), 5);
}

TEST_F(KeypadTest, PlusAfterEqualsGoesOnFromTheResult) {
    Press("1 2 = + 3 =");
    EXPECT_EQ(acc(), 15);
    Press("- 5 =");
    EXPECT_EQ(acc(), 10);
}

TEST_F(KeypadTest, ClearEntryEmptiesTheAccumulatorButKeepsTheHalfTypedNumber) {
    Press("+ 4 CE");
    EXPECT_EQ(acc(), 0);
    EXPECT_EQ(view.Last("ShowCalculator"), "0 ");
    Press("2 =");
    EXPECT_EQ(acc(), 42);
}

// After CE the typed number no longer counts for "+" and "-".
TEST_F(KeypadTest, OperatorAfterClearEntryDropsTheHalfTypedNumber) {
    Press("4 CE + 3 =");
    EXPECT_EQ(acc(), 3);
}

TEST_F(KeypadTest, ClearShowsTheAccumulatorAndDiscardsTheTypedNumber) {
    Press("3 0 = + 7 C");
    EXPECT_EQ(view.Last("ShowCalculator"), "30 ");
    Press("=");
    EXPECT_EQ(acc(), 30);
}

TEST_F(KeypadTest, MoreThanTenDigitsWrapIn32Bits) {
    Press("1 2 3 4 5 6 7 8 9 0 1");
    // 12345678901 - 3 * 2^32
    EXPECT_EQ(view.Last("ShowCalculator"), "-539222987 ");
    Press("=");
    EXPECT_EQ(acc(), -539222987);
}

TEST_F(KeypadTest, EqualsWrapsIn32Bits) {
    regs().accumulator = std::numeric_limits<std::int32_t>::max();
    Press("+ 1 =");
    EXPECT_EQ(acc(), std::numeric_limits<std::int32_t>::min());
}

TEST_F(KeypadTest, WorksOnTheAccumulatorProgramsUse) {
    LoadProgram({"LDA 03", "OUT", "HLT", "DAT 8"});
    machine.Step();
    Press("+ 2 =");
    EXPECT_EQ(acc(), 10);
    machine.Step();
    EXPECT_EQ(view.ArgumentsOf("ShowOutput"), Calls{"10"});
}

}  // namespace
