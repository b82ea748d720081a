#include "sim_logger.h"

#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>

SimLogger::SimLogger(const Options& options) : options_(options), random_(options.seed) {}

QByteArray SimLogger::HandleCommand(const QByteArray& raw) {
    const QString command = QString::fromLatin1(raw).trimmed();
    const QByteArray ok = Reply(QStringLiteral("OK!"));
    const QByteArray error = Reply(QStringLiteral("ERR!"));
    const QDateTime now = QDateTime::currentDateTime().addMSecs(clockOffsetMs_);

    if (command == QLatin1String("S?")) {
        int total = 0;
        for (int n : options_.records)
            total += n;
        return Reply(
            QStringLiteral("ZOLT-SER V1.2 RAM-Modus, 6 Kanaele, %1 Datensaetze").arg(total));
    }
    if (command == QLatin1String("Z?"))
        return Reply(QStringLiteral("Z=") + now.time().toString(QStringLiteral("hh:mm:ss")));
    if (command == QLatin1String("D?")) {
        const QString format = options_.dateFormat.isEmpty()
                                   ? QLocale().dateFormat(QLocale::ShortFormat)
                                   : options_.dateFormat;
        return Reply(QStringLiteral("D=") + QLocale().toString(now.date(), format));
    }
    if (command.startsWith(QLatin1String("Z="))) {
        const QTime t = QTime::fromString(command.mid(2), QStringLiteral("hh:mm:ss"));
        if (!t.isValid()) return error;
        const QDateTime wanted(QDate::currentDate(), t);
        clockOffsetMs_ = QDateTime::currentDateTime().msecsTo(wanted);
        return ok;
    }
    static const QRegularExpression trigger(QStringLiteral("^T([1-6])=(OFF|-?[0-9]{3}C)$"));
    if (command.startsWith(QLatin1Char('T'))) return trigger.match(command).hasMatch() ? ok : error;
    if (command == QLatin1String("CLEAR")) {
        options_.records.fill(0);
        return ok;
    }
    if (command == QLatin1String("E")) return ok;
    if (command == QLatin1String("N?")) {
        QStringList counts;
        for (int n : options_.records)
            counts << QString::number(n);
        return Reply(QStringLiteral("N=") + counts.join(QLatin1Char(',')));
    }
    static const QRegularExpression records(QStringLiteral("^K([1-6]),1,([0-9]+)\\?$"));
    if (const auto m = records.match(command); m.hasMatch()) {
        const int channel = m.captured(1).toInt();
        const long long wanted = m.captured(2).toLongLong();
        const int count =
            static_cast<int>(std::min<long long>(wanted, options_.records[channel - 1]));
        QByteArray out = command.left(command.size() - 1).toLatin1() + '=';
        long long previous = 0;
        for (int i = 0; i < count; ++i) {
            const int tick = StoredTick(options_, channel, i);
            const long long time = static_cast<long long>(tick) * options_.memIntervalMs;
            out += QByteArray::number(time - previous) + ',' +
                   QByteArray::number(StoredValue(channel, tick)) + '\r';
            previous = time;
        }
        if (count == 0) out += '\r';
        return out;
    }
    return error;
}

QByteArray SimLogger::Noise() {
    // Random bytes that never contain a whole valid record on their own; they spoil the
    // record they precede, which is what a real disturbance does.
    static const QRegularExpression valid(QStringLiteral("(^|Z)[A-F][0-9]{3}[^Z]Z"));
    std::uniform_int_distribution<int> length(1, 8), byte(1, 255);
    for (;;) {
        QByteArray noise;
        const int n = length(random_);
        for (int i = 0; i < n; ++i)
            noise += static_cast<char>(byte(random_));
        if (!valid.match(QString::fromLatin1(noise)).hasMatch()) return noise;
    }
}

QByteArray SimLogger::NextOnlineRecord() {
    std::uniform_real_distribution<double> chance(0, 1);
    const int channel = static_cast<int>(onlineCount_ % 6) + 1;
    const int round = static_cast<int>(onlineCount_ / 6);
    ++onlineCount_;
    QByteArray out;
    if (chance(random_) < options_.noise) out += Noise();
    out += static_cast<char>('A' + channel - 1);
    out += QByteArray::number(OnlineValue(channel, round)).rightJustified(3, '0');
    out += "CZ";
    if (chance(random_) < options_.broken) {
        // Each would read as 999 °C if its flaw went unnoticed.
        static const char* const kBroken[] = {"G999CZ",  "A999Z",  "A9x9CZ",
                                              "B9999CZ", "F99 CZ", "CZ"};
        std::uniform_int_distribution<int> pick(0, 5);
        out += kBroken[pick(random_)];
    }
    return out;
}
