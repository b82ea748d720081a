#pragma once

#include <QString>
#include <QtGlobal>

// One channel of a measurement.
struct TKanalInfo {
    QString Name = QStringLiteral("Unbekannt");
    // 1-based entry of the device's row that feeds this channel; 0xFFFF = unassigned.
    quint16 DeviceChannel = 0xFFFF;
    // Kept in the file and nowhere else.
    quint8 ChannelFlag = 1;

    bool operator==(const TKanalInfo&) const = default;
};
