// The serial logger's memory read-out: merging the per-channel records into rows by time
// and filling the gaps, as a read-out of full memories does it.
#include "devices/ser_memory.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {

// Channel c records every c-th interval with a little jitter, so rows of different
// channels meet at some times and not at others, and gaps need filling.
TSerMemory MakeMemory(int perChannel) {
    std::mt19937 random(42);
    TSerMemory m;
    for (int c = 0; c < kSerChannels; ++c) {
        m.hasData[c] = true;
        quint32 time = 0;
        m.records[c].reserve(perChannel);
        for (int i = 0; i < perChannel; ++i) {
            time += 500u * quint32(c + 1) + (random() % 4 == 0 ? 250u : 0u);
            m.records[c].push_back({quint32(200u + random() % 600u), time});
        }
    }
    return m;
}

void MergeAndInterpolate(benchmark::State& state) {
    const TSerMemory memory = MakeMemory(static_cast<int>(state.range(0)));
    std::size_t rows = 0;
    for (auto _ : state) {
        std::vector<quint32> table = MergeMemoryRecords(memory);
        InterpolateMemoryRows(table, memory.hasData);
        rows = table.size() / kSerRowSize;
        benchmark::DoNotOptimize(table.data());
    }
    const auto records = state.range(0) * kSerChannels;
    state.SetComplexityN(records);
    state.SetItemsProcessed(state.iterations() * records);
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(MergeAndInterpolate)
    ->Arg(6250)
    ->Arg(12500)
    ->Arg(25000)
    ->Arg(50000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oNLogN);

} // namespace

BENCHMARK_MAIN();
