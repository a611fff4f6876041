// SPDX-License-Identifier: GPL-3.0-or-later
// Program text files: splitting and joining, reading and writing on disk, and the Load and Save
// commands that use them.

#include "machine/program_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "machine/errors.h"
#include "machine/file_system.h"
#include "support/machine_test.h"
#include "support/platform_errors.h"
#include "support/temp_folder.h"

#ifndef _WIN32
#include "support/child_process.h"
#endif

namespace {

namespace fs = std::filesystem;
using tobric::ErrorKind;
using tobric::SystemErrorText;
using tobric_test::ErrorFrom;
using tobric_test::ReadBytes;
using tobric_test::TempFolder;
using tobric_test::WriteBytes;
using Lines = std::vector<std::string>;

// --- Splitting ---------------------------------------------------------------------------------

struct Split {
    // Test output shows a row by its name.
    friend void PrintTo(const Split& row, std::ostream* os) { *os << row.name; }

    const char* name;
    std::string data;
    Lines lines;
};

class SplitProgramTextTest : public ::testing::TestWithParam<Split> {};

TEST_P(SplitProgramTextTest, GivesTheLines) {
    EXPECT_EQ(tobric::SplitProgramText(GetParam().data), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Data, SplitProgramTextTest,
    ::testing::Values(
        Split{"CrLf", "A\r\nB", {"A", "B"}}, Split{"LoneLf", "A\nB", {"A", "B"}},
        Split{"LoneCr", "A\rB", {"A", "B"}}, Split{"LfCrEndsTwoLines", "A\n\rB", {"A", "", "B"}},
        Split{"CrCrEndsTwoLines", "A\r\rB", {"A", "", "B"}},
        Split{"CrLfThenCr", "A\r\n\rB", {"A", "", "B"}},
        Split{"CrLfCrLf", "A\r\n\r\nB", {"A", "", "B"}},
        Split{"FinalCrLfAddsNoLine", "A\r\nB\r\n", {"A", "B"}}, Split{"FinalLoneCr", "A\r", {"A"}},
        Split{"FinalLoneLf", "A\n", {"A"}}, Split{"FinalLfCrAddsOneEmptyLine", "A\n\r", {"A", ""}},
        Split{"TextAfterLastBreak", "A\r\nlast", {"A", "last"}}, Split{"Empty", "", {}},
        Split{"OneBreak", "\r\n", {""}}, Split{"TwoBreaks", "\r\n\r\n", {"", ""}},
        Split{"NulInThirdLine",
              std::string("L1\r\nL2\r\nL3a\0L3b\r\nL4\r\n", 19),
              {"L1", "L2", "L3a"}},
        Split{"NulFirst", std::string("\0IN\r\n", 5), {}},
        Split{"NulRightAfterBreak", std::string("IN\r\n\0OUT", 8), {"IN"}},
        Split{"HighBytesUnchanged", "\x80\xFF\xE9z\r\n\xA0", {"\x80\xFF\xE9z", "\xA0"}},
        Split{"NothingTrimmedOrUpperCased", "  lda 05 \t\r\n", {"  lda 05 \t"}}),
    [](const ::testing::TestParamInfo<Split>& row) { return std::string(row.param.name); });

TEST(JoinProgramText, CrLfAfterEveryLine) {
    EXPECT_EQ(tobric::JoinProgramText({"IN", "", "HLT"}), "IN\r\n\r\nHLT\r\n");
    EXPECT_EQ(tobric::JoinProgramText({}), "");
    EXPECT_EQ(tobric::JoinProgramText({""}), "\r\n");
    EXPECT_EQ(tobric::JoinProgramText({"\xE9t\xE9 "}), "\xE9t\xE9 \r\n");
}

// --- Files on disk -----------------------------------------------------------------------------

class ProgramFileTest : public ::testing::Test {
protected:
    TempFolder folder;
};

// What a save leaves in a new file or over an older one, and what reading it back gives; the
// folder then holds those files and no other.
TEST_F(ProgramFileTest, SavingWritesEachLineWithCrLfAndReadsBackTheSame) {
    std::vector<std::string> names;
    const auto check = [&](const char* name, const char* old, const Lines& lines,
                           const std::string& bytes) {
        SCOPED_TRACE(name);
        names.push_back(std::string(name) + ".txt");
        const std::string path = folder / names.back();
        if (old) WriteBytes(path, old);
        tobric::WriteProgramFile(path, lines);
        EXPECT_EQ(ReadBytes(path), bytes);
        EXPECT_EQ(tobric::ReadProgramFile(path), lines);
    };
    check("each line", nullptr, {"IN", "out", "", "DAT \xF0"}, "IN\r\nout\r\n\r\nDAT \xF0\r\n");
    check("empty store", nullptr, {}, "");
    check("kept as typed", nullptr,
          {"IN", "  sta 10", "", "* comment, kept as typed", "DAT -12", "\x80\xFF"},
          "IN\r\n  sta 10\r\n\r\n* comment, kept as typed\r\nDAT -12\r\n\x80\xFF\r\n");
    check("over a longer file", "a much longer old program text\r\nwith two lines\r\n", {"HLT"},
          "HLT\r\n");
    std::vector<std::string> left;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder.path()))
        left.push_back(entry.path().filename().string());
    std::sort(left.begin(), left.end());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(left, names);
}

// POSIX only: Unix permission bits, symbolic links any user may make, and a check run as an
// ordinary user in a forked child.
#ifndef _WIN32
TEST_F(ProgramFileTest, SavingKeepsThePermissionBits) {
    const std::string path = folder / "prog.txt";
    WriteBytes(path, "old\r\n");
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    tobric::WriteProgramFile(path, {"new"});
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::mask,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(ReadBytes(path), "new\r\n");
}

TEST_F(ProgramFileTest, SavingThroughASymbolicLinkReplacesTheRealFileAndKeepsTheLink) {
    const std::string real = folder / "real.txt";
    const std::string link = folder / "link.txt";
    WriteBytes(real, "old\r\n");
    fs::create_symlink("real.txt", link);
    tobric::WriteProgramFile(link, {"new"});
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fs::read_symlink(link), fs::path("real.txt"));
    EXPECT_EQ(ReadBytes(real), "new\r\n");
}

// The superuser may write to a read-only file: the save runs as an ordinary user.
TEST_F(ProgramFileTest, ReadOnlyFileRefusesWithTheFileCreateErrorAndKeepsItsContents) {
    const std::string path = folder / "locked.txt";
    WriteBytes(path, "old\r\n");
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::permissions(folder.path(), fs::perms::all);
    const std::string expected = "Cannot create file \"" + path + "\". " + std::strerror(EACCES);
    const auto refused = [&] {
        try {
            tobric::WriteProgramFile(path, {"new"});
            return false;
        } catch (const tobric::MachineError& error) {
            return error.kind() == ErrorKind::FileCreate && error.message() == expected;
        }
    };
    EXPECT_EQ(tobric_test::RunAsOrdinaryUser(refused), "");
    EXPECT_EQ(ReadBytes(path), "old\r\n");
}
#endif

// The error names the file and gives the system's reason, to which the report adds a period.
TEST_F(ProgramFileTest, UnusablePathsRefuseWithTheFileErrorAndTheSystemsReason) {
    const auto check = [](const std::string& path, bool save, int code) {
        SCOPED_TRACE(path);
        const tobric::MachineError error = ErrorFrom([&] {
            if (save)
                tobric::WriteProgramFile(path, {"IN"});
            else
                tobric::ReadProgramFile(path);
        });
        EXPECT_EQ(error.kind(), save ? ErrorKind::FileCreate : ErrorKind::FileOpen);
        const std::string expected = (save ? "Cannot create file \"" : "Cannot open file \"") +
                                     path + "\". " + SystemErrorText(code);
        EXPECT_EQ(error.message(), expected);
        EXPECT_EQ(tobric::ReportText(error.message()), expected + ".");
    };
    const std::string sub = folder / "sub";
    fs::create_directory(sub);
    check((folder.path() / "missing" / "prog.txt").string(), true, tobric_test::kNoSuchFolder);
    check(sub, true, tobric_test::kIsAFolder);
    EXPECT_TRUE(fs::is_directory(sub));
    check(folder / "nothing.txt", false, tobric_test::kNoSuchFile);
    check(folder.path().string(), false, tobric_test::kIsAFolder);
}

// A relative name is shown made absolute against the current folder.
TEST_F(ProgramFileTest, ErrorsShowTheFullPathOfARelativeName) {
    const fs::path before = fs::current_path();
    fs::current_path(folder.path());
    const std::string message =
        ErrorFrom([] { tobric::ReadProgramFile("sub/../gone.txt"); }).message();
    const std::string full = tobric::FullPath("gone.txt");
    fs::current_path(before);
    EXPECT_EQ(full, (folder.path() / "gone.txt").string());
    EXPECT_EQ(message,
              "Cannot open file \"" + full + "\". " + SystemErrorText(tobric_test::kNoSuchFile));
}

TEST(SystemErrorText, IsTheSystemsTextWithNoTrailingBlanksControlsOrPeriods) {
    for (int code = 0; code < 140; ++code) {
        const std::string text = tobric::SystemErrorText(code);
#ifndef _WIN32  // Windows has no strerror for its own codes to compare with
        EXPECT_EQ(text, std::strerror(code)) << code;
#endif
        EXPECT_LE(text.size(), 255u);
        EXPECT_GT(static_cast<unsigned char>(text.back()), 32) << code;
        EXPECT_NE(text.back(), '.') << code;
    }
}

// --- The Load and Save commands ----------------------------------------------------------------

class LoadSaveTest : public tobric_test::MachineTest {
protected:
    TempFolder folder;
};

TEST_F(LoadSaveTest, LoadReplacesThePadsAndShowsTheStoreAndRewinds) {
    const std::string path = folder / "prog.txt";
    WriteBytes(path, "IN\r\nOUT\r\nHLT\r\n");
    Start({},
          {.accumulator = 9, .programCounter = 7, .mnemonic = tobric::Mnemonic::Sub, .operand = 4});
    view.openNames.push_back(path);
    machine().Load();
    ASSERT_EQ(store().Count(), 100);
    EXPECT_EQ(store().Get(2), "HLT");
    EXPECT_EQ(store().Get(3), "DAT 00");
    EXPECT_EQ(store().Get(99), "DAT 00");
    EXPECT_EQ(view.calls, (std::vector<std::string>{"AskOpenFileName", "ShowMailboxes"}));
    EXPECT_EQ(view.shownLines, store().Lines());
    EXPECT_EQ(regs().programCounter, 0);
    EXPECT_EQ(regs().accumulator, 0);
    // The rest of the registers are not Load's business.
    EXPECT_EQ(regs().mnemonic, tobric::Mnemonic::Sub);
    EXPECT_EQ(regs().operand, 4);
}

TEST_F(LoadSaveTest, LoadKeepsEveryLineOfALongFileAndPadsAShortOne) {
    const std::string path = folder / "prog.txt";
    for (const Lines& lines : {Lines(120, "SKP"), Lines{}}) {
        WriteBytes(path, tobric::JoinProgramText(lines));
        view.openNames.push_back(path);
        machine().Load();
        EXPECT_EQ(store().Lines(), lines.empty() ? Lines(100, "DAT 00") : lines);
    }
}

// A cancelled Load keeps the store but rewinds; a failed one changes nothing.
TEST_F(LoadSaveTest, CancelledLoadRewindsAndFailedLoadChangesNothing) {
    for (const bool cancel : {true, false}) {
        Start({"IN", "HLT"}, {.accumulator = -3, .programCounter = 5});
        const Lines before = store().Lines();
        if (cancel) {
            machine().Load();
        } else {
            view.openNames.push_back(folder / "nothing.txt");
            EXPECT_EQ(ErrorFrom([&] { machine().Load(); }).kind(), ErrorKind::FileOpen);
        }
        EXPECT_EQ(store().Lines(), before);
        EXPECT_EQ(view.calls, std::vector<std::string>{"AskOpenFileName"});
        EXPECT_EQ(regs().programCounter, cancel ? 0 : 5);
        EXPECT_EQ(regs().accumulator, cancel ? 0 : -3);
    }
}

TEST_F(LoadSaveTest, SaveRightAfterStartWritesOneLineBreak) {
    const std::string path = folder / "start.txt";
    view.saveNames.push_back(path);
    machine().Save();
    EXPECT_EQ(ReadBytes(path), "\r\n");
}

TEST_F(LoadSaveTest, SaveThenLoadGivesTheSameLinesPadded) {
    StoreExactly({"IN", "STA 10", "", "hlt"});
    const std::string path = folder / "prog.txt";
    view.saveNames.push_back(path);
    machine().Save();
    EXPECT_EQ(store().Count(), 4);  // saving changes nothing in the machine
    view.openNames.push_back(path);
    machine().Load();
    Lines expected = {"IN", "STA 10", "", "hlt"};
    expected.resize(100, "DAT 00");
    EXPECT_EQ(store().Lines(), expected);
}

TEST_F(LoadSaveTest, CancelledSaveWritesNothing) {
    LoadProgram({"IN", "HLT"});
    machine().Save();
    EXPECT_EQ(view.calls, std::vector<std::string>{"AskSaveFileName"});
    EXPECT_TRUE(fs::is_empty(folder.path()));
}

}  // namespace
