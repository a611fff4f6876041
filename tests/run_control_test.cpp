// SPDX-License-Identifier: GPL-3.0-or-later
// Run, Step, Halt/Continue, Reset and the speed bar: the running flag, the execution timer and
// the notices, also when commands are clicked while a notice box is still open.

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "machine/errors.h"
#include "support/machine_test.h"
#include "support/temp_folder.h"

namespace {

using tobric::ErrorKind;
using Machine = tobric_test::AnsweringMachine;
using tobric::Mnemonic;
using tobric_test::DeliverTicks;
using tobric_test::ErrorFrom;
using Calls = std::vector<std::string>;

class RunControlTest : public tobric_test::MachineTest {};

// --- The no-program rule -----------------------------------------------------------------------

struct Command {
    // Test output shows a row by its name.
    friend void PrintTo(const Command& row, std::ostream* os) { *os << row.name; }

    const char* name;
    void (Machine::*click)();
    Calls withTwoLines;  // what the command shows on a store of two HLT lines
};

class RunControlWithoutProgram : public RunControlTest,
                                 public ::testing::WithParamInterface<Command> {};

TEST_P(RunControlWithoutProgram, RefusesRightAfterStart) {
    (machine().*GetParam().click)();
    EXPECT_EQ(view.calls, Calls{"ShowNotice There is no program loaded"});
    EXPECT_FALSE(timer.Enabled());
    EXPECT_EQ(timer.Countdowns(), 0);
    EXPECT_FALSE(regs().running);
    EXPECT_EQ(regs().programCounter, 0);
}

TEST_P(RunControlWithoutProgram, RefusesWithOneLineAndChangesNothing) {
    Start({}, {.accumulator = 5, .programCounter = 3});
    StoreExactly({"IN"});
    (machine().*GetParam().click)();
    EXPECT_EQ(view.calls, Calls{"ShowNotice There is no program loaded"});
    EXPECT_EQ(regs().programCounter, 3);
    EXPECT_EQ(regs().accumulator, 5);
    EXPECT_FALSE(timer.Enabled());
}

TEST_P(RunControlWithoutProgram, AcceptsTwoLines) {
    StoreExactly({"HLT", "HLT"});
    (machine().*GetParam().click)();
    EXPECT_EQ(view.calls, GetParam().withTwoLines);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, RunControlWithoutProgram,
    ::testing::Values(
        Command{"Run", &Machine::Run, {}},
        Command{"Step", &Machine::Step, {"ShowCalculator 0 ", "ShowRegisters pc=0 ins=HLT mdr=0"}},
        Command{"HaltOrContinue", &Machine::HaltOrContinue, {}},
        Command{
            "Reset",
            &Machine::Reset,
            {"ShowRegisters pc=0 ins= mdr=0", "ShowCalculator 0 ", "ShowNotice Program Reset!"}}),
    [](const ::testing::TestParamInfo<Command>& row) { return std::string(row.param.name); });

TEST_F(RunControlTest, RunStartsFromMailboxZeroAndKeepsTheRest) {
    Start({"OUT", "HLT"},
          {.accumulator = 12, .programCounter = 7, .mnemonic = Mnemonic::Add, .operand = 4});
    machine().Run();
    EXPECT_EQ(regs().programCounter, 0);
    EXPECT_TRUE(regs().running);
    EXPECT_TRUE(timer.Ticking());
    EXPECT_EQ(timer.Countdowns(), 1);
    EXPECT_EQ(regs().accumulator, 12);
    EXPECT_EQ(regs().mnemonic, Mnemonic::Add);
    EXPECT_EQ(regs().operand, 4);
    EXPECT_TRUE(view.calls.empty());
}

TEST_F(RunControlTest, RunDuringARunDoesNotRestartTheCountdown) {
    LoadProgram({"DAT 1", "DAT 2", "HLT"});
    machine().Run();
    machine().TimerTimer();
    const int restarts = timer.Countdowns();
    machine().Run();
    EXPECT_EQ(timer.Countdowns(), restarts);
    EXPECT_EQ(regs().programCounter, 0);
    EXPECT_TRUE(timer.Ticking());
}

TEST_F(RunControlTest, SecondRunStartsFromTheOldAccumulator) {
    LoadProgram({"ADD 03", "OUT", "HLT", "DAT 5"});
    machine().Run();
    DeliverTicks(machine(), timer);
    machine().Run();
    DeliverTicks(machine(), timer);
    EXPECT_EQ(view.ArgumentsOf("ShowOutput"), (Calls{"5", "10"}));
}

TEST_F(RunControlTest, RefusedTimerOnRunStandsStillUntilHalted) {
    LoadProgram({"OUT", "HLT"});
    timer.RefuseCountdowns(true);
    EXPECT_EQ(ErrorFrom([&] { machine().Run(); }).kind(), ErrorKind::Timer);
    EXPECT_TRUE(regs().running);
    EXPECT_TRUE(timer.Enabled());
    EXPECT_EQ(DeliverTicks(machine(), timer), 0);
    machine().HaltOrContinue();
    EXPECT_EQ(view.calls, Calls{"ShowNotice Program Halted"});
    EXPECT_FALSE(timer.Enabled());
}

TEST_F(RunControlTest, StepObeysOneInstructionAndLeavesTheTimerOff) {
    Start({"OUT", "OUT", "HLT"}, {.accumulator = 4});
    machine().Step();
    EXPECT_EQ(view.ArgumentsOf("ShowOutput"), Calls{"4"});
    EXPECT_EQ(regs().programCounter, 1);
    EXPECT_FALSE(regs().running);
    EXPECT_FALSE(timer.Enabled());
    EXPECT_EQ(timer.Countdowns(), 0);
}

TEST_F(RunControlTest, StepDuringARunObeysOneMoreAndEndsTheRun) {
    LoadProgram({"OUT", "OUT", "OUT", "HLT"});
    machine().Run();
    machine().TimerTimer();
    machine().Step();
    EXPECT_EQ(view.ArgumentsOf("ShowOutput").size(), 2u);
    EXPECT_EQ(regs().programCounter, 2);
    EXPECT_FALSE(regs().running);
    EXPECT_FALSE(timer.Enabled());
    EXPECT_EQ(DeliverTicks(machine(), timer), 0);
}

TEST_F(RunControlTest, HaltDuringARunStopsTheTimerAndKeepsTheRunningFlag) {
    LoadProgram({"DAT 1", "DAT 2", "HLT"});
    machine().HaltOrContinue();
    machine().TimerTimer();
    machine().HaltOrContinue();
    EXPECT_EQ(view.Last("ShowNotice"), "Program Halted");
    EXPECT_FALSE(timer.Enabled());
    EXPECT_TRUE(regs().running);
    EXPECT_EQ(regs().programCounter, 1);
}

TEST_F(RunControlTest, StepAndContinueWhileTheHaltedNoticeIsOpen) {
    LoadProgram({"LDA 05", "OUT", "OUT", "OUT", "HLT", "DAT 3"});
    machine().Run();
    machine().TimerTimer();
    view.onNotice = [&](const std::string&) {
        machine().Step();  // obeys mailbox 1 at once
        EXPECT_EQ(view.ArgumentsOf("ShowOutput"), Calls{"3"});
        machine().HaltOrContinue();  // the timer is off: this continues the run
    };
    machine().HaltOrContinue();
    EXPECT_EQ(view.ArgumentsOf("ShowNotice"), Calls{"Program Halted"});
    EXPECT_EQ(regs().programCounter, 2);
    EXPECT_TRUE(regs().running);
    EXPECT_TRUE(timer.Ticking());
    DeliverTicks(machine(), timer);
    EXPECT_EQ(view.ArgumentsOf("ShowOutput"), (Calls{"3", "3", "3"}));
}

TEST_F(RunControlTest, ResetRewindsShowsAndTellsInThatOrder) {
    Start({"HLT", "HLT"},
          {.accumulator = 44, .programCounter = 9, .mnemonic = Mnemonic::Sub, .operand = 8});
    machine().Reset();
    EXPECT_EQ(view.calls, (Calls{"ShowRegisters pc=0 ins=SUB mdr=8", "ShowCalculator 0 ",
                                 "ShowNotice Program Reset!"}));
    EXPECT_EQ(regs().accumulator, 0);
    EXPECT_FALSE(timer.Enabled());
    EXPECT_EQ(timer.Countdowns(), 0);
}

TEST_F(RunControlTest, ResetDuringARunCarriesOnFromMailboxZero) {
    Start({"OUT", "LDA 05", "HLT", "HLT", "HLT", "DAT 30"}, {.accumulator = 1});
    machine().Run();
    DeliverTicks(machine(), timer, 2);
    ASSERT_EQ(regs().accumulator, 30);
    const int restarts = timer.Countdowns();
    // Ticks go on being served while the notice box is open.
    view.onNotice = [&](const std::string&) { DeliverTicks(machine(), timer, 1); };
    machine().Reset();
    EXPECT_EQ(view.ArgumentsOf("ShowOutput"), (Calls{"1", "0"}));
    EXPECT_EQ(regs().programCounter, 1);
    EXPECT_TRUE(timer.Ticking());
    EXPECT_EQ(timer.Countdowns(), restarts + 1);  // only the step's own re-arming
}

TEST_F(RunControlTest, SpeedSetsTheIntervalAndRestartsOnlyARunningCountdown) {
    LoadProgram({"DAT 1", "HLT"});
    EXPECT_EQ(timer.Interval(), 1000);  // a new timer's, until the bar is first moved
    machine().ChangeSpeed(250);
    EXPECT_EQ(timer.Interval(), 250);
    EXPECT_EQ(timer.Countdowns(), 0);
    EXPECT_FALSE(timer.Enabled());

    machine().Run();
    EXPECT_EQ(timer.Countdowns(), 1);
    machine().ChangeSpeed(500);
    EXPECT_EQ(timer.Interval(), 500);
    EXPECT_EQ(timer.Countdowns(), 2);
    machine().ChangeSpeed(500);
    EXPECT_EQ(timer.Countdowns(), 2);
}

TEST_F(RunControlTest, RefusedTimerOnSpeedChangeStandsStill) {
    LoadProgram({"DAT 1", "HLT"});
    machine().Run();
    timer.RefuseCountdowns(true);
    EXPECT_EQ(ErrorFrom([&] { machine().ChangeSpeed(10); }).kind(), ErrorKind::Timer);
    EXPECT_EQ(timer.Interval(), 10);
    EXPECT_TRUE(timer.Enabled());
    EXPECT_FALSE(timer.Ticking());
    EXPECT_TRUE(regs().running);
}

TEST_F(RunControlTest, LoadDuringARunKeepsItGoingAtMailboxZero) {
    tobric_test::TempFolder folder;
    const std::string path = folder / "other.txt";
    tobric_test::WriteBytes(path, "LDA 02\r\nOUT\r\nDAT 77\r\n");
    LoadProgram({"DAT 1", "DAT 2", "DAT 3", "HLT"});
    machine().Run();
    DeliverTicks(machine(), timer, 2);
    const int restarts = timer.Countdowns();
    view.openNames.push_back(path);
    machine().Load();
    EXPECT_TRUE(timer.Ticking());
    EXPECT_EQ(timer.Countdowns(), restarts);
    DeliverTicks(machine(), timer, 2);
    EXPECT_EQ(view.ArgumentsOf("ShowOutput"), Calls{"77"});
}

}  // namespace
