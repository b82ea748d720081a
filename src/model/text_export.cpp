// The text export of a measurement: an info section and a semicolon-separated table.

#include "model/file_io.h"
#include "model/messung_info.h"
#include "platform/ole_date.h"
#include "platform/win1252.h"
#include "settings/global_unit.h"

#include <QLocale>
#include <QSaveFile>

#include <charconv>

namespace {
void appendNumber(QByteArray& out, quint32 value) {
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.append(digits, end - digits);
    out.append(';');
}
} // namespace

bool TMessungInfo::ExportText(const QString& fileName) const {
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return false;
    OutputStream out(file);

    const QLocale locale;
    const QDateTime start = fromOleDate(StartTime);
    const QString date =
        start.isValid() ? locale.toString(start.date(), QLocale::ShortFormat) : QString();
    const QString time =
        start.isValid() ? LongTimeText(start.time()) : QString();
    const auto line = [](const QString& text) { return toWin1252(text) + "\r\n"; };
    const auto entry = [&](const QString& key, const QString& value) {
        return line(key + QLatin1Char('=') + value);
    };
    QByteArray head;
    head += line(QLatin1Char('[') + tr("Messungsinfo") + QLatin1Char(']'));
    head += entry(tr("Datum"), date);
    head += entry(tr("Zeit"), time);
    head += entry(tr("Bezeichnung"), Title);
    head += entry(tr("Benutzer"), User);
    head += entry(tr("Info"), Description);
    head += "\r\n";
    head += line(QLatin1Char('[') + tr("Messungsdaten") + QLatin1Char(']'));
    out.write(head);

    if (ChannelCount() > 0) {
        QString header = tr("Zeit") + QLatin1Char(';');
        for (const TKanalInfo& c : channels_)
            header += c.Name + QLatin1Char(';');
        header += tr("Originalwert") + QLatin1Char(';');
        out.write(line(header));

        // Every entry of every row, the measured flag included; a piece at a time.
        QByteArray piece;
        piece.reserve(OutputStream::kChunk + 4096);
        const int rows = RowCount();
        for (int r = 0; r < rows; ++r) {
            const quint32* row = RowData(r);
            for (std::size_t i = 0; i < stride_; ++i)
                appendNumber(piece, row[i]);
            piece.append("\r\n");
            if (piece.size() >= OutputStream::kChunk) {
                out.write(piece);
                piece.resize(0);
            }
        }
        out.write(piece);
    }
    return CommitSaveFile(file, out.flush());
}
