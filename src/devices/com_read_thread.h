#pragma once

#include "model/data_row.h"

#include <QByteArray>
#include <QSemaphore>
#include <QString>
#include <QThread>

#include <atomic>
#include <functional>

// Collects the serial logger's online records ("A023xZ": channel letter, three digits in
// whole degrees, one more character, "Z") and hands each complete row to the main thread,
// waiting there until the data handler has returned.
//
// The thread opens the port itself and is the only one that ever reads or closes it.
// The object lives in the main thread and is created, stopped and deleted there.
class TComReadThread : public QThread {
    Q_OBJECT

public:
    using DataHandler = std::function<void(const TDataRow& row)>;

    TComReadThread(const QString& portPath, quint32 startTick, DataHandler handler);
    ~TComReadThread() override;

    // Called in the main thread when the port fails while reading (device gone).
    void SetLostHandler(std::function<void()> handler) { lostHandler_ = std::move(handler); }

    // Starts the thread and waits until it has tried to open the port; on failure the
    // thread has ended and `error` says why.
    bool StartAndOpen(QString* error);

    // Ends the acquisition from the main thread: no row reaches the handler after this
    // call. Returns with the port closed and the thread finished, except when called from
    // inside the data handler (the thread is then waiting for that very handler): the
    // object then deletes itself once the thread has closed the port and ended. Either way
    // the caller gives up the object.
    void StopAndDispose();

    // The record rules, usable without a port: feed bytes received at `tick`.
    void ProcessBytes(const QByteArray& bytes, quint32 tick);

protected:
    void run() override;

private:
    void EvaluateRecord();
    void HandOver();
    void DeliverInMainThread();

    const QString portPath_;
    const quint32 startTick_;
    const DataHandler handler_;
    std::function<void()> lostHandler_;

    // Reader side.
    QByteArray record_;
    quint32 recordTick_ = 0;
    bool inRecord_ = false;
    TDataRow row_;

    QSemaphore opened_;
    bool openOk_ = false;
    QString openError_;
    std::atomic<bool> terminate_{false};

    // Main-thread side.
    bool stopped_ = false;
    bool inHandler_ = false;
};
