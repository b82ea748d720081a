// The measurement page on large measurements: feeding rows while measuring, opening a
// big file, redrawing, interpolating and scrolling the value list.
#include "model/messung_info.h"
#include "model/referenz_info.h"
#include "platform/settings_backend.h"
#include "settings/global_vars.h"
#include "views/messung_frame.h"

#include <qcustomplot.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QTableView>
#include <QTabWidget>
#include <QTemporaryDir>

#include "bench_support.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <fstream>
#include <string>

namespace {
constexpr int kChannels = 8;

class BenchHost : public MessungHost {
public:
    BenchHost() : settings_(store_) {}
    QAction* action(const QString&) const override { return nullptr; }
    TGlobalVars& settings() override { return settings_; }
    TReferenzInfo* NewReferenceDocument() override { return nullptr; }
    void ReferenceDocumentFilled() override {}

private:
    MemorySettingsBackend store_;
    TGlobalVars settings_;
};

TDataRow deviceRow(int r, int intervalMs) {
    TDataRow row(kChannels + 1);
    row[0] = static_cast<quint32>(r) * intervalMs;
    for (int c = 1; c <= kChannels; ++c)
        row[c] = static_cast<quint32>(500 + 400 * std::sin(r / (2000.0 + 300 * c)) + 3 * c);
    return row;
}

void setUpChannels(TMessungFrame& frame) {
    TMessungInfo& m = frame.Measurement();
    m.SetChannelCount(kChannels);
    for (int i = 0; i < kChannels; ++i) {
        m.GetChannel(i)->DeviceChannel = static_cast<quint16>(i + 1);
        m.GetChannel(i)->Name = QStringLiteral("Kanal %1").arg(i + 1);
    }
    frame.BuildChannelViews();
}


double msSince(const QElapsedTimer& t) { return t.nsecsElapsed() / 1e6; }

// A day at 100 ms: the cost per row over the first and the last 20,000 rows, and one
// redraw of the visible window at the end.
void BM_HandleDataRowDay(benchmark::State& state) {
    const int rows = 864000, probe = 20000;
    for (auto _ : state) {
        BenchHost host;
        TMessungFrame frame(host);
        frame.resize(1100, 700);
        frame.show();
        setUpChannels(frame);
        QElapsedTimer t;
        double first = 0, last = 0;
        t.start();
        for (int r = 0; r < rows; ++r) {
            if (r == probe) first = msSince(t);
            if (r == rows - probe) t.restart();
            frame.HandleDataRow(deviceRow(r, 100));
        }
        last = msSince(t);
        t.restart();
        frame.chart()->replot();
        const double replot = msSince(t);
        state.counters["us_per_row_start"] = first * 1000 / probe;
        state.counters["us_per_row_end"] = last * 1000 / probe;
        state.counters["end_vs_start"] = last / first;
        state.counters["replot_ms_end"] = replot;
    }
}
BENCHMARK(BM_HandleDataRowDay)->Iterations(1)->Unit(benchmark::kMillisecond);

QString& bigFile() {
    static QTemporaryDir dir;
    static QString path;
    if (path.isEmpty()) {
        TMessungInfo m;
        m.SetChannelCount(kChannels);
        m.ReserveRows(1000000);
        for (int r = 0; r < 1000000; ++r) {
            TDataRow row = deviceRow(r, 500);
            row.push_back(1);
            m.AddRow(row);
        }
        path = dir.filePath(QStringLiteral("big.zolt"));
        m.FileName = path;
        m.Save(false);
    }
    return path;
}

// Opening a 1,000,000-row file until the page is drawn.
void BM_OpenMillionRowFile(benchmark::State& state) {
    const QString path = bigFile();
    for (auto _ : state) {
        const long before = residentKiB();
        QElapsedTimer t;
        t.start();
        BenchHost host;
        TMessungFrame frame(host);
        frame.resize(1100, 700);
        frame.show();
        frame.Measurement().Load(path, QString());
        frame.RefreshFromMeasurement(true);
        frame.chart()->replot();
        state.counters["open_ms"] = msSince(t);
        state.counters["MiB_added"] = (residentKiB() - before) / 1024.0;
    }
}
BENCHMARK(BM_OpenMillionRowFile)->Iterations(3)->Unit(benchmark::kMillisecond);

// Replots, interpolation and the value list on the opened file.
void BM_MillionRowPage(benchmark::State& state) {
    const QString path = bigFile();
    for (auto _ : state) {
        BenchHost host;
        TMessungFrame frame(host);
        frame.resize(1100, 700);
        frame.show();
        frame.Measurement().Load(path, QString());
        frame.RefreshFromMeasurement(true);

        QElapsedTimer t;
        frame.SetAutoScale(true);
        t.start();
        frame.chart()->replot();
        state.counters["replot_whole_ms"] = msSince(t);

        frame.SetAutoScale(false);
        frame.chart()->xAxis->setRange(250000, 250010);
        t.restart();
        frame.chart()->replot();
        state.counters["replot_10s_ms"] = msSince(t);

        t.restart();
        frame.Measurement().SetInterpolation(true);
        frame.RefreshFromMeasurement(false);
        frame.chart()->replot();
        state.counters["interpolate_on_ms"] = msSince(t);
        state.counters["rows_after"] = frame.Measurement().RowCount();
        t.restart();
        frame.Measurement().SetInterpolation(false);
        frame.RefreshFromMeasurement(false);
        frame.chart()->replot();
        state.counters["interpolate_off_ms"] = msSince(t);

        frame.pages()->setCurrentIndex(1);
        QApplication::processEvents();
        t.restart();
        frame.valueList()->scrollToBottom();
        frame.valueList()->viewport()->repaint();
        state.counters["list_to_end_ms"] = msSince(t);
    }
}
BENCHMARK(BM_MillionRowPage)->Iterations(1)->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
