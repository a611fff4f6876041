// SPDX-License-Identifier: GPL-3.0-or-later
// Whatever a student hands in, Load and Save must end in the named error or in a usable store,
// never in a crash, a hang or a destroyed file.

#include <gtest/gtest.h>

#include <filesystem>
#include <ios>
#include <iterator>
#include <random>
#include <utility>

#include "machine/program_file.h"
#include "support/machine_test.h"
#include "support/temp_folder.h"

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include "support/child_process.h"
#endif

namespace tobric_test {
namespace {

using tobric::ErrorKind;

class HostileFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::permissions(folder.path(), std::filesystem::perms::all);
    }

    TempFolder folder;
    RecordingView view;
    tobric_test::TestTimer timer;
    AnsweringMachine machine{view, timer};
};

TEST_F(HostileFilesTest, BinaryJunkLoadsAsLinesWithoutBreaks) {
    std::mt19937 random(20261208);
    std::string junk(1 << 20, '\0');
    for (char& byte : junk)
        byte = static_cast<char>(random() % 255 + 1);  // no NUL: all of it counts
    WriteBytes(folder / "junk.bin", junk);
    const auto lines = tobric::ReadProgramFile(folder / "junk.bin");
    std::size_t bytes = 0;
    for (const std::string& line : lines) {
        EXPECT_EQ(line.find_first_of(std::string("\r\n\0", 3)), std::string::npos);
        bytes += line.size();
    }
    std::size_t breaks = 0;
    for (char byte : junk) breaks += byte == '\r' || byte == '\n';
    EXPECT_EQ(bytes + breaks, junk.size());

    // The machine runs into the junk and stops with a reported error, or halts, or keeps going.
    machine.ReplaceProgram(lines);
    machine.Run();
    try {
        DeliverTicks(machine, timer, 2000);
    } catch (const tobric::MachineError&) {
    }
}

TEST_F(HostileFilesTest, HundredMegabytesAndAMillionLines) {
    std::string text;
    text.reserve(100'000'000);
    const std::string line = std::string(96, 'x') + "\r\n";  // 98 bytes: just over a million lines
    while (text.size() + line.size() <= 100'000'000) text += line;
    text += "LAST";
    WriteBytes(folder / "big.txt", text);
    text = {};

    view.openNames = {folder / "big.txt"};
    machine.Load();
    const tobric::Store& store = machine.store();
    ASSERT_EQ(store.Count(), 1'020'409);
    EXPECT_EQ(store.Get(0).size(), 96u);
    EXPECT_EQ(store.Get(store.Count() - 1), "LAST");

    // Saved and loaded again, line for line.
    view.saveNames = {folder / "again.txt"};
    machine.Save();
    EXPECT_EQ(std::filesystem::file_size(folder / "again.txt"), 1'020'408u * 98 + 6);
    EXPECT_EQ(tobric::ReadProgramFile(folder / "again.txt"), store.Lines());
}

TEST_F(HostileFilesTest, SingleTenMegabyteLine) {
    const std::string line = "DAT " + std::string(10'000'000, '7');
    WriteBytes(folder / "long.txt", line);
    view.openNames = {folder / "long.txt"};
    machine.Load();
    EXPECT_EQ(machine.store().Get(0), line);
    // Obeyed, it reads as DAT 77; as a number it is too large.
    machine.Step();
    EXPECT_EQ(machine.registers().operand, 77);
    EXPECT_EQ(ErrorFrom([&] { machine.MailboxValue(0); }).kind(), ErrorKind::Conversion);
}

// Read from disk byte for byte on every platform: a Ctrl-Z ends nothing and CR CR LF is two
// breaks, as a text-mode read on Windows would not have it.
TEST_F(HostileFilesTest, NulEndsTheDataAndEveryOtherByteStays) {
    std::string bytes = "LDA 05\r\r\n\x1a\x80\xff\xe9t\xe9\r\nHLT";
    bytes += '\0';
    bytes += "IGNORED\r\nALSO IGNORED";
    WriteBytes(folder / "zero-byte.txt", bytes);
    const auto lines = tobric::ReadProgramFile(folder / "zero-byte.txt");
    EXPECT_EQ(lines, (std::vector<std::string>{"LDA 05", "", "\x1a\x80\xff\xe9t\xe9", "HLT"}));
    tobric::WriteProgramFile(folder / "copy.txt", lines);
    EXPECT_EQ(ReadBytes(folder / "copy.txt"), "LDA 05\r\n\r\n\x1a\x80\xff\xe9t\xe9\r\nHLT\r\n");
}

// POSIX only: these need file modes that bind an ordinary user, resource limits and pipes.
#ifndef _WIN32
// Whether writing ten thousand lines to `target` fails with the write error when a file-size
// limit makes the write fall short, as a full disk does: "" when it does.
std::string FullDiskWriteFails(const std::string& target) {
    return RunAsOrdinaryUser([&] {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return false;
        try {
            tobric::WriteProgramFile(target, std::vector<std::string>(10'000, "DAT 12345"));
            return false;
        } catch (const tobric::MachineError& error) {
            return error.kind() == ErrorKind::Write && error.message() == "Stream write error";
        }
    });
}

// Refused at once, naming the path: a pipe would keep Load waiting for a writer for ever.
TEST_F(HostileFilesTest, UnreadableFileFolderAndPipeRefuseToLoad) {
    const std::string secret = folder / "secret.txt";
    WriteBytes(secret, "HLT\r\n");
    ::chmod(secret.c_str(), 0);
    const std::string pipe = folder / "pipe.txt";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0666), 0);
    // Each path with the whole message when it is known.
    const std::pair<std::string, std::string> refusals[] = {
        {secret, ""},
        {folder.path().string(), ""},
        {pipe, "Cannot open file \"" + pipe + "\". Not an ordinary file"}};
    const auto refused = [&] {
        for (const auto& [path, whole] : refusals) {
            try {
                tobric::ReadProgramFile(path);
                return false;
            } catch (const tobric::MachineError& error) {
                if (error.kind() != ErrorKind::FileOpen) return false;
                if (error.message().find("\"" + path + "\"") == std::string::npos) return false;
                if (!whole.empty() && error.message() != whole) return false;
            }
        }
        return true;
    };
    EXPECT_EQ(RunAsOrdinaryUser(refused), "");
}

// Through a new copy, or in place where the folder takes no new file: either way the old text
// stays and no unfinished copy is left.
TEST_F(HostileFilesTest, FullDiskReportsTheWriteErrorAndKeepsTheOldFile) {
    const std::string target = folder / "program.txt";
    for (const ::mode_t folderMode : {0777u, 0555u}) {
        WriteBytes(target, "OLD\r\n");
        ::chmod(target.c_str(), 0666);
        ::chmod(folder.path().c_str(), folderMode);
        EXPECT_EQ(FullDiskWriteFails(target), "") << "folder mode " << std::oct << folderMode;
        ::chmod(folder.path().c_str(), 0777);
        EXPECT_EQ(ReadBytes(target), "OLD\r\n");
        using Files = std::filesystem::directory_iterator;
        EXPECT_EQ(std::distance(Files(folder.path()), Files()), 1);
    }
}

#endif

}  // namespace
}  // namespace tobric_test
