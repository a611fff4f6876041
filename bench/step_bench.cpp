// SPDX-License-Identifier: GPL-3.0-or-later
// The headless step against the fastest this machine can go: beside each run of ours, a plain
// interpreter of the same machine over a pre-decoded program (an array of opcode and operand, an
// int accumulator) obeys the same steps, and the counter "of_reference" is our speed divided by
// its speed, both in CPU time of the same run.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tools/grading.h"
#include "tools/headless_run.h"

namespace {

using namespace tobric;

// ---- The reference: a pre-decoded machine with nothing but the arithmetic ----

enum class Op : std::uint8_t { In, Out, Lda, Sta, Add, Sub, Jmp, Skp, Skn, Skz, Hlt, Dat };

struct Cell {
    Op op;
    std::int32_t operand;  // the address, or the number a DAT holds
};

struct ReferenceResult {
    std::int64_t steps = 0;
    std::vector<std::int32_t> outputs;
};

ReferenceResult RunReference(std::vector<Cell> memory, const std::vector<std::int32_t>& answers,
                             std::int64_t maxSteps) {
    ReferenceResult result;
    memory.resize(100, Cell{Op::Dat, 0});
    std::int32_t acc = 0;
    std::uint16_t pc = 0;
    std::size_t nextAnswer = 0;
    const auto wrap = [](std::uint32_t v) { return static_cast<std::int32_t>(v); };
    const auto u = [](std::int32_t v) { return static_cast<std::uint32_t>(v); };
    for (; result.steps < maxSteps; ++result.steps) {
        if (pc >= memory.size()) break;
        const Cell cell = memory[pc];
        const std::uint16_t address = static_cast<std::uint16_t>(cell.operand);
        const bool readsOrWrites =
            cell.op == Op::Lda || cell.op == Op::Sta || cell.op == Op::Add || cell.op == Op::Sub;
        if (readsOrWrites && address >= memory.size()) break;
        switch (cell.op) {
            case Op::In:
                if (nextAnswer >= answers.size()) return result;
                acc = answers[nextAnswer++];
                break;
            case Op::Out: result.outputs.push_back(acc); break;
            case Op::Lda: acc = memory[address].operand; break;
            case Op::Sta: memory[address] = Cell{Op::Dat, acc}; break;
            case Op::Add: acc = wrap(u(acc) + u(memory[address].operand)); break;
            case Op::Sub: acc = wrap(u(acc) - u(memory[address].operand)); break;
            case Op::Jmp: pc = address; continue;
            case Op::Skp: pc = static_cast<std::uint16_t>(pc + (acc >= 0)); break;
            case Op::Skn: pc = static_cast<std::uint16_t>(pc + (acc < 0)); break;
            case Op::Skz: pc = static_cast<std::uint16_t>(pc + (acc == 0)); break;
            case Op::Hlt: ++result.steps; return result;
            case Op::Dat: break;
        }
        ++pc;
    }
    return result;
}

// ---- The programs, as cells for the reference and as lines for ours ----

std::string LineOf(const Cell& cell) {
    static const char* const kNames[] = {"IN",  "OUT", "LDA", "STA", "ADD", "SUB",
                                         "JMP", "SKP", "SKN", "SKZ", "HLT", "DAT"};
    std::string line = kNames[static_cast<int>(cell.op)];
    switch (cell.op) {
        case Op::In:
        case Op::Out:
        case Op::Skp:
        case Op::Skn:
        case Op::Skz:
        case Op::Hlt: return line;
        case Op::Dat: return line + " " + std::to_string(cell.operand);
        default: return line + (cell.operand < 10 ? " 0" : " ") + std::to_string(cell.operand);
    }
}

std::vector<std::string> LinesOf(const std::vector<Cell>& cells) {
    std::vector<std::string> lines;
    for (const Cell& cell : cells) lines.push_back(LineOf(cell));
    return lines;
}

// Counts up in the accumulator for ever: six instructions, one of them a store.
const std::vector<Cell> kLoopWithStore = {
    {Op::Lda, 10}, {Op::Add, 11}, {Op::Sta, 10}, {Op::Skn, 0}, {Op::Jmp, 0}, {Op::Hlt, 0},
    {Op::Dat, 0},  {Op::Dat, 0},  {Op::Dat, 0},  {Op::Dat, 0}, {Op::Dat, 0}, {Op::Dat, 1}};

// The same pace without touching the store: skips and jumps around arithmetic.
const std::vector<Cell> kLoopWithoutStore = {
    {Op::Lda, 10}, {Op::Add, 11}, {Op::Sub, 11}, {Op::Skn, 0}, {Op::Jmp, 0}, {Op::Hlt, 0},
    {Op::Dat, 0},  {Op::Dat, 0},  {Op::Dat, 0},  {Op::Dat, 0}, {Op::Dat, 5}, {Op::Dat, 1}};

double CpuSeconds() { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

void SetComparison(benchmark::State& state, double ours, double reference, std::int64_t steps) {
    state.counters["steps_per_s"] = static_cast<double>(steps) / ours;
    state.counters["reference_steps_per_s"] = static_cast<double>(steps) / reference;
    state.counters["of_reference"] = reference / ours;
}

// A million steps of the loop through the runner tobric-run uses, then as many through the
// reference, in turn in every iteration, so that a disturbance of the machine falls on both.
void StepLoop(benchmark::State& state, const std::vector<Cell>& cells) {
    constexpr std::int64_t kSteps = 1'000'000;
    std::ostringstream discarded;
    const std::vector<std::string> lines = LinesOf(cells);
    std::int64_t steps = 0;
    std::int64_t referenceSteps = 0;
    double ours = 0;
    double reference = 0;
    for (auto _ : state) {
        const double start = CpuSeconds();
        HeadlessRun run(lines, RunOptions{{}, kSteps, false, false}, discarded);
        steps += run.Run().steps;
        const double referenceStart = CpuSeconds();
        const ReferenceResult result = RunReference(cells, {}, kSteps);
        benchmark::DoNotOptimize(result.steps);
        referenceSteps += result.steps;
        ours += referenceStart - start;
        reference += CpuSeconds() - referenceStart;
    }
    if (referenceSteps != steps) state.SkipWithError("the reference obeyed a different count");
    // The time of an iteration holds both runs, so no items_per_second: the counters say it.
    SetComparison(state, ours, reference, steps);
}

void BM_LoopWithStore(benchmark::State& state) { StepLoop(state, kLoopWithStore); }
BENCHMARK(BM_LoopWithStore)->Unit(benchmark::kMillisecond);

void BM_LoopWithoutStore(benchmark::State& state) { StepLoop(state, kLoopWithoutStore); }
BENCHMARK(BM_LoopWithoutStore)->Unit(benchmark::kMillisecond);

// ---- Grading: 40 programs x 20 cases on one core, 20 programs looping into the step limit ----

constexpr int kPrograms = 40;
constexpr int kCases = 20;
constexpr std::int64_t kStepLimit = 1'000'000;

// Even programs add two answers and halt, half of them off by one; odd ones loop for ever, half
// of them storing on every pass.
std::vector<Cell> GradedProgram(int k) {
    const std::int32_t wrong = k % 4 == 0 ? 0 : 1;
    if (k % 2 == 0)
        return {{Op::In, 0},  {Op::Sta, 20},   {Op::In, 0},  {Op::Add, 20}, {Op::Add, 21},
                {Op::Out, 0}, {Op::Hlt, 0},    {Op::Dat, 0}, {Op::Dat, 0},  {Op::Dat, 0},
                {Op::Dat, 0}, {Op::Dat, 0},    {Op::Dat, 0}, {Op::Dat, 0},  {Op::Dat, 0},
                {Op::Dat, 0}, {Op::Dat, 0},    {Op::Dat, 0}, {Op::Dat, 0},  {Op::Dat, 0},
                {Op::Dat, 0}, {Op::Dat, wrong}};
    if (k % 4 == 1)
        return {{Op::In, 0},   {Op::Sta, 10}, {Op::Lda, 10}, {Op::Add, 11},
                {Op::Sta, 10}, {Op::Jmp, 2},  {Op::Hlt, 0},  {Op::Dat, 0},
                {Op::Dat, 0},  {Op::Dat, 0},  {Op::Dat, 0},  {Op::Dat, 1}};
    return {{Op::In, 0},  {Op::Add, 11}, {Op::Sub, 11}, {Op::Skn, 0}, {Op::Jmp, 1}, {Op::Out, 0},
            {Op::Hlt, 0}, {Op::Dat, 0},  {Op::Dat, 0},  {Op::Dat, 0}, {Op::Dat, 0}, {Op::Dat, 1}};
}

void BM_GradeFortyProgramsTwentyCases(benchmark::State& state) {
    const auto folder = std::filesystem::temp_directory_path() / "tobric-step-bench";
    std::filesystem::create_directories(folder);
    std::vector<std::string> paths;
    std::vector<std::vector<Cell>> programs;
    for (int k = 0; k < kPrograms; ++k) {
        programs.push_back(GradedProgram(k));
        paths.push_back((folder / ("program" + std::to_string(k) + ".txt")).string());
        std::ofstream file(paths.back(), std::ios::binary);
        for (const std::string& line : LinesOf(programs.back())) file << line << "\r\n";
    }
    std::vector<TestCase> cases;
    for (int c = 0; c < kCases; ++c)
        cases.push_back({c + 1, "", {std::to_string(c), std::to_string(c + 1)}, {2 * c + 1}});

    std::int64_t steps = 0;
    const double start = CpuSeconds();
    for (auto _ : state)
        for (const std::string& path : paths)  // one core: the programs one after the other
            for (const CaseResult& result : GradeProgram(path, cases, kStepLimit).cases)
                steps += result.steps;
    const double ours = CpuSeconds() - start;

    std::int64_t referenceSteps = 0;
    const double referenceStart = CpuSeconds();
    for (std::int64_t i = 0; i < state.iterations(); ++i)
        for (const std::vector<Cell>& program : programs)
            for (const TestCase& testCase : cases) {
                const ReferenceResult result = RunReference(
                    program, {std::stoi(testCase.answers[0]), std::stoi(testCase.answers[1])},
                    kStepLimit);
                benchmark::DoNotOptimize(result.outputs.data());
                referenceSteps += result.steps;
            }
    const double reference = CpuSeconds() - referenceStart;
    if (referenceSteps != steps) state.SkipWithError("the reference obeyed a different count");
    SetComparison(state, ours, reference, steps);
    state.counters["reference_s"] = reference / static_cast<double>(state.iterations());
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_GradeFortyProgramsTwentyCases)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
