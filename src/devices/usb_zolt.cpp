#include "devices/usb_zolt.h"

#include "driver/zolt3.h"
#include "platform/dialogs.h"
#include "settings/global_unit.h"

#include <QFile>
#include <QThread>
#include <QTimer>

#include <cmath>

namespace {
TUSBZolt::Delays& delays() {
    static TUSBZolt::Delays d;
    return d;
}
void wait(int ms) {
    if (ms > 0) QThread::msleep(static_cast<unsigned long>(ms));
}
} // namespace

TUSBZolt::TUSBZolt(quint8 zoltType, bool InitNow) : zoltType_(zoltType) {
    Channels.assign(8, false);
    if (InitNow) Initialize();
}

void TUSBZolt::SetDelays(const Delays& d) { delays() = d; }

void TUSBZolt::Initialize() {
    ProgReset();
    wait(delays().afterReset);
    if (zoltType_ == 0) {
        // The library reports a missing or unverifiable image itself.
        DownloadIntelHex(QFile::encodeName(ProgramFolder() + QStringLiteral("Zolt3.hex")).constData());
        wait(delays().afterDownload);
    }
    ProgStart();
    wait(delays().afterStart);
    const quint32 info = GetInfo();
    Status = static_cast<quint8>((info >> 8) & 0xFF);
    const int v = static_cast<int>((info >> 16) & 0xFF);
    Version = QStringLiteral("%1.%2").arg(v / 10).arg(v % 10);
    for (int i = 0; i < 8; ++i) Channels[i] = ((info >> i) & 1) != 0;
}

void TUSBZolt::ReadValues(TDataRow& row) {
    row.clear();
    const quint32 now = TickCount();
    if (!ReadTemp()) {
        // A failed read is no sample of zero degrees. A device that stays silent ends the
        // measurement; the rows received so far stay where they are.
        if (now - lastAnswer_ >= kSilenceLimitMs && IsRunning()) {
            Stop();
            dialogs().message(tr("Fehler"), LostConnectionText(), Dialogs::Icon::Error,
                              Dialogs::Buttons::Ok, Dialogs::Answer::Ok,
                              Dialogs::Owner::MainWindow);
            // Told after the poll has returned: the receiver may release the device.
            QTimer::singleShot(0, this, [this] { NotifyStopped(LostConnectionText()); });
        }
        return;
    }
    lastAnswer_ = now;
    row.reserve(ActiveChannelCount() + 1);
    row.push_back(now - StartTick);
    for (int c = 1; c <= 8; ++c)
        if (Channels[c - 1]) row.push_back(GetTemp(c));
}

void TUSBZolt::GetStatusText(QString& text) {
    if (Status == 0) {
        text = tr("Es ist kein angeschlossenes Zolt erkannt worden!");
        return;
    }
    QString channels;
    for (int c = 1; c <= 8; ++c)
        channels += (Channels[c - 1] ? QStringLiteral("[X] ") : QStringLiteral("[  ] ")) +
                    tr("Kanal") + QString::number(c) + QLatin1Char('\n');
    qint32 sn = 0;
    ReadSimple(20, &sn);
    const QString serial = sn == -1 ? tr("Unbekannt") : QString::number(sn);
    text = QStringLiteral("ZOLT_Info: \nStatus: %1\nVersion: %2\nSN: %3\n")
               .arg(Status)
               .arg(Version, serial) +
           tr("Verfügbare Kanäle:") + QLatin1Char('\n') + channels;
}

bool TUSBZolt::Start() {
    TZolt::Start();
    lastAnswer_ = StartTick;
    PollTimer()->start();
    return true;
}

void TUSBZolt::Stop() { PollTimer()->stop(); }

void TUSBZolt::SetTriggerValue(qint32 value) { WriteSimple(17, value); }

QString TUSBZolt::LostConnectionText() {
    return tr("Das Zolt antwortet nicht mehr. Die Messung wurde angehalten.");
}

bool TUSBZolt::ReadMemory() {
    if (zoltType_ == 0) {
        dialogs().message(tr("Info"),
                          tr("Eine Speichermessung wird von dem eingestellten Zolt-Typen nicht "
                             "unterstützt!"),
                          Dialogs::Icon::Information, Dialogs::Buttons::Ok, Dialogs::Answer::Ok,
                          Dialogs::Owner::ActiveWindow);
        return false;
    }
    qint32 iv = 0;
    ReadSimple(15, &iv);
    if (static_cast<quint32>(iv) > 1200) {
        dialogs().message(tr("Fehler"),
                          tr("Ungültiger Wert für Messinterval gelesen (%1). Messung kann nicht "
                             "ausgelesen werden!")
                              .arg(iv),
                          Dialogs::Icon::Error, Dialogs::Buttons::Ok, Dialogs::Answer::Ok,
                          Dialogs::Owner::ActiveWindow);
        return false;
    }
    const quint32 interval = static_cast<quint32>(iv) * 500;
    qint32 n = 0;
    ReadSimple(12, &n);
    if (n <= 0) return true;

    SetBusy(true);
    TDataRow row(ActiveChannelCount() + 2);
    row.back() = 1;
    int shown = 0;
    bool complete = true;
    for (qint32 k = 0; k < n; ++k) {
        if (!ReadMemTemp()) {
            // A record the device did not deliver ends the read-out; what came so far stays.
            dialogs().message(tr("Fehler"),
                              tr("Der Speicher konnte nicht vollständig ausgelesen werden "
                                 "(%1 von %2 Datensätzen).")
                                  .arg(k)
                                  .arg(n),
                              Dialogs::Icon::Error, Dialogs::Buttons::Ok, Dialogs::Answer::Ok,
                              Dialogs::Owner::ActiveWindow);
            complete = false;
            break;
        }
        row[0] = static_cast<quint32>(k) * interval;
        std::size_t e = 1;
        for (int c = 1; c <= 8; ++c)
            if (Channels[c - 1]) row[e++] = GetTemp(c);
        const int q = static_cast<int>(std::lround(k * 100.0 / n));
        if (q > shown) {
            shown = q;
            ShowProgress(q);
        }
        Deliver(row);
    }
    SetBusy(false);
    return complete;
}
