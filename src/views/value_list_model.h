#pragma once

#include <QAbstractTableModel>
#include <QStringList>

class TMessungInfo;

// The value list: one line per row of the measurement, a time column and one column per
// channel. It holds only a line count; every text is formatted when a cell is drawn.
class ValueListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ValueListModel(const TMessungInfo& measurement, QObject* parent = nullptr);

    // Columns: "Zeit" and the given channel captions; the device channel of each is kept
    // as the column's tag.
    void setColumns(const QStringList& channelCaptions, const QList<int>& tags);
    void setColumnCaption(int column, const QString& caption);
    QString columnCaption(int column) const;
    int columnTag(int column) const;
    // Shows `count` lines (the measurement's rows 0 .. count - 1).
    void setLineCount(int count);
    // One more line at the end, for a row just appended to the measurement.
    void appendLine();
    int lineCount() const { return lines_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const TMessungInfo& measurement_;
    QStringList captions_;
    QList<int> tags_;
    int lines_ = 0;
};
