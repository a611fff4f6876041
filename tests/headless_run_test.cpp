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

// Each way a run ends: the result, what was printed and the registers line of the dump.
TEST(HeadlessRun, EndsAsItsLastStepSays) {
    const auto check = [](const char* name, const Lines& program, const RunOptions& options,
                          RunEnd end, std::int64_t steps, const std::string& error,
                          const std::vector<std::int32_t>& outputs, const std::string& printed,
                          const std::string& registers) {
        SCOPED_TRACE(name);
        std::ostringstream out, dump;
        HeadlessRun run(program, options, out);
        const RunResult result = run.Run();
        EXPECT_EQ(result.end, end);
        EXPECT_EQ(result.steps, steps);
        EXPECT_EQ(result.error, error);
        EXPECT_EQ(result.outputs, outputs);
        EXPECT_EQ(out.str(), printed);
        run.Dump(dump);
        EXPECT_EQ(dump.str().substr(0, dump.str().find('\n')), registers);
    };
    check("halts", {"IN", "OUT", "SUB 06", "SKZ", "JMP 01", "HLT", "DAT 1"}, {.answers = {"3"}},
          RunEnd::Halted, 13, "", {3, 2, 1}, "3\n2\n1\n", "pc=6 acc=0 ins=HLT mdr=6");
    check("outputs not printed", kAddTwo, {.answers = {"3", "4"}, .printOutputs = false},
          RunEnd::Halted, 6, "", {7}, "", "pc=6 acc=7 ins=HLT mdr=10");
    check("failed step", {"OUT", "IN", "HLT"}, {.answers = {"abc"}}, RunEnd::Failed, 1,
          "'abc' is not a valid integer value.", {0}, "0\n", "pc=1 acc=0 ins=IN mdr=0");
    check("off the end", {}, {}, RunEnd::Failed, 100, "List index out of bounds (100)", {}, "",
          "pc=100 acc=0 ins=DAT mdr=0");
    check("no answer left", kAddTwo, {.answers = {"3"}}, RunEnd::NoInputLeft, 2, "", {}, "",
          "pc=2 acc=3 ins=IN mdr=10");
    check("step limit", {"JMP 00"}, {.answers = {}, .maxSteps = 10}, RunEnd::StepLimit, 10, "", {},
          "", "pc=0 acc=0 ins=JMP mdr=0");
    check("halt on the last allowed step", {"DAT 1", "HLT"}, {.answers = {}, .maxSteps = 2},
          RunEnd::Halted, 2, "", {}, "", "pc=2 acc=0 ins=HLT mdr=1");
}

TEST(HeadlessRun, PadsTheProgramAsLoadDoes) {
    std::ostringstream out, dump;
    HeadlessRun({"HLT"}, {}, out).Dump(dump);
    std::string expected = "pc=0 acc=0 ins= mdr=0\n00 HLT\n";
    for (int row = 1; row < 100; ++row)
        expected += (row < 10 ? "0" : "") + std::to_string(row) + " DAT 00\n";
    EXPECT_EQ(dump.str(), expected);
}

// Without a trace the runner obeys its steps in batches, with the registers kept aside between the
// calls that could see them; with one it obeys them one at a time. Both must end alike.
TEST(HeadlessRun, EndsAsTheTracedRunEnds) {
    const auto check = [](const Lines& program, const Lines& answers, std::int64_t maxSteps) {
        RunOptions options{.answers = answers, .maxSteps = maxSteps};
        std::ostringstream batchOut, tracedOut, batchDump, tracedDump;
        HeadlessRun batch(program, options, batchOut);
        options.trace = true;
        HeadlessRun traced(program, options, tracedOut);
        const RunResult fromBatch = batch.Run();
        const RunResult fromTrace = traced.Run();
        const std::string name = program.front() + "... " + std::to_string(program.size());
        EXPECT_EQ(fromBatch.end, fromTrace.end) << name;
        EXPECT_EQ(fromBatch.error, fromTrace.error) << name;
        EXPECT_EQ(fromBatch.steps, fromTrace.steps) << name;
        EXPECT_EQ(fromBatch.outputs, fromTrace.outputs) << name;
        batch.Dump(batchDump);
        traced.Dump(tracedDump);
        EXPECT_EQ(batchDump.str(), tracedDump.str()) << name;
    };
    check(kAddTwo, {"3", "4"}, 100);
    check(kAddTwo, {"3"}, 100);  // no answer left
    // The step limit, with a stored number whose text is written out only for the dump.
    check({"IN", "STA 10", "LDA 10", "ADD 11", "STA 10", "JMP 02", "", "", "", "", "", "DAT 1"},
          {"-5"}, 1000);
    check({"LDA 09", "STA 05", "JMP 05", "", "", "", "", "", "", "DAT 42"}, {}, 100);
    check({"LDA 09", "STA 99", "STA 100", "LDA 100", "OUT", "JMP 99", "", "", "", "DAT -7"}, {},
          50);
    check({"IN", "STA 04", "JMP 04", "HLT", "", "OUT"}, {"7"}, 100);  // a stored line run as code
    check({"LDA 03", "12", "HLT", "DAT 5"}, {}, 100);                 // the mnemonic carried over
    check({"LDA 02", "ADD ?1", "OUT"}, {}, 100);                      // a conversion error
    check({"LDA 02", "ADD 03", "DAT 1", "DAT y"}, {}, 100);  // a mailbox that holds no number
    check({"JMP 70"}, {}, 100);                              // running off the end
    // A counter in the loop's path: stored, obeyed as DAT, so its text is written, and stored
    // again from the batch.
    check({"LDA 03", "SUB 07", "STA 03", "DAT 3", "SKZ", "JMP 00", "HLT", "DAT 1"}, {}, 100);
    check({"IN", "OUT", "SKP", "HLT", "IN", "SKZ", "JMP 01", "HLT"}, {"1", "0", "-3"}, 100);
}

}  // namespace
