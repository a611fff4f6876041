// SPDX-License-Identifier: GPL-3.0-or-later
// Test-case files, grading programs against them, the mark-book CSV and the program checks.

#include "tools/grading.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <tuple>

#include "support/temp_folder.h"
#include "tools/grade_programs.h"
#include "tools/program_check.h"
#include "tools/test_cases.h"

namespace tobric_test {
namespace {

using tobric::CasesFileError;
using tobric::ParseTestCases;

TEST(TestCasesFile, ReadsAnswersExpectedNumbersAndNames) {
    const tobric::CasesFile file = tobric::ParseCasesFile(
        "\xEF\xBB\xBF# larger of two, the byte-order mark as Notepad writes it\r\n"
        "\n"
        "3,4 -> 4\n"
        "  9 , -2 ->  9   # first larger\n"
        "-> 1,1,2,3,5\n"
        "7 ->   # nothing comes out\n"
        "  # an indented comment\n");
    const std::vector<tobric::TestCase>& cases = file.cases;
    ASSERT_EQ(cases.size(), 4u);
    EXPECT_EQ(cases[0].lineNumber, 3);
    EXPECT_EQ(cases[0].answers, (std::vector<std::string>{"3", "4"}));
    EXPECT_EQ(cases[0].expected, (std::vector<std::int32_t>{4}));
    EXPECT_EQ(cases[0].name, "");
    EXPECT_EQ(cases[1].answers, (std::vector<std::string>{"9", "-2"}));
    EXPECT_EQ(cases[1].name, "first larger");
    EXPECT_TRUE(cases[2].answers.empty());
    EXPECT_EQ(cases[2].expected, (std::vector<std::int32_t>{1, 1, 2, 3, 5}));
    EXPECT_TRUE(cases[3].expected.empty());
    EXPECT_EQ(cases[3].name, "nothing comes out");
    // A file without options means what it always meant: a point a case, every case shown, the
    // run's step limit, full feedback.
    EXPECT_EQ(file.feedback, tobric::Feedback::Full);
    for (const tobric::TestCase& testCase : cases)
        EXPECT_EQ(std::tie(testCase.points, testCase.hidden, testCase.maxSteps),
                  std::make_tuple(1, false, std::int64_t{-1}))
            << testCase.lineNumber;
}

TEST(TestCasesFile, OptionsSetPointsHiddenStepsAndFeedback) {
    using tobric::Feedback;
    struct Row {
        const char* text;
        int points;
        bool hidden;
        std::int64_t maxSteps;
        Feedback feedback;
    };
    const Row rows[] = {
        {"3,4 -> 4  [points 2]\n", 2, false, -1, Feedback::Full},
        {"5,5 -> 5  [hidden, points 3, steps 500]   # equal\n", 3, true, 500, Feedback::Full},
        {"1 -> 1 [ steps 0 ,\tpoints 0 ]\n", 0, false, 0, Feedback::Full},
        {"1 -> 1 [points 1000000]\nfeedback: none\n", 1000000, false, -1, Feedback::None},
        {" feedback :\tactual  # what came out, not what should have\r\n-> 7 [hidden]\n", 1, true,
         -1, Feedback::Actual},
        {"-> [steps 9223372036854775807]\nfeedback: full\n", 1, false, INT64_MAX, Feedback::Full},
    };
    for (const Row& row : rows) {
        const tobric::CasesFile file = tobric::ParseCasesFile(row.text);
        ASSERT_EQ(file.cases.size(), 1u) << row.text;
        const tobric::TestCase& testCase = file.cases[0];
        EXPECT_EQ(std::tie(testCase.points, testCase.hidden, testCase.maxSteps, file.feedback),
                  std::tie(row.points, row.hidden, row.maxSteps, row.feedback))
            << row.text;
    }
    // Brackets and colons among the IN answers are answers, as they always were, and every
    // answer stays a text for the IN prompt.
    const auto cases = ParseTestCases("[1],a:b -> 2 [points 3]  # name [x]\nabc, $10 -> 16\n");
    EXPECT_EQ(cases[0].answers, (std::vector<std::string>{"[1]", "a:b"}));
    EXPECT_EQ(cases[0].expected, std::vector<std::int32_t>{2});
    EXPECT_EQ(cases[0].name, "name [x]");
    EXPECT_EQ(cases[1].answers, (std::vector<std::string>{"abc", "$10"}));
}

TEST(TestCasesFile, MalformedLinesNameTheirLineNumber) {
    const std::pair<const char*, const char*> bad[] = {
        {"3,4 -> 4\n3 4\n", "line 2: no \"->\""},
        {"1 -> 2 -> 3\n", "line 1: more than one \"->\""},
        {"\n\n1,,2 -> 3\n", "line 3: empty item among the IN answers"},
        {"1 -> 2,\n", "line 1: empty item among the OUT numbers"},
        {"1 -> two\n", "line 1: 'two' is not a whole number"},
        {"3 -> 3 [points]\n", "line 1: points needs a whole number from 0 to 1000000, not ''"},
        {"3 -> 3 [points -1]\n", "line 1: points needs a whole number"},
        {"3 -> 3\n3 -> 3 [points 1000001]\n", "line 2: points needs a whole number"},
        {"3 -> 3 [points 2.5]\n", "line 1: points needs a whole number"},
        {"3 -> 3 [points $10]\n", "line 1: points needs a whole number"},
        {"3 -> 3 [steps ten]\n", "line 1: steps needs a whole number of 0 or more, not 'ten'"},
        {"3 -> 3 [steps 9223372036854775808]\n", "line 1: steps needs a whole number"},
        {"3 -> 3 [hidden 1]\n", "line 1: hidden takes no value"},
        {"3 -> 3 [hidden, points 2, hidden]\n", "line 1: hidden is given twice"},
        {"3 -> 3 [weight 2]\n", "line 1: unknown case option 'weight'"},
        {"3 -> 3 [Hidden]\n", "line 1: unknown case option 'Hidden'"},
        {"3 -> 3 [hidden] 4\n", "line 1: the options in [ ] must end the case"},
        {"3 -> 3 [hidden\n", "line 1: the options in [ ] must end the case"},
        {"3 -> 3 [ ]\n", "line 1: empty options"},
        {"3 -> 3 [hidden,]\n", "line 1: empty item among the options"},
        {"3 -> 3\nfeedback: some\n", "line 2: feedback must be full, actual or none, not 'some'"},
        {"feedback:\n", "line 1: feedback must be full, actual or none, not ''"},
        {"feedback: none\n3 -> 3\nfeedback: full\n",
         "line 3: feedback is given twice (first on "
         "line 1)"},
        {"points: 3\n", "line 1: unknown file option 'points'"},
        {"3:4 4\n", "line 1: no \"->\""},
    };
    for (const auto& [text, start] : bad) {
        try {
            ParseTestCases(text);
            ADD_FAILURE() << "accepted: " << text;
        } catch (const CasesFileError& error) {
            EXPECT_TRUE(std::string(error.what()).starts_with(start)) << error.what();
        }
    }
}

class GradingTest : public ::testing::Test {
protected:
    std::string Program(const std::string& name, const std::string& text) {
        WriteBytes(folder / name, text);
        return folder / name;
    }

    TempFolder folder;
    const std::vector<tobric::TestCase> cases =
        ParseTestCases("3,4 -> 4 # second\n9,2 -> 9 # first\n5,5 -> 5\n");
};

TEST_F(GradingTest, PassingFailingErroringAndEndlessPrograms) {
    const std::string larger =
        Program("larger.txt",
                "IN\nSTA 20\nIN\nSTA 21\nSUB 20\nSKN\nJMP 10\nLDA 20\nOUT\nHLT\n"
                "LDA 21\nOUT\nHLT\n");
    const std::string adds = Program("adds.txt", "IN\nSTA 20\nIN\nADD 20\nOUT\nHLT\n");
    const std::string broken = Program("broken.txt", "IN\nLDA 5X\nHLT\n");
    const std::string endless = Program("endless.txt", "IN\nIN\nOUT\nJMP 02\n");
    const std::string greedy = Program("greedy.txt", "IN\nIN\nIN\nOUT\nHLT\n");
    const auto grades = tobric::GradePrograms(
        {larger, adds, broken, endless, greedy, folder / "missing.txt"}, cases, 500);
    ASSERT_EQ(grades.size(), 6u);
    EXPECT_EQ(grades[0].program, larger);  // the programs' order, whatever ran first
    EXPECT_EQ(grades[0].Passed(), 3);
    EXPECT_EQ(grades[1].Passed(), 0);
    EXPECT_EQ(grades[1].cases[0].actual, (std::vector<std::int32_t>{7}));
    EXPECT_EQ(tobric::ResultText(grades[1].cases[0]), "wrong output");
    EXPECT_EQ(tobric::ResultText(grades[2].cases[0]), "error");
    EXPECT_EQ(grades[2].cases[0].error, "'5X' is not a valid integer value.");
    EXPECT_EQ(tobric::ResultText(grades[3].cases[0]), "step limit");
    EXPECT_EQ(grades[3].cases[0].steps, 500);
    EXPECT_EQ(tobric::ResultText(grades[4].cases[0]), "no input left");
    EXPECT_FALSE(grades[5].loaded);
    EXPECT_EQ(grades[5].Passed(), 0);

    std::ostringstream report;
    tobric::WriteText(report, grades, {cases}, 500);
    const std::string text = report.str();
    EXPECT_NE(text.find(larger + ": 3/3 passed\n"), std::string::npos);
    EXPECT_NE(text.find(adds + ": 0/3 passed\n  line 1 (second): expected 4, got 7\n"),
              std::string::npos);
    EXPECT_NE(text.find("expected 4, failed: '5X' is not a valid integer value."),
              std::string::npos);
    EXPECT_NE(text.find("still running after 500 steps (step limit)"), std::string::npos);
    EXPECT_NE(text.find("asked for more input than the case gives"), std::string::npos);
    EXPECT_NE(text.find("cannot load: Cannot open file"), std::string::npos);

    // The expected numbers and then no HLT: the run must end as a program should, too.
    const std::tuple<const char*, const char*, const char*> unfinished[] = {
        {"JMP 12", "step limit", "still running after 500 steps (step limit)"},
        {"LDA 5X", "error", "failed: '5X' is not a valid integer value."},
        {"IN", "no input left", "asked for more input than the case gives"},
    };
    for (const auto& [last, result, reason] : unfinished) {
        const std::string program =
            Program("unfinished.txt",
                    "IN\nSTA 20\nIN\nSTA 21\nSUB 20\nSKN\nJMP 10\nLDA 20\nOUT\nJMP 12\n"
                    "LDA 21\nOUT\n" +
                        std::string(last) + "\n");
        const auto unfinishedGrades = tobric::GradePrograms({program}, cases, 500);
        EXPECT_EQ(unfinishedGrades[0].Passed(), 0) << last;
        EXPECT_EQ(unfinishedGrades[0].cases[0].actual, std::vector<std::int32_t>{4}) << last;
        EXPECT_EQ(tobric::ResultText(unfinishedGrades[0].cases[0]), result) << last;
        std::ostringstream unfinishedReport;
        tobric::WriteText(unfinishedReport, unfinishedGrades, {cases}, 500);
        EXPECT_NE(unfinishedReport.str().find("  line 1 (second): expected 4, " +
                                              std::string(reason) + " (output so far 4)\n"),
                  std::string::npos)
            << unfinishedReport.str();
    }
}

TEST_F(GradingTest, EveryCaseStartsFromAFreshlyLoadedProgram) {
    // The program keeps a running total in mailbox 20; a carried-over store would add it up.
    const std::string total = Program("total.txt", "IN\nADD 20\nSTA 20\nIN\nADD 20\nOUT\nHLT\n");
    const auto grades = tobric::GradePrograms({total}, ParseTestCases("1,2 -> 3\n1,2 -> 3\n"), 100);
    EXPECT_EQ(grades[0].Passed(), 2);
}

TEST_F(GradingTest, CsvHasOneRowPerProgramAndCase) {
    const std::string adds = Program("a,b.txt", "IN\nSTA 20\nIN\nADD 20\nOUT\nHLT\n");
    const auto grades = tobric::GradePrograms({adds}, cases, 100);
    std::ostringstream csv;
    tobric::WriteCsv(csv, grades, {cases}, 100);
    std::istringstream rows(csv.str());
    std::string header, first;
    std::getline(rows, header);
    std::getline(rows, first);
    EXPECT_EQ(header, "program,case,result,expected,actual,steps,error,points,score,hidden");
    EXPECT_EQ(first, "\"" + adds + "\",second,wrong output,4,7,6,,1,0,false");
    int count = 0;
    for (std::string row; std::getline(rows, row);) ++count;
    EXPECT_EQ(count, 2);

    // A quote inside a field is doubled, the field quoted.
    const auto named = ParseTestCases("3,4 -> 7 # \"sum\" of two\n");
    std::ostringstream quoted;
    tobric::WriteCsv(quoted, tobric::GradePrograms({adds}, named, 100), {named}, 100);
    EXPECT_EQ(quoted.str(),
              header + "\n\"" + adds + "\",\"\"\"sum\"\" of two\",pass,7,7,6,,1,1,false\n");
}

std::vector<std::string> Messages(const std::vector<std::string>& lines) {
    std::vector<std::string> messages;
    for (const tobric::Finding& finding : tobric::CheckProgram(lines))
        messages.push_back(
            (finding.mailbox < 0 ? std::string("--") : std::to_string(finding.mailbox)) + ": " +
            finding.message);
    return messages;
}

// Each finding as the mailbox (-- for the whole program) and what is wrong there.
TEST(ProgramCheck, NamesEachKindOfSlipByItsMailbox) {
    using Lines = std::vector<std::string>;
    Lines longProgram(120, "DAT 00");
    longProgram[0] = "JMP 99";  // the last mailbox follows a long program
    longProgram[1] = "HLT";
    Lines shortProgram(longProgram.begin(), longProgram.begin() + 50);
    shortProgram[0] = "LDA 100";  // reads as LDA 10: only the digit warning
    const std::pair<Lines, Lines> rows[] = {
        {{"* adds", "IN", "STA 20", "IN", "ADD 20", "OUT", "HLT", "DAT 1234"}, {}},
        {{"IN", "", "PRINT", "LDA 123", "ADD 07 total", "JMP -1", "STA", "DAT", "DAT 12 3",
          "lda 5x"},
         {"1: empty line: the machine stops here with an error",
          "2: 'PRINT' names no instruction: the machine repeats the previous instruction, IN",
          "3: the operand 123 has 3 digits: only the first two are read, so this is LDA 12",
          "4: text after the operand is not read: 'total'",
          "5: JMP -1 names mailbox 65535, beyond the last mailbox 99",
          "6: STA without an operand: the machine stops here with an error",
          "7: DAT without a value: the machine stops here with an error",
          "8: the value '12 3' is no number: LDA, ADD or SUB of this mailbox stops with an error",
          "9: the operand '5X' is no number: the machine stops here with an error",
          "--: no HLT anywhere: the program never stops by itself"}},
        {{"\xEF\xBB\xBFHLT"},
         {"0: starts with a UTF-8 byte-order mark: save the file without it",
          "0: '\xEF\xBB\xBFHLT' names no instruction: the machine reads it as an operand only",
          "--: no HLT anywhere: the program never stops by itself"}},
        {longProgram, {}},
        {shortProgram,
         {"0: the operand 100 has 3 digits: only the first two are read, so this is LDA 10"}},
    };
    for (const auto& [lines, expected] : rows) EXPECT_EQ(Messages(lines), expected) << lines[0];
}

}  // namespace
}  // namespace tobric_test
