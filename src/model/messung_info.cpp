#include "model/messung_info.h"

#include "model/spline.h"
#include "platform/dialogs.h"
#include "platform/ole_date.h"
#include "settings/global_unit.h"

#include <QDateTime>

#include <algorithm>
#include <cmath>
#include <cstring>

TMessungInfo::TMessungInfo() {
    Reset();
}

TMessungInfo::~TMessungInfo() = default;

void TMessungInfo::Reset() {
    ValueMax = 100;
    ValueMin = 0;
    TimeMax = 10000;
    TimeMin = 0;
    Interpolated = false;
    InterpolationPoints = 5;
    StartTime = toOleDate(QDateTime::currentDateTime());
    Title.clear();
    User.clear();
    Description.clear();
    Password.clear();
    FileName.clear();
    channels_.clear();
    markers_.clear();
    rows_.clear();
    stride_ = 2;
}

void TMessungInfo::SetInfoField(int kind, const QString& text) {
    if (!Password.isEmpty()) {
        QString label;
        switch (kind) {
        case 1:
            label = tr("Messungsname");
            break;
        case 2:
            label = tr("Benutzername");
            break;
        case 3:
            label = tr("Beschreibung");
            break;
        case 4:
            label = tr("Passwort");
            break;
        default:
            label = tr("Unbekannt");
            break;
        }
        const QString prompt =
            tr("Bitte geben Sie das gültige Passwort an, um den Wert für \"%1\" zu übernehmen:")
                .arg(label);
        for (;;) {
            const auto entry =
                dialogs().inputText(tr("Passwort eingeben"), prompt, QString(), true);
            if (!entry) return;
            if (EncodePassword(*entry) == Password) break;
        }
    }
    switch (kind) {
    case 1:
        Title = text;
        break;
    case 2:
        User = text;
        break;
    case 3:
        Description = text;
        break;
    case 4:
        Password = EncodePassword(text);
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------- ranges and rows

void TMessungInfo::ExtendRanges(const quint32* row) {
    TimeMin = std::min(TimeMin, row[0]);
    TimeMax = std::max(TimeMax, row[0]);
    for (std::size_t i = 1; i < stride_; ++i) {
        ValueMin = std::min(ValueMin, row[i]);
        ValueMax = std::max(ValueMax, row[i]);
    }
}

bool TMessungInfo::AddRow(const TDataRow& row) {
    if (row.size() != stride_) return false;
    rows_.insert(rows_.end(), row.begin(), row.end());
    ExtendRanges(row.data());
    return true;
}

bool TMessungInfo::SetRow(int index, const TDataRow& row, bool check) {
    if (index < 0 || index >= RowCount() || row.size() != stride_) return false;
    if (check) {
        const quint32 prev = index == 0 ? 0 : GetTime(index - 1);
        const quint32 next = index == RowCount() - 1 ? 0xFFFFFFFFu : GetTime(index + 1);
        const quint32 t = row[0];
        if (prev >= t || t >= next) {
            if (!dialogs().confirm(tr("Der angegebene Zeitwert führt zu einer diskontinuierlichen "
                                      "Messung.\nWollen Sie die Werte dennoch übernehmen?"),
                                   Dialogs::Answer::No))
                return false;
        }
    }
    std::copy(row.begin(), row.end(), rows_.begin() + index * stride_);
    ExtendRanges(row.data());
    return true;
}

bool TMessungInfo::InsertRow(int index, const TDataRow& row) {
    if (index < 0 || index >= RowCount() || row.size() != stride_) return false;
    rows_.insert(rows_.begin() + index * stride_, row.begin(), row.end());
    ExtendRanges(row.data());
    return true;
}

void TMessungInfo::DeleteRow(int index) {
    if (index < 0 || index >= RowCount()) return;
    const auto first = rows_.begin() + index * stride_;
    rows_.erase(first, first + stride_);
}

TDataRow TMessungInfo::GetRow(int index) const {
    if (index < 0 || index >= RowCount()) return {};
    const quint32* p = RowData(index);
    return TDataRow(p, p + stride_);
}

quint32 TMessungInfo::GetTime(int row) const {
    if (row < 0 || row >= RowCount()) return 0;
    return rows_[row * stride_];
}

void TMessungInfo::ClearRows() {
    rows_.clear();
    ValueMax = 100;
    ValueMin = 0;
    TimeMax = 10000;
    TimeMin = 0;
}

qint32 TMessungInfo::ValueAt(int channel, double seconds) const {
    const int n = RowCount();
    if (n == 0 || channel < 0 || channel >= ChannelCount()) return 0;
    const double ms = std::nearbyint(seconds * 1000.0);
    const double first = GetTime(0), last = GetTime(n - 1);
    if (!(ms >= first) || ms > last) return 0;
    if (ms == last) return static_cast<qint32>(GetValue(n - 1, channel));
    // First row whose time lies beyond the instant; rows are in time order.
    int lo = 1, hi = n - 1;
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (GetTime(mid) > ms)
            hi = mid;
        else
            lo = mid + 1;
    }
    const double t0 = GetTime(lo - 1), t1 = GetTime(lo);
    const double v0 = static_cast<qint32>(GetValue(lo - 1, channel));
    const double v1 = static_cast<qint32>(GetValue(lo, channel));
    return static_cast<qint32>(std::nearbyint(v0 + (v1 - v0) / (t1 - t0) * (ms - t0)));
}

// ---------------------------------------------------------------- channels

TKanalInfo* TMessungInfo::GetChannel(int index) {
    return index >= 0 && index < ChannelCount() ? &channels_[index] : nullptr;
}

const TKanalInfo* TMessungInfo::GetChannel(int index) const {
    return index >= 0 && index < ChannelCount() ? &channels_[index] : nullptr;
}

void TMessungInfo::SetChannel(int index, const TKanalInfo& channel) {
    if (index >= 0 && index < ChannelCount()) channels_[index] = channel;
}

void TMessungInfo::SetChannelCount(int n) {
    const int old = ChannelCount();
    if (n == old || n < 0 || n > kMaxChannels) return;
    if (n < old && RowCount() > 0) {
        if (!dialogs().confirm(tr("Achtung: Die Anzahl der Messkanäle soll verringert werden.\n"
                                  "Dabei können vorhandene Messdaten verloren gehen.\n"
                                  "Wollen Sie dennoch fortfahren?"),
                               Dialogs::Answer::Yes))
            return;
    }
    const bool wasInterpolated = Interpolated;
    if (wasInterpolated) RemoveInterpolated();

    channels_.resize(n);
    const std::size_t newStride = n + 2;
    const int rows = RowCount();
    std::vector<quint32> table(rows * newStride, 0);
    const std::size_t keep = std::min<std::size_t>(old, n) + 1; // time and kept values
    for (int r = 0; r < rows; ++r) {
        const quint32* src = rows_.data() + r * stride_;
        quint32* dst = table.data() + r * newStride;
        std::copy(src, src + keep, dst);
        dst[newStride - 1] = 1;
    }
    rows_.swap(table);
    stride_ = newStride;

    if (wasInterpolated) {
        Interpolate();
        Interpolated = true;
    }
}

void TMessungInfo::DeleteChannel(int index) {
    if (index < 0 || index >= ChannelCount()) return;
    // Without rows the chosen channel goes too (not merely the last one).
    const std::size_t newStride = stride_ - 1;
    const int rows = RowCount();
    std::vector<quint32> table(rows * newStride);
    for (int r = 0; r < rows; ++r) {
        const quint32* src = rows_.data() + r * stride_;
        quint32* dst = table.data() + r * newStride;
        std::copy(src, src + index + 1, dst);
        std::copy(src + index + 2, src + stride_, dst + index + 1);
    }
    rows_.swap(table);
    stride_ = newStride;
    channels_.erase(channels_.begin() + index);
}

// ---------------------------------------------------------------- markers

TMarkerInfo* TMessungInfo::GetMarker(int index) {
    return index >= 0 && index < MarkerCount() ? &markers_[index] : nullptr;
}

const TMarkerInfo* TMessungInfo::GetMarker(int index) const {
    return index >= 0 && index < MarkerCount() ? &markers_[index] : nullptr;
}

void TMessungInfo::SetMarkerCount(int n) {
    n = std::clamp(n, 0, kMaxMarkers);
    markers_.resize(n);
}

int TMessungInfo::AddMarker(qint32 time, const QString& text) {
    if (MarkerCount() >= kMaxMarkers) return -1;
    TMarkerInfo m;
    m.Time = time;
    m.Text = text;
    markers_.push_back(m);
    return MarkerCount() - 1;
}

void TMessungInfo::DeleteMarker(int index) {
    if (index >= 0 && index < MarkerCount()) markers_.erase(markers_.begin() + index);
}

void TMessungInfo::MoveMarker(int from, int to) {
    const int n = MarkerCount();
    if (n < 2) return;
    from = std::clamp(from, 0, n - 1);
    to = std::clamp(to, 0, n - 1);
    if (from == to) return;
    TMarkerInfo moving;
    moving.CopyFrom(markers_[from]);
    if (from < to)
        for (int i = from; i < to; ++i)
            markers_[i].CopyFrom(markers_[i + 1]);
    else
        for (int i = from; i > to; --i)
            markers_[i].CopyFrom(markers_[i - 1]);
    markers_[to].CopyFrom(moving);
}

// ---------------------------------------------------------------- interpolation

void TMessungInfo::SetInterpolation(bool on) {
    if (on == Interpolated) return;
    if (on)
        Interpolate();
    else
        RemoveInterpolated();
    Interpolated = on;
}

void TMessungInfo::RemoveInterpolated() {
    const int rows = RowCount();
    std::size_t out = 0;
    for (int r = 0; r < rows; ++r) {
        if (!FlagOf(r)) continue;
        if (out != r * stride_)
            std::memmove(rows_.data() + out, rows_.data() + r * stride_, stride_ * sizeof(quint32));
        out += stride_;
    }
    rows_.resize(out);
}

namespace {
// Support points around a base row: the two measured rows before it and the two after,
// with the measurement's ends (shifted by 10 and 20 ms) where there are none.
struct Support {
    std::array<double, 5> x;
    std::array<int, 5> row; // -1 where a default from an end is used
};

Support defaultSupport(const quint32* table, std::size_t stride, int rows, int b) {
    Support s;
    const double t0 = table[0];
    const double tl = table[(rows - 1) * stride];
    s.x = {t0 - 20, t0 - 10, static_cast<double>(table[b * stride]), tl + 10, tl + 20};
    s.row = {-1, -1, b, -1, -1};
    return s;
}

// Value of row entry c at each support point.
std::array<double, 5> supportValues(const Support& s, const quint32* table, std::size_t stride,
                                    int rows, int c) {
    const double v0 = table[c];
    const double vl = table[(rows - 1) * stride + c];
    std::array<double, 5> y;
    for (int k = 0; k < 5; ++k) {
        if (s.row[k] >= 0)
            y[k] = table[s.row[k] * stride + c];
        else
            y[k] = k < 2 ? v0 : vl;
    }
    return y;
}

void setSupport(Support& s, int k, int row, const quint32* table, std::size_t stride) {
    s.row[k] = row;
    s.x[k] = table[row * stride];
}
} // namespace

quint32 TMessungInfo::SplineValue(int c, int b, qint64 t) const {
    const int rows = RowCount();
    const quint32* table = rows_.data();
    Support s = defaultSupport(table, stride_, rows, b);
    int found = 0;
    for (int r = b - 1; r >= 0 && found < 2; --r)
        if (FlagOf(r)) setSupport(s, 1 - found++, r, table, stride_);
    found = 0;
    for (int r = b + 1; r < rows && found < 2; ++r)
        if (FlagOf(r)) setSupport(s, 3 + found++, r, table, stride_);
    const SplineBasis basis(s.x);
    if (!basis.valid()) return table[b * stride_ + c];
    return SplineBasis::evaluate(basis.weightsAt(static_cast<double>(t)),
                                 supportValues(s, table, stride_, rows, c));
}

// Fills every gap wider than 2 N ms between consecutive rows with N spline points.
// The table is built anew in one pass: the support rows of each gap are tracked as the
// pass moves on instead of being searched for, which keeps the work linear in the rows.
void TMessungInfo::Interpolate() {
    const int N = InterpolationPoints;
    const int rows = RowCount();
    if (N < 1 || rows < N + 1) return;
    const quint32* table = rows_.data();
    const std::size_t s = stride_;
    const int flag = static_cast<int>(s) - 1;
    auto measured = [&](int r) { return table[r * s + flag] != 0; };

    // Support rows of the gap after base row b; b only ever grows.
    int p1 = -1, p0 = -1; // last two measured rows below b
    int q3 = 0, q4 = 0;   // first two measured rows above b
    int scanned = 0;      // rows below this have been considered for p1/p0
    auto supportFor = [&](int b) {
        for (; scanned < b; ++scanned)
            if (measured(scanned)) {
                p0 = p1;
                p1 = scanned;
            }
        if (q3 <= b) q3 = b + 1;
        while (q3 < rows && !measured(q3))
            ++q3;
        if (q4 <= q3) q4 = q3 + 1;
        while (q4 < rows && !measured(q4))
            ++q4;
        Support sp = defaultSupport(table, s, rows, b);
        if (p1 >= 0) setSupport(sp, 1, p1, table, s);
        if (p0 >= 0) setSupport(sp, 0, p0, table, s);
        if (q3 < rows) setSupport(sp, 3, q3, table, s);
        if (q4 < rows) setSupport(sp, 4, q4, table, s);
        return sp;
    };
    auto wideGap = [&](int b) {
        return static_cast<qint64>(table[(b + 1) * s]) - static_cast<qint64>(table[b * s]) > 2 * N;
    };
    auto timesRise = [](const Support& sp) {
        for (int k = 0; k < 4; ++k)
            if (!(sp.x[k + 1] > sp.x[k])) return false;
        return true;
    };

    // First pass: how many gaps get points, so the new table is allocated once.
    std::size_t gaps = 0;
    for (int b = 0; b + 1 < rows; ++b)
        if (wideGap(b) && timesRise(supportFor(b))) ++gaps;

    std::vector<quint32> out((rows + gaps * N) * s);
    quint32* dst = out.data();
    p1 = p0 = -1;
    q3 = q4 = 0;
    scanned = 0;
    const int channels = ChannelCount();
    std::vector<SplineBasis::Weights> weights(N);
    for (int b = 0; b < rows; ++b) {
        std::memcpy(dst, table + b * s, s * sizeof(quint32));
        dst += s;
        if (b + 1 == rows || !wideGap(b)) continue;
        const Support sp = supportFor(b);
        const SplineBasis basis(sp.x);
        if (!basis.valid()) continue; // equal support times: leave the gap as it is
        const qint64 lastTime = table[b * s];
        const qint64 step = (static_cast<qint64>(table[(b + 1) * s]) - lastTime) / (N + 1);
        for (int k = 0; k < N; ++k) {
            const qint64 t = lastTime + (k + 1) * step;
            weights[k] = basis.weightsAt(static_cast<double>(t));
            dst[k * s] = static_cast<quint32>(t);
            dst[k * s + flag] = 0;
        }
        for (int c = 1; c <= channels; ++c) {
            const auto y = supportValues(sp, table, s, rows, c);
            for (int k = 0; k < N; ++k)
                dst[k * s + c] = SplineBasis::evaluate(weights[k], y);
        }
        for (int k = 0; k < N; ++k)
            ExtendRanges(dst + k * s);
        dst += N * s;
    }
    rows_.swap(out);
}

// ---------------------------------------------------------------- copying

void TMessungInfo::Assign(const TMessungInfo& source) {
    Interpolated = source.Interpolated;
    StartTime = source.StartTime;
    Title = source.Title;
    User = source.User;
    FileName = source.FileName;
    SetChannelCount(source.ChannelCount());
    for (int i = 0; i < std::min(ChannelCount(), source.ChannelCount()); ++i)
        channels_[i] = source.channels_[i];
    rows_.clear();
    // When the user kept a larger channel count, the source rows do not fit.
    if (stride_ != source.stride_) return;
    rows_.reserve(source.rows_.size());
    for (int r = 0; r < source.RowCount(); ++r) {
        const quint32* row = source.RowData(r);
        rows_.insert(rows_.end(), row, row + stride_);
        ExtendRanges(row);
    }
}
