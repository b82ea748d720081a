// The block format of .zolt and .mref files: Load and Save of TMessungInfo.

#include "model/file_io.h"
#include "model/messung_info.h"
#include "platform/dialogs.h"
#include "platform/win1252.h"
#include "settings/active_global_vars.h"
#include "settings/global_unit.h"
#include "settings/global_vars.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

namespace {
constexpr quint16 kTagFI = 0x4946;
constexpr quint16 kTagMA = 0x414D;
constexpr quint16 kTagME = 0x454D;
constexpr quint16 kTagEnd = 0xFFFF;
constexpr char kMagic[] = "ZOLT 1.0";
constexpr unsigned char kLegacyPrefix = 0x8A;

enum class ReadStatus { Ok, Defective, Failed, NotZolt };

QString dataFolder() {
    return ProgramFolder() + QStringLiteral("Data");
}
} // namespace

// Reads and writes the blocks; a friend of the measurement so rows go straight into
// its table.
class MessungFile {
public:
    static ReadStatus read(TMessungInfo& m, QFile& file);
    static bool write(const TMessungInfo& m, QIODevice& device);

private:
    static ReadStatus readBlocks(TMessungInfo& m, InputStream& in);
    static bool readFI(TMessungInfo& m, InputStream& in);
    static bool readMA(TMessungInfo& m, InputStream& in);
    static bool readME(TMessungInfo& m, InputStream& in);
    static bool readBytes(InputStream& in, QByteArray& out);
    static bool readString(InputStream& in, QString& out);
};

bool MessungFile::readBytes(InputStream& in, QByteArray& out) {
    quint32 k = 0;
    if (!in.readLE(k) || k > in.left()) return false;
    out.resize(static_cast<qsizetype>(k));
    return in.read(out.data(), k);
}

bool MessungFile::readString(InputStream& in, QString& out) {
    QByteArray bytes;
    if (!readBytes(in, bytes)) return false;
    out = fromWin1252(bytes);
    return true;
}

bool MessungFile::readFI(TMessungInfo& m, InputStream& in) {
    quint64 bits = 0;
    if (!in.readLE(bits)) return false;
    m.StartTime = std::bit_cast<double>(bits);
    m.Title.clear();
    m.User.clear();
    m.Description.clear();
    m.Password.clear();
    return readString(in, m.Title) && readString(in, m.User) && readString(in, m.Description) &&
           readBytes(in, m.Password) && in.skip(12);
}

bool MessungFile::readMA(TMessungInfo& m, InputStream& in) {
    quint8 count = 0;
    // Each marker takes at least its time and its text's length.
    if (!in.readLE(count) || qint64(count) * 8 > in.left()) return false;
    m.SetMarkerCount(count);
    for (int i = 0; i < count; ++i) {
        TMarkerInfo& marker = m.markers_[i];
        marker.DrawingIndex = -1;
        if (!in.readLE(marker.Time) || !readString(in, marker.Text)) {
            m.SetMarkerCount(i); // keep only the markers that were there
            return false;
        }
    }
    return true;
}

bool MessungFile::readME(TMessungInfo& m, InputStream& in) {
    quint8 n = 0;
    // Each channel takes at least 7 bytes, and the row count follows them.
    if (!in.readLE(n) || qint64(n) * 7 + 4 > in.left()) return false;
    m.SetChannelCount(n);
    for (int c = 0; c < n; ++c) {
        TKanalInfo channel;
        if (!readString(in, channel.Name) || !in.readLE(channel.DeviceChannel) ||
            !in.readLE(channel.ChannelFlag))
            return false;
        m.SetChannel(c, channel);
    }
    quint32 rowCount = 0;
    if (!in.readLE(rowCount)) return false;

    const qint64 rowBytes = 4 * (qint64(n) + 1);
    const qint64 complete = std::min<qint64>(rowCount, in.left() / rowBytes);
    // Kept when the user refused to drop channels of rows already there: nothing fits.
    const bool fits = m.ChannelCount() == n;
    const std::size_t stride = n + 2;
    if (fits) {
        m.rows_.reserve(m.rows_.size() + complete * stride);
        AdviseHugePages(m.rows_.data(), m.rows_.capacity() * sizeof(quint32));
    }
    const qint64 perBatch = InputStream::kChunk / rowBytes;
    std::vector<quint32> batchRows(fits ? perBatch * stride : 0);
    quint32 timeMin = m.TimeMin, timeMax = m.TimeMax;
    quint32 valueMin = std::min<quint32>(m.ValueMin, 1),
            valueMax = std::max<quint32>(m.ValueMax, 1);
    std::array<quint32, 257> columnMax{};
    qint64 done = 0;
    while (done < complete) {
        const qint64 batch = std::min(perBatch, complete - done);
        const char* p = in.take(batch * rowBytes);
        if (!p) break;
        done += batch;
        if (!fits) continue;
        // Rows as the measurement holds them, measured flag appended; ranges as AddRow
        // would widen them.
        quint32* dst = batchRows.data();
        for (qint64 r = 0; r < batch; ++r, dst += stride, p += rowBytes) {
            for (int v = 0; v <= n; ++v)
                dst[v] = qFromLittleEndian<quint32>(p + 4 * v);
            dst[n + 1] = 1;
            timeMin = std::min(timeMin, dst[0]);
            timeMax = std::max(timeMax, dst[0]);
            // Column-wise, so no row needs a reduction of its own.
            for (int v = 1; v <= n; ++v)
                columnMax[v] = std::max(columnMax[v], dst[v]);
            // Unsigned minima that reached 0 cannot move any more.
            if (valueMin != 0)
                for (int v = 1; v <= n; ++v)
                    valueMin = std::min(valueMin, dst[v]);
        }
        m.rows_.insert(m.rows_.end(), batchRows.data(), dst);
    }
    for (int v = 1; v <= n; ++v)
        valueMax = std::max(valueMax, columnMax[v]);
    if (fits && done > 0) {
        m.TimeMin = timeMin;
        m.TimeMax = timeMax;
        m.ValueMin = valueMin;
        m.ValueMax = valueMax;
    }
    if (done < complete) return false; // the device failed
    // A row count beyond the end of the file: the complete rows stay, nothing is made up.
    return complete == rowCount;
}

ReadStatus MessungFile::readBlocks(TMessungInfo& m, InputStream& in) {
    while (in.left() > 0) {
        quint16 tag = 0, reserved = 0;
        quint32 length = 0;
        if (!in.readLE(tag)) return ReadStatus::Failed;
        if (tag == kTagEnd) break;
        if (!in.readLE(reserved) || !in.readLE(length)) return ReadStatus::Failed;
        in.resetSum();
        bool ok = false;
        switch (tag) {
        case kTagFI:
            ok = readFI(m, in);
            break;
        case kTagMA:
            ok = readMA(m, in);
            break;
        case kTagME:
            ok = readME(m, in);
            break;
        default:
            // A block of a newer writer: skipped by its length, its checksum still checked.
            ok = length >= 2 && in.skip(qint64(length) - 2);
            break;
        }
        if (!ok) return ReadStatus::Failed;
        const quint16 expected = static_cast<quint16>(~in.sum());
        quint16 stored = 0;
        if (!in.readLE(stored)) return ReadStatus::Failed;
        if (stored != expected) return ReadStatus::Defective;
    }
    return ReadStatus::Ok;
}

ReadStatus MessungFile::read(TMessungInfo& m, QFile& file) {
    char head[8];
    if (file.read(head, 8) != 8) return ReadStatus::Failed;
    if (std::memcmp(head, kMagic, 4) == 0) {
        InputStream in(file);
        const ReadStatus status = readBlocks(m, in);
        return in.failed() ? ReadStatus::Failed : status;
    }
    if (static_cast<unsigned char>(head[0]) != kLegacyPrefix) return ReadStatus::NotZolt;
    // The old layout: the three payloads one after another from offset 2, no checksums.
    if (!file.seek(2)) return ReadStatus::Failed;
    InputStream in(file);
    if (!readFI(m, in) || !readMA(m, in) || !readME(m, in)) return ReadStatus::Failed;
    return ReadStatus::Ok;
}

namespace {
void writeHeader(OutputStream& out, quint16 tag, quint64 length) {
    out.writeLE(tag);
    out.writeLE<quint16>(0);
    out.writeLE(static_cast<quint32>(length + 2));
    out.resetSum();
}

void writeChecksum(OutputStream& out) {
    out.writeLE(static_cast<quint16>(~out.sum()));
}

void writeBytes(OutputStream& out, const QByteArray& bytes) {
    out.writeLE(static_cast<quint32>(bytes.size()));
    out.write(bytes);
}
} // namespace

bool MessungFile::write(const TMessungInfo& m, QIODevice& device) {
    const QByteArray title = toWin1252(m.Title), user = toWin1252(m.User),
                     description = toWin1252(m.Description);
    const int n = m.ChannelCount();
    const quint64 rows = static_cast<quint64>(m.RowCount());

    std::vector<QByteArray> names;
    quint64 namesSize = 0;
    for (const TKanalInfo& c : m.channels_) {
        names.push_back(toWin1252(c.Name));
        namesSize += names.back().size();
    }
    std::vector<QByteArray> texts;
    quint64 textsSize = 0;
    for (const TMarkerInfo& marker : m.markers_) {
        texts.push_back(toWin1252(marker.Text));
        textsSize += texts.back().size();
    }
    const quint64 fiLength =
        36 + quint64(title.size()) + user.size() + description.size() + m.Password.size();
    const quint64 maLength = 1 + 8 * quint64(texts.size()) + textsSize;
    const quint64 meLength = 5 + 7 * quint64(n) + namesSize + 4 * (quint64(n) + 1) * rows;
    // The length fields hold 32 bits; a larger block cannot be written truthfully.
    for (quint64 length : {fiLength, maLength, meLength})
        if (length + 2 > 0xFFFFFFFFu) return false;

    OutputStream out(device);
    out.write(kMagic, 8);

    writeHeader(out, kTagFI, fiLength);
    out.writeLE(std::bit_cast<quint64>(m.StartTime));
    writeBytes(out, title);
    writeBytes(out, user);
    writeBytes(out, description);
    writeBytes(out, m.Password);
    for (int i = 0; i < 3; ++i)
        out.writeLE<quint32>(0);
    writeChecksum(out);

    writeHeader(out, kTagMA, maLength);
    out.writeLE(static_cast<quint8>(texts.size()));
    for (std::size_t i = 0; i < texts.size(); ++i) {
        out.writeLE(m.markers_[i].Time);
        writeBytes(out, texts[i]);
    }
    writeChecksum(out);

    writeHeader(out, kTagME, meLength);
    out.writeLE(static_cast<quint8>(n));
    for (int c = 0; c < n; ++c) {
        writeBytes(out, names[c]);
        out.writeLE(m.channels_[c].DeviceChannel);
        out.writeLE(m.channels_[c].ChannelFlag);
    }
    out.writeLE(static_cast<quint32>(rows));
    // Rows without their measured flag, packed a batch at a time.
    const std::size_t stride = m.stride_;
    const std::size_t rowBytes = 4 * (n + 1);
    const std::size_t perBatch = OutputStream::kChunk / rowBytes;
    std::vector<char> batch(perBatch * rowBytes);
    const quint32* src = m.rows_.data();
    for (quint64 done = 0; done < rows;) {
        const std::size_t count = std::min<quint64>(perBatch, rows - done);
        char* p = batch.data();
        for (std::size_t r = 0; r < count; ++r, src += stride)
            for (int v = 0; v <= n; ++v, p += 4)
                qToLittleEndian<quint32>(src[v], p);
        out.write(batch.data(), p - batch.data());
        done += count;
    }
    writeChecksum(out);
    return out.flush();
}

// ---------------------------------------------------------------- TMessungInfo

QString TMessungInfo::MeasurementFilter() {
    return tr("Zolt-Dateien (*.zolt)|*.zolt|Alle Dateien (*.*)|*.*");
}

QString TMessungInfo::ReferenceFilter() {
    return tr("Referenz-Dateien (*.mref)|*.mref|Alle Dateien (*.*)|*.*");
}

QString TMessungInfo::SaveFilter() {
    return tr("Zolt-Dateien (*.zolt)|*.zolt|Referenz-Dateien (*.mref)|*.mref|Textdatei "
              "(*.txt)|*.txt");
}

bool TMessungInfo::Load(const QString& fileName, const QString& filter) {
    FileName = fileName;
    const QFileInfo info(fileName);
    if (fileName.isEmpty() || !info.exists() || info.isDir()) {
        const auto choice = dialogs().openFile(
            QString(), QtFileFilter(filter.isEmpty() ? MeasurementFilter() : filter), dataFolder(),
            QString());
        if (!choice) return false;
        FileName = choice->path;
    }

    const auto owner = Dialogs::Owner::MainWindow;
    QFile file(FileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        dialogs().error(tr("Auf die Datei \"%1\" kann nicht zugegriffen werden!").arg(FileName),
                        owner);
        return false;
    }
    switch (MessungFile::read(*this, file)) {
    case ReadStatus::Ok:
        break;
    case ReadStatus::Defective:
        dialogs().info(tr("Die Datei \"%1\" ist defekt!").arg(FileName), owner);
        break;
    case ReadStatus::NotZolt:
        dialogs().info(tr("Die Datei \"%1\" ist keine Zolt-Datendatei!").arg(FileName), owner);
        return false;
    case ReadStatus::Failed:
        dialogs().error(tr("Fehler beim Lesen der Datei \"%1\".").arg(FileName), owner);
        return false;
    }
    file.close();
    if (Interpolated) Interpolate();
    return true;
}

bool TMessungInfo::Save(bool ask) {
    if (ask || FileName.isEmpty()) {
        const auto choice =
            dialogs().saveFile(QString(), QtFileFilter(SaveFilter()), dataFolder(), QString(), 0);
        if (!choice) return false;
        FileName = choice->path;
        if (!QFileInfo(FileName).fileName().contains(QLatin1Char('.'))) {
            static const char* const extensions[] = {".zolt", ".mref", ".txt"};
            FileName += QLatin1String(extensions[std::clamp(choice->filterIndex, 0, 2)]);
        }
    }

    const auto owner = Dialogs::Owner::MainWindow;
    const QString writeError = tr("Fehler beim Schreiben der Datei \"%1\".").arg(FileName);
    if (QFileInfo(FileName).fileName().endsWith(QLatin1String(".txt"))) {
        // The export shows nothing itself; a failure must not pass for success.
        if (ExportText(FileName)) return true;
        dialogs().error(writeError, owner);
        return false;
    }

    QSaveFile file(FileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        dialogs().error(tr("Auf die Datei \"%1\" kann nicht zugegriffen werden!").arg(FileName),
                        owner);
        return false;
    }
    if (Password.isEmpty()) {
        if (const TGlobalVars* settings = ActiveGlobalVars()) Password = settings->MasterPW();
    }
    const bool wasInterpolated = Interpolated;
    if (wasInterpolated) SetInterpolation(false);
    const bool ok = CommitSaveFile(file, MessungFile::write(*this, file));
    if (!ok) dialogs().error(writeError, owner);
    if (wasInterpolated) SetInterpolation(true);
    return ok;
}
