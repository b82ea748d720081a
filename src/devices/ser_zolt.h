#pragma once

#include "devices/ser_memory.h"
#include "devices/zolt.h"

#include <QDate>
#include <QTime>

class QSerialPort;
class TComReadThread;

// The serial six-channel logger: a line-oriented ASCII protocol on a COM port. Commands
// end with a carriage return and are answered with text; online values are streamed by
// the device and collected by a TComReadThread.
class TSerZolt : public TZolt {
    Q_OBJECT

public:
    // Channel selector of SetTrigger and SwitchTriggerOff: channels 1 to 6 in turn.
    static constexpr int AllChannels = -32768;

    // Command pacing of the device; the defaults are what the logger needs.
    struct Pacing {
        int charDelayMs = 25;      // after each character of a command
        int afterCommandMs = 100;  // after the closing carriage return
        int beforeLinesMs = 15;    // before reading the record lines of a read-out
        int beforeStatusMs = 1000; // before reading the status reply
    };

    // `comPort` is the setting COMPort; Initialize derives PortName from it.
    explicit TSerZolt(qint32 comPort, bool InitNow = true);

    QString PortName;
    QStringList CommandLog;
    bool LogCommands = true;

    void ReadValues(TDataRow& row) override;
    void Initialize() override;
    void GetStatusText(QString& text) override;
    // Stops a reader that is still running and closes the port before the object goes.
    void Release() override;
    bool Start() override;
    void Stop() override;
    bool ReadMemory() override;

    // "COM2" ... "COM6" for n = 2 ... 6, "COM1" otherwise.
    void SelectPort(int n);
    // Opens PortName in command (9600 8N1) or online (4800 7E1) mode, closing it first.
    bool OpenPort(bool online);
    void ClosePort();
    bool IsPortOpen() const;
    // True while the online reader runs.
    bool IsReading() const { return reader_ != nullptr; }

    void SendCommand(const QString& text);
    QString ReadReply();
    QStringList ReadLines();
    bool ExpectOK();

    bool SetDeviceTime(const QTime& time);
    // 00:00:00 when the device does not answer sensibly.
    QTime GetDeviceTime();
    // 30.12.1899 (the zero date) when the device does not answer sensibly.
    QDate GetDeviceDate();
    void SetTrigger(int value, int channel);
    void SwitchTriggerOff(int channel);
    bool ClearMemory();
    bool EndRecording();

    void SetPacing(const Pacing& pacing) { pacing_ = pacing; }
    const Pacing& CurrentPacing() const { return pacing_; }

    // The device path PortName stands for (see ResolveComPort).
    QString PortPath() const;
    // Opens `port` (its name already set) with the settings of the mode; exclusive.
    static bool OpenSerialPort(QSerialPort& port, bool online, QString* error);
    // "Die Schnittstelle ... kann nicht geöffnet werden ..." for PortName.
    QString PortErrorText(const QString& reason) const;

protected:
    ~TSerZolt() override;

private:
    void Log(const QString& text);
    void SendTriggerCommands(int channel, const std::function<QString(int)>& command);
    void ConnectionLost();
    bool ReadStoredRecords(TSerMemory& memory);
    void ReadOutError(const QString& detail);

    qint32 comPort_;
    QSerialPort* port_ = nullptr;
    TComReadThread* reader_ = nullptr;
    QString lastPortError_;
    Pacing pacing_;
};
