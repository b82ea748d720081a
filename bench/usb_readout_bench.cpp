// The USB memory read-out of 100,000 records from the simulated logger: the device alone
// (TUSBZolt::ReadMemory into a handler that only counts) and the whole way into a
// measurement as the measurement page and zoltctl run it (TAcquisition).

#include "devices/acquisition.h"
#include "devices/usb_zolt.h"
#include "model/messung_info.h"
#include "platform/settings_backend.h"
#include "settings/global_vars.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

namespace {
constexpr int kRecords = 100000;

// A fresh simulated logger holding kRecords records of four channels; the library starts
// a new device whenever ZOLT3_USB_ID changes.
void freshDevice() {
    static int generation = 0;
    qputenv("ZOLT3_TRANSPORT", "sim");
    qputenv("ZOLT3_SIM_CHANNELS", "0x0F");
    qputenv("ZOLT3_SIM_RECORDS", QByteArray::number(kRecords));
    qputenv("ZOLT3_USB_ID", QByteArray::number(++generation));
}

void BM_UsbReadMemory(benchmark::State& state) {
    TUSBZolt::SetDelays({0, 0, 0});
    std::int64_t rows = 0;
    for (auto _ : state) {
        state.PauseTiming();
        freshDevice();
        TZoltPtr<TUSBZolt> device(new TUSBZolt(1));
        std::int64_t count = 0;
        device->OnData = [&count](const TDataRow& row) {
            benchmark::DoNotOptimize(row.data());
            ++count;
        };
        state.ResumeTiming();
        device->ReadMemory();
        state.PauseTiming();
        if (count != kRecords) state.SkipWithError("not every record arrived");
        rows += count;
        device.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(rows);
}
BENCHMARK(BM_UsbReadMemory)->Unit(benchmark::kMillisecond);

void BM_UsbReadoutIntoMeasurement(benchmark::State& state) {
    TUSBZolt::SetDelays({0, 0, 0});
    MemorySettingsBackend store;
    TGlobalVars settings(store);
    settings.SetZoltType(1);
    settings.SetZoltMode(1);
    std::int64_t rows = 0;
    for (auto _ : state) {
        state.PauseTiming();
        freshDevice();
        TMessungInfo measurement;
        TAcquisition::Callbacks cb;
        cb.OnRow = [&measurement](const TDataRow& source) {
            measurement.AddRow(TAcquisition::MapRow(measurement, source));
        };
        TAcquisition acquisition(measurement, settings, cb);
        state.ResumeTiming();
        // Includes creating the device (no start-up waits for the simulator).
        acquisition.Start();
        state.PauseTiming();
        if (measurement.RowCount() != kRecords) state.SkipWithError("not every record arrived");
        rows += measurement.RowCount();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(rows);
}
BENCHMARK(BM_UsbReadoutIntoMeasurement)->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
