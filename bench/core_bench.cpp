// SPDX-License-Identifier: GPL-3.0-or-later
// Headless speed of the machine core: steps per second through the real step with a view that
// does nothing, the decoder and the conversion per call, and loading a large program file.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "machine/decoder.h"
#include "machine/execution_timer.h"
#include "machine/machine.h"
#include "machine/parse_integer.h"
#include "machine/program_file.h"
#include "support/recording_view.h"

namespace {

using namespace tobric;

void RunLoop(benchmark::State& state, const std::vector<std::string>& program) {
    tobric_test::RecordingView view;
    view.recording = false;
    ManualTimer timer;
    Machine machine(view, timer);
    machine.ReplaceProgram(program);
    machine.Run();
    for (auto _ : state) {
        machine.TimerTimer();
        if (!timer.Enabled()) machine.Run();
    }
    state.SetItemsProcessed(state.iterations());
}

// Counts up in the accumulator for ever: six instructions, one of them a store.
void BM_StepLoopWithStore(benchmark::State& state) {
    RunLoop(state, {"LDA 10", "ADD 11", "STA 10", "SKN", "JMP 00", "HLT", "DAT 00", "DAT 00",
                    "DAT 00", "DAT 00", "DAT 0", "DAT 1"});
}
BENCHMARK(BM_StepLoopWithStore);

// The same pace without touching the store: skips and jumps around arithmetic.
void BM_StepLoopWithoutStore(benchmark::State& state) {
    RunLoop(state, {"LDA 10", "ADD 11", "SUB 11", "SKN", "JMP 00", "HLT", "DAT 00", "DAT 00",
                    "DAT 00", "DAT 00", "DAT 5", "DAT 1"});
}
BENCHMARK(BM_StepLoopWithoutStore);

void BM_ParseInteger(benchmark::State& state) {
    const std::string texts[] = {"05", "-2147483648", "$7FFFFFFF", "  12"};
    std::size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(ParseInteger(texts[i++ & 3]));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ParseInteger);

void BM_DecodeLine(benchmark::State& state) {
    const std::string lines[] = {"LDA 05", "skz", "ADD 07 total", "XYZ 09"};
    Mnemonic mnemonic = Mnemonic::None;
    std::int32_t operand = 0;
    std::size_t i = 0;
    for (auto _ : state) {
        DecodeLine(lines[i++ & 3], mnemonic, operand);
        benchmark::DoNotOptimize(operand);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DecodeLine);

// Load of a 10 MB program file of ordinary lines, CR LF ended.
void BM_LoadTenMegabytes(benchmark::State& state) {
    const auto path = std::filesystem::temp_directory_path() / "tobric-bench-load.txt";
    {
        std::ofstream file(path, std::ios::binary);
        const std::string lines[] = {"LDA 05\r\n", "ADD 07 running total\r\n", "DAT 123456\r\n",
                                     "* a comment line of moderate length\r\n"};
        std::size_t written = 0;
        for (std::size_t i = 0; written < 10'000'000; ++i) {
            file << lines[i & 3];
            written += lines[i & 3].size();
        }
    }
    const auto size = static_cast<std::int64_t>(std::filesystem::file_size(path));
    for (auto _ : state) benchmark::DoNotOptimize(ReadProgramFile(path.string()));
    state.SetBytesProcessed(state.iterations() * size);
    std::filesystem::remove(path);
}
BENCHMARK(BM_LoadTenMegabytes)->Unit(benchmark::kMillisecond);

}  // namespace
