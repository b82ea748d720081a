#include "analysis/analyse_info.h"

#include "analysis/analyse_definition.h"
#include "model/messung_info.h"
#include "platform/dialogs.h"
#include "settings/global_unit.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>

#include <algorithm>
#include <cstdlib>

namespace {
QString definitionFilter() {
    return TAnalyseInfo::tr("Analyse-Definition (*.adef)");
}
QString dataFolder() {
    return ProgramFolder() + QStringLiteral("Data");
}

QString withExtension(const QString& path) {
    if (QFileInfo(path).suffix().isEmpty()) return path + QStringLiteral(".adef");
    return path;
}

// Walks one channel of the stored rows without copying them.
class ChannelRows {
public:
    ChannelRows(const TMessungInfo& m, int channel)
        : base_(m.RowTable().data()), stride_(static_cast<std::size_t>(m.RowStride())),
          channel_(static_cast<std::size_t>(channel) + 1), count_(m.RowCount()) {}
    int count() const { return count_; }
    quint32 time(int row) const { return base_[static_cast<std::size_t>(row) * stride_]; }
    quint32 value(int row) const {
        return base_[static_cast<std::size_t>(row) * stride_ + channel_];
    }
    double seconds(int row) const { return time(row) / 1000.0; }

private:
    const quint32* base_;
    std::size_t stride_;
    std::size_t channel_;
    int count_;
};

void addBand(std::vector<AnalysisBand>& out, const TAnalyseBereich& r, int index, double start,
             double end) {
    if (start == end) return;
    out.push_back(AnalysisBand{start, end, r.Color, r.Transparency, index});
}

// "größer" and "kleiner": bands over the rows at or above (at or below) the threshold,
// each ending at the first row that no longer qualifies.
void thresholdBands(const ChannelRows& rows, const TAnalyseBereich& r, int index,
                    std::vector<AnalysisBand>& out) {
    const bool greater = r.Condition == TAnalyseBereich::Greater;
    const int n = rows.count();
    bool inside = false;
    double start = 0;
    for (int i = 0; i < n; ++i) {
        const quint32 v = rows.value(i);
        const bool leaving = greater ? v < r.Threshold : v > r.Threshold;
        if (leaving) {
            if (inside) {
                inside = false;
                addBand(out, r, index, start, rows.seconds(i));
            }
        } else if (!inside) {
            inside = true;
            start = rows.seconds(i);
        }
    }
    if (inside) addBand(out, r, index, start, rows.seconds(n - 1));
}

// "begrenzt": passages through the window [Threshold, Limit] that the Border flags
// accept. The first and the last row are never examined, and a passage still open at
// the end is no passage.
void windowBands(const ChannelRows& rows, TAnalyseBereich& r, int index,
                 std::vector<AnalysisBand>& out) {
    if (r.Limit < r.Threshold) std::swap(r.Limit, r.Threshold);
    const int n = rows.count();
    bool inside = false;
    double start = 0;
    quint32 entry = 0;
    for (int i = 1; i <= n - 2; ++i) {
        const quint32 v = rows.value(i);
        const bool within = r.Threshold <= v && v <= r.Limit;
        if (!inside) {
            if (within) {
                inside = true;
                start = rows.seconds(i);
                entry = rows.value(i - 1);
            }
        } else if (!within) {
            inside = false;
            const bool fromBelow = r.Threshold > entry;
            const bool outAbove = v > r.Limit;
            const quint8 passage =
                fromBelow ? (outAbove ? TAnalyseBereich::Rising : TAnalyseBereich::Maximum)
                          : (outAbove ? TAnalyseBereich::Minimum : TAnalyseBereich::Falling);
            if (r.Border & passage) addBand(out, r, index, start, rows.seconds(i));
        }
    }
}
} // namespace

TAnalyseInfo::TAnalyseInfo() {
    ResetAnalysis();
}

TAnalyseInfo::~TAnalyseInfo() = default;

TAnalyseBereich* TAnalyseInfo::Range(int index) {
    if (index < 0 || index >= RangeCount()) return nullptr;
    return ranges_[static_cast<std::size_t>(index)].get();
}

const TAnalyseBereich* TAnalyseInfo::Range(int index) const {
    return const_cast<TAnalyseInfo*>(this)->Range(index);
}

int TAnalyseInfo::AddRange(int index) {
    if (index < 0 || index >= RangeCount()) index = RangeCount();
    ranges_.insert(ranges_.begin() + index, std::make_unique<TAnalyseBereich>());
    return index;
}

bool TAnalyseInfo::DeleteRange(int index) {
    if (index < 0 || index >= RangeCount()) return false;
    ranges_.erase(ranges_.begin() + index);
    return true;
}

bool TAnalyseInfo::MoveRange(int index, int direction) {
    if (index < 0 || index >= RangeCount() || (direction != 0 && direction != 1)) return false;
    const int target = direction == 0 ? index - 1 : index + 1;
    if (target < 0 || target >= RangeCount()) return false;
    std::swap(ranges_[static_cast<std::size_t>(index)], ranges_[static_cast<std::size_t>(target)]);
    return true;
}

void TAnalyseInfo::ClearRanges() {
    ranges_.clear();
}

void TAnalyseInfo::ResetAnalysis() {
    Channel = 0;
    DefinitionFile.clear();
    ranges_.clear();
}

// ---------------------------------------------------------------- definition files

bool TAnalyseInfo::LoadDefinition(const QString& fileName) {
    QString candidate;
    if (!fileName.isEmpty() && QFileInfo(fileName).isFile()) {
        candidate = fileName;
    } else {
        const auto choice =
            dialogs().openFile(QString(), definitionFilter(), dataFolder(), DefinitionFile);
        candidate = choice ? choice->path : DefinitionFile;
    }
    if (candidate.isEmpty()) return false;
    const QString previous = DefinitionFile;
    DefinitionFile = withExtension(candidate);
    if (!QFileInfo(DefinitionFile).isFile()) return false;

    // Read everything before asking, so a file that cannot be read changes nothing.
    QFile file(DefinitionFile);
    if (!file.open(QIODevice::ReadOnly)) {
        dialogs().error(tr("Die Datei \"%1\" kann nicht gelesen werden.\n%2")
                            .arg(DefinitionFile, file.errorString()));
        DefinitionFile = previous;
        return false;
    }
    const std::vector<TAnalyseBereich> loaded = ParseAnalyseDefinition(file.readAll());

    if (!ranges_.empty()) {
        const auto answer = dialogs().message(
            tr("Bestätigen"),
            tr("Die aktuelle Analyse enthält bereits Bereichsdefinitionen.\nMöchten Sie die "
               "neuen Definitionen an die vorhandene Liste anhängen?"),
            Dialogs::Icon::Question, Dialogs::Buttons::YesNoCancel, Dialogs::Answer::Yes,
            Dialogs::Owner::ActiveWindow);
        if (answer == Dialogs::Answer::Cancel) {
            DefinitionFile = previous;
            return false;
        }
        if (answer == Dialogs::Answer::No) ClearRanges();
    }
    for (const TAnalyseBereich& r : loaded)
        *Range(AddRange(-1)) = r;
    return true;
}

bool TAnalyseInfo::SaveDefinition(bool saveAs) {
    if (ranges_.empty()) {
        dialogs().info(tr("Die Analysedefinition enthält keine Daten, die gespeichert werden "
                          "können."));
        return false;
    }
    if (saveAs || !QFileInfo(DefinitionFile).isFile()) {
        const auto choice =
            dialogs().saveFile(QString(), definitionFilter(), dataFolder(), DefinitionFile, 0);
        // A cancelled dialog means: don't save (not: save under the old name).
        if (!choice || choice->path.isEmpty()) return false;
        DefinitionFile = choice->path;
    }
    DefinitionFile = withExtension(DefinitionFile);

    std::vector<TAnalyseBereich> ranges;
    ranges.reserve(ranges_.size());
    for (const auto& r : ranges_)
        ranges.push_back(*r);
    const QByteArray content = WriteAnalyseDefinition(ranges);

    // Replaces the old file only once the new one is complete.
    QSaveFile file(DefinitionFile);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() ||
        !file.commit()) {
        dialogs().error(tr("Die Datei \"%1\" kann nicht geschrieben werden.\n%2")
                            .arg(DefinitionFile, file.errorString()));
        return false;
    }
    return true;
}

// ---------------------------------------------------------------- computation

bool TAnalyseInfo::ValidChannel(const TMessungInfo& measurement) const {
    return Channel >= 0 && Channel < measurement.ChannelCount();
}

std::vector<AnalysisBand> TAnalyseInfo::ComputeBands(const TMessungInfo& measurement) {
    std::vector<AnalysisBand> bands;
    if (ranges_.empty() || measurement.RowCount() < 3 || !ValidChannel(measurement)) return bands;
    const ChannelRows rows(measurement, Channel);
    for (int index = 0; index < RangeCount(); ++index) {
        TAnalyseBereich& r = *ranges_[static_cast<std::size_t>(index)];
        switch (r.Condition) {
        case TAnalyseBereich::Greater:
        case TAnalyseBereich::Less:
            thresholdBands(rows, r, index, bands);
            break;
        case TAnalyseBereich::Bounded:
            windowBands(rows, r, index, bands);
            break;
        default:
            break; // an unknown condition (from a file) marks nothing
        }
    }
    return bands;
}

std::vector<AnalysisTreeEntry>
TAnalyseInfo::BuildTree(const std::vector<AnalysisBand>& bands) const {
    std::vector<AnalysisTreeEntry> tree(ranges_.size());
    for (int index = 0; index < RangeCount(); ++index) {
        AnalysisTreeEntry& top = tree[static_cast<std::size_t>(index)];
        top.Color = ranges_[static_cast<std::size_t>(index)]->Color;
        top.Range = index;
    }
    for (const AnalysisBand& b : bands) {
        if (b.Range < 0 || b.Range >= RangeCount()) continue;
        AnalysisTreeEntry& top = tree[static_cast<std::size_t>(b.Range)];
        const double duration = b.End - b.Start;
        AnalysisTreeEntry child;
        child.Text = tr("%1 s [%2 .. %3]")
                         .arg(FormatNumber(duration), FormatNumber(b.Start), FormatNumber(b.End));
        child.Color = top.Color;
        child.Range = b.Range;
        child.Seconds = duration;
        top.Children.push_back(std::move(child));
        top.Seconds += duration;
    }
    // The name is joined, not used as a format, so a "%" in it shows as it is.
    for (AnalysisTreeEntry& top : tree)
        top.Text = ranges_[static_cast<std::size_t>(top.Range)]->Name +
                   tr(" [%1 s]").arg(FormatNumber(top.Seconds));
    return tree;
}

std::optional<AnalysisResult> TAnalyseInfo::AnalyseRanges(const TMessungInfo& measurement) {
    if (ranges_.empty() || measurement.RowCount() < 3 || !ValidChannel(measurement))
        return std::nullopt;
    AnalysisResult result;
    result.Bands = ComputeBands(measurement);
    result.Tree = BuildTree(result.Bands);
    return result;
}

AnalysisPoint TAnalyseInfo::MaxTemperature(const TMessungInfo& measurement) const {
    AnalysisPoint best;
    if (!ValidChannel(measurement)) return best;
    const ChannelRows rows(measurement, Channel);
    for (int i = 0; i < rows.count(); ++i) {
        const double temperature = rows.value(i) / 10.0;
        if (temperature > best.Value) best = {rows.seconds(i), temperature};
    }
    return best;
}

AnalysisPoint TAnalyseInfo::MaxSlope(const TMessungInfo& measurement, int direction) const {
    AnalysisPoint best;
    if (!ValidChannel(measurement) || measurement.RowCount() < 2) return best;
    const ChannelRows rows(measurement, Channel);
    for (int i = 1; i < rows.count(); ++i) {
        const qint64 ms = std::llabs(static_cast<qint64>(rows.time(i)) - rows.time(i - 1));
        // Two rows at the same instant have no slope between them.
        if (ms == 0) continue;
        const double dt = ms / 1000.0;
        // The difference of two 32-bit values read as signed, as a fall must come out
        // negative.
        const auto rise = static_cast<qint32>(rows.value(i) - rows.value(i - 1));
        const double slope = rise / 10.0 / dt;
        if (direction == Rise ? slope > best.Value : slope < best.Value)
            best = {rows.seconds(i - 1) + dt / 2, slope};
    }
    return best;
}

QString TAnalyseInfo::FormatNumber(double value) {
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    return locale.toString(value, 'f', 2);
}

QString TAnalyseInfo::MaxTemperatureText(const AnalysisPoint& p) {
    return tr("%1 °C bei %2 s").arg(FormatNumber(p.Value), FormatNumber(p.Time));
}

QString TAnalyseInfo::SlopeText(const AnalysisPoint& p) {
    return tr("%1 °C/s bei %2 s").arg(FormatNumber(p.Value), FormatNumber(p.Time));
}

QString TAnalyseInfo::UnknownText() {
    return tr("Unbekannt");
}
