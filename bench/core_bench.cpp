// SPDX-License-Identifier: GPL-3.0-or-later
// The number conversion every LDA, ADD and SUB of a changed line goes through, beside the
// standard library's own decimal conversion of the same texts in the same run. The step itself
// is measured in step_bench.cpp, Load in window_bench.cpp.

#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdint>
#include <ctime>
#include <string>

#include "machine/parse_integer.h"

namespace {

double CpuSeconds() { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

// Decimal texts only, which both conversions read the same way.
void BM_ParseInteger(benchmark::State& state) {
    const std::string texts[] = {"05", "-2147483648", "2147483647", "12"};
    std::size_t i = 0;
    const double start = CpuSeconds();
    for (auto _ : state) benchmark::DoNotOptimize(tobric::ParseInteger(texts[i++ & 3]));
    const double ours = CpuSeconds() - start;

    const double referenceStart = CpuSeconds();
    for (std::int64_t n = 0; n < state.iterations(); ++n) {
        const std::string& text = texts[static_cast<std::size_t>(n) & 3];
        std::int32_t value = 0;
        std::from_chars(text.data(), text.data() + text.size(), value);
        benchmark::DoNotOptimize(value);
    }
    const double reference = CpuSeconds() - referenceStart;
    state.counters["of_from_chars"] = reference / ours;
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ParseInteger);

}  // namespace
