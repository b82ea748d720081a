// Analysis: bands of ten ranges over one channel, and the extremes of that channel.
#include "analysis/analyse_info.h"
#include "model/messung_info.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace {
// A furnace-like curve 500 ms apart, heating and cooling many times, with a little
// ripple so that the window ranges see plenty of passages.
void fill(TMessungInfo& m, int rows) {
    m.SetChannelCount(2);
    m.ReserveRows(rows);
    TDataRow row(4);
    for (int r = 0; r < rows; ++r) {
        row[0] = static_cast<quint32>(r) * 500;
        row[1] = 200;
        row[2] = static_cast<quint32>(1200 + 1000 * std::sin(r / 300.0) + 30 * std::sin(r / 3.0));
        row[3] = 1;
        m.AddRow(row);
    }
}

void addRanges(TAnalyseInfo& a) {
    for (int i = 0; i < 10; ++i) {
        TAnalyseBereich& r = *a.Range(a.AddRange(-1));
        r.Name = QStringLiteral("Bereich %1").arg(i);
        r.Condition = static_cast<quint8>(i % 3);
        r.Threshold = static_cast<quint32>(400 + 150 * i);
        r.Limit = r.Threshold + 300;
        r.Border = 15;
    }
    a.Channel = 1;
}

void BM_AnalyseRanges(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    TMessungInfo m;
    fill(m, rows);
    TAnalyseInfo a;
    addRanges(a);
    std::size_t bands = 0;
    for (auto _ : state) {
        const auto result = a.AnalyseRanges(m);
        bands = result->Bands.size();
        benchmark::DoNotOptimize(bands);
    }
    state.counters["bands"] = static_cast<double>(bands);
    state.SetItemsProcessed(state.iterations() * rows);
    state.SetComplexityN(rows);
}
BENCHMARK(BM_AnalyseRanges)
    ->Arg(250'000)
    ->Arg(500'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

void BM_MaxTemperatureAndSlopes(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    TMessungInfo m;
    fill(m, rows);
    TAnalyseInfo a;
    a.Channel = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(a.MaxTemperature(m));
        benchmark::DoNotOptimize(a.MaxSlope(m, TAnalyseInfo::Rise));
        benchmark::DoNotOptimize(a.MaxSlope(m, TAnalyseInfo::Fall));
    }
    state.SetItemsProcessed(state.iterations() * rows);
}
BENCHMARK(BM_MaxTemperatureAndSlopes)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
} // namespace

BENCHMARK_MAIN();
