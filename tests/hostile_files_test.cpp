// SPDX-License-Identifier: GPL-3.0-or-later
// Whatever a student hands in, Load and Save must end in the named error or in a usable store,
// never in a crash, a hang or a destroyed file.

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

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
    RecordingView view;
    tobric_test::TestTimer timer;
    AnsweringMachine machine(view, timer);
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

    RecordingView view;
    tobric_test::TestTimer timer;
    AnsweringMachine machine(view, timer);
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
    RecordingView view;
    tobric_test::TestTimer timer;
    AnsweringMachine machine(view, timer);
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
TEST_F(HostileFilesTest, UnreadableFileAndFolderRefuseToLoad) {
    WriteBytes(folder / "secret.txt", "HLT\r\n");
    ::chmod((folder / "secret.txt").c_str(), 0);
    const std::string secret = folder / "secret.txt";
    const std::string directory = folder.path().string();
    const auto refused = [&] {
        for (const std::string& path : {secret, directory}) {
            try {
                tobric::ReadProgramFile(path);
                return false;
            } catch (const tobric::MachineError& error) {
                if (error.kind() != ErrorKind::FileOpen) return false;
                if (error.message().find("\"" + path + "\"") == std::string::npos) return false;
            }
        }
        return true;
    };
    EXPECT_EQ(RunAsOrdinaryUser(refused), "");
}

TEST_F(HostileFilesTest, FullDiskReportsTheWriteErrorAndKeepsTheOldFile) {
    WriteBytes(folder / "program.txt", "OLD\r\n");
    const std::string target = folder / "program.txt";
    ::chmod(target.c_str(), 0666);
    // A file-size limit makes the write fall short, as a full disk does.
    const auto fallsShort = [&] {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return false;
        try {
            tobric::WriteProgramFile(target, std::vector<std::string>(10'000, "DAT 12345"));
            return false;
        } catch (const tobric::MachineError& error) {
            return error.kind() == ErrorKind::Write && error.message() == "Stream write error";
        }
    };
    EXPECT_EQ(RunAsOrdinaryUser(fallsShort), "");
    EXPECT_EQ(ReadBytes(target), "OLD\r\n");
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.path()))
        ++files;
    EXPECT_EQ(files, 1);  // the unfinished copy is gone
}

// A folder that takes no new file leaves writing in place: a full disk must keep the old text.
TEST_F(HostileFilesTest, FullDiskDuringAnInPlaceSaveKeepsTheOldFile) {
    const std::string target = folder / "program.txt";
    WriteBytes(target, "OLD\r\n");
    ::chmod(target.c_str(), 0666);
    ::chmod(folder.path().c_str(), 0555);
    const auto fallsShort = [&] {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return false;
        try {
            tobric::WriteProgramFile(target, std::vector<std::string>(10'000, "DAT 12345"));
            return false;
        } catch (const tobric::MachineError& error) {
            return error.kind() == ErrorKind::Write;
        }
    };
    EXPECT_EQ(RunAsOrdinaryUser(fallsShort), "");
    ::chmod(folder.path().c_str(), 0777);
    EXPECT_EQ(ReadBytes(target), "OLD\r\n");
}

// A pipe would keep Load waiting for a writer for ever.
TEST_F(HostileFilesTest, PipeRefusesToLoadAtOnce) {
    const std::string pipe = folder / "pipe.txt";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0666), 0);
    const auto refused = [&] {
        try {
            tobric::ReadProgramFile(pipe);
            return false;
        } catch (const tobric::MachineError& error) {
            return error.kind() == ErrorKind::FileOpen &&
                   error.message() == "Cannot open file \"" + pipe + "\". Not an ordinary file";
        }
    };
    EXPECT_EQ(RunAsOrdinaryUser(refused), "");
}
#endif

}  // namespace
}  // namespace tobric_test
