// SPDX-License-Identifier: GPL-3.0-or-later
// Program files on raw bytes: splitting the data into lines, joining lines back into file text,
// and a real save and load through files in a private temporary folder, both directly and
// through the machine's Save and Load commands.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "machine/errors.h"
#include "machine/execution_timer.h"
#include "machine/machine.h"
#include "machine/program_file.h"
#include "machine/store.h"
#include "reference_rules.h"
#include "support/answering_machine.h"
#include "support/recording_view.h"
#include "support/store_exactly.h"

using tobric_fuzz::Quoted;

namespace {

// One folder per fuzzing process, removed when the process ends normally. The path is never
// destroyed, so the exit handler can still use it.
const std::filesystem::path& Folder() {
    static const std::filesystem::path* const kFolder = [] {
        auto* path =
            new std::filesystem::path(std::filesystem::temp_directory_path() /
                                      ("tobric-fuzz-program-file-" + std::to_string(::getpid())));
        std::filesystem::remove_all(*path);
        std::filesystem::create_directories(*path);
        return path;
    }();
    static const bool kCleanupRegistered = std::atexit([] {
                                               std::error_code ignored;
                                               std::filesystem::remove_all(*kFolder, ignored);
                                           }) == 0;
    (void)kCleanupRegistered;
    return *kFolder;
}

std::string FileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    FUZZ_CHECK(in.good(), "cannot read back " << path.string());
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 16384) return 0;
    const std::string_view bytes = tobric_fuzz::AsText(data, size);

    // Splitting.
    const std::vector<std::string> lines = tobric::SplitProgramText(bytes);
    const std::vector<std::string> expected = tobric_fuzz::ReferenceSplit(bytes);
    FUZZ_CHECK(lines == expected, "SplitProgramText(" << Quoted(bytes) << ") gave " << Quoted(lines)
                                                      << ", expected " << Quoted(expected));
    std::size_t joinedSize = 0;
    std::string concatenated;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        FUZZ_CHECK(lines[i].find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos,
                   "line " << i << " " << Quoted(lines[i]) << " holds a break or a NUL");
        joinedSize += lines[i].size() + 2;
        concatenated += lines[i];
        concatenated += "\r\n";
    }

    // Joining, and splitting the joined text again.
    const std::string joined = tobric::JoinProgramText(lines);
    FUZZ_CHECK(joined.size() == joinedSize,
               "JoinProgramText gave " << joined.size() << " bytes, expected " << joinedSize);
    FUZZ_CHECK(joined == concatenated,
               "JoinProgramText gave " << Quoted(joined) << ", expected " << Quoted(concatenated));
    const std::vector<std::string> again = tobric::SplitProgramText(joined);
    FUZZ_CHECK(again == lines,
               "join then split gave " << Quoted(again) << ", expected " << Quoted(lines));

    // A real file written and read back.
    const std::filesystem::path direct = Folder() / "direct.txt";
    tobric::WriteProgramFile(direct.string(), lines);
    const std::string written = FileBytes(direct);
    FUZZ_CHECK(written == concatenated,
               "the file holds " << Quoted(written) << ", expected " << Quoted(concatenated));
    const std::vector<std::string> read = tobric::ReadProgramFile(direct.string());
    FUZZ_CHECK(read == lines,
               "ReadProgramFile gave " << Quoted(read) << ", expected " << Quoted(lines));

    // Save from one machine, Load into another: the same lines, padded up to 100 with "DAT 00".
    // Nothing but the file choice and, for Load, the display rebuild may reach the view.
    const std::string savedPath = (Folder() / "saved.txt").string();
    tobric_test::RecordingView saveView;
    saveView.saveNames = {savedPath};
    tobric::ManualTimer saveTimer;
    tobric_test::AnsweringMachine saving(saveView, saveTimer);
    tobric_test::StoreExactly(saving, lines);
    saveView.calls.clear();
    saving.Save();
    FUZZ_CHECK(saving.store().Lines() == lines,
               "Save changed the store to " << Quoted(saving.store().Lines()));
    FUZZ_CHECK(saveView.calls == std::vector<std::string>{"AskSaveFileName"},
               "Save made the view calls " << Quoted(saveView.calls));

    std::vector<std::string> padded = lines;
    while (padded.size() < 100) padded.emplace_back("DAT 00");
    tobric::Store padStore;
    padStore.ReplaceAll(lines);
    tobric::PadToHundred(padStore);
    FUZZ_CHECK(padStore.Lines() == padded,
               "PadToHundred gave " << Quoted(padStore.Lines()) << ", expected " << Quoted(padded));

    tobric_test::RecordingView loadView;
    loadView.openNames = {savedPath};
    tobric::ManualTimer loadTimer;
    tobric_test::AnsweringMachine loading(loadView, loadTimer,
                                          {.accumulator = -3, .programCounter = 7});
    loading.Load();
    FUZZ_CHECK(loading.store().Lines() == padded, "saved " << Quoted(lines) << ", loaded "
                                                           << Quoted(loading.store().Lines())
                                                           << ", expected " << Quoted(padded));
    FUZZ_CHECK(loadView.calls == (std::vector<std::string>{"AskOpenFileName", "ShowMailboxes"}) &&
                   loadView.shownLines == padded,
               "Load made the view calls " << Quoted(loadView.calls) << ", the display last with "
                                           << Quoted(loadView.shownLines));
    FUZZ_CHECK(loading.registers().programCounter == 0 && loading.registers().accumulator == 0,
               "Load left the program counter at " << loading.registers().programCounter
                                                   << " and the accumulator at "
                                                   << loading.registers().accumulator);

    // Every save leaves exactly its file behind, no temporary ones.
    int entries = 0;
    for (const auto& entry : std::filesystem::directory_iterator(Folder())) {
        const std::string name = entry.path().filename().string();
        FUZZ_CHECK(name == "direct.txt" || name == "saved.txt",
                   "a save left " << Quoted(name) << " in the folder");
        ++entries;
    }
    FUZZ_CHECK(entries == 2, "the folder holds " << entries << " files, expected 2");
    return 0;
}
