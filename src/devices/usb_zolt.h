#pragma once

#include "devices/zolt.h"

#include <QCoreApplication>

// The two USB models on top of the Zolt3 library: the 318.10 (type 0), which gets its
// firmware at every start and measures online only, and the 318.14 (type 1), which also
// records into its own memory.
class TUSBZolt : public TZolt {
    Q_OBJECT

public:
    // Waits of the start-up sequence, in ms; what the device processor needs.
    struct Delays {
        int afterReset = 150;
        int afterDownload = 150;
        int afterStart = 1000;
    };
    // How long an online measurement tolerates a silent device before it gives up.
    static constexpr quint32 kSilenceLimitMs = 3000;

    TUSBZolt(quint8 zoltType, bool InitNow = true);
    // The waits for every device created from now on (tests shorten them).
    static void SetDelays(const Delays& delays);

    QString Version;
    quint8 Status = 0;

    void ReadValues(TDataRow& row) override;
    void Initialize() override;
    void GetStatusText(QString& text) override;
    bool Start() override;
    void Stop() override;
    bool ReadMemory() override;
    // Start temperature of a memory measurement, in tenths of a degree.
    void SetTriggerValue(qint32 value);

    // "Das Zolt antwortet nicht mehr. Die Messung wurde angehalten."
    static QString LostConnectionText();

private:
    quint8 zoltType_;
    quint32 lastAnswer_ = 0; // tick of the last sample the device answered
};
