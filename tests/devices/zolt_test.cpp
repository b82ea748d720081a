#include "devices/zolt.h"
#include "serial_sim_fixture.h"
#include "support/qt_printers.h"

#include <QCoreApplication>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// A device whose samples count up, to see the base class's plumbing.
class CountingZolt : public TZolt {
public:
    explicit CountingZolt(TChannel channels) { Channels = std::move(channels); }
    void ReadValues(TDataRow& row) override {
        row.assign(ActiveChannelCount() + 1u, 0);
        row[0] = ++samples;
        for (std::size_t i = 1; i < row.size(); ++i)
            row[i] = 100 * samples + quint32(i);
    }
    void Initialize() override {}
    void GetStatusText(QString& text) override { text = "ok"; }
    bool ReadMemory() override { return true; }
    bool Start() override {
        TZolt::Start();
        PollTimer()->start();
        return true;
    }
    void Stop() override { PollTimer()->stop(); }
    void Release() override {
        ++*released;
        TZolt::Release();
    }
    quint32 samples = 0;
    int* released = nullptr;
};

TEST(ZoltBase, CountsPresentChannels) {
    int released = 0;
    {
        TZoltPtr<CountingZolt> d(
            new CountingZolt({true, false, true, false, false, false, false, true}));
        d->released = &released;
        EXPECT_EQ(d->ActiveChannelCount(), 3);
        TDataRow row;
        d->ReadValues(row);
        EXPECT_EQ(row.size(), 4u);
    }
    EXPECT_EQ(released, 1) << "the handle releases the device";
}

TEST(ZoltBase, PollGoesToTheHandlerOrToRowLog) {
    int released = 0;
    TZoltPtr<CountingZolt> d(new CountingZolt({true, true}));
    d->released = &released;
    d->Poll();
    d->Poll();
    EXPECT_EQ(d->RowLog, QStringList({"1,101,102", "2,201,202"}));

    std::vector<TDataRow> rows;
    d->OnData = [&rows](const TDataRow& row) { rows.push_back(row); };
    d->Poll();
    EXPECT_EQ(rows, std::vector<TDataRow>({{3, 301, 302}}));
    EXPECT_EQ(d->RowLog.size(), 2) << "handled rows are not logged";

    d->Start();
    EXPECT_TRUE(d->RowLog.isEmpty()) << "Start clears the log";
}

TEST(ZoltBase, PollTimerRunsBetweenStartAndStop) {
    int released = 0;
    TZoltPtr<CountingZolt> d(new CountingZolt({true}));
    d->released = &released;
    std::vector<TDataRow> rows;
    d->OnData = [&rows](const TDataRow& row) { rows.push_back(row); };
    d->SetPollInterval(5);
    EXPECT_EQ(d->PollInterval(), 5);
    EXPECT_FALSE(d->IsRunning());
    const quint32 before = TickCount();
    d->Start();
    EXPECT_TRUE(d->IsRunning());
    EXPECT_GE(d->StartTick - before, 0u);
    EXPECT_LT(d->StartTick - before, 1000u);
    ASSERT_TRUE(PumpUntil([&] { return rows.size() >= 3; }, 5000));
    d->Stop();
    EXPECT_FALSE(d->IsRunning());
    const std::size_t seen = rows.size();
    Pump(50);
    EXPECT_EQ(rows.size(), seen);
}

TEST(ZoltBase, ProgressText) {
    EXPECT_EQ(TZolt::ProgressText(15), "Daten werden aus dem Speicher ausgelesen (15 %)");
}

} // namespace
