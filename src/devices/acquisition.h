#pragma once

#include "model/data_row.h"

#include <QCoreApplication>
#include <QObject>

#include <functional>

class QTimer;
class TGlobalVars;
class TMessungInfo;
class TSerZolt;
class TUSBZolt;
class TZolt;

// One acquisition into a measurement, as the measurement page and the command-line tool
// run it: the device of the configured type is created for it and released after it,
// online rows arrive until Stop (or the set duration), a memory read-out runs to its end
// inside Start. What the rows and texts look like on screen is left to the callbacks.
class TAcquisition : public QObject {
    Q_OBJECT

public:
    struct Callbacks {
        // A row as the device delivered it: time, then one entry per device column.
        std::function<void(const TDataRow& source)> OnRow;
        std::function<void(const QString& text)> OnStatusText;
        // The measurement's channels were set up for a new device.
        std::function<void()> OnChannelsChanged;
        // An online acquisition started (true) or ended (false).
        std::function<void(bool running)> OnRunningChanged;
        // A memory read-out delivered its rows (also when it ended early).
        std::function<void()> OnReadoutDone;
        // A blocking operation begins or ends (busy cursor).
        std::function<void(bool busy)> OnBusy;
    };
    // Creates the device for a type (0, 1: USB; 2: serial), initialised.
    using DeviceFactory = std::function<TZolt*(quint8 type, const TGlobalVars& settings)>;

    enum class Outcome { Running, ReadOut, Refused };

    TAcquisition(TMessungInfo& measurement, TGlobalVars& settings, Callbacks callbacks,
                 DeviceFactory factory = {});
    // A running acquisition is stopped first; its rows stay in the measurement.
    ~TAcquisition() override;

    // Starts as the settings say. Refused (with a message) for invalid settings, for a
    // read-out on the 318.10, and while another acquisition of the program runs.
    Outcome Start();
    // Ends an online acquisition; with no device attached it says so (unless quiet).
    void Stop(bool quiet = false);
    bool IsRunning() const { return running_; }

    // The online poll interval for a configured interval: never below 100 ms.
    static int PollIntervalFor(qint32 measInterval);
    // The measurement's row for a device row: each channel takes the device column its
    // DeviceChannel names (0 where the row has no such column), then the measured flag.
    static TDataRow MapRow(const TMessungInfo& measurement, const TDataRow& source);
    // The acquisition that is running in this program, if any.
    static TAcquisition* Running();
    // The default device factory: TUSBZolt for types 0 and 1, TSerZolt for type 2.
    static TZolt* CreateDevice(quint8 type, const TGlobalVars& settings);

private:
    void AttachDevice(TZolt* device, bool usb);
    void ReleaseDevice();
    void Status(const QString& text);
    void SetRunning(bool running);
    void StartDuration();
    void ShowInfo(const QString& text);

    TMessungInfo& measurement_;
    TGlobalVars& settings_;
    Callbacks cb_;
    DeviceFactory factory_;
    TZolt* device_ = nullptr;
    bool usb_ = false;
    bool running_ = false;
    QTimer* tmrDuration;
    QString durationText_;
};
