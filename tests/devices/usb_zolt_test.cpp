// TUSBZolt against the simulated logger of the Zolt3 library.

#include "devices/usb_zolt.h"

#include "devices/acquisition.h"
#include "driver/zolt3.h"
#include "model/messung_info.h"
#include "platform/settings_backend.h"
#include "settings/global_vars.h"
#include "support/qt_printers.h"
#include "support/scripted_dialogs.h"

#include <QTest>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {
using Env = std::vector<std::pair<const char*, const char*>>;

// A fresh simulated device configured by `env` (ZOLT3_SIM_* without the prefix). The
// library starts a new transport whenever ZOLT3_USB_ID changes, which it ignores for the
// simulator otherwise.
void useSimulatedDevice(const Env& env) {
    static const char* const names[] = {
        "MODEL",  "CHANNELS", "RECORDS", "INTERVAL", "SERIAL", "VERSION", "NOISE",  "INTERNAL",
        "CURVE1", "CURVE2",   "CURVE3",  "CURVE4",   "CURVE5", "CURVE6",  "CURVE7", "CURVE8"};
    for (const char* name : names)
        qunsetenv(QByteArray("ZOLT3_SIM_") + name);
    for (const auto& [name, value] : env)
        qputenv(QByteArray("ZOLT3_SIM_") + name, value);
    static int generation = 0;
    qputenv("ZOLT3_TRANSPORT", "sim");
    qputenv("ZOLT3_USB_ID", QByteArray::number(++generation));
}

// Steady curves without noise, so every reading is known.
const Env kSteady = {{"NOISE", "0"},     {"CURVE1", "0:21.5"}, {"CURVE2", "0:22"},
                     {"CURVE3", "0:-5"}, {"CURVE4", "0:30"},   {"CURVE5", "0:35"},
                     {"CURVE6", "0:40"}, {"CURVE7", "0:45"},   {"CURVE8", "0:100"}};

Env steadyWith(Env extra) {
    Env env = kSteady;
    env.insert(env.end(), extra.begin(), extra.end());
    return env;
}

class UsbZoltTest : public ::testing::Test {
protected:
    void SetUp() override { TUSBZolt::SetDelays({0, 0, 0}); }
    void TearDown() override {
        TUSBZolt::SetDelays({});
        qunsetenv("ZOLT3_TRANSPORT");
        qunsetenv("ZOLT3_USB_ID");
    }

    // Collects what the device delivers.
    void listen(TZolt& device) {
        device.OnData = [this](const TDataRow& row) { rows.push_back(row); };
        device.OnStatusText = [this](const QString& text) { status << text; };
        device.OnBusy = [this](bool on) { busy << on; };
    }

    std::vector<TDataRow> rows;
    QStringList status;
    QList<bool> busy;
};

std::vector<int> presentChannels(const TZolt& device) {
    std::vector<int> present;
    for (int c = 1; c <= static_cast<int>(device.Channels.size()); ++c)
        if (device.Channels[c - 1]) present.push_back(c);
    return present;
}
} // namespace

TEST_F(UsbZoltTest, InitializeReadsMaskStatusAndVersion) {
    struct Case {
        quint8 type;
        Env env;
        std::vector<int> channels;
        QString version;
    } cases[] = {
        {1, {{"CHANNELS", "0x83"}, {"VERSION", "21"}}, {1, 2, 8}, "2.1"},
        {1, {{"CHANNELS", "0"}, {"VERSION", "5"}}, {}, "0.5"},
        // The 318.10 runs only after the firmware download from the program folder.
        {0, {{"MODEL", "10"}, {"CHANNELS", "0x0F"}, {"VERSION", "130"}}, {1, 2, 3, 4}, "13.0"},
    };
    for (const Case& c : cases) {
        useSimulatedDevice(c.env);
        TZoltPtr<TUSBZolt> device(new TUSBZolt(c.type));
        EXPECT_EQ(device->Status, 1) << c.version.toStdString();
        EXPECT_EQ(device->Version, c.version);
        ASSERT_EQ(device->Channels.size(), 8u);
        EXPECT_EQ(presentChannels(*device), c.channels) << c.version.toStdString();
        EXPECT_EQ(device->ActiveChannelCount(), c.channels.size());
    }
}

TEST_F(UsbZoltTest, StatusText) {
    struct Case {
        const char* serial;
        QString sn;
    } cases[] = {{"4711", "4711"}, {"-1", "Unbekannt"}};
    for (const Case& c : cases) {
        useSimulatedDevice({{"CHANNELS", "0x83"}, {"VERSION", "21"}, {"SERIAL", c.serial}});
        TZoltPtr<TUSBZolt> device(new TUSBZolt(1));
        QString text;
        device->GetStatusText(text);
        EXPECT_EQ(text, "ZOLT_Info: \nStatus: 1\nVersion: 2.1\nSN: " + c.sn +
                            "\nVerfügbare Kanäle:\n[X] Kanal1\n[X] Kanal2\n[  ] Kanal3\n"
                            "[  ] Kanal4\n[  ] Kanal5\n[  ] Kanal6\n[  ] Kanal7\n[X] Kanal8\n");
    }
    // A device that never answered has status 0.
    TZoltPtr<TUSBZolt> silent(new TUSBZolt(1, false));
    QString text;
    silent->GetStatusText(text);
    EXPECT_EQ(text, "Es ist kein angeschlossenes Zolt erkannt worden!");
}

TEST_F(UsbZoltTest, OnlineRowsHoldTheTimeAndThePresentChannels) {
    useSimulatedDevice(steadyWith({{"CHANNELS", "0x85"}}));
    TZoltPtr<TUSBZolt> device(new TUSBZolt(1));
    listen(*device);
    device->SetPollInterval(100);
    ASSERT_TRUE(device->Start());
    EXPECT_TRUE(device->IsRunning());
    ASSERT_TRUE(QTest::qWaitFor([&] { return rows.size() >= 3; }, 5000));
    device->Stop();
    EXPECT_FALSE(device->IsRunning());
    const std::size_t received = rows.size();
    QTest::qWait(250);
    EXPECT_EQ(rows.size(), received) << "nothing after Stop";

    quint32 previous = 0;
    for (const TDataRow& row : rows) {
        // Channels 1, 3 and 8; -5.0 °C arrives as the unsigned word 0xFFCE.
        ASSERT_EQ(row.size(), 4u);
        EXPECT_EQ((TDataRow{row.begin() + 1, row.end()}), (TDataRow{215, 65486, 1000}));
        EXPECT_GE(row[0], previous);
        previous = row[0];
    }

    // Without a handler the rows are logged as text.
    device->OnData = nullptr;
    rows.clear();
    device->Start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return device->RowLog.size() >= 1; }, 5000));
    device->Stop();
    EXPECT_TRUE(device->RowLog.first().endsWith(",215,65486,1000")) << device->RowLog.first().toStdString();
}

TEST_F(UsbZoltTest, ReadOutDeliversEveryRecordWithProgress) {
    // Three records, 2 s apart.
    useSimulatedDevice(steadyWith({{"CHANNELS", "0x05"}, {"RECORDS", "3"}, {"INTERVAL", "4"}}));
    TZoltPtr<TUSBZolt> device(new TUSBZolt(1));
    listen(*device);
    EXPECT_TRUE(device->ReadMemory());
    EXPECT_EQ(rows, (std::vector<TDataRow>{
                        {0, 215, 65486, 1}, {2000, 215, 65486, 1}, {4000, 215, 65486, 1}}));
    EXPECT_EQ(status, (QStringList{"Daten werden aus dem Speicher ausgelesen (33 %)",
                                   "Daten werden aus dem Speicher ausgelesen (67 %)"}));
    EXPECT_EQ(busy, (QList<bool>{true, false}));
}

TEST_F(UsbZoltTest, ReadOutRefusals) {
    struct Case {
        quint8 type;
        const char* interval;
        QString caption, text; // empty: accepted
    } cases[] = {
        {1, "1200", "", ""}, // 600 s
        {1, "1201", "Fehler",
         "Ungültiger Wert für Messinterval gelesen (1201). Messung kann nicht ausgelesen werden!"},
        {0, "10", "Info",
         "Eine Speichermessung wird von dem eingestellten Zolt-Typen nicht unterstützt!"},
    };
    for (const Case& c : cases) {
        ScopedScriptedDialogs d;
        useSimulatedDevice(
            steadyWith({{"CHANNELS", "0x01"}, {"RECORDS", "2"}, {"INTERVAL", c.interval}}));
        // The 318.10 is refused before anything is asked of the device.
        TZoltPtr<TUSBZolt> device(new TUSBZolt(c.type, c.type == 1));
        listen(*device);
        rows.clear();
        const bool complete = device->ReadMemory();
        if (c.text.isEmpty()) {
            EXPECT_TRUE(complete);
            EXPECT_EQ(rows, (std::vector<TDataRow>{{0, 215, 1}, {600000, 215, 1}}));
            EXPECT_TRUE(d.calls().empty());
            continue;
        }
        EXPECT_FALSE(complete) << c.text.toStdString();
        EXPECT_TRUE(rows.empty()) << c.text.toStdString();
        ASSERT_EQ(d.calls().size(), 1u) << c.text.toStdString();
        EXPECT_EQ(d.last().caption, c.caption);
        EXPECT_EQ(d.last().text, c.text);
    }
}

TEST_F(UsbZoltTest, ReadOutThatLosesTheDeviceKeepsTheRowsSoFar) {
    ScopedScriptedDialogs d;
    useSimulatedDevice(steadyWith({{"CHANNELS", "0x01"}, {"RECORDS", "5"}, {"INTERVAL", "2"}}));
    TZoltPtr<TUSBZolt> device(new TUSBZolt(1));
    listen(*device);
    device->OnData = [this](const TDataRow& row) {
        rows.push_back(row);
        if (rows.size() == 2) ProgReset(); // the processor stops: nothing answers any more
    };
    EXPECT_FALSE(device->ReadMemory());
    EXPECT_EQ(rows, (std::vector<TDataRow>{{0, 215, 1}, {1000, 215, 1}})) << "no zero rows";
    ASSERT_EQ(d.calls().size(), 1u);
    EXPECT_EQ(d.last().caption, "Fehler");
    EXPECT_EQ(d.last().text,
              "Der Speicher konnte nicht vollständig ausgelesen werden (2 von 5 Datensätzen).");
    EXPECT_EQ(busy, (QList<bool>{true, false}));
}

// An online measurement whose device stops answering: failed polls deliver nothing, and
// after the silence limit the acquisition ends with a message, keeping every row.
TEST_F(UsbZoltTest, SilentDeviceEndsTheAcquisitionKeepingItsRows) {
    ScopedScriptedDialogs d;
    useSimulatedDevice(steadyWith({{"CHANNELS", "0x03"}}));
    MemorySettingsBackend store;
    TGlobalVars settings(store);
    settings.SetZoltType(1);
    settings.SetZoltMode(0);
    settings.SetMeasInterval(100);
    TMessungInfo measurement;
    QList<bool> running;
    TAcquisition::Callbacks cb;
    cb.OnRow = [&](const TDataRow& source) {
        rows.push_back(source);
        measurement.AddRow(TAcquisition::MapRow(measurement, source));
    };
    cb.OnRunningChanged = [&](bool on) { running << on; };
    TAcquisition acquisition(measurement, settings, cb);
    ASSERT_EQ(acquisition.Start(), TAcquisition::Outcome::Running);
    ASSERT_TRUE(QTest::qWaitFor([&] { return rows.size() >= 2; }, 5000));

    ProgReset();
    const std::size_t received = rows.size();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !acquisition.IsRunning(); },
                                static_cast<int>(TUSBZolt::kSilenceLimitMs) + 3000));
    EXPECT_EQ(rows.size(), received) << "a failed poll is no row";
    EXPECT_EQ(measurement.RowCount(), static_cast<int>(received));
    for (int r = 0; r < measurement.RowCount(); ++r)
        EXPECT_EQ(measurement.GetRow(r), (TDataRow{measurement.GetTime(r), 215, 220, 1}));
    EXPECT_EQ(running, (QList<bool>{true, false}));
    EXPECT_EQ(TAcquisition::Running(), nullptr);
    ASSERT_EQ(d.calls().size(), 1u);
    EXPECT_EQ(d.last().caption, "Fehler");
    EXPECT_EQ(d.last().text, "Das Zolt antwortet nicht mehr. Die Messung wurde angehalten.");
    // The acquisition has let go of the device; a new one starts afresh.
    useSimulatedDevice(steadyWith({{"CHANNELS", "0x03"}}));
    ASSERT_EQ(acquisition.Start(), TAcquisition::Outcome::Running);
    acquisition.Stop();
}
