#include "model/messung_info.h"
#include "model/messung_json.h"
#include "platform/win1252.h"
#include "support/qt_printers.h"
#include "support/scripted_dialogs.h"
#include "support/test_env.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <random>

namespace {
QByteArray savedBytes(TMessungInfo& m, const QTemporaryDir& dir) {
    m.FileName = dir.filePath(QStringLiteral("m.zolt"));
    EXPECT_TRUE(m.Save(false));
    QFile f(m.FileName);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

TEST(MessungJson, DescribesTheDocument) {
    TMessungInfo m;
    m.StartTime = 39618.605613425925;
    m.Title = QStringLiteral("Probe \"A\"");
    m.Password = "x";
    m.SetChannelCount(1);
    m.SetChannel(0, TKanalInfo{QStringLiteral("Kanal 1"), 2, 1});
    m.AddMarker(1500, QStringLiteral("Tür"));
    m.AddRow({0, 215, 1});
    m.AddRow({500, 217, 1});

    const QJsonObject o = QJsonDocument::fromJson(MessungToJson(m, true)).object();
    EXPECT_EQ(o["Title"].toString(), QStringLiteral("Probe \"A\""));
    EXPECT_EQ(o["StartTime"].toString(), QStringLiteral("2008-06-19T14:32:05.000"));
    EXPECT_EQ(o["StartTimeOle"].toDouble(), 39618.605613425925);
    EXPECT_EQ(o["Protected"], QJsonValue(true));
    EXPECT_FALSE(o.contains("Password"));
    EXPECT_EQ(o["Channels"][0]["DeviceChannel"].toInt(), 2);
    EXPECT_EQ(o["Markers"][0]["Text"].toString(), QStringLiteral("Tür"));
    EXPECT_EQ(o["RowCount"].toInt(), 2);
    EXPECT_EQ(o["ValueMax"].toInt(), 217);
    EXPECT_EQ(o["TimeMax"].toInt(), 10000);
    EXPECT_EQ(o["Rows"][1].toArray(), (QJsonArray{500, 217}));
    EXPECT_FALSE(QJsonDocument::fromJson(MessungToJson(m, false)).object().contains("Rows"));
}

// Every byte a string may hold, odd start times and full-range values survive the way
// through JSON into an identical file.
TEST(MessungJson, RoundTripGivesTheSameFileBytes) {
    TemporaryProgramFolder program;
    QTemporaryDir dir;
    ScopedScriptedDialogs d;
    std::mt19937 rng(11);
    QByteArray allBytes;
    for (int b = 0; b < 256; ++b)
        allBytes += static_cast<char>(b);
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE(round);
        TMessungInfo m;
        m.StartTime = std::uniform_real_distribution<double>(-700000, 2958465)(rng);
        m.Title = fromWin1252(allBytes);
        m.Description = QStringLiteral("a\\b\"c\r\nd\u00e4");
        const int channels = round % 4;
        m.SetChannelCount(channels);
        for (int c = 0; c < channels; ++c)
            m.SetChannel(c, TKanalInfo{QStringLiteral("K%1").arg(c), static_cast<quint16>(rng()),
                                       static_cast<quint8>(rng())});
        m.AddMarker(static_cast<qint32>(rng()), fromWin1252(allBytes.mid(round * 10, 10)));
        for (int r = 0; r < round; ++r) {
            TDataRow row(channels + 2, 1);
            for (int i = 0; i <= channels; ++i)
                row[i] = rng();
            m.AddRow(row);
        }
        const QByteArray original = savedBytes(m, dir);

        TMessungInfo back;
        ASSERT_EQ(MessungFromJson(MessungToJson(m, true), back), QString());
        EXPECT_EQ(savedBytes(back, dir), original);
    }
}

TEST(MessungJson, RefusesWhatItCannotRepresent) {
    const char* cases[] = {
        "[1, 2]",
        "{\"Title\": \"x\"",
        "{}", // no start time
        "{\"StartTimeOle\": 1, \"Protected\": true}",
        "{\"StartTimeOle\": 1, \"Title\": 5}",
        "{\"StartTimeOle\": 1, \"Channels\": [{}], \"Rows\": [[1]]}",
        "{\"StartTimeOle\": 1, \"Channels\": [{}], \"Rows\": [[1, -2]]}",
        "{\"StartTimeOle\": 1, \"Channels\": [{}], \"Rows\": [[1, 2.5]]}",
        "{\"StartTimeOle\": 1, \"Channels\": [{}], \"Rows\": [[1, 4294967296]]}",
        "{\"StartTimeOle\": 1, \"Channels\": [{\"DeviceChannel\": 65536}]}",
        "{\"StartTimeOle\": 1, \"Markers\": [{\"Time\": 2147483648}]}",
        "{\"StartTimeOle\": 1, \"Markers\": 3}",
    };
    for (const char* json : cases) {
        SCOPED_TRACE(json);
        TMessungInfo m;
        EXPECT_NE(MessungFromJson(json, m), QString());
    }
    TMessungInfo minimal;
    EXPECT_EQ(MessungFromJson("{\"StartTime\": \"2008-06-19T14:32:05\"}", minimal), QString());
    EXPECT_EQ(OleDateToIso(minimal.StartTime), QStringLiteral("2008-06-19T14:32:05.000"));
}

// Found by the fuzzer: a start time of -0.0 came back from the JSON as 0, so the JSON of
// the reloaded document differed from the JSON it was made from.
TEST(MessungJson, NegativeZeroStartTimeSurvivesTheJson) {
    TMessungInfo m;
    m.StartTime = -0.0;
    const QByteArray json = MessungToJson(m, true);
    TMessungInfo back;
    ASSERT_EQ(MessungFromJson(json, back), QString());
    EXPECT_EQ(MessungToJson(back, true), json);
    EXPECT_EQ(back.StartTime, 0.0);
}
