#pragma once

#include "model/data_row.h"
#include "model/kanal_info.h"
#include "model/marker_info.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

#include <vector>

// The measurement document: descriptive fields, channels, sample rows and markers.
// Rows live in one contiguous table with a stride of ChannelCount() + 2 entries.
class TMessungInfo {
    Q_DECLARE_TR_FUNCTIONS(TMessungInfo)

public:
    static constexpr int kMaxChannels = 255; // the file stores the count in one byte
    static constexpr int kMaxMarkers = 255;

    TMessungInfo();
    virtual ~TMessungInfo();
    TMessungInfo(const TMessungInfo&) = delete;
    TMessungInfo& operator=(const TMessungInfo&) = delete;

    // Ranges of everything seen since the last reset; they only ever widen.
    quint32 ValueMax = 100;
    quint32 ValueMin = 0;
    quint32 TimeMax = 10000;
    quint32 TimeMin = 0;
    bool Interpolated = false;
    quint16 InterpolationPoints = 5;
    double StartTime = 0; // OLE automation date
    QString Title;
    QString User;
    QString Description;
    QByteArray Password; // encoded; empty = not protected
    QString FileName;

    void Reset();

    // 1 title, 2 user, 3 description, 4 password. A protected measurement asks for its
    // password first; cancelling changes nothing.
    void SetInfoField(int kind, const QString& text);

    void SetInterpolation(bool on);
    void Interpolate();
    void RemoveInterpolated();
    // Spline value for row entry `c` (1-based channel) around base row `b` at time `t`,
    // with the support points found by scanning the stored rows.
    quint32 SplineValue(int c, int b, qint64 t) const;

    int ChannelCount() const { return static_cast<int>(channels_.size()); }
    TKanalInfo* GetChannel(int index);
    const TKanalInfo* GetChannel(int index) const;
    void SetChannel(int index, const TKanalInfo& channel);
    void SetChannelCount(int n);
    void DeleteChannel(int index);

    int MarkerCount() const { return static_cast<int>(markers_.size()); }
    TMarkerInfo* GetMarker(int index);
    const TMarkerInfo* GetMarker(int index) const;
    void SetMarkerCount(int n);
    int AddMarker(qint32 time, const QString& text);
    void DeleteMarker(int index);
    void MoveMarker(int from, int to);

    int RowCount() const { return static_cast<int>(rows_.size() / stride_); }
    bool AddRow(const TDataRow& row);
    bool SetRow(int index, const TDataRow& row, bool check);
    bool InsertRow(int index, const TDataRow& row);
    void DeleteRow(int index);
    TDataRow GetRow(int index) const;
    quint32 GetValue(int row, int channel) const { return rows_[row * stride_ + channel + 1]; }
    quint32 GetTime(int row) const;
    void ClearRows();
    qint32 ValueAt(int channel, double seconds) const;

    void Assign(const TMessungInfo& source);

    // Filters of the open and save dialogs, in the dialog form "Text|*.ext|...".
    static QString MeasurementFilter();
    static QString ReferenceFilter();
    static QString SaveFilter();

    // Reads a .zolt/.mref file into this freshly created measurement. When `fileName`
    // names no file, the open dialog asks for one with `filter` (the measurement filter
    // when empty). Reports every problem itself; what was read stays.
    virtual bool Load(const QString& fileName, const QString& filter = QString());
    // Writes the measurement to FileName, asking for a name first when `ask` is set or
    // there is none. A name ending in ".txt" gets the text export. A failed save leaves
    // an existing file as it was.
    bool Save(bool ask);
    // The text export; false when the file could not be written (nothing is shown).
    bool ExportText(const QString& fileName) const;

    // Direct read access for code that walks many rows (chart, analysis, files).
    int RowStride() const { return static_cast<int>(stride_); }
    const quint32* RowData(int row) const { return rows_.data() + row * stride_; }
    const std::vector<quint32>& RowTable() const { return rows_; }
    void ReserveRows(int count) { rows_.reserve(static_cast<std::size_t>(count) * stride_); }

protected:
    friend class MessungFile;

    void ExtendRanges(const quint32* row);
    bool FlagOf(int row) const { return rows_[row * stride_ + stride_ - 1] != 0; }

    std::vector<TKanalInfo> channels_;
    std::vector<TMarkerInfo> markers_;
    std::vector<quint32> rows_;
    std::size_t stride_ = 2;
};
