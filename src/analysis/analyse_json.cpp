#include "analysis/analyse_json.h"

#include "analysis/analyse_info.h"
#include "model/messung_info.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonObject>

#include <cmath>

namespace {
// Times are whole milliseconds; rounding keeps differences such as 0.3 - 0.1 readable.
double seconds(double value) {
    return std::round(value * 1000.0) / 1000.0;
}

QJsonObject point(const AnalysisPoint& p, const char* valueName) {
    return QJsonObject{{QLatin1String(valueName), p.Value},
                       {QStringLiteral("time"), seconds(p.Time)}};
}
} // namespace

std::optional<QJsonDocument> AnalysisJson(const TMessungInfo& measurement, TAnalyseInfo& analysis,
                                          int channel, QString* error) {
    if (channel < 0 || channel >= measurement.ChannelCount()) {
        if (error)
            *error = QCoreApplication::translate(
                         "AnalysisJson", "Die Messung hat keinen Kanal %1 (Kanäle 0 bis %2).")
                         .arg(channel)
                         .arg(measurement.ChannelCount() - 1);
        return std::nullopt;
    }
    analysis.Channel = channel;
    const std::optional<AnalysisResult> result = analysis.AnalyseRanges(measurement);
    const std::vector<AnalysisBand> noBands;
    const std::vector<AnalysisBand>& bands = result ? result->Bands : noBands;

    QJsonArray bandList;
    for (const AnalysisBand& b : bands) {
        bandList.append(QJsonObject{
            {QStringLiteral("range"), analysis.Range(b.Range)->Name},
            {QStringLiteral("rangeIndex"), b.Range},
            {QStringLiteral("start"), seconds(b.Start)},
            {QStringLiteral("end"), seconds(b.End)},
            {QStringLiteral("duration"), seconds(b.End - b.Start)},
        });
    }

    // Totals per range, also for ranges without bands and for a run that found nothing
    // to analyse.
    QJsonArray rangeList;
    for (const AnalysisTreeEntry& entry : analysis.BuildTree(bands)) {
        rangeList.append(QJsonObject{
            {QStringLiteral("name"), analysis.Range(entry.Range)->Name},
            {QStringLiteral("bands"), static_cast<int>(entry.Children.size())},
            {QStringLiteral("total"), seconds(entry.Seconds)},
        });
    }

    QJsonObject root{
        {QStringLiteral("channel"), channel},
        {QStringLiteral("channelName"), measurement.GetChannel(channel)->Name},
        {QStringLiteral("rows"), measurement.RowCount()},
        {QStringLiteral("analysed"), result.has_value()},
        {QStringLiteral("bands"), bandList},
        {QStringLiteral("ranges"), rangeList},
        {QStringLiteral("maxTemperature"),
         point(analysis.MaxTemperature(measurement), "temperature")},
        {QStringLiteral("steepestRise"),
         point(analysis.MaxSlope(measurement, TAnalyseInfo::Rise), "slope")},
        {QStringLiteral("steepestFall"),
         point(analysis.MaxSlope(measurement, TAnalyseInfo::Fall), "slope")},
    };
    return QJsonDocument(root);
}
