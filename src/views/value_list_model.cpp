#include "views/value_list_model.h"

#include "model/messung_info.h"

#include <QBrush>
#include <QColor>
#include <QLocale>

ValueListModel::ValueListModel(const TMessungInfo& measurement, QObject* parent)
    : QAbstractTableModel(parent), measurement_(measurement) {}

void ValueListModel::setColumns(const QStringList& channelCaptions, const QList<int>& tags) {
    beginResetModel();
    captions_ = QStringList{tr("Zeit")} + channelCaptions;
    tags_ = QList<int>{0} + tags;
    lines_ = std::min(lines_, measurement_.RowCount());
    endResetModel();
}

void ValueListModel::setColumnCaption(int column, const QString& caption) {
    if (column < 0 || column >= captions_.size()) return;
    captions_[column] = caption;
    Q_EMIT headerDataChanged(Qt::Horizontal, column, column);
}

QString ValueListModel::columnCaption(int column) const { return captions_.value(column); }

int ValueListModel::columnTag(int column) const { return tags_.value(column); }

void ValueListModel::setLineCount(int count) {
    beginResetModel();
    lines_ = count;
    endResetModel();
}

void ValueListModel::appendLine() {
    beginInsertRows(QModelIndex(), lines_, lines_);
    ++lines_;
    endInsertRows();
}

int ValueListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : lines_;
}

int ValueListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(captions_.size());
}

QVariant ValueListModel::data(const QModelIndex& index, int role) const {
    const int row = index.row(), column = index.column();
    if (!index.isValid() || row >= measurement_.RowCount()) return {};
    switch (role) {
    case Qt::DisplayRole: {
        const QLocale locale;
        if (column == 0)
            return tr("%1 s").arg(locale.toString(measurement_.GetTime(row) / 1000.0, 'f', 2));
        // The column's position, not its tag, selects the channel.
        if (column - 1 >= measurement_.ChannelCount()) return {};
        return tr("%1 °C").arg(
            locale.toString(measurement_.GetValue(row, column - 1) / 10.0, 'f', 2));
    }
    case Qt::ForegroundRole: {
        const quint32* r = measurement_.RowData(row);
        const bool measured = r[measurement_.RowStride() - 1] != 0;
        return QBrush(measured ? QColor(Qt::black) : QColor(0x80, 0x80, 0x80));
    }
    case Qt::TextAlignmentRole:
        return column == 0 ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                           : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    default: return {};
    }
}

QVariant ValueListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal) return {};
    if (role == Qt::DisplayRole) return captions_.value(section);
    if (role == Qt::TextAlignmentRole)
        return section == 0 ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                            : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}
