// SPDX-License-Identifier: GPL-3.0-or-later
// tobric-run end to end: the built program run on files in a temporary folder, with its standard
// output, standard error and exit status checked.

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "machine/file_system.h"
#include "support/platform_errors.h"
#include "support/run_program.h"
#include "support/temp_folder.h"
#include "tobric/version.h"

namespace {

using tobric_test::ReadBytes;
using tobric_test::TempFolder;
using tobric_test::WriteBytes;

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

class TobricRunTest : public ::testing::Test {
protected:
    // Runs tobric-run with the arguments and standard input from `inPath` (nothing when empty);
    // its output streams go to files in the folder, or standard output to `outPath`.
    Outcome Run(const std::vector<std::string>& args, const std::string& inPath = "",
                std::string outPath = "") {
        const bool keptOutput = outPath.empty();
        if (keptOutput) outPath = folder / "stdout";
        const std::string errPath = folder / "stderr";
        std::vector<std::string> words = {TOBRIC_RUN_PATH};
        words.insert(words.end(), args.begin(), args.end());
        Outcome outcome;
        try {
            outcome.status = tobric_test::RunProgram(words, inPath, outPath, errPath);
        } catch (const std::runtime_error& failure) {
            ADD_FAILURE() << failure.what();
            return outcome;
        }
        if (keptOutput) outcome.out = ReadBytes(outPath);
        outcome.err = ReadBytes(errPath);
        return outcome;
    }

    // Writes a program file of the lines, CR LF after each, and gives its path.
    std::string Program(const std::vector<std::string>& lines,
                        const std::string& name = "prog.txt") {
        std::string text;
        for (const std::string& line : lines) text += line + "\r\n";
        const std::string path = folder / name;
        WriteBytes(path, text);
        return path;
    }

    TempFolder folder;
};

const std::vector<std::string> kAddTwo = {"IN", "STA 10", "IN", "ADD 10", "OUT", "HLT"};

// Exit status, standard output and standard error of runs that end each way they can.
TEST_F(TobricRunTest, RunsEndWithTheirStatusOutputAndReport) {
    // The program file's path follows the arguments, when there is a program.
    const auto check = [&](const char* name, std::vector<std::string> args,
                           const std::vector<std::string>& program, int status,
                           const std::string& out, const std::string& err) {
        SCOPED_TRACE(name);
        if (!program.empty()) args.push_back(Program(program));
        const Outcome o = Run(args);
        EXPECT_EQ(o.status, status);
        EXPECT_EQ(o.out, out);
        EXPECT_EQ(o.err, err);
    };
    check("outputs one a line", {"--input", "3"},
          {"IN", "OUT", "SUB 06", "SKZ", "JMP 01", "HLT", "DAT 1"}, 0, "3\n2\n1\n", "");
    check("answers in one option", {"--input", "3,4"}, kAddTwo, 0, "7\n", "");
    check("answers over two options", {"--input", "3", "--input", "4"}, kAddTwo, 0, "7\n", "");
    check("answers after =", {"--input=3,4"}, kAddTwo, 0, "7\n", "");
    check("trace of steps and baskets", {"--trace", "--input", "3,4"}, kAddTwo, 0,
          "in 3\n"
          "step pc=0 ins=IN mdr=0 acc=3\n"
          "step pc=1 ins=STA mdr=10 acc=3\n"
          "in 4\n"
          "step pc=2 ins=IN mdr=10 acc=4\n"
          "step pc=3 ins=ADD mdr=10 acc=7\n"
          "out 7\n"
          "step pc=4 ins=OUT mdr=10 acc=7\n"
          "step pc=5 ins=HLT mdr=10 acc=7\n",
          "");
    check("failing step", {"--input", "abc"}, kAddTwo, 1, "",
          "error: 'abc' is not a valid integer value.\n");
    check("off the end", {}, {"DAT 00", "DAT 00"}, 1, "",
          "error: List index out of bounds (100)\n");
    check("step limit", {"--max-steps", "10"}, {"JMP 00", "HLT"}, 3, "",
          "error: step limit of 10 reached\n");
    check("no input left", {"--input", "5"}, kAddTwo, 4, "", "error: no input left for IN\n");
    check("version", {"--version"}, {}, 0, std::string("tobric-run ") + tobric::kVersion + "\n",
          "");
    const std::string missing = folder / "none.txt";
    check("missing file", {missing}, {}, 2, "",
          "tobric-run: Cannot open file \"" + missing + "\". " +
              tobric::SystemErrorText(tobric_test::kNoSuchFile) + ".\n");
}

TEST_F(TobricRunTest, DumpPrintsRegistersAndEveryMailboxAfterTheRun) {
    std::vector<std::string> lines = kAddTwo;
    lines.resize(101, "DAT 00");
    const Outcome o = Run({"--dump", "--input", "3,4", Program(lines)});
    EXPECT_EQ(o.status, 0);
    std::string expected =
        "7\npc=6 acc=7 ins=HLT mdr=10\n00 IN\n01 STA 10\n02 IN\n03 ADD 10\n04 OUT\n05 HLT\n";
    for (int row = 6; row <= 100; ++row) {
        expected += (row < 10 ? "0" : "") + std::to_string(row);
        expected += row == 10 ? " DAT 3\n" : " DAT 00\n";
    }
    EXPECT_EQ(o.out, expected);
}

TEST_F(TobricRunTest, EmptyFirstLineFailsAndTheDumpShowsItAsAnEmptyRow) {
    const Outcome o = Run({"--dump", Program({"", "HLT"})});
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.out.rfind("pc=0 acc=0 ins= mdr=0\n00 \n01 HLT\n02 DAT 00\n", 0), 0u) << o.out;
    EXPECT_TRUE(o.err.starts_with("error: ")) << o.err;
}

TEST_F(TobricRunTest, BadUsageExitsWithTwo) {
    const std::string program = Program({"HLT", "HLT"});
    const std::vector<std::vector<std::string>> usages = {
        {},
        {"--bogus", program},
        {program, program},
        {"--max-steps", "ten", program},
        {"--max-steps", "-1", program},
        {program, "--input"},
        {"--max-steps", "99999999999999999999", program},
        {"--cases", "-", "-"},
        {"--cases=", program},
        {"--cases", program, "--format", "xml", program},
        {"--format", "json", program},
        {"--cases", program, "--format=gradescope", program, program},
    };
    for (const std::vector<std::string>& args : usages) {
        const Outcome o = Run(args);
        EXPECT_EQ(o.status, 2) << ::testing::PrintToString(args);
        EXPECT_EQ(o.out, "");
        // One line naming the problem, then where to read more; not the whole usage.
        EXPECT_TRUE(o.err.starts_with("tobric-run: ")) << o.err;
        EXPECT_TRUE(o.err.ends_with("\nTry 'tobric-run --help' for more information.\n")) << o.err;
        EXPECT_EQ(std::count(o.err.begin(), o.err.end(), '\n'), 2) << o.err;
    }
    EXPECT_NE(Run({"--max-steps", "99999999999999999999", program}).err.find("too large"),
              std::string::npos);
}

TEST_F(TobricRunTest, DashReadsTheProgramOrTheCasesFromStandardInput) {
    const std::string program = Program({"IN", "OUT", "HLT"});
    EXPECT_EQ(Run({"--input", "7", "-"}, program).out, "7\n");
    WriteBytes(folder / "cases", "3 -> 3\n");
    const Outcome graded = Run({"--cases", "-", program}, folder / "cases");
    EXPECT_EQ(graded.status, 0) << graded.err;
    EXPECT_NE(graded.out.find("1/1 passed"), std::string::npos) << graded.out;
}

// A junk file's bytes never reach the terminal raw, and a huge line is cut.
TEST_F(TobricRunTest, MessagesShowControlBytesEscapedAndLongTextsCut) {
    const Outcome o =
        Run({Program({"LDA 01", "DAT 1\x1b[31m\x01\x7f" + std::string(100'000, 'x')})});
    EXPECT_EQ(o.status, 1);
    EXPECT_TRUE(o.err.starts_with("error: '1\\x1b[31m\\x01\\x7fxxx")) << o.err.substr(0, 80);
    EXPECT_LT(o.err.size(), 400u);
    EXPECT_NE(o.err.find("more bytes not shown"), std::string::npos);
}

#ifndef _WIN32  // POSIX only: /dev/full is a Linux device
TEST_F(TobricRunTest, LostOutputExitsWithTwo) {
    const Outcome o = Run({"--input", "5", Program({"IN", "OUT", "HLT"})}, "", "/dev/full");
    EXPECT_EQ(o.status, 2);
    EXPECT_EQ(o.err, "tobric-run: cannot write the output: No space left on device\n");
}

// Standard output redirected into a file and named as the CSV file: the report stays.
TEST_F(TobricRunTest, CsvIntoStandardOutputKeepsTheReport) {
    WriteBytes(folder / "cases", "3 -> 3\n");
    const Outcome o =
        Run({"--cases", folder / "cases", "--csv", "/dev/stdout", Program({"IN", "OUT", "HLT"})});
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_NE(o.out.find("1/1 passed\n"), std::string::npos) << o.out;
    EXPECT_NE(o.out.find("program,case,result"), std::string::npos) << o.out;
}
#endif

TEST_F(TobricRunTest, HelpExitsWithZero) {
    const Outcome help = Run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.starts_with("Usage: tobric-run")) << help.out;
    EXPECT_EQ(help.err, "");
}

}  // namespace
