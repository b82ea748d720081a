#include "devices/acquisition.h"

#include "devices/ser_zolt.h"
#include "devices/usb_zolt.h"
#include "model/messung_info.h"
#include "platform/dialogs.h"
#include "settings/global_vars.h"

#include <QTimer>

namespace {
TAcquisition*& runningAcquisition() {
    static TAcquisition* running = nullptr;
    return running;
}
} // namespace

TAcquisition::TAcquisition(TMessungInfo& measurement, TGlobalVars& settings, Callbacks callbacks,
                           DeviceFactory factory)
    : measurement_(measurement), settings_(settings), cb_(std::move(callbacks)),
      factory_(factory ? std::move(factory) : DeviceFactory(&TAcquisition::CreateDevice)),
      tmrDuration(new QTimer(this)) {
    tmrDuration->setSingleShot(true);
    connect(tmrDuration, &QTimer::timeout, this, [this] { Stop(); });
}

TAcquisition::~TAcquisition() {
    if (running_ || device_) Stop(true);
    if (runningAcquisition() == this) runningAcquisition() = nullptr;
}

TAcquisition* TAcquisition::Running() { return runningAcquisition(); }

int TAcquisition::PollIntervalFor(qint32 measInterval) { return measInterval < 100 ? 100 : measInterval; }

TDataRow TAcquisition::MapRow(const TMessungInfo& measurement, const TDataRow& source) {
    const int channels = measurement.ChannelCount();
    TDataRow row(channels + 2);
    row[0] = source.empty() ? 0 : source[0];
    for (int i = 0; i < channels; ++i) {
        const quint16 dc = measurement.GetChannel(i)->DeviceChannel;
        row[i + 1] = dc < source.size() ? source[dc] : 0;
    }
    row[channels + 1] = 1;
    return row;
}

TZolt* TAcquisition::CreateDevice(quint8 type, const TGlobalVars& settings) {
    if (type == 2) return new TSerZolt(settings.COMPort(), true);
    return new TUSBZolt(type, true);
}

void TAcquisition::Status(const QString& text) {
    if (cb_.OnStatusText) cb_.OnStatusText(text);
}

void TAcquisition::ShowInfo(const QString& text) {
    dialogs().message(tr("Info"), text, Dialogs::Icon::Information, Dialogs::Buttons::Ok,
                      Dialogs::Answer::Ok, Dialogs::Owner::ActiveWindow);
}

void TAcquisition::SetRunning(bool running) {
    running_ = running;
    if (running)
        runningAcquisition() = this;
    else if (runningAcquisition() == this)
        runningAcquisition() = nullptr;
    if (cb_.OnRunningChanged) cb_.OnRunningChanged(running);
}

void TAcquisition::AttachDevice(TZolt* device, bool usb) {
    device_ = device;
    usb_ = usb;
    device_->OnData = [this](const TDataRow& row) {
        if (cb_.OnRow) cb_.OnRow(row);
    };
    device_->OnStatusText = [this](const QString& text) { Status(text); };
    device_->OnBusy = [this](bool busy) {
        if (cb_.OnBusy) cb_.OnBusy(busy);
    };
    // The device gave up on its own (it has told the user why): end like a stop.
    device_->OnStopped = [this](const QString&) {
        tmrDuration->stop();
        ReleaseDevice();
        Status(QString());
        SetRunning(false);
    };

    measurement_.SetChannelCount(device_->ActiveChannelCount());
    // USB: the i-th present slot j feeds channel i and gives it its name; serial: 1 to n.
    int i = 0;
    for (int j = 1; j <= static_cast<int>(device_->Channels.size()); ++j) {
        if (!device_->Channels[j - 1]) continue;
        TKanalInfo* channel = measurement_.GetChannel(i);
        if (!channel) break;
        ++i;
        channel->DeviceChannel = static_cast<quint16>(i);
        channel->Name = tr("Kanal %1").arg(usb ? j : i);
    }
    if (cb_.OnChannelsChanged) cb_.OnChannelsChanged();
}

void TAcquisition::ReleaseDevice() {
    if (!device_) return;
    TZolt* device = device_;
    device_ = nullptr;
    device->OnData = nullptr;
    device->OnStopped = nullptr;
    device->Release();
}

void TAcquisition::StartDuration() {
    const qint32 duration = settings_.MeasDuration();
    if (duration <= 0) {
        durationText_ = tr("Dauermessung aktiv");
        return;
    }
    tmrDuration->start(duration);
    durationText_ = tr("Messung über %1 Sekunden aktiv").arg(QLocale().toString(duration / 1000.0, 'f', 2));
}

TAcquisition::Outcome TAcquisition::Start() {
    if (TAcquisition* other = Running(); other && other != this) {
        ShowInfo(tr("Es läuft bereits eine Messung. Bitte stoppen Sie diese zuerst."));
        return Outcome::Refused;
    }
    if (running_) return Outcome::Refused;
    const quint8 type = settings_.ZoltType();
    const quint8 mode = settings_.ZoltMode();
    if (type > 2) {
        ShowInfo(tr("Messung kann nicht gestartet werden, da ein ungültiger Zolt-Typ ausgewählt ist!"));
        return Outcome::Refused;
    }
    if (mode > 1) {
        ShowInfo(tr("Messung kann nicht gestartet werden, da ein ungültiger Zolt-Modus ausgewählt ist!"));
        return Outcome::Refused;
    }

    if (type <= 1 && mode == 0) {
        if (!device_) AttachDevice(factory_(type, settings_), true);
        device_->SetPollInterval(PollIntervalFor(settings_.MeasInterval()));
        StartDuration();
        device_->Start();
        Status(durationText_);
        SetRunning(true);
        return Outcome::Running;
    }
    if (type <= 1) { // memory read-out
        if (type == 0) {
            ShowInfo(tr("Eine Speichermessung wird von dem eingestellten Zolt-Typen nicht unterstützt!"));
            return Outcome::Refused;
        }
        Status(TZolt::ProgressText(0));
        if (!device_) AttachDevice(factory_(type, settings_), true);
        device_->ReadMemory();
        if (cb_.OnReadoutDone) cb_.OnReadoutDone();
        ReleaseDevice();
        Status(QString());
        return Outcome::ReadOut;
    }
    if (mode == 0) { // serial, online: the device paces itself
        if (!device_) {
            AttachDevice(factory_(type, settings_), false);
            static_cast<TSerZolt*>(device_)->SelectPort(settings_.COMPort());
        }
        StartDuration();
        Status(durationText_);
        if (!device_->Start()) {
            // The device told the user why (port not to be opened, ...).
            tmrDuration->stop();
            ReleaseDevice();
            Status(QString());
            return Outcome::Refused;
        }
        SetRunning(true);
        return Outcome::Running;
    }
    // Serial, memory read-out.
    if (!device_) {
        AttachDevice(factory_(type, settings_), false);
        static_cast<TSerZolt*>(device_)->SelectPort(settings_.COMPort());
    }
    auto* serial = static_cast<TSerZolt*>(device_);
    serial->SelectPort(settings_.COMPort());
    serial->EndRecording();
    Status(TZolt::ProgressText(0));
    serial->ReadMemory();
    if (cb_.OnReadoutDone) cb_.OnReadoutDone();
    ReleaseDevice();
    Status(QString());
    return Outcome::ReadOut;
}

void TAcquisition::Stop(bool quiet) {
    running_ = false;
    if (!device_) {
        if (!quiet) ShowInfo(tr("Messung kann nicht gestoppt werden, da keine Messhardware initialisiert ist."));
    } else if (!usb_) {
        device_->Stop();
        ReleaseDevice();
    } else if (device_->IsRunning()) {
        device_->Stop();
        ReleaseDevice();
    } else if (quiet) {
        ReleaseDevice();
    }
    tmrDuration->stop();
    Status(QString());
    SetRunning(false);
}
