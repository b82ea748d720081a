#include "devices/acquisition.h"

#include "devices/usb_zolt.h"
#include "devices/zolt.h"
#include "model/messung_info.h"
#include "platform/settings_backend.h"
#include "settings/global_vars.h"
#include "support/qt_printers.h"
#include "support/scripted_dialogs.h"
#include "support/test_env.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {
// A device whose channels and rows the test sets.
class FakeZolt : public TZolt {
public:
    explicit FakeZolt(std::vector<bool> channels) { Channels = std::move(channels); }
    void ReadValues(TDataRow& row) override {
        row = {TickCount() - StartTick};
        for (std::size_t c = 0; c < Channels.size(); ++c)
            if (Channels[c]) row.push_back(static_cast<quint32>(100 * (c + 1)));
    }
    void Initialize() override {}
    void GetStatusText(QString& text) override { text = QStringLiteral("fake"); }
    bool Start() override {
        TZolt::Start();
        PollTimer()->start();
        return true;
    }
    void Stop() override { PollTimer()->stop(); }
    bool ReadMemory() override {
        for (quint32 k = 0; k < stored; ++k) {
            ShowProgress(static_cast<int>((k + 1) * 100 / stored));
            Deliver({k * 1000, 200 + k, 300 + k, 1});
        }
        return true;
    }
    void Release() override {
        ++*released;
        TZolt::Release();
    }
    quint32 stored = 3;
    int* released = nullptr;
};

class AcquisitionTest : public ::testing::Test {
protected:
    AcquisitionTest() : german(germanLocale()), settings(store) {}

    std::unique_ptr<TAcquisition> make(std::vector<bool> channels) {
        TAcquisition::Callbacks cb;
        cb.OnRow = [this](const TDataRow& row) {
            rows.push_back(row);
            measurement.AddRow(TAcquisition::MapRow(measurement, row));
        };
        cb.OnStatusText = [this](const QString& t) { status << t; };
        cb.OnRunningChanged = [this](bool r) { running << r; };
        cb.OnReadoutDone = [this] { ++readouts; };
        return std::make_unique<TAcquisition>(
            measurement, settings, cb, [this, channels](quint8 type, const TGlobalVars&) {
                ++created;
                lastType = type;
                auto* d = new FakeZolt(channels);
                d->released = &released;
                lastDevice = d;
                return d;
            });
    }

    LocaleScope german;
    MemorySettingsBackend store;
    TGlobalVars settings;
    TMessungInfo measurement;
    std::vector<TDataRow> rows;
    QStringList status;
    QList<bool> running;
    int readouts = 0, created = 0, released = 0, lastType = -1;
    FakeZolt* lastDevice = nullptr;
};
} // namespace

TEST_F(AcquisitionTest, UsbChannelsAreNamedAfterTheirSlots) {
    settings.SetZoltType(1);
    settings.SetMeasInterval(50);
    auto a = make({false, true, false, false, true, false, false, false});
    EXPECT_EQ(a->Start(), TAcquisition::Outcome::Running);
    ASSERT_EQ(measurement.ChannelCount(), 2);
    EXPECT_EQ(measurement.GetChannel(0)->Name, "Kanal 2");
    EXPECT_EQ(measurement.GetChannel(1)->Name, "Kanal 5");
    EXPECT_EQ(measurement.GetChannel(0)->DeviceChannel, 1);
    EXPECT_EQ(measurement.GetChannel(1)->DeviceChannel, 2);
    EXPECT_EQ(lastDevice->PollInterval(), 100) << "never below 100 ms";
    EXPECT_EQ(status.last(), "Dauermessung aktiv");
    EXPECT_EQ(running, QList<bool>{true});
    EXPECT_TRUE(a->IsRunning());
    EXPECT_EQ(TAcquisition::Running(), a.get());

    QTest::qWaitFor([&] { return measurement.RowCount() >= 2; }, 5000);
    ASSERT_GE(measurement.RowCount(), 2);
    // Device columns 1 and 2 are the values of slots 2 and 5.
    EXPECT_EQ(measurement.GetValue(0, 0), 200u);
    EXPECT_EQ(measurement.GetValue(0, 1), 500u);

    a->Stop();
    EXPECT_FALSE(a->IsRunning());
    EXPECT_EQ(released, 1);
    EXPECT_EQ(running, (QList<bool>{true, false}));
    EXPECT_EQ(status.last(), "");
    EXPECT_EQ(TAcquisition::Running(), nullptr);
    const int kept = measurement.RowCount();
    QTest::qWait(250);
    EXPECT_EQ(measurement.RowCount(), kept) << "nothing arrives after the stop";
}

TEST_F(AcquisitionTest, PollIntervalAndDuration) {
    EXPECT_EQ(TAcquisition::PollIntervalFor(50), 100);
    EXPECT_EQ(TAcquisition::PollIntervalFor(250), 250);

    settings.SetMeasDuration(60000);
    auto a = make({true});
    a->Start();
    EXPECT_EQ(status.last(), "Messung über 60,00 Sekunden aktiv");
    a->Stop();

    settings.SetMeasDuration(150); // ends on its own
    a->Start();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !a->IsRunning(); }, 5000));
    EXPECT_EQ(released, 2);
}

TEST_F(AcquisitionTest, InvalidSettingsAndMissingHardwareAreRefusedWithAMessage) {
    ScopedScriptedDialogs d;
    auto a = make({true});
    struct Case {
        quint8 type, mode;
        const char* text;
    } cases[] = {
        {3, 0, "Messung kann nicht gestartet werden, da ein ungültiger Zolt-Typ ausgewählt ist!"},
        {1, 2, "Messung kann nicht gestartet werden, da ein ungültiger Zolt-Modus ausgewählt ist!"},
        {0, 1, "Eine Speichermessung wird von dem eingestellten Zolt-Typen nicht unterstützt!"},
    };
    for (const Case& c : cases) {
        settings.SetZoltType(c.type);
        settings.SetZoltMode(c.mode);
        if (c.type == 0) settings.SetZoltMode(1); // the rule would force online
        EXPECT_EQ(a->Start(), TAcquisition::Outcome::Refused) << c.text;
        EXPECT_EQ(d.last().caption, "Info");
        EXPECT_EQ(d.last().text, c.text);
    }
    EXPECT_EQ(created, 0);
    a->Stop();
    EXPECT_EQ(d.last().text, "Messung kann nicht gestoppt werden, da keine Messhardware initialisiert ist.");
    EXPECT_EQ(running.last(), false) << "the actions are reset all the same";
}

TEST_F(AcquisitionTest, OnlyOneAcquisitionRunsAtATime) {
    ScopedScriptedDialogs d;
    auto first = make({true});
    auto second = make({true});
    first->Start();
    EXPECT_EQ(second->Start(), TAcquisition::Outcome::Refused);
    EXPECT_EQ(d.last().text, "Es läuft bereits eine Messung. Bitte stoppen Sie diese zuerst.");
    // Closing the page of the running one ends it; then the other may start.
    first.reset();
    EXPECT_EQ(released, 1);
    EXPECT_EQ(second->Start(), TAcquisition::Outcome::Running);
    second->Stop();
}

TEST_F(AcquisitionTest, MemoryReadOutDeliversEveryRowAndReleasesTheDevice) {
    settings.SetZoltType(1);
    settings.SetZoltMode(1);
    auto a = make({true, true});
    EXPECT_EQ(a->Start(), TAcquisition::Outcome::ReadOut);
    EXPECT_EQ(measurement.RowCount(), 3);
    EXPECT_EQ(measurement.GetRow(2), (TDataRow{2000, 202, 302, 1}));
    EXPECT_EQ(readouts, 1);
    EXPECT_EQ(released, 1);
    EXPECT_TRUE(running.isEmpty()) << "a read-out leaves the actions alone";
    EXPECT_EQ(status.first(), "Daten werden aus dem Speicher ausgelesen (0 %)");
    EXPECT_TRUE(status.contains("Daten werden aus dem Speicher ausgelesen (100 %)"));
    EXPECT_EQ(status.last(), "");
    // The next start creates a new device.
    a->Start();
    EXPECT_EQ(created, 2);
}
