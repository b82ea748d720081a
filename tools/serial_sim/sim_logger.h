#pragma once

#include <QByteArray>
#include <QString>
#include <QTime>

#include <array>
#include <random>

// The serial logger's behaviour without the line: answers commands, holds a stored
// measurement and produces the online record stream.
class SimLogger {
public:
    struct Options {
        std::array<int, 6> records{40, 40, 40, 40, 40, 40}; // stored records per channel
        int memIntervalMs = 1000;                           // interval of the stored measurement
        bool gaps = false;  // channel n records only every n-th interval
        double noise = 0;   // chance of line noise before an online record
        double broken = 0;  // chance of a broken record after an online record
        QString dateFormat; // "D?" reply; empty: the locale's short format
        unsigned seed = 1;
    };

    explicit SimLogger(const Options& options);

    // One complete command (without its carriage return); returns the bytes to send.
    QByteArray HandleCommand(const QByteArray& command);
    // The next online record with whatever noise and broken records go with it.
    QByteArray NextOnlineRecord();

    // Stored record i (0-based) of channel c (1-based): time in ms and whole degrees.
    static int StoredTick(const Options& o, int channel, int i) { return o.gaps ? i * channel : i; }
    static int StoredValue(int channel, int tick) { return 20 + channel + tick % 30; }
    // Online record k (0-based) runs through the channels A to F.
    static int OnlineValue(int channel, int round) { return 20 + channel + round % 30; }

private:
    QByteArray Reply(const QString& text) const { return text.toLatin1() + '\r'; }
    QByteArray Noise();

    Options options_;
    std::mt19937 random_;
    long long clockOffsetMs_ = 0;
    long long onlineCount_ = 0;
};
