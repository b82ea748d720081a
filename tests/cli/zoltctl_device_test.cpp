// zoltctl's device and analysis commands end to end: the program beside the tests against
// the simulated USB logger (and the serial simulator where it is built).

#include "model/messung_info.h"
#include "support/qt_printers.h"
#include "support/scripted_dialogs.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>

namespace {
struct Outcome {
    int exitCode = -1;
    QByteArray out;
    QString err;
};

QString program(const char* name) {
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + QLatin1String(name);
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class ZoltctlDevice : public testing::Test {
protected:
    void SetUp() override {
        env_ = QProcessEnvironment::systemEnvironment();
        env_.remove("ZOLT3_USB_ID");
        env_.insert("LC_ALL", "C");
        // The user's settings of this run live in the test's folder.
        env_.insert("XDG_CONFIG_HOME", path("config"));
        // Channels 1 and 3 of the simulated logger at steady temperatures; 50 stored
        // records, 2 s apart.
        const std::pair<const char*, const char*> sim[] = {
            {"ZOLT3_TRANSPORT", "sim"},     {"ZOLT3_SIM_NOISE", "0"},
            {"ZOLT3_SIM_CHANNELS", "0x05"}, {"ZOLT3_SIM_CURVE1", "0:21.5"},
            {"ZOLT3_SIM_CURVE3", "0:40"},   {"ZOLT3_SIM_RECORDS", "50"},
            {"ZOLT3_SIM_INTERVAL", "4"},
        };
        for (const auto& [name, value] : sim)
            env_.insert(name, value);
        storeSettings({{"ZoltType", 1}, {"ZoltMode", 0}, {"MeasInterval", 100}});
    }

    QString path(const QString& name) const { return dir_.filePath(name); }
    QString settingsFile() const { return path("config/Trelwin/Zolt.conf"); }

    void storeSettings(const std::vector<std::pair<const char*, int>>& values) {
        QSettings s(settingsFile(), QSettings::IniFormat);
        for (const auto& [name, value] : values)
            s.setValue(name, value);
    }

    void start(QProcess& p, const QStringList& args) {
        p.setProcessEnvironment(env_);
        p.start(program("zoltctl"), args);
    }

    Outcome run(const QStringList& args) {
        QProcess p;
        start(p, args);
        Outcome r;
        if (!p.waitForFinished(30000)) {
            ADD_FAILURE() << "zoltctl did not end: " << p.errorString().toStdString();
            p.kill();
            p.waitForFinished();
            return r;
        }
        r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        r.out = p.readAllStandardOutput();
        r.err = QString::fromUtf8(p.readAllStandardError());
        return r;
    }

    // `zoltctl info --rows` of a file.
    QJsonObject info(const QString& file) {
        const Outcome r = run({"info", "--rows", file});
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        return QJsonDocument::fromJson(r.out).object();
    }

    QTemporaryDir dir_;
    QProcessEnvironment env_;
};

QStringList channelNames(const QJsonObject& doc) {
    QStringList names;
    for (const QJsonValue& c : doc["Channels"].toArray())
        names << c["Name"].toString();
    return names;
}
} // namespace

TEST_F(ZoltctlDevice, ReadoutWritesEveryStoredRecordInEachFormat) {
    for (const QString name : {"r.zolt", "r.json", "r.txt"}) {
        const Outcome r = run({"readout", path(name)});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains("] 100 %")) << "progress bar: " << r.err.toStdString();
        EXPECT_TRUE(r.err.contains("50 Zeilen")) << r.err.toStdString();
        if (name.endsWith(".txt")) {
            EXPECT_TRUE(readAll(path(name)).startsWith("[Messungsinfo]\r\n"));
            EXPECT_TRUE(readAll(path(name)).endsWith("98000;215;400;1;\r\n"));
            continue;
        }
        const QJsonObject doc = info(path(name));
        EXPECT_EQ(doc["RowCount"].toInt(), 50) << name.toStdString();
        EXPECT_EQ(channelNames(doc), (QStringList{"Kanal 1", "Kanal 3"}));
        const QJsonArray rows = doc["Rows"].toArray();
        ASSERT_EQ(rows.size(), 50);
        EXPECT_EQ(rows[0].toArray(), (QJsonArray{0, 215, 400}));
        EXPECT_EQ(rows[49].toArray(), (QJsonArray{98000, 215, 400}));
    }
}

TEST_F(ZoltctlDevice, MeasureEndsAfterItsSecondsOrOnCtrlC) {
    const Outcome r = run({"measure", path("m.json"), "--seconds", "1"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("Messung über 1.00 Sekunden aktiv")) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(" s  Kanal 1: 21.5 °C  Kanal 3: 40.0 °C\n")) << r.err.toStdString();
    const QJsonObject doc = info(path("m.json"));
    EXPECT_EQ(channelNames(doc), (QStringList{"Kanal 1", "Kanal 3"}));
    ASSERT_GE(doc["RowCount"].toInt(), 1);
    for (const QJsonValue& row : doc["Rows"].toArray())
        EXPECT_EQ((QJsonArray{row[1], row[2]}), (QJsonArray{215, 400}));

    // Without --seconds it runs until Ctrl-C, then saves what it received.
    QProcess p;
    start(p, {"measure", path("m.zolt")});
    p.setReadChannel(QProcess::StandardError);
    QString err;
    while (!err.contains("Kanal 3: 40.0 °C") && p.waitForReadyRead(10000))
        err += QString::fromUtf8(p.readAllStandardError());
    if (!err.contains("Kanal 3: 40.0 °C")) {
        p.kill();
        p.waitForFinished();
        FAIL() << "no row arrived: " << err.toStdString();
    }
    ::kill(static_cast<pid_t>(p.processId()), SIGINT);
    ASSERT_TRUE(p.waitForFinished(10000));
    err += QString::fromUtf8(p.readAllStandardError());
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 0) << err.toStdString();
    EXPECT_TRUE(err.contains("gespeichert")) << err.toStdString();
    EXPECT_GE(info(path("m.zolt"))["RowCount"].toInt(), 1);
}

TEST_F(ZoltctlDevice, StoredSettingsAreHonouredAndOverridesStayInTheRun) {
    // The stored type is the 318.10, which has no memory; --type 1 overrides it.
    storeSettings({{"ZoltType", 0}, {"MeasInterval", 100}});
    const QByteArray stored = readAll(settingsFile());

    const Outcome refused = run({"readout", path("r.zolt")});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains(
        "Info: Eine Speichermessung wird von dem eingestellten Zolt-Typen nicht unterstützt!"))
        << refused.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(path("r.zolt")));
    ASSERT_EQ(run({"readout", path("r.zolt"), "--type", "1"}).exitCode, 0);

    // Polled at 400 ms instead of the stored 100: no two rows closer than that.
    const Outcome m = run({"measure", path("m.json"), "--seconds=1", "--interval=400"});
    ASSERT_EQ(m.exitCode, 0) << m.err.toStdString();
    const QJsonArray rows = info(path("m.json"))["Rows"].toArray();
    ASSERT_GE(rows.size(), 1);
    for (qsizetype i = 1; i < rows.size(); ++i)
        EXPECT_GE(rows[i][0].toInt() - rows[i - 1][0].toInt(), 350);

    EXPECT_EQ(readAll(settingsFile()), stored) << "the user's settings are left alone";
}

TEST_F(ZoltctlDevice, StatusPrintsTheDeviceInformation) {
    env_.insert("ZOLT3_SIM_CHANNELS", "0x83");
    env_.insert("ZOLT3_SIM_SERIAL", "-1");
    const Outcome r = run({"status"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(QString::fromUtf8(r.out),
              "ZOLT_Info: \nStatus: 1\nVersion: 2.1\nSN: Unbekannt\nVerfügbare Kanäle:\n"
              "[X] Kanal1\n[X] Kanal2\n[  ] Kanal3\n[  ] Kanal4\n[  ] Kanal5\n[  ] Kanal6\n"
              "[  ] Kanal7\n[X] Kanal8\n");
}

TEST_F(ZoltctlDevice, BadCommandLinesAreRefusedBeforeTheDeviceIsTouched) {
    struct Case {
        QStringList args;
        int exitCode;
        QString err;
    } cases[] = {
        {{"measure"}, 2, "Es fehlt die Ausgabedatei."},
        {{"measure", path("m.xls")}, 2, "AUS muss auf .zolt, .txt oder .json enden"},
        {{"measure", path("m.mref")}, 2, "AUS muss auf .zolt, .txt oder .json enden"},
        {{"measure", path("m.zolt"), "--seconds", "0"}, 2, "Ungültiger Wert \"0\" für --seconds"},
        {{"measure", path("m.zolt"), "--interval", "schnell"}, 2, "für --interval"},
        {{"measure", path("m.zolt"), "--type", "3"}, 2, "für --type"},
        {{"readout", path("r.zolt"), "--port", "7"}, 2, "für --port"},
        {{"readout", path("r.zolt"), "--seconds", "5"}, 2, "Unerwartetes Argument \"--seconds\""},
        {{"readout", path("r.zolt"), path("s.zolt")}, 2, "Unerwartetes Argument"},
        {{"status", "--type"}, 2, "Bei \"--type\" fehlt der Wert."},
        {{"measure", path("nowhere/m.zolt")}, 1, "kann nicht zugegriffen werden"},
    };
    // No device behind them: any attempt to measure would fail differently.
    env_.insert("ZOLT3_TRANSPORT", "none-such");
    for (const Case& c : cases) {
        const Outcome r = run(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(c.err)) << r.err.toStdString();
        if (c.exitCode == 2) {
            EXPECT_TRUE(r.err.contains("Aufruf:"));
        }
        EXPECT_FALSE(r.err.contains("Zolt3:")) << "the device library was called";
    }
}

TEST_F(ZoltctlDevice, AnalysePrintsBandsTotalsAndExtremes) {
    {
        ScopedScriptedDialogs d;
        TMessungInfo m;
        m.SetChannelCount(2);
        m.GetChannel(1)->Name = "Ofen";
        const std::pair<quint32, quint32> samples[] = {{0, 200},    {100, 600},  {300, 650},
                                                       {2000, 260}, {3000, 700}, {4000, 250}};
        for (const auto& [t, v] : samples)
            ASSERT_TRUE(m.AddRow({t, 10, v, 1}));
        m.FileName = path("a.zolt");
        ASSERT_TRUE(m.Save(false));
    }
    QFile def(path("a.adef"));
    ASSERT_TRUE(def.open(QIODevice::WriteOnly));
    def.write("[Hei\xDF]\r\nThreshold=500\r\n\r\n[Nie]\r\nThreshold=900\r\n");
    def.close();

    const Outcome r = run({"analyse", path("a.zolt"), "--adef", path("a.adef"), "--channel", "1"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject root = QJsonDocument::fromJson(r.out).object();
    EXPECT_EQ(root["channelName"].toString(), "Ofen");
    const QJsonArray bands = root["bands"].toArray();
    ASSERT_EQ(bands.size(), 2);
    EXPECT_EQ(bands[0].toObject(), (QJsonObject{{"range", "Heiß"},
                                                {"rangeIndex", 0},
                                                {"start", 0.1},
                                                {"end", 2.0},
                                                {"duration", 1.9}}));
    EXPECT_EQ(root["ranges"].toArray(),
              (QJsonArray{QJsonObject{{"name", "Heiß"}, {"bands", 2}, {"total", 2.9}},
                          QJsonObject{{"name", "Nie"}, {"bands", 0}, {"total", 0.0}}}));
    EXPECT_EQ(root["maxTemperature"].toObject(),
              (QJsonObject{{"temperature", 70.0}, {"time", 3.0}}));
    EXPECT_EQ(root["steepestFall"].toObject(), (QJsonObject{{"slope", -45.0}, {"time", 3.5}}));

    struct Case {
        QStringList args;
        int exitCode;
        QString err;
    } failures[] = {
        {{"analyse", path("a.zolt")}, 2, "Es fehlt die Analysedefinition (--adef)."},
        {{"analyse", path("a.zolt"), "--adef", path("a.adef"), "--channel", "-1"}, 2, "--channel"},
        {{"analyse", path("a.zolt"), "--adef", path("a.adef"), "--channel", "2"},
         1,
         "Die Messung hat keinen Kanal 2 (Kanäle 0 bis 1)."},
        {{"analyse", path("a.zolt"), "--adef", path("none.adef")},
         1,
         "kann nicht zugegriffen werden"},
        {{"analyse", path("none.zolt"), "--adef", path("a.adef")},
         1,
         "kann nicht zugegriffen werden"},
    };
    for (const Case& c : failures) {
        const Outcome f = run(c.args);
        EXPECT_EQ(f.exitCode, c.exitCode) << c.args.join(' ').toStdString();
        EXPECT_TRUE(f.err.contains(c.err)) << f.err.toStdString();
        EXPECT_TRUE(f.out.isEmpty());
    }
}

// The serial model through the same commands, against zolt-serial-sim as COM3.
TEST_F(ZoltctlDevice, SerialMeasureAndReadout) {
    if (!QFileInfo(program("zolt-serial-sim")).isExecutable())
        GTEST_SKIP() << "zolt-serial-sim is not built";
    QProcess sim;
    sim.start(program("zolt-serial-sim"), {"--rate", "10", "--records", "40"});
    ASSERT_TRUE(sim.waitForStarted(5000));
    while (!sim.canReadLine() && sim.waitForReadyRead(5000)) {
    }
    const QString terminal = QString::fromLocal8Bit(sim.readLine()).trimmed();
    ASSERT_FALSE(terminal.isEmpty());
    env_.insert("ZOLT_COM3", terminal);

    const Outcome m =
        run({"measure", path("s.zolt"), "--type", "2", "--port", "3", "--seconds", "1"});
    EXPECT_EQ(m.exitCode, 0) << m.err.toStdString();
    const QJsonObject online = info(path("s.zolt"));
    EXPECT_EQ(online["Channels"].toArray().size(), 6);
    EXPECT_GE(online["RowCount"].toInt(), 1);

    const Outcome r = run({"readout", path("s.json"), "--type=2", "--port=3"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject stored = info(path("s.json"));
    EXPECT_EQ(stored["Channels"].toArray().size(), 6);
    EXPECT_EQ(stored["RowCount"].toInt(), 40);

    sim.terminate();
    if (!sim.waitForFinished(3000)) sim.kill();
}
