// zoltctl end to end: the program beside the tests, run as a user would.

#include "model/messung_info.h"
#include "model/referenz_info.h"
#include "support/qt_printers.h"
#include "support/scripted_dialogs.h"
#include "support/test_env.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
struct Outcome {
    int exitCode = -1;
    QByteArray out;
    QString err;
};

Outcome zoltctl(const QStringList& args) {
    QProcess p;
    p.start(QCoreApplication::applicationDirPath() + QStringLiteral("/zoltctl"), args);
    Outcome r;
    if (!p.waitForFinished(30000)) {
        ADD_FAILURE() << "zoltctl did not run: " << p.errorString().toStdString();
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class Zoltctl : public testing::Test {
protected:
    void SetUp() override {
        ScopedScriptedDialogs d;
        TMessungInfo m;
        m.StartTime = 39618.605613425925;
        m.Title = QStringLiteral("Probe A");
        m.User = QStringLiteral("Labor");
        m.SetChannelCount(3);
        m.SetChannel(0, TKanalInfo{QStringLiteral("Kern"), 1, 1});
        m.AddMarker(500, QStringLiteral("Tür auf"));
        ASSERT_TRUE(m.AddRow({0, 215, 220, 225, 1}));
        ASSERT_TRUE(m.AddRow({500, 217, 221, 4000000000u, 1}));
        m.FileName = path("m.zolt");
        ASSERT_TRUE(m.Save(false));
    }
    QString path(const QString& name) const { return dir_.filePath(name); }

    TemporaryProgramFolder program_;
    QTemporaryDir dir_;
};
} // namespace

TEST_F(Zoltctl, InfoPrintsTheDocumentAsJson) {
    const Outcome r = zoltctl({"info", path("m.zolt")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty());
    const QJsonObject o = QJsonDocument::fromJson(r.out).object();
    EXPECT_EQ(o["Title"].toString(), QStringLiteral("Probe A"));
    EXPECT_EQ(o["StartTime"].toString(), QStringLiteral("2008-06-19T14:32:05.000"));
    EXPECT_EQ(o["Protected"], QJsonValue(false));
    EXPECT_EQ(o["Channels"][0]["Name"].toString(), QStringLiteral("Kern"));
    EXPECT_EQ(o["Markers"][0]["Text"].toString(), QStringLiteral("Tür auf"));
    EXPECT_EQ(o["RowCount"].toInt(), 2);
    EXPECT_EQ(o["ValueMax"].toDouble(), 4000000000.0);
    EXPECT_FALSE(o.contains("Rows"));

    const Outcome rows = zoltctl({"info", "--rows", path("m.zolt")});
    ASSERT_EQ(rows.exitCode, 0);
    EXPECT_EQ(QJsonDocument::fromJson(rows.out)["Rows"][1].toArray(),
              (QJsonArray{500, 217, 221, 4000000000.0}));
}

TEST_F(Zoltctl, JsonFromInfoConvertsBackToTheSameBytes) {
    const Outcome r = zoltctl({"info", path("m.zolt"), "--rows"});
    ASSERT_EQ(r.exitCode, 0);
    QFile json(path("m.json"));
    ASSERT_TRUE(json.open(QIODevice::WriteOnly));
    json.write(r.out);
    json.close();
    const Outcome c = zoltctl({"convert", path("m.json"), path("back.zolt")});
    ASSERT_EQ(c.exitCode, 0) << c.err.toStdString();
    EXPECT_EQ(readAll(path("back.zolt")), readAll(path("m.zolt")));

    // .json as a target writes what info --rows prints.
    ASSERT_EQ(zoltctl({"convert", path("m.zolt"), path("direct.json")}).exitCode, 0);
    EXPECT_EQ(readAll(path("direct.json")), r.out);
}

TEST_F(Zoltctl, ConvertsToTextAndReference) {
    const Outcome t = zoltctl({"convert", path("m.zolt"), path("m.txt")});
    ASSERT_EQ(t.exitCode, 0) << t.err.toStdString();
    const QByteArray text = readAll(path("m.txt"));
    EXPECT_TRUE(text.startsWith("[Messungsinfo]\r\n"));
    EXPECT_TRUE(text.endsWith("500;217;221;4000000000;1;\r\n"));

    ASSERT_EQ(zoltctl({"convert", path("m.zolt"), path("r.mref")}).exitCode, 0);
    ScopedScriptedDialogs d;
    TReferenzInfo r;
    EXPECT_TRUE(r.Load(path("r.mref")));
    EXPECT_EQ(r.RowCount(), 2);
}

TEST_F(Zoltctl, ExitCodesAndMessages) {
    QFile foreign(path("foreign.zolt"));
    ASSERT_TRUE(foreign.open(QIODevice::WriteOnly));
    foreign.write("not a measurement file");
    foreign.close();
    QByteArray bytes = readAll(path("m.zolt"));
    bytes[bytes.size() - 3] = static_cast<char>(bytes[bytes.size() - 3] ^ 1);
    QFile bad(path("bad.zolt"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write(bytes);
    bad.close();
    {
        ScopedScriptedDialogs d;
        TMessungInfo two;
        two.SetChannelCount(2);
        two.FileName = path("two.zolt");
        ASSERT_TRUE(two.Save(false));
    }

    struct Case {
        QStringList args;
        int exitCode;
        QString err; // a line stderr must hold
    };
    const Case cases[] = {
        {{}, 2, "Aufruf: zoltctl BEFEHL [ARGUMENTE]"},
        {{"frobnicate"}, 2, "Unbekannter Befehl"},
        {{"info"}, 2, "Aufruf:"},
        {{"info", path("m.zolt"), "--columns"}, 2, "Aufruf:"},
        {{"convert", path("m.zolt")}, 2, "Aufruf:"},
        {{"convert", path("m.zolt"), path("m.xls")}, 2, "Aufruf:"},
        {{"info", path("missing.zolt")},
         1,
         QStringLiteral("Fehler: Auf die Datei \"%1\" kann nicht zugegriffen werden!")
             .arg(path("missing.zolt"))},
        {{"info", path("foreign.zolt")},
         1,
         QStringLiteral("Info: Die Datei \"%1\" ist keine Zolt-Datendatei!")
             .arg(path("foreign.zolt"))},
        {{"info", path("bad.zolt")},
         0,
         QStringLiteral("Info: Die Datei \"%1\" ist defekt!").arg(path("bad.zolt"))},
        {{"convert", path("two.zolt"), path("two.mref")}, 1, "genau drei Kanäle"},
        {{"convert", path("m.zolt"), path("no/such/dir/x.zolt")},
         1,
         QStringLiteral("Fehler: Auf die Datei \"%1\" kann nicht zugegriffen werden!")
             .arg(path("no/such/dir/x.zolt"))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const Outcome r = zoltctl(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(c.err)) << r.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(path("two.mref")));
}
