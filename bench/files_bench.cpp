// Saving and loading a large measurement, each beside a plain write or read of the same
// number of bytes, and the heap a load needs beyond the finished measurement.

#include "model/messung_info.h"
#include "platform/dialogs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>
#include <random>
#include <unistd.h>

// Heap accounting for the memory figure: live bytes and their peak.
namespace {
std::atomic<long long> liveBytes{0};
std::atomic<long long> peakBytes{0};

void* allocate(std::size_t n) {
    void* p = std::malloc(n + 16);
    if (!p) throw std::bad_alloc();
    *static_cast<std::size_t*>(p) = n;
    const long long now = liveBytes += static_cast<long long>(n);
    long long peak = peakBytes.load();
    while (now > peak && !peakBytes.compare_exchange_weak(peak, now)) {
    }
    return static_cast<char*>(p) + 16;
}
void release(void* p) {
    if (!p) return;
    char* base = static_cast<char*>(p) - 16;
    liveBytes -= static_cast<long long>(*reinterpret_cast<std::size_t*>(base));
    std::free(base);
}
} // namespace

void* operator new(std::size_t n) {
    return allocate(n);
}
void* operator new[](std::size_t n) {
    return allocate(n);
}
void operator delete(void* p) noexcept {
    release(p);
}
void operator delete[](void* p) noexcept {
    release(p);
}
void operator delete(void* p, std::size_t) noexcept {
    release(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    release(p);
}

namespace {
constexpr int kRows = 1'000'000;
constexpr int kChannels = 8;

struct Fixture {
    QTemporaryDir dir{QDir::tempPath() + QStringLiteral("/zolt-bench-XXXXXX")};
    QString file = dir.filePath(QStringLiteral("big.zolt"));
    QString plain = dir.filePath(QStringLiteral("plain.bin"));
    TMessungInfo measurement;
    qint64 bytes = 0;

    Fixture() {
        measurement.SetChannelCount(kChannels);
        measurement.ReserveRows(kRows);
        std::mt19937 rng(1);
        TDataRow row(kChannels + 2, 1);
        for (int r = 0; r < kRows; ++r) {
            row[0] = static_cast<quint32>(r) * 500;
            for (int c = 1; c <= kChannels; ++c)
                row[c] = 150 + rng() % 900;
            measurement.AddRow(row);
        }
        measurement.FileName = file;
        measurement.Save(false);
        bytes = QFileInfo(file).size();
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

void BM_Save(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state)
        benchmark::DoNotOptimize(f.measurement.Save(false));
    state.SetBytesProcessed(state.iterations() * f.bytes);
}

// A plain write; with `sync` also brought to the disk, as a safe save must.
void BM_PlainWrite(benchmark::State& state) {
    Fixture& f = fixture();
    const bool sync = state.range(0) != 0;
    std::vector<char> chunk(64 * 1024, 'x');
    for (auto _ : state) {
        QFile out(f.plain);
        out.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered);
        for (qint64 left = f.bytes; left > 0; left -= chunk.size())
            out.write(chunk.data(), std::min<qint64>(left, chunk.size()));
        if (sync) ::fdatasync(out.handle());
        out.close();
    }
    state.SetBytesProcessed(state.iterations() * f.bytes);
}

void BM_Load(benchmark::State& state) {
    Fixture& f = fixture();
    long long extra = 0;
    for (auto _ : state) {
        const long long before = liveBytes;
        peakBytes = before;
        TMessungInfo m;
        m.Load(f.file);
        const long long finished = liveBytes - before;
        extra = std::max(extra, peakBytes - before - finished);
        benchmark::DoNotOptimize(m.RowCount());
    }
    state.SetBytesProcessed(state.iterations() * f.bytes);
    state.counters["peak_beyond_result_KiB"] = static_cast<double>(extra) / 1024.0;
}

// A plain read: arg 0 through one small buffer used again and again, arg 1 into fresh
// memory of the file's size, as any reader that keeps the data must.
void BM_PlainRead(benchmark::State& state) {
    Fixture& f = fixture();
    const bool keep = state.range(0) != 0;
    std::vector<char> chunk(64 * 1024);
    for (auto _ : state) {
        QFile in(f.file);
        in.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
        if (keep) {
            std::unique_ptr<char[]> all(new char[f.bytes]);
            benchmark::DoNotOptimize(in.read(all.get(), f.bytes));
            benchmark::ClobberMemory();
        } else {
            qint64 total = 0, n = 0;
            while ((n = in.read(chunk.data(), chunk.size())) > 0)
                total += n;
            benchmark::DoNotOptimize(total);
        }
    }
    state.SetBytesProcessed(state.iterations() * f.bytes);
}

void BM_ExportText(benchmark::State& state) {
    Fixture& f = fixture();
    const QString text = f.dir.filePath(QStringLiteral("big.txt"));
    for (auto _ : state)
        benchmark::DoNotOptimize(f.measurement.ExportText(text));
}
} // namespace

BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlainWrite)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlainRead)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ExportText)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
