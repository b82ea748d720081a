#pragma once

#include "model/data_row.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QTimer;

// Monotonic millisecond tick count; 32 bits wide like the time stamps the devices keep,
// so differences are taken modulo 2^32.
quint32 TickCount();

// Abstract measuring device. Values leave a device only through OnData, one row at a
// time and always in the main thread. A device is disposed of only by Release
// (TZoltPtr does that on scope exit).
class TZolt : public QObject {
    Q_OBJECT

public:
    using DataHandler = std::function<void(const TDataRow& row)>;
    using TextHandler = std::function<void(const QString& text)>;
    using BusyHandler = std::function<void(bool busy)>;

    // Receives each row; it must copy what it keeps, the device reuses the row.
    // Unset: rows are appended to RowLog as comma-separated text.
    DataHandler OnData;
    // Text for the status line, e.g. the read-out progress.
    TextHandler OnStatusText;
    // A synchronous operation that blocks the user interface begins (true) or ends.
    BusyHandler OnBusy;
    // The device ended a running acquisition on its own (connection lost). The reason has
    // already been shown to the user and is passed along; the device is stopped and may
    // be released from inside the callback.
    TextHandler OnStopped;

    // One presence flag per channel slot of the device.
    TChannel Channels;
    // Tick count taken by Start.
    quint32 StartTick = 0;
    // Rows delivered while no data handler was set.
    QStringList RowLog;

    // One online sample into `row` (resized by the device); left empty when the device
    // did not answer, and then nothing is delivered.
    virtual void ReadValues(TDataRow& row) = 0;
    virtual void Initialize() = 0;
    // Device information for a message box.
    virtual void GetStatusText(QString& text) = 0;
    // Disposes of the device; the object is gone afterwards.
    virtual void Release();
    // Starts an online acquisition; false when it could not be started (the user has been
    // told why).
    virtual bool Start();
    virtual void Stop();
    // Delivers every stored row through OnData before it returns; false when the read-out
    // ended early (the user has been told why; rows delivered so far stay delivered).
    virtual bool ReadMemory() = 0;

    // True while the poll timer runs.
    bool IsRunning() const;
    quint8 ActiveChannelCount() const;
    void SetPollInterval(int milliseconds);
    int PollInterval() const;
    // The poll timer's tick: one sample through ReadValues to OnData or RowLog.
    void Poll();

    // "Daten werden aus dem Speicher ausgelesen (%d %)".
    static QString ProgressText(int percent);

protected:
    TZolt();
    ~TZolt() override;

    // To OnData, or to RowLog when no handler is set.
    void Deliver(const TDataRow& row);
    void ShowProgress(int percent);
    void ShowStatusText(const QString& text);
    void SetBusy(bool busy);
    // Tells the receiver that the device stopped a running acquisition by itself; the
    // caller must not touch the device afterwards (the receiver may release it).
    void NotifyStopped(const QString& reason);

    QTimer* PollTimer() const { return pollTimer_; }

private:
    QTimer* pollTimer_;
};

// Releases a device on scope exit, so every path out of an acquisition frees it.
struct TZoltRelease {
    void operator()(TZolt* device) const {
        if (device) device->Release();
    }
};
template <typename T = TZolt> using TZoltPtr = std::unique_ptr<T, TZoltRelease>;
