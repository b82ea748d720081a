#include "analysis/analyse_json.h"

#include "analysis/analyse_info.h"
#include "model/messung_info.h"
#include "support/qt_printers.h"

#include <QJsonArray>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace {
void fill(TMessungInfo& m) {
    m.SetChannelCount(2);
    m.GetChannel(1)->Name = "Ofen";
    const std::pair<quint32, quint32> samples[] = {{0, 200},    {100, 600},  {300, 650},
                                                   {2000, 260}, {3000, 700}, {4000, 250}};
    for (const auto& [t, v] : samples)
        ASSERT_TRUE(m.AddRow({t, 10, v, 1}));
}
} // namespace

TEST(AnalysisJson, BandsTotalsAndExtremes) {
    TMessungInfo m;
    fill(m);
    TAnalyseInfo a;
    TAnalyseBereich hot;
    hot.Name = "Heiß";
    hot.Threshold = 500;
    TAnalyseBereich never;
    never.Name = "Nie";
    never.Threshold = 900;
    *a.Range(a.AddRange(-1)) = hot;
    *a.Range(a.AddRange(-1)) = never;

    QString error;
    const auto doc = AnalysisJson(m, a, 1, &error);
    ASSERT_TRUE(doc) << error.toStdString();
    EXPECT_EQ(a.Channel, 1);
    const QJsonObject root = doc->object();
    EXPECT_EQ(root["channel"].toInt(), 1);
    EXPECT_EQ(root["channelName"].toString(), "Ofen");
    EXPECT_EQ(root["rows"].toInt(), 6);
    EXPECT_TRUE(root["analysed"].toBool());

    const QJsonArray bands = root["bands"].toArray();
    ASSERT_EQ(bands.size(), 2);
    EXPECT_EQ(bands[0].toObject(), (QJsonObject{{"range", "Heiß"},
                                                {"rangeIndex", 0},
                                                {"start", 0.1},
                                                {"end", 2.0},
                                                {"duration", 1.9}}));
    EXPECT_EQ(bands[1].toObject()["start"].toDouble(), 3.0);
    EXPECT_EQ(bands[1].toObject()["end"].toDouble(), 4.0);

    const QJsonArray ranges = root["ranges"].toArray();
    ASSERT_EQ(ranges.size(), 2);
    EXPECT_EQ(ranges[0].toObject(), (QJsonObject{{"name", "Heiß"}, {"bands", 2}, {"total", 2.9}}));
    EXPECT_EQ(ranges[1].toObject(), (QJsonObject{{"name", "Nie"}, {"bands", 0}, {"total", 0.0}}));

    EXPECT_EQ(root["maxTemperature"].toObject(),
              (QJsonObject{{"temperature", 70.0}, {"time", 3.0}}));
    EXPECT_DOUBLE_EQ(root["steepestRise"].toObject()["slope"].toDouble(), 400.0);
    EXPECT_EQ(root["steepestRise"].toObject()["time"].toDouble(), 0.05);
    EXPECT_EQ(root["steepestFall"].toObject(), (QJsonObject{{"slope", -45.0}, {"time", 3.5}}));
}

TEST(AnalysisJson, NothingToAnalyseAndMissingChannels) {
    TMessungInfo m;
    m.SetChannelCount(1);
    ASSERT_TRUE(m.AddRow({0, 300, 1}));
    TAnalyseInfo a;
    a.AddRange(-1);
    a.Range(0)->Name = "Zone";

    const auto doc = AnalysisJson(m, a, 0);
    ASSERT_TRUE(doc);
    const QJsonObject root = doc->object();
    EXPECT_FALSE(root["analysed"].toBool()) << "one row is too few";
    EXPECT_TRUE(root["bands"].toArray().isEmpty());
    EXPECT_EQ(root["ranges"].toArray().size(), 1) << "every range still reports its total";
    EXPECT_EQ(root["maxTemperature"].toObject()["temperature"].toDouble(), 30.0);

    for (int channel : {1, -1}) {
        QString error;
        EXPECT_FALSE(AnalysisJson(m, a, channel, &error));
        EXPECT_TRUE(error.contains(QString::number(channel))) << error.toStdString();
    }
}
