#pragma once

#include <QJsonDocument>
#include <QString>

#include <optional>

class TAnalyseInfo;
class TMessungInfo;

// The analysis of channel `channel` (from 0) of `measurement` with the ranges of
// `analysis`, as the command line prints it: the bands with their range names, the
// total per range, the maximum temperature and the steepest rise and fall, times in
// seconds. Sets the analysis' Channel. Nothing, with a message in `error`, when the
// measurement has no such channel.
std::optional<QJsonDocument> AnalysisJson(const TMessungInfo& measurement, TAnalyseInfo& analysis,
                                          int channel, QString* error = nullptr);
