// Measurement model: appending rows, looking values up, interpolating.
#include "model/messung_info.h"

#include "bench_support.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <string>

namespace {
constexpr int kChannels = 8;

// Samples 500 ms apart following slow heating and cooling curves.
void fill(TMessungInfo& m, int rows) {
    m.SetChannelCount(kChannels);
    m.ReserveRows(rows);
    TDataRow row(kChannels + 2);
    for (int r = 0; r < rows; ++r) {
        row[0] = static_cast<quint32>(r) * 500;
        for (int c = 1; c <= kChannels; ++c)
            row[c] = static_cast<quint32>(500 + 400 * std::sin(r / (200.0 + 30 * c)) + c);
        row[kChannels + 1] = 1;
        m.AddRow(row);
    }
}


void BM_AddRow(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    for (auto _ : state) {
        TMessungInfo m;
        fill(m, rows);
        benchmark::DoNotOptimize(m.RowCount());
    }
    state.SetItemsProcessed(state.iterations() * rows);
}
BENCHMARK(BM_AddRow)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_AddRowMemory(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    for (auto _ : state) {
        const long before = residentKiB();
        TMessungInfo m;
        fill(m, rows);
        benchmark::DoNotOptimize(m.RowTable().data());
        state.counters["bytes_per_row"] =
            (residentKiB() - before) * 1024.0 / rows;
    }
}
BENCHMARK(BM_AddRowMemory)->Arg(1000000)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_ValueAt(benchmark::State& state) {
    TMessungInfo m;
    fill(m, 1000000);
    const double span = m.GetTime(m.RowCount() - 1) / 1000.0;
    double x = 0;
    qint64 sum = 0;
    for (auto _ : state) {
        x += 12.345;
        if (x > span) x -= span;
        sum += m.ValueAt(3, x);
    }
    benchmark::DoNotOptimize(sum);
}
BENCHMARK(BM_ValueAt);

void BM_Interpolate(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    TMessungInfo source;
    fill(source, rows);
    std::size_t resultBytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        TMessungInfo m;
        m.Assign(source);
        state.ResumeTiming();
        m.Interpolate();
        resultBytes = m.RowTable().size() * sizeof(quint32);
        benchmark::DoNotOptimize(m.RowCount());
    }
    state.counters["result_MB"] = resultBytes / 1e6;
    state.SetItemsProcessed(state.iterations() * rows);
}
BENCHMARK(BM_Interpolate)->Arg(250000)->Arg(500000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The yardstick: copying a table as large as the interpolated one into fresh memory.
void BM_MemcpyInterpolatedTable(benchmark::State& state) {
    const std::size_t bytes = (1000000 + 999999 * 5) * (kChannels + 2) * sizeof(quint32);
    std::vector<char> src(bytes, 1);
    for (auto _ : state) {
        std::vector<char> dst(bytes);
        std::memcpy(dst.data(), src.data(), bytes);
        benchmark::DoNotOptimize(dst.data());
    }
}
BENCHMARK(BM_MemcpyInterpolatedTable)->Unit(benchmark::kMillisecond);
} // namespace

BENCHMARK_MAIN();
