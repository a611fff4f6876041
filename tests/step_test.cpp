// SPDX-License-Identifier: GPL-3.0-or-later
// The execution step: what each instruction does, the order in which the displays are told,
// and what a failing step leaves behind.

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

#include "machine/display_text.h"
#include "machine/errors.h"
#include "support/machine_test.h"

namespace {

using tobric::ErrorKind;
using tobric::Mnemonic;
using tobric_test::DeliverTicks;
using tobric_test::ErrorFrom;
using tobric_test::Lines;
using Calls = std::vector<std::string>;

constexpr const char* kInPrompt = "InputPrompt Message|Enter a value into the in basket|0";

class StepTest : public tobric_test::MachineTest {
protected:
    // Run, then ticks until the run stops; a failing step's error passes out.
    void RunToEnd() {
        machine().Run();
        DeliverTicks(machine(), timer);
    }
};

// --- Whole programs ----------------------------------------------------------------------------

TEST_F(StepTest, InOutHlt) {
    LoadProgram({"IN", "OUT", "HLT"});
    view.answers = {"42"};
    RunToEnd();
    EXPECT_EQ(view.ArgumentsOf("ShowOutput"), Calls{"42"});
    EXPECT_EQ(view.Last("ShowCalculator"), "42 ");
    EXPECT_EQ(view.Last("ShowRegisters"), "pc=2 ins=HLT mdr=0");
    EXPECT_EQ(regs().programCounter, 3);
    EXPECT_FALSE(timer.Enabled());
}

TEST_F(StepTest, AddingTwoNumbersThroughAMailbox) {
    LoadProgram({"IN", "STA 10", "IN", "ADD 10", "OUT", "HLT"});
    view.answers = {"3", "4"};
    RunToEnd();
    EXPECT_EQ(store().Get(10), "DAT 3");
    ASSERT_EQ(view.shownLines.size(), 100u);
    EXPECT_EQ(tobric::MailboxRowText(10, view.shownLines[10]), "10 DAT 3");
    EXPECT_EQ(view.ArgumentsOf("ShowOutput"), Calls{"7"});
    EXPECT_EQ(view.Last("ShowCalculator"), "7 ");
    // The box keeps the operand of the last line that had one.
    EXPECT_EQ(view.Last("ShowRegisters"), "pc=5 ins=HLT mdr=10");
    EXPECT_EQ(regs().programCounter, 6);
    EXPECT_EQ(view.ArgumentsOf("ShowInBasket"), (Calls{"3", "4"}));
}

TEST_F(StepTest, CountdownLoopStopsWhenSkzMeetsZero) {
    LoadProgram({"IN", "OUT", "SUB 06", "SKZ", "JMP 01", "HLT", "DAT 1"});
    view.answers = {"3"};
    RunToEnd();
    EXPECT_EQ(view.ArgumentsOf("ShowOutput"), (Calls{"3", "2", "1"}));
    EXPECT_EQ(view.Last("ShowRegisters"), "pc=5 ins=HLT mdr=6");
    EXPECT_EQ(regs().programCounter, 6);
    EXPECT_FALSE(timer.Enabled());
}

// --- Single instructions -----------------------------------------------------------------------

struct Skip {
    // Test output shows a row by its name.
    friend void PrintTo(const Skip& row, std::ostream* os) { *os << row.name; }

    const char* name;
    const char* line;
    std::int32_t accumulator;
    bool taken;
};

class StepSkips : public StepTest, public ::testing::WithParamInterface<Skip> {};

// A taken skip passes over one mailbox; the box then shows the obeyed mailbox plus one.
TEST_P(StepSkips, PassOverOneMailboxOnlyWhenTheConditionHolds) {
    Start({GetParam().line, "HLT"}, {.accumulator = GetParam().accumulator});
    machine().Step();
    EXPECT_EQ(regs().programCounter, GetParam().taken ? 2 : 1);
    EXPECT_EQ(view.Last("ShowRegisters"), std::string(GetParam().taken ? "pc=1" : "pc=0") +
                                              " ins=" + GetParam().line + " mdr=0");
}

INSTANTIATE_TEST_SUITE_P(
    Conditions, StepSkips,
    ::testing::Values(Skip{"SkpZero", "SKP", 0, true}, Skip{"SkpPositive", "SKP", 5, true},
                      Skip{"SkpNegative", "SKP", -1, false}, Skip{"SknZero", "SKN", 0, false},
                      Skip{"SknNegative", "SKN", -7, true}, Skip{"SknPositive", "SKN", 7, false},
                      Skip{"SkzZero", "SKZ", 0, true}, Skip{"SkzPositive", "SKZ", 1, false},
                      Skip{"SkzNegative", "SKZ", -1, false}),
    [](const ::testing::TestParamInfo<Skip>& row) { return std::string(row.param.name); });

// Steps one at a time: the accumulator and the register boxes after each, what came out, the
// counter after the last step and mailbox 50, STA's target below.
TEST_F(StepTest, EachInstructionLeavesTheAccumulatorAndTheBoxes) {
    const auto check = [&](const char* name, const Lines& program, std::int32_t accumulator,
                           const std::vector<std::int32_t>& accumulators, const Lines& shown,
                           const Calls& outputs, int programCounter, const std::string& mailbox50) {
        SCOPED_TRACE(name);
        Start(program, {.accumulator = accumulator});
        for (std::size_t step = 0; step < accumulators.size(); ++step) {
            machine().Step();
            EXPECT_EQ(regs().accumulator, accumulators[step]) << step;
            EXPECT_EQ(view.Last("ShowCalculator"), std::to_string(accumulators[step]) + " ");
            EXPECT_EQ(view.Last("ShowRegisters"), shown[step]) << step;
        }
        EXPECT_EQ(view.ArgumentsOf("ShowOutput"), outputs);
        EXPECT_EQ(regs().programCounter, programCounter);
        EXPECT_EQ(store().Get(50), mailbox50);
    };
    check("jump shows the target and obeys it next", {"JMP 03", "HLT", "HLT", "OUT"}, 11, {11, 11},
          {"pc=3 ins=JMP mdr=3", "pc=3 ins=OUT mdr=3"}, {"11"}, 4, "DAT 00");
    check("STA then LDA gives the accumulator back", {"STA 50", "LDA 51", "LDA 50"}, -123456,
          {-123456, 0, -123456},
          {"pc=0 ins=STA mdr=50", "pc=1 ins=LDA mdr=51", "pc=2 ins=LDA mdr=50"}, {}, 3,
          "DAT -123456");
    check("LDA reads the number of any line",
          {"LDA 03", "LDA 04", "LDA 05", "ADD 07", "JMP 3", "DAT 42"}, 0, {7, 3, 42},
          {"pc=0 ins=LDA mdr=3", "pc=1 ins=LDA mdr=4", "pc=2 ins=LDA mdr=5"}, {}, 3, "DAT 00");
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    check("ADD and SUB wrap in 32 bits", {"ADD 02", "SUB 02", "DAT 1"}, kMax, {kMin, kMax},
          {"pc=0 ins=ADD mdr=2", "pc=1 ins=SUB mdr=2"}, {}, 2, "DAT 00");
    check("an unknown mnemonic carries the one before",
          {"ADD 07", "XYZ 09", "HLT", "HLT", "HLT", "HLT", "HLT", "DAT 5", "DAT 6", "DAT 100"}, 0,
          {5, 105}, {"pc=0 ins=ADD mdr=7", "pc=1 ins=ADD mdr=9"}, {}, 2, "DAT 00");
    check("data and comment lines only advance", {"DAT 12", "* note", "HLT"}, 4, {4, 4},
          {"pc=0 ins=DAT mdr=12", "pc=1 ins=* mdr=12"}, {}, 2, "DAT 00");
}

// STA 99 on a store that Delete Command has shortened to 99 lines.
TEST_F(StepTest, StaJustPastTheEndAppendsALine) {
    Lines lines(99, "DAT 00");
    lines[0] = "STA 99";
    Start({}, {.accumulator = 8});
    StoreExactly(lines);
    machine().Step();
    EXPECT_EQ(view.calls.front(), "ShowMailboxes");
    EXPECT_EQ(store().Count(), 100);
    EXPECT_EQ(store().Get(99), "DAT 8");
}

// --- The order in which the displays are told ------------------------------------------------

TEST_F(StepTest, InStepOrder) {
    LoadProgram({"IN", "HLT"});
    view.answers = {"5"};
    machine().Step();
    EXPECT_EQ(view.calls, (Calls{kInPrompt, "ShowInBasket 5", "ShowCalculator 5 ",
                                 "ShowRegisters pc=0 ins=IN mdr=0"}));
}

TEST_F(StepTest, StaAndOutStepOrder) {
    Start({"STA 10", "OUT"}, {.accumulator = 6});
    machine().Step();
    machine().Step();
    EXPECT_EQ(view.calls,
              (Calls{"ShowMailboxes", "ShowCalculator 6 ", "ShowRegisters pc=0 ins=STA mdr=10",
                     "ShowOutput 6", "ShowCalculator 6 ", "ShowRegisters pc=1 ins=OUT mdr=10"}));
}

TEST_F(StepTest, TimerIsDisabledWhileTheInPromptIsOpen) {
    LoadProgram({"IN", "HLT"});
    bool enabledDuringPrompt = true;
    view.onInputPrompt = [&] { enabledDuringPrompt = timer.Enabled(); };
    machine().Run();
    machine().TimerTimer();
    EXPECT_FALSE(enabledDuringPrompt);
    EXPECT_TRUE(timer.Ticking());
}

TEST_F(StepTest, CancelledInPromptAnswersZeroAndTheRunGoesOn) {
    Start({"IN", "OUT", "HLT"}, {.accumulator = 9});
    machine().Run();
    machine().TimerTimer();
    EXPECT_EQ(view.calls.front(), kInPrompt);
    EXPECT_EQ(regs().accumulator, 0);
    EXPECT_EQ(view.Last("ShowInBasket"), "0");
    EXPECT_TRUE(timer.Ticking());
}

// --- Failures ------------------------------------------------------------------------------------

// The empty answer fails too, quoted as the empty text.
TEST_F(StepTest, InAnswerThatIsNoNumberStopsTheRun) {
    for (const std::string answer : {"abc", ""}) {
        Start({"IN", "HLT"}, {.accumulator = 17});
        view.answers = {answer};
        machine().Run();
        const tobric::MachineError error = ErrorFrom([&] { machine().TimerTimer(); });
        EXPECT_EQ(error.message(), "'" + answer + "' is not a valid integer value");
        EXPECT_EQ(regs().accumulator, 17);
        EXPECT_EQ(regs().programCounter, 0);
        EXPECT_FALSE(timer.Enabled());
        EXPECT_EQ(view.calls, Calls{kInPrompt});
    }
}

TEST_F(StepTest, RunningPastTheLastMailboxFailsAtOneHundred) {
    LoadProgram({"JMP 99"});
    machine().Run();
    EXPECT_EQ(DeliverTicks(machine(), timer, 2), 2);
    EXPECT_EQ(regs().programCounter, 100);
    view.calls.clear();
    const tobric::MachineError error = ErrorFrom([&] { machine().TimerTimer(); });
    EXPECT_EQ(error.kind(), ErrorKind::ListIndex);
    EXPECT_EQ(error.message(), "List index out of bounds (100)");
    EXPECT_EQ(regs().programCounter, 100);
    EXPECT_FALSE(timer.Enabled());
    EXPECT_TRUE(view.calls.empty());
    // The next step obeys the same mailbox again, and fails again.
    EXPECT_EQ(ErrorFrom([&] { machine().Step(); }).message(), "List index out of bounds (100)");
}

TEST_F(StepTest, AddressMinusOneIsMailbox65535) {
    Start({"LDA -1"}, {.accumulator = 3});
    EXPECT_EQ(ErrorFrom([&] { machine().Step(); }).message(), "List index out of bounds (65535)");
    EXPECT_EQ(regs().accumulator, 3);
    LoadProgram({"STA -1"});
    EXPECT_EQ(ErrorFrom([&] { machine().Step(); }).kind(), ErrorKind::Insert);
    EXPECT_EQ(store().Count(), 100);
    EXPECT_EQ(regs().programCounter, 0);
    LoadProgram({"JMP -1"});
    machine().Step();
    EXPECT_EQ(regs().programCounter, 65535);
}

// A failing operand leaves the mnemonic decoded but nothing after it done.
TEST_F(StepTest, FailureLeavesTimerDisabledAndDisplaysAndCounterUntouched) {
    Start({"OUT", "LDA 5X"}, {.operand = 21});
    machine().Run();
    machine().TimerTimer();
    view.calls.clear();
    EXPECT_EQ(ErrorFrom([&] { machine().TimerTimer(); }).message(),
              "'5X' is not a valid integer value");
    EXPECT_FALSE(timer.Enabled());
    EXPECT_TRUE(regs().running);
    EXPECT_EQ(regs().programCounter, 1);
    EXPECT_EQ(regs().mnemonic, Mnemonic::Lda);
    EXPECT_EQ(regs().operand, 21);
    EXPECT_TRUE(view.calls.empty());
}

TEST_F(StepTest, EmptyLineStopsTheStep) {
    LoadProgram({"DAT 4", ""});
    machine().Step();
    view.calls.clear();
    EXPECT_EQ(ErrorFrom([&] { machine().Step(); }).kind(), ErrorKind::EmptyLine);
    EXPECT_EQ(regs().programCounter, 1);
    EXPECT_EQ(regs().mnemonic, Mnemonic::Dat);
    EXPECT_EQ(regs().operand, 4);
    EXPECT_TRUE(view.calls.empty());
}

TEST_F(StepTest, RefusedReArmEndsTheStepWithTheTimerErrorAfterAllElseIsDone) {
    LoadProgram({"LDA 03", "OUT", "HLT", "DAT 8"});
    machine().Run();
    timer.RefuseCountdowns(true);
    const tobric::MachineError error = ErrorFrom([&] { machine().TimerTimer(); });
    EXPECT_EQ(error.kind(), ErrorKind::Timer);
    EXPECT_EQ(error.message(), "Not enough timers available");
    EXPECT_EQ(regs().accumulator, 8);
    EXPECT_EQ(regs().programCounter, 1);
    EXPECT_EQ(view.calls, (Calls{"ShowCalculator 8 ", "ShowRegisters pc=0 ins=LDA mdr=3"}));
    // Counts as enabled but never ticks, until Halt/Continue halts it.
    EXPECT_TRUE(timer.Enabled());
    EXPECT_FALSE(timer.Ticking());
    timer.RefuseCountdowns(false);
    machine().HaltOrContinue();
    EXPECT_EQ(view.Last("ShowNotice"), "Program Halted");
    EXPECT_FALSE(timer.Enabled());
}

// Continue starts from the current counter with the accumulator as it is, without a notice.
TEST_F(StepTest, HltStopsTheRunAndContinueResumesAfterIt) {
    LoadProgram({"LDA 05", "HLT", "OUT", "HLT", "HLT", "DAT 8"});
    RunToEnd();
    EXPECT_EQ(regs().programCounter, 2);
    EXPECT_TRUE(view.ArgumentsOf("ShowOutput").empty());
    view.calls.clear();
    machine().HaltOrContinue();
    EXPECT_TRUE(view.calls.empty());
    EXPECT_TRUE(regs().running);
    EXPECT_TRUE(timer.Ticking());
    DeliverTicks(machine(), timer);
    EXPECT_EQ(view.ArgumentsOf("ShowOutput"), Calls{"8"});
    EXPECT_EQ(regs().programCounter, 4);
}

}  // namespace
