#pragma once

#include "analysis/analyse_bereich.h"

#include <QCoreApplication>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

class TMessungInfo;

// One time band in which the analysed channel satisfies a range; drawn as a coloured
// band on the time axis behind the curves.
struct AnalysisBand {
    double Start = 0;                        // seconds
    double End = 0;                          // seconds
    quint32 Color = TAnalyseBereich::kWhite; // Windows colour value, from the range
    quint8 Transparency = 80;                // percent, from the range
    int Range = 0;                           // index of the range in the list

    bool operator==(const AnalysisBand&) const = default;
};

// One entry of the results tree: a range with the total of its bands (top level) or one
// band (child). Both are drawn in the range's colour.
struct AnalysisTreeEntry {
    QString Text;
    quint32 Color = TAnalyseBereich::kWhite;
    int Range = 0;
    double Seconds = 0; // the band's duration, or the range's total
    std::vector<AnalysisTreeEntry> Children;
};

// What a run of AnalyseRanges produces for display.
struct AnalysisResult {
    std::vector<AnalysisBand> Bands;
    std::vector<AnalysisTreeEntry> Tree;
};

// A time (seconds) with a value: a temperature in °C or a slope in °C/s.
struct AnalysisPoint {
    double Time = 0;
    double Value = 0;

    bool operator==(const AnalysisPoint&) const = default;
};

// The analysis of one measurement page: its list of ranges, the channel they apply to,
// and the definition file they were last loaded from or saved to.
class TAnalyseInfo {
    Q_DECLARE_TR_FUNCTIONS(TAnalyseInfo)

public:
    enum SlopeDirection { Rise = 0, Fall = 1 };

    TAnalyseInfo();
    ~TAnalyseInfo();
    TAnalyseInfo(const TAnalyseInfo&) = delete;
    TAnalyseInfo& operator=(const TAnalyseInfo&) = delete;

    QString DefinitionFile;
    int Channel = 0; // index of the analysed channel, from 0

    int RangeCount() const { return static_cast<int>(ranges_.size()); }
    // The range at `index`, or nullptr outside the list. Stays valid until it is removed.
    TAnalyseBereich* Range(int index);
    const TAnalyseBereich* Range(int index) const;
    // Inserts a range with the initial values; -1 or an index at or past the end
    // appends. Returns its position.
    int AddRange(int index);
    bool DeleteRange(int index);
    // Direction 0 moves the range one place up, 1 one place down; false when that would
    // leave the list.
    bool MoveRange(int index, int direction);
    void ClearRanges();
    void ResetAnalysis();

    // Reads a definition file: `fileName` when it exists, otherwise the one the user
    // picks. Asks whether to append when ranges exist already. True when read.
    bool LoadDefinition(const QString& fileName);
    // Writes the ranges to DefinitionFile, asking for a name when there is none yet or
    // `saveAs` is set. False when nothing was written (no ranges, cancelled, failed).
    bool SaveDefinition(bool saveAs);

    // Computes the bands of every range on `measurement` with their tree entries.
    // Nothing (and the display is to stay as it is) without ranges or with fewer than
    // three rows. A "begrenzt" range whose limit lies below its threshold gets the two
    // exchanged.
    std::optional<AnalysisResult> AnalyseRanges(const TMessungInfo& measurement);
    // The bands alone, in range order; empty where AnalyseRanges gives nothing.
    std::vector<AnalysisBand> ComputeBands(const TMessungInfo& measurement);
    // Tree entries for `bands`, one top-level entry per range, texts in the user's
    // number format.
    std::vector<AnalysisTreeEntry> BuildTree(const std::vector<AnalysisBand>& bands) const;

    // (time, temperature) of the first highest value of the channel; (0, 0) without rows.
    AnalysisPoint MaxTemperature(const TMessungInfo& measurement) const;
    // (time, slope) of the steepest rise (direction 0) or fall (1), timed at the middle of
    // its interval; (0, 0) when the curve never rises or falls that way.
    AnalysisPoint MaxSlope(const TMessungInfo& measurement, int direction) const;

    // "25,00 °C bei 3,00 s" and "3,00 °C/s bei 1,00 s", in the user's number format.
    static QString MaxTemperatureText(const AnalysisPoint& p);
    static QString SlopeText(const AnalysisPoint& p);
    // What the result labels show before the first analysis.
    static QString UnknownText();

    // "%2.2f" in the user's number format (no group separators, as printf has none).
    static QString FormatNumber(double value);

private:
    bool ValidChannel(const TMessungInfo& measurement) const;

    std::vector<std::unique_ptr<TAnalyseBereich>> ranges_;
};
