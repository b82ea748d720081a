#include "devices/ser_zolt.h"

#include "devices/com_port.h"
#include "devices/com_read_thread.h"
#include "platform/dialogs.h"

#include <QLocale>
#include <QSerialPort>
#include <QThread>
#include <QTimer>

namespace {
constexpr int kReadTimeoutMs = 100;
constexpr int kReplyAttempts = 6;
constexpr int kReplyMaxBytes = 1024;
constexpr int kWriteTimeoutMs = 100;

class BusyScope {
public:
    explicit BusyScope(std::function<void(bool)> set) : set_(std::move(set)) { set_(true); }
    ~BusyScope() { set_(false); }

private:
    std::function<void(bool)> set_;
};
} // namespace

TSerZolt::TSerZolt(qint32 comPort, bool InitNow) : comPort_(comPort) {
    Channels.assign(kSerChannels, false);
    if (InitNow) Initialize();
}

TSerZolt::~TSerZolt() = default;

void TSerZolt::Initialize() {
    PortName = QStringLiteral("COM%1").arg(comPort_);
    ClosePort();
    LogCommands = true;
    CommandLog.clear();
    Channels.assign(kSerChannels, true);
}

void TSerZolt::Release() {
    // A reader left running would hand rows to a receiver that is about to go.
    if (reader_) Stop();
    ClosePort();
    CommandLog.clear();
    TZolt::Release();
}

void TSerZolt::ReadValues(TDataRow& row) {
    row.assign(ActiveChannelCount() + 1u, 0);
}

void TSerZolt::SelectPort(int n) {
    PortName = QStringLiteral("COM%1").arg(n >= 2 && n <= 6 ? n : 1);
}

QString TSerZolt::PortPath() const {
    return ResolveComPort(PortName);
}

QString TSerZolt::PortErrorText(const QString& reason) const {
    return tr("Die Schnittstelle %1 (%2) kann nicht geöffnet werden:\n%3\n"
              "Überprüfen Sie, ob das Zolt angeschlossen ist und die Schnittstelle von keinem "
              "anderen Programm benutzt wird.")
        .arg(PortName, PortPath(), reason);
}

bool TSerZolt::OpenSerialPort(QSerialPort& port, bool online, QString* error) {
    port.setBaudRate(online ? QSerialPort::Baud4800 : QSerialPort::Baud9600);
    port.setDataBits(online ? QSerialPort::Data7 : QSerialPort::Data8);
    port.setParity(online ? QSerialPort::EvenParity : QSerialPort::NoParity);
    port.setStopBits(QSerialPort::OneStop);
    port.setFlowControl(QSerialPort::NoFlowControl);
    // Exclusive: QSerialPort locks the port and refuses a second opener.
    if (!port.open(QIODevice::ReadWrite)) {
        if (error) *error = port.errorString();
        return false;
    }
    // Whatever the device sent while nobody listened is stale.
    port.clear();
    return true;
}

bool TSerZolt::OpenPort(bool online) {
    ClosePort();
    auto* port = new QSerialPort(this);
    port->setPortName(PortPath());
    QString error;
    if (!OpenSerialPort(*port, online, &error)) {
        delete port;
        lastPortError_ = error;
        return false;
    }
    port_ = port;
    return true;
}

void TSerZolt::ClosePort() {
    if (!port_) return;
    port_->close();
    delete port_;
    port_ = nullptr;
}

bool TSerZolt::IsPortOpen() const {
    return port_ && port_->isOpen();
}

void TSerZolt::Log(const QString& text) {
    if (LogCommands) CommandLog << text;
}

void TSerZolt::SendCommand(const QString& text) {
    if (!IsPortOpen() && !OpenPort(false)) return;
    // The logger takes commands at typing speed.
    const QByteArray bytes = text.toLatin1();
    for (char c : bytes) {
        port_->write(&c, 1);
        port_->waitForBytesWritten(kWriteTimeoutMs);
        QThread::msleep(pacing_.charDelayMs);
    }
    port_->write("\r", 1);
    port_->waitForBytesWritten(kWriteTimeoutMs);
    QThread::msleep(pacing_.afterCommandMs);
    Log(text);
}

QString TSerZolt::ReadReply() {
    QByteArray data;
    if (IsPortOpen()) {
        for (int attempt = 0; attempt < kReplyAttempts && data.isEmpty(); ++attempt) {
            if (port_->bytesAvailable() == 0 && !port_->waitForReadyRead(kReadTimeoutMs)) continue;
            data = port_->read(kReplyMaxBytes);
            // A reply that is still arriving is not cut in two.
            while (data.size() < kReplyMaxBytes && !data.endsWith('\r') &&
                   (port_->bytesAvailable() > 0 || port_->waitForReadyRead(kReadTimeoutMs)))
                data += port_->read(kReplyMaxBytes - data.size());
        }
    }
    const QString reply = data.isEmpty() ? QString() : QString::fromLatin1(data.chopped(1));
    Log(reply);
    return reply;
}

QStringList TSerZolt::ReadLines() {
    QByteArray data;
    if (IsPortOpen()) {
        while (port_->bytesAvailable() > 0 || port_->waitForReadyRead(kReadTimeoutMs))
            data += port_->readAll();
    }
    QStringList lines;
    qsizetype begin = 0;
    for (qsizetype i = 0; i < data.size(); ++i) {
        if (data[i] != '\r') continue;
        lines << QString::fromLatin1(data.mid(begin, i - begin));
        begin = i + 1;
    }
    // A reply closed by a carriage return ends with an empty line; an unterminated last
    // line is kept as it is. Either way the last line is not a complete record.
    if (!data.isEmpty()) lines << QString::fromLatin1(data.mid(begin));
    Log(lines.join(QLatin1Char('\n')));
    return lines;
}

bool TSerZolt::ExpectOK() {
    return ReadReply() == QLatin1String("OK!");
}

void TSerZolt::GetStatusText(QString& text) {
    SendCommand(QStringLiteral("S?"));
    QThread::msleep(pacing_.beforeStatusMs);
    text = ReadReply();
    if (text.isEmpty())
        text = tr("Zolt-Stauts kann nicht ermittelt werden!\nÜberprüfen Sie, ob das Zolt korrekt "
                  "angeschlossen wurde und im RAM-Modus läuft.");
}

bool TSerZolt::SetDeviceTime(const QTime& time) {
    SendCommand(
        QString::asprintf("Z=%2.2d:%2.2d:%2.2d", time.hour(), time.minute(), time.second()));
    return ExpectOK();
}

QTime TSerZolt::GetDeviceTime() {
    SendCommand(QStringLiteral("Z?"));
    const QString reply = ReadReply();
    bool okH = false, okM = false, okS = false;
    const int h = reply.mid(2, 2).toInt(&okH);
    const int m = reply.mid(5, 2).toInt(&okM);
    const int s = reply.mid(8, 2).toInt(&okS);
    const QTime time(h, m, s);
    if (reply.size() < 10 || !okH || !okM || !okS || !time.isValid()) return QTime(0, 0);
    return time;
}

QDate TSerZolt::GetDeviceDate() {
    SendCommand(QStringLiteral("D?"));
    const QString text = ReadReply().mid(2).trimmed();
    const QString format = QLocale().dateFormat(QLocale::ShortFormat);
    QDate date = QLocale().toDate(text, format);
    // Two-digit years mean this century and the last like the system does it (to 2029).
    if (date.isValid() && !format.contains(QLatin1String("yyyy"))) {
        if (date.year() < 1930) date = date.addYears(100);
    }
    return date.isValid() ? date : QDate(1899, 12, 30);
}

void TSerZolt::SendTriggerCommands(int channel, const std::function<QString(int)>& command) {
    if (channel == AllChannels) {
        for (int c = 1; c <= kSerChannels; ++c) {
            SendCommand(command(c));
            ExpectOK();
        }
    } else if (channel >= 1 && channel <= kSerChannels) {
        SendCommand(command(channel));
        ExpectOK();
    }
}

void TSerZolt::SetTrigger(int value, int channel) {
    SendTriggerCommands(channel,
                        [value](int c) { return QString::asprintf("T%d=%3.3dC", c, value); });
}

void TSerZolt::SwitchTriggerOff(int channel) {
    SendTriggerCommands(channel, [](int c) { return QStringLiteral("T%1=OFF").arg(c); });
}

bool TSerZolt::ClearMemory() {
    SendCommand(QStringLiteral("CLEAR"));
    return ExpectOK();
}

bool TSerZolt::EndRecording() {
    SendCommand(QStringLiteral("E"));
    return ExpectOK();
}

bool TSerZolt::Start() {
    TZolt::Start();
    if (!OnData) {
        dialogs().warning(tr("Fehler"), tr("Interner Fehler:\nDie Messung kann nicht gestartet "
                                           "werden, da kein Datenhandler zugewiesen wurde!"));
        return false;
    }
    if (reader_) Stop();
    // The online mode needs other line settings, and the port is exclusive.
    ClosePort();
    auto* reader = new TComReadThread(PortPath(), StartTick, OnData);
    reader->SetLostHandler([this, reader] {
        // Not from inside the reader's own event: stopping deletes the reader.
        QTimer::singleShot(0, this, [this, reader] {
            if (reader_ == reader) ConnectionLost();
        });
    });
    QString error;
    if (!reader->StartAndOpen(&error)) {
        delete reader;
        dialogs().error(PortErrorText(error));
        return false;
    }
    reader_ = reader;
    return true;
}

void TSerZolt::Stop() {
    if (reader_) {
        TComReadThread* reader = reader_;
        reader_ = nullptr;
        reader->StopAndDispose();
    }
    ClosePort();
    TZolt::Stop();
}

void TSerZolt::ConnectionLost() {
    const QString text = tr("Die Verbindung zum Zolt an %1 ist unterbrochen.\n"
                            "Die Messung wurde angehalten.")
                             .arg(PortName);
    Stop();
    dialogs().error(text);
    NotifyStopped(text);
}

void TSerZolt::ReadOutError(const QString& detail) {
    dialogs().error(tr("Der Speicher des Zolt kann nicht ausgelesen werden:\n%1").arg(detail));
}

bool TSerZolt::ReadStoredRecords(TSerMemory& memory) {
    SendCommand(QStringLiteral("N?"));
    const QString reply = ReadReply();
    if (reply.isEmpty()) {
        ReadOutError(tr("Das Zolt antwortet nicht."));
        return false;
    }
    std::array<qint64, kSerChannels> counts{};
    QString rest = reply.mid(2) + QLatin1Char(',');
    for (int c = 0; c < kSerChannels; ++c) {
        const qsizetype comma = rest.indexOf(QLatin1Char(','));
        bool ok = false;
        const qint64 n = comma < 0 ? -1 : rest.left(comma).trimmed().toLongLong(&ok);
        if (!ok || n < 0 || n > 0xFFFFFFFFll) {
            ReadOutError(tr("Ungültige Anzahl der Datensätze gelesen (\"%1\").").arg(reply));
            return false;
        }
        counts[c] = n;
        rest = rest.mid(comma + 1);
    }

    for (int c = 0; c < kSerChannels; ++c) {
        if (counts[c] == 0) continue;
        memory.hasData[c] = true;
        SendCommand(QStringLiteral("K%1,1,%2?").arg(c + 1).arg(counts[c]));
        QThread::msleep(pacing_.beforeLinesMs);
        QStringList lines = ReadLines();
        if (lines.isEmpty()) {
            ReadOutError(tr("Das Zolt hat keine Datensätze für Kanal %1 geliefert.").arg(c + 1));
            return false;
        }
        const qsizetype equals = lines.front().indexOf(QLatin1Char('='));
        if (equals >= 0) lines.front().remove(0, equals + 1);
        lines.removeLast();
        // Never more records than announced; fewer are taken as they came.
        const qsizetype take = std::min<qint64>(lines.size(), counts[c]);
        TDataArray& records = memory.records[c];
        records.reserve(static_cast<std::size_t>(take));
        quint32 time = 0;
        for (qsizetype i = 0; i < take; ++i) {
            const QString& line = lines[i];
            const qsizetype comma = line.indexOf(QLatin1Char(','));
            bool okT = false, okV = false;
            const qint64 dt = line.left(comma).trimmed().toLongLong(&okT);
            const qint64 v = line.mid(comma + 1).trimmed().toLongLong(&okV);
            if (comma < 0 || !okT || !okV || dt < 0 || dt > 0xFFFFFFFFll || v < INT32_MIN / 10 ||
                v > INT32_MAX / 10) {
                ReadOutError(tr("Ungültiger Datensatz %1 für Kanal %2 gelesen (\"%3\").")
                                 .arg(i + 1)
                                 .arg(c + 1)
                                 .arg(line));
                return false;
            }
            time += static_cast<quint32>(dt);
            // Below zero stays two's complement, as everywhere in the rows.
            records.push_back({static_cast<quint32>(static_cast<qint32>(v * 10)), time});
        }
    }
    return true;
}

bool TSerZolt::ReadMemory() {
    BusyScope busy([this](bool on) { SetBusy(on); });
    if (!IsPortOpen() && !OpenPort(false)) {
        dialogs().error(PortErrorText(lastPortError_));
        return false;
    }
    TSerMemory memory;
    if (!ReadStoredRecords(memory)) return false;
    ShowProgress(15);

    std::vector<quint32> rows = MergeMemoryRecords(memory);
    memory.records = {};
    ShowProgress(50);

    InterpolateMemoryRows(rows, memory.hasData);
    ShowProgress(80);
    TDataRow row(kSerRowSize);
    for (std::size_t i = 0; i + kSerRowSize <= rows.size(); i += kSerRowSize) {
        std::copy_n(rows.begin() + static_cast<std::ptrdiff_t>(i), kSerRowSize, row.begin());
        Deliver(row);
    }
    ShowProgress(90);
    rows = {};
    ShowProgress(100);
    return true;
}
