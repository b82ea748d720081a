#include "serial_sim_fixture.h"
#include "support/scripted_dialogs.h"
#include "support/test_env.h"

#include <QEventLoop>
#include <QTimer>

#include <fcntl.h>
#include <set>
#include <unistd.h>

namespace {

#define START_SIM(...)                                                                             \
    StartSim(__VA_ARGS__);                                                                         \
    if (IsSkipped()) return

// Every online value the simulator can send for channel c (1-based).
bool IsSimOnlineValue(int c, quint32 value) {
    return value == 0 ||
           (value % 10 == 0 && value / 10 >= quint32(20 + c) && value / 10 < quint32(50 + c));
}

// Checks what the reader delivered: full rows, rising times, only values that were sent.
void ExpectPlausibleRows(const std::vector<TDataRow>& rows) {
    quint32 lastTime = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const TDataRow& row = rows[i];
        ASSERT_EQ(row.size(), 8u) << i;
        EXPECT_EQ(row[7], 1u) << i;
        if (i > 0) {
            EXPECT_GT(row[0], lastTime) << i;
        }
        lastTime = row[0];
        for (int c = 1; c <= 6; ++c)
            EXPECT_TRUE(IsSimOnlineValue(c, row[c]))
                << "row " << i << " channel " << c << ": " << row[c];
    }
}

using SerialCommands = SerialDeviceTest;

TEST_F(SerialCommands, StatusClockAndDate) {
    LocaleScope german(germanLocale());
    // The device writes the date as the user's short format has it (two-digit years here).
    START_SIM({"--date-format", germanLocale().dateFormat(QLocale::ShortFormat)});
    QString status;
    device_->GetStatusText(status);
    EXPECT_TRUE(status.startsWith("ZOLT-SER")) << status.toStdString();
    EXPECT_TRUE(device_->IsPortOpen()) << "the first command opens the port";

    EXPECT_TRUE(device_->SetDeviceTime(QTime(13, 7, 9)));
    const QTime clock = device_->GetDeviceTime();
    EXPECT_GE(clock, QTime(13, 7, 9));
    EXPECT_LT(clock, QTime(13, 7, 15));
    EXPECT_EQ(device_->GetDeviceDate(), QDate::currentDate());
    EXPECT_EQ(device_->CommandLog.mid(0, 2), QStringList({"S?", status}));
    EXPECT_TRUE(device_->CommandLog.contains("Z=13:07:09"));
}

TEST_F(SerialCommands, TriggersMemoryAndEndOfRecording) {
    START_SIM({});
    device_->SetTrigger(40, TSerZolt::AllChannels);
    QStringList expected;
    for (int c = 1; c <= 6; ++c)
        expected << QString("T%1=040C").arg(c) << "OK!";
    EXPECT_EQ(device_->CommandLog, expected);

    device_->CommandLog.clear();
    device_->SetTrigger(40, 9);
    device_->SwitchTriggerOff(0);
    EXPECT_TRUE(device_->CommandLog.isEmpty()) << "no such channel: nothing is sent";

    device_->SwitchTriggerOff(3);
    device_->SetTrigger(-5, 2);
    EXPECT_EQ(device_->CommandLog, QStringList({"T3=OFF", "OK!", "T2=-005C", "OK!"}));

    EXPECT_TRUE(device_->EndRecording());
    EXPECT_TRUE(device_->ClearMemory());
    device_->SendCommand("N?");
    EXPECT_EQ(device_->ReadReply(), "N=0,0,0,0,0,0");
    device_->SendCommand("BOGUS");
    EXPECT_FALSE(device_->ExpectOK()) << "a reply that is not OK!";
}

// A device that is connected but never answers: a terminal nobody serves.
TEST(SerialSilentDevice, EmptyRepliesGiveTheFallbacks) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    qputenv("ZOLT_COM3", ptsname(master));
    {
        ScopedScriptedDialogs dialogs;
        TZoltPtr<TSerZolt> device(new TSerZolt(3, true));
        TSerZolt::Pacing fast;
        fast.charDelayMs = 0;
        fast.afterCommandMs = 0;
        fast.beforeStatusMs = 0;
        device->SetPacing(fast);
        QString status;
        device->GetStatusText(status);
        EXPECT_EQ(status, "Zolt-Stauts kann nicht ermittelt werden!\nÜberprüfen Sie, ob das Zolt "
                          "korrekt angeschlossen wurde und im RAM-Modus läuft.");
        EXPECT_EQ(device->GetDeviceTime(), QTime(0, 0));
        EXPECT_EQ(device->GetDeviceDate(), QDate(1899, 12, 30));
        EXPECT_FALSE(device->ExpectOK());

        std::vector<TDataRow> rows;
        device->OnData = [&rows](const TDataRow& row) { rows.push_back(row); };
        EXPECT_FALSE(device->ReadMemory());
        EXPECT_TRUE(rows.empty());
        ASSERT_EQ(dialogs.messages().size(), 1u);
        EXPECT_EQ(dialogs.last().caption, "Fehler");
        EXPECT_TRUE(dialogs.last().text.contains("antwortet nicht"));
    }
    qunsetenv("ZOLT_COM3");
    close(master);
}

TEST(SerialPortFailure, StartAndReadOutReportThePortAndFail) {
    qputenv("ZOLT_COM3", "/nonexistent/ttyZolt");
    {
        ScopedScriptedDialogs dialogs;
        TZoltPtr<TSerZolt> device(new TSerZolt(3, true));
        std::vector<TDataRow> rows;
        device->OnData = [&rows](const TDataRow& row) { rows.push_back(row); };
        EXPECT_FALSE(device->Start());
        EXPECT_FALSE(device->IsReading());
        EXPECT_FALSE(device->ReadMemory());
        ASSERT_EQ(dialogs.messages().size(), 2u);
        for (const auto& call : dialogs.messages()) {
            EXPECT_EQ(call.caption, "Fehler");
            EXPECT_EQ(call.icon, Dialogs::Icon::Error);
            EXPECT_TRUE(call.text.contains("COM3")) << call.text.toStdString();
            EXPECT_TRUE(call.text.contains("/nonexistent/ttyZolt"));
            EXPECT_TRUE(call.text.contains("kann nicht geöffnet werden"));
        }
        // Commands go nowhere, as the status text tells.
        device->SetPacing({0, 0, 0, 0});
        QString status;
        device->GetStatusText(status);
        EXPECT_TRUE(status.startsWith("Zolt-Stauts kann nicht ermittelt werden!"));
    }
    qunsetenv("ZOLT_COM3");
}

TEST(SerialStart, RefusedWithoutDataHandler) {
    ScopedScriptedDialogs dialogs;
    TZoltPtr<TSerZolt> device(new TSerZolt(3, true));
    EXPECT_FALSE(device->Start());
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.last().caption, "Fehler");
    EXPECT_EQ(dialogs.last().icon, Dialogs::Icon::Warning);
    EXPECT_EQ(dialogs.last().text, "Interner Fehler:\nDie Messung kann nicht gestartet werden, da "
                                   "kein Datenhandler zugewiesen wurde!");
    EXPECT_FALSE(device->IsReading());
}

using SerialReadOut = SerialDeviceTest;

TEST_F(SerialReadOut, MergesChannelsAndFillsGaps) {
    START_SIM({"--records", "4,2,0,0,0,0", "--gaps", "--mem-interval", "1000"});
    std::vector<TDataRow> rows;
    QStringList progress;
    std::vector<bool> busy;
    device_->OnData = [&rows](const TDataRow& row) { rows.push_back(row); };
    device_->OnStatusText = [&progress](const QString& text) { progress << text; };
    device_->OnBusy = [&busy](bool on) { busy.push_back(on); };
    ASSERT_TRUE(device_->ReadMemory());

    // Channel 1 holds 21..24 degrees at 0..3 s; channel 2 (every second interval) 22 and
    // 24 degrees at 0 and 2 s: 23 is filled in at 1 s, after its last record it stays 0.
    const std::vector<TDataRow> expected = {{0, 210, 220, 0, 0, 0, 0, 1},
                                            {1000, 220, 230, 0, 0, 0, 0, 1},
                                            {2000, 230, 240, 0, 0, 0, 0, 1},
                                            {3000, 240, 0, 0, 0, 0, 0, 1}};
    EXPECT_EQ(rows, expected);
    QStringList percents;
    for (int p : {15, 50, 80, 90, 100})
        percents << QString("Daten werden aus dem Speicher ausgelesen (%1 %)").arg(p);
    EXPECT_EQ(progress, percents);
    EXPECT_EQ(busy, std::vector<bool>({true, false}));
    QStringList commands;
    for (const QString& entry : device_->CommandLog)
        if (entry == "N?" || entry.startsWith('K')) commands << entry.section('=', 0, 0);
    EXPECT_EQ(commands, QStringList({"N?", "K1,1,4?", "K1,1,4", "K2,1,2?", "K2,1,2"}))
        << "only channels with records are fetched";
}

TEST_F(SerialReadOut, LargerMemoryWithoutHandlerGoesToRowLog) {
    START_SIM({"--records", "500,300,0,120,60,1", "--gaps", "--mem-interval", "500"});
    ASSERT_TRUE(device_->ReadMemory());
    // Stored ticks: channel c records ticks 0, c, 2c, ...; the rows are their union.
    std::set<int> ticks;
    const int counts[] = {500, 300, 0, 120, 60, 1};
    for (int c = 1; c <= 6; ++c)
        for (int i = 0; i < counts[c - 1]; ++i)
            ticks.insert(i * c);
    ASSERT_EQ(device_->RowLog.size(), qsizetype(ticks.size()));
    auto tick = ticks.begin();
    for (const QString& line : device_->RowLog) {
        const QStringList f = line.split(',');
        ASSERT_EQ(f.size(), 8);
        EXPECT_EQ(f[0].toInt(), *tick * 500);
        // Channel 2 is either its own record or between two of them, never empty inside.
        if (*tick <= 2 * 299) {
            EXPECT_NE(f[2].toInt(), 0) << line.toStdString();
        } else {
            EXPECT_EQ(f[2].toInt(), 0) << line.toStdString();
        }
        EXPECT_EQ(f[3].toInt(), 0);
        EXPECT_EQ(f[7].toInt(), 1);
        ++tick;
    }
}

using SerialOnline = SerialDeviceTest;

TEST_F(SerialOnline, DeliversRowsUntilStopped) {
    START_SIM({"--rate", "200"});
    std::vector<TDataRow> rows;
    device_->OnData = [&rows](const TDataRow& row) { rows.push_back(row); };
    ASSERT_TRUE(device_->Start());
    EXPECT_TRUE(device_->IsReading());
    EXPECT_FALSE(device_->IsRunning()) << "the serial device has no poll timer";
    ASSERT_TRUE(PumpUntil([&] { return rows.size() >= 20; }, 5000));
    device_->Stop();
    EXPECT_FALSE(device_->IsReading());
    const std::size_t seen = rows.size();
    Pump(100);
    EXPECT_EQ(rows.size(), seen) << "nothing arrives after Stop";
    ExpectPlausibleRows(rows);
    // All six channels have reported by now.
    for (int c = 1; c <= 6; ++c)
        EXPECT_NE(rows.back()[c], 0u) << c;

    // The port is closed: the command mode can have it at once.
    QString status;
    device_->GetStatusText(status);
    EXPECT_TRUE(status.startsWith("ZOLT-SER"));

    // The simulator ends cleanly when asked to.
    device_.reset();
    sim_.process().terminate();
    ASSERT_TRUE(sim_.process().waitForFinished(3000));
    EXPECT_EQ(sim_.process().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(sim_.process().exitCode(), 0);
}

TEST_F(SerialOnline, NoiseAndBrokenRecordsGiveNoBogusRows) {
    START_SIM({"--rate", "300", "--noise", "0.3", "--broken", "0.5", "--seed", "7"});
    std::vector<TDataRow> rows;
    device_->OnData = [&rows](const TDataRow& row) { rows.push_back(row); };
    ASSERT_TRUE(device_->Start());
    ASSERT_TRUE(PumpUntil([&] { return rows.size() >= 40; }, 8000));
    device_->Stop();
    ExpectPlausibleRows(rows);
}

TEST_F(SerialOnline, StopFromInsideTheHandler) {
    START_SIM({"--rate", "300"});
    std::vector<TDataRow> rows;
    bool first = true;
    device_->OnData = [&](const TDataRow& row) {
        rows.push_back(row);
        if (first && rows.size() == 5) device_->Stop();
    };
    ASSERT_TRUE(device_->Start());
    ASSERT_TRUE(PumpUntil([&] { return rows.size() >= 5; }, 5000));
    EXPECT_FALSE(device_->IsReading());
    Pump(300);
    EXPECT_EQ(rows.size(), 5u);
    // The reader has let go of the port: a new acquisition gets it.
    rows.clear();
    first = false;
    ASSERT_TRUE(device_->Start());
    ASSERT_TRUE(PumpUntil([&] { return rows.size() >= 6; }, 5000));
    device_->Stop();
}

// The handler shows something modal (a nested event loop) and the user stops meanwhile;
// the device is released before the handler returns.
TEST_F(SerialOnline, StopAndReleaseDuringANestedEventLoopInTheHandler) {
    START_SIM({"--rate", "300"});
    int calls = 0;
    bool released = false;
    device_->OnData = [&](const TDataRow&) {
        if (++calls > 1) return;
        QEventLoop modal;
        QTimer::singleShot(50, &modal, [&] {
            device_->Stop();
            device_.reset();
            released = true;
            modal.quit();
        });
        modal.exec();
    };
    ASSERT_TRUE(device_->Start());
    ASSERT_TRUE(PumpUntil([&] { return released; }, 5000));
    Pump(300);
    EXPECT_EQ(calls, 1);
}

// The main thread is busy (no events) while rows pile up: the reader is waiting in a
// hand-over when Stop comes. Repeated start/stop cycles under a fast stream.
TEST_F(SerialOnline, StopWhileTheReaderWaitsInAHandOver) {
    START_SIM({"--rate", "500"});
    for (int cycle = 0; cycle < 8; ++cycle) {
        std::vector<TDataRow> rows;
        bool stopped = false;
        device_->OnData = [&](const TDataRow& row) {
            EXPECT_FALSE(stopped) << "row after Stop";
            rows.push_back(row);
        };
        ASSERT_TRUE(device_->Start()) << cycle;
        if (cycle % 2 == 0) PumpUntil([&] { return rows.size() >= 3; }, 3000);
        QThread::msleep(120); // busy: the reader blocks in its hand-over
        device_->Stop();
        stopped = true;
        Pump(30);
        ExpectPlausibleRows(rows);
    }
}

TEST_F(SerialOnline, ReleaseWhileRunningStopsTheReader) {
    START_SIM({"--rate", "300"});
    int calls = 0;
    device_->OnData = [&calls](const TDataRow&) { ++calls; };
    ASSERT_TRUE(device_->Start());
    ASSERT_TRUE(PumpUntil([&] { return calls >= 3; }, 5000));
    device_.reset(); // Release without Stop
    const int seen = calls;
    Pump(200);
    EXPECT_EQ(calls, seen);
}

TEST_F(SerialOnline, LostDeviceStopsWithAMessageAndKeepsTheRows) {
    START_SIM({"--rate", "200"});
    ScopedScriptedDialogs dialogs;
    std::vector<TDataRow> rows;
    QString reason;
    device_->OnData = [&rows](const TDataRow& row) { rows.push_back(row); };
    device_->OnStopped = [&](const QString& text) {
        reason = text;
        device_.reset(); // the receiver may release the device right away
    };
    ASSERT_TRUE(device_->Start());
    ASSERT_TRUE(PumpUntil([&] { return rows.size() >= 5; }, 5000));
    sim_.Kill();
    ASSERT_TRUE(PumpUntil([&] { return !reason.isEmpty(); }, 5000));
    EXPECT_TRUE(reason.contains("COM3"));
    EXPECT_FALSE(device_);
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.last().caption, "Fehler");
    EXPECT_EQ(dialogs.last().text, reason);
    EXPECT_GE(rows.size(), 5u);
}

} // namespace
