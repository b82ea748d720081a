#include "devices/com_read_thread.h"

#include "devices/ser_zolt.h"
#include "devices/zolt.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QPointer>
#include <QSerialPort>

#include <poll.h>

namespace {
// A record: channel letter, three digits, one more character (the "Z" is not kept).
constexpr int kRecordLength = 5;
constexpr int kReadTimeoutMs = 100;

// The other end is gone (USB adapter unplugged, pseudo terminal closed): the port reports
// a hang-up instead of data.
bool HungUp(QSerialPort& port) {
    pollfd pfd{static_cast<int>(port.handle()), POLLIN, 0};
    return poll(&pfd, 1, 0) > 0 && (pfd.revents & (POLLHUP | POLLERR | POLLNVAL));
}
} // namespace

TComReadThread::TComReadThread(const QString& portPath, quint32 startTick, DataHandler handler)
    : portPath_(portPath), startTick_(startTick), handler_(std::move(handler)),
      row_(kSerRowSize, 0) {
    row_[kSerRowSize - 1] = 1;
}

TComReadThread::~TComReadThread() {
    // Only reached once the thread has ended (see StopAndDispose); this is a safety net.
    terminate_ = true;
    wait();
}

bool TComReadThread::StartAndOpen(QString* error) {
    start();
    opened_.acquire();
    if (!openOk_) {
        wait();
        if (error) *error = openError_;
        return false;
    }
    return true;
}

void TComReadThread::run() {
    QSerialPort port;
    port.setPortName(portPath_);
    openOk_ = TSerZolt::OpenSerialPort(port, true, &openError_);
    opened_.release();
    if (!openOk_) return;

    while (!terminate_.load()) {
        const bool ready = port.waitForReadyRead(kReadTimeoutMs);
        const QByteArray bytes = ready ? port.readAll() : QByteArray();
        if (!bytes.isEmpty()) {
            ProcessBytes(bytes, TickCount());
            continue;
        }
        if (port.error() == QSerialPort::ResourceError || HungUp(port)) {
            QMetaObject::invokeMethod(
                this,
                [this] {
                    if (!stopped_ && lostHandler_) lostHandler_();
                },
                Qt::QueuedConnection);
            break;
        }
        port.clearError();
    }
    port.close();
}

void TComReadThread::ProcessBytes(const QByteArray& bytes, quint32 tick) {
    for (char byte : bytes) {
        if (terminate_.load()) return;
        if (byte == 'Z') {
            EvaluateRecord();
            record_.clear();
            inRecord_ = false;
            continue;
        }
        if (!inRecord_) {
            recordTick_ = tick;
            inRecord_ = true;
        }
        // Anything longer than a record is dropped anyway; keep noise from growing it.
        if (record_.size() <= kRecordLength) record_.append(byte);
    }
}

void TComReadThread::EvaluateRecord() {
    if (record_.size() != kRecordLength) return;
    const char letter = record_[0];
    if (letter < 'A' || letter > 'F') return;
    quint32 degrees = 0;
    for (int i = 1; i <= 3; ++i) {
        const char digit = record_[i];
        if (digit < '0' || digit > '9') return;
        degrees = degrees * 10 + static_cast<quint32>(digit - '0');
    }
    const quint32 time = recordTick_ - startTick_;
    // Two records within one tick cannot be told apart in time; the second is dropped.
    if (time == row_[0]) return;
    row_[0] = time;
    row_[letter - 'A' + 1] = degrees * 10;
    HandOver();
}

void TComReadThread::HandOver() {
    if (QThread::currentThread() == thread()) {
        // Fed directly in the main thread (no port involved).
        DeliverInMainThread();
        return;
    }
    QMetaObject::invokeMethod(
        this, [this] { DeliverInMainThread(); }, Qt::BlockingQueuedConnection);
}

void TComReadThread::DeliverInMainThread() {
    if (stopped_ || !handler_) return;
    QPointer<TComReadThread> self(this);
    inHandler_ = true;
    handler_(row_);
    if (self) inHandler_ = false;
}

void TComReadThread::StopAndDispose() {
    stopped_ = true;
    terminate_ = true;
    if (inHandler_) {
        // The thread waits for the handler we are inside; it finishes after we return.
        connect(this, &QThread::finished, this, &QObject::deleteLater);
        if (isFinished()) deleteLater();
        return;
    }
    // A hand-over may be queued or about to be: deliver it (it returns at once since we
    // are stopped) so the thread is never left waiting for us while we wait for it.
    while (!wait(QDeadlineTimer(10)))
        QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    delete this;
}
