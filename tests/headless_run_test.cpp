// SPDX-License-Identifier: GPL-3.0-or-later
// Running a program without a window: how a run ends, what it prints and what it reports.

#include "tools/headless_run.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

namespace {

using tobric::HeadlessRun;
using tobric::RunEnd;
using tobric::RunOptions;
using tobric::RunResult;
using Lines = std::vector<std::string>;

const Lines kAddTwo = {"IN", "STA 10", "IN", "ADD 10", "OUT", "HLT"};

RunOptions WithAnswers(Lines answers) {
    RunOptions options;
    options.answers = std::move(answers);
    return options;
}

TEST(HeadlessRun, HaltsWithTheOutputsPrintedOnePerLine) {
    std::ostringstream out;
    HeadlessRun run({"IN", "OUT", "SUB 06", "SKZ", "JMP 01", "HLT", "DAT 1"}, WithAnswers({"3"}),
                    out);
    const RunResult result = run.Run();
    EXPECT_EQ(result.end, RunEnd::Halted);
    EXPECT_EQ(result.outputs, (std::vector<std::int32_t>{3, 2, 1}));
    EXPECT_EQ(result.steps, 13);
    EXPECT_EQ(result.error, "");
    EXPECT_EQ(out.str(), "3\n2\n1\n");
}

TEST(HeadlessRun, PadsTheProgramAsLoadDoes) {
    std::ostringstream out, dump;
    HeadlessRun({"HLT"}, {}, out).Dump(dump);
    std::string expected = "pc=0 acc=0 ins= mdr=0\n00 HLT\n";
    for (int row = 1; row < 100; ++row)
        expected += (row < 10 ? "0" : "") + std::to_string(row) + " DAT 00\n";
    EXPECT_EQ(dump.str(), expected);
}

TEST(HeadlessRun, PrintsNothingWhenOutputsAreNotWanted) {
    std::ostringstream out;
    RunOptions options = WithAnswers({"3", "4"});
    options.printOutputs = false;
    const RunResult result = HeadlessRun(kAddTwo, options, out).Run();
    EXPECT_EQ(result.outputs, std::vector<std::int32_t>{7});
    EXPECT_EQ(out.str(), "");
}

TEST(HeadlessRun, FailedStepEndsTheRunWithTheReportedText) {
    std::ostringstream out;
    const RunResult result = HeadlessRun({"OUT", "IN", "HLT"}, WithAnswers({"abc"}), out).Run();
    EXPECT_EQ(result.end, RunEnd::Failed);
    EXPECT_EQ(result.error, "'abc' is not a valid integer value.");
    EXPECT_EQ(result.steps, 1);
    EXPECT_EQ(result.outputs, std::vector<std::int32_t>{0});
}

TEST(HeadlessRun, RunningOffTheEndFailsAtMailbox100) {
    std::ostringstream out;
    HeadlessRun run({}, {}, out);
    const RunResult result = run.Run();
    EXPECT_EQ(result.end, RunEnd::Failed);
    EXPECT_EQ(result.error, "List index out of bounds (100)");
    EXPECT_EQ(result.steps, 100);
    std::ostringstream dump;
    run.Dump(dump);
    EXPECT_TRUE(dump.str().starts_with("pc=100 ")) << dump.str();
}

TEST(HeadlessRun, NoAnswerLeftEndsTheRun) {
    std::ostringstream out;
    const RunResult result = HeadlessRun(kAddTwo, WithAnswers({"3"}), out).Run();
    EXPECT_EQ(result.end, RunEnd::NoInputLeft);
    EXPECT_EQ(result.steps, 2);
}

TEST(HeadlessRun, StepLimitEndsAnEndlessLoop) {
    std::ostringstream out;
    RunOptions options;
    options.maxSteps = 10;
    const RunResult result = HeadlessRun({"JMP 00"}, options, out).Run();
    EXPECT_EQ(result.end, RunEnd::StepLimit);
    EXPECT_EQ(result.steps, 10);
}

TEST(HeadlessRun, HaltOnTheLastAllowedStepIsNoLimit) {
    std::ostringstream out;
    RunOptions options;
    options.maxSteps = 2;
    const RunResult result = HeadlessRun({"DAT 1", "HLT"}, options, out).Run();
    EXPECT_EQ(result.end, RunEnd::Halted);
    EXPECT_EQ(result.steps, 2);
}

// Without a trace the runner obeys its steps in batches, with the registers kept aside between the
// calls that could see them; with one it obeys them one at a time. Both must end alike.
TEST(HeadlessRun, EndsAsTheTracedRunEnds) {
    struct Case {
        Lines program;
        Lines answers;
        std::int64_t maxSteps;
    };
    const Case cases[] = {
        {kAddTwo, {"3", "4"}, 100},
        {kAddTwo, {"3"}, 100},  // no answer left
        // The step limit, with a stored number whose text is written out only for the dump.
        {{"IN", "STA 10", "LDA 10", "ADD 11", "STA 10", "JMP 02", "", "", "", "", "", "DAT 1"},
         {"-5"},
         1000},
        {{"LDA 09", "STA 05", "JMP 05", "", "", "", "", "", "", "DAT 42"}, {}, 100},
        {{"LDA 09", "STA 99", "STA 100", "LDA 100", "OUT", "JMP 99", "", "", "", "DAT -7"}, {}, 50},
        {{"IN", "STA 04", "JMP 04", "HLT", "", "OUT"}, {"7"}, 100},  // a stored line run as code
        {{"LDA 03", "12", "HLT", "DAT 5"}, {}, 100},                 // the mnemonic carried over
        {{"LDA 02", "ADD ?1", "OUT"}, {}, 100},                      // a conversion error
        {{"LDA 02", "ADD 03", "DAT 1", "DAT y"}, {}, 100},  // a mailbox that holds no number
        {{"JMP 70"}, {}, 100},                              // running off the end
        // A counter in the loop's path: stored, obeyed as DAT, so its text is written, and stored
        // again from the batch.
        {{"LDA 03", "SUB 07", "STA 03", "DAT 3", "SKZ", "JMP 00", "HLT", "DAT 1"}, {}, 100},
        {{"IN", "OUT", "SKP", "HLT", "IN", "SKZ", "JMP 01", "HLT"}, {"1", "0", "-3"}, 100},
    };
    for (const Case& c : cases) {
        RunOptions options = WithAnswers(c.answers);
        options.maxSteps = c.maxSteps;
        std::ostringstream batchOut, tracedOut, batchDump, tracedDump;
        HeadlessRun batch(c.program, options, batchOut);
        options.trace = true;
        HeadlessRun traced(c.program, options, tracedOut);
        const RunResult fromBatch = batch.Run();
        const RunResult fromTrace = traced.Run();
        const std::string name = c.program.front() + "... " + std::to_string(c.program.size());
        EXPECT_EQ(fromBatch.end, fromTrace.end) << name;
        EXPECT_EQ(fromBatch.error, fromTrace.error) << name;
        EXPECT_EQ(fromBatch.steps, fromTrace.steps) << name;
        EXPECT_EQ(fromBatch.outputs, fromTrace.outputs) << name;
        batch.Dump(batchDump);
        traced.Dump(tracedDump);
        EXPECT_EQ(batchDump.str(), tracedDump.str()) << name;
    }
}

}  // namespace
