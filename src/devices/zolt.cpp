#include "devices/zolt.h"

#include <QTimer>

#include <ctime>

quint32 TickCount() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    const quint64 ms =
        static_cast<quint64>(ts.tv_sec) * 1000u + static_cast<quint64>(ts.tv_nsec) / 1000000u;
    return static_cast<quint32>(ms);
}

TZolt::TZolt() : pollTimer_(new QTimer(this)) {
    pollTimer_->setTimerType(Qt::PreciseTimer);
    connect(pollTimer_, &QTimer::timeout, this, &TZolt::Poll);
}

TZolt::~TZolt() = default;

void TZolt::Release() {
    pollTimer_->stop();
    RowLog.clear();
    delete this;
}

bool TZolt::Start() {
    RowLog.clear();
    StartTick = TickCount();
    return true;
}

void TZolt::Stop() {}

bool TZolt::IsRunning() const {
    return pollTimer_->isActive();
}

quint8 TZolt::ActiveChannelCount() const {
    quint8 count = 0;
    for (bool present : Channels)
        if (present) ++count;
    return count;
}

void TZolt::SetPollInterval(int milliseconds) {
    pollTimer_->setInterval(milliseconds);
}

int TZolt::PollInterval() const {
    return pollTimer_->interval();
}

void TZolt::Poll() {
    TDataRow row;
    ReadValues(row);
    // An empty row is a sample the device did not answer: nothing is delivered.
    if (!row.empty()) Deliver(row);
}

void TZolt::Deliver(const TDataRow& row) {
    if (OnData) {
        OnData(row);
        return;
    }
    QStringList parts;
    parts.reserve(static_cast<qsizetype>(row.size()));
    for (quint32 v : row)
        parts << QString::number(v);
    RowLog << parts.join(QLatin1Char(','));
}

QString TZolt::ProgressText(int percent) {
    return tr("Daten werden aus dem Speicher ausgelesen (%1 %)").arg(percent);
}

void TZolt::ShowProgress(int percent) {
    ShowStatusText(ProgressText(percent));
}

void TZolt::ShowStatusText(const QString& text) {
    if (OnStatusText) OnStatusText(text);
}

void TZolt::SetBusy(bool busy) {
    if (OnBusy) OnBusy(busy);
}

void TZolt::NotifyStopped(const QString& reason) {
    // Copied first: the receiver may release the device, and with it this handler.
    const TextHandler handler = OnStopped;
    if (handler) handler(reason);
}
