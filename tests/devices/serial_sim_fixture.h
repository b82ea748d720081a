#pragma once

#include "devices/ser_zolt.h"
#include "support/qt_printers.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>

// Runs the main thread's events until `done` holds or `ms` have passed.
inline bool PumpUntil(const std::function<bool()>& done, int ms) {
    QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return true;
}
inline void Pump(int ms) {
    PumpUntil([] { return false; }, ms);
}

// zolt-serial-sim from the build's bin folder, reachable as COM3 for the test's process.
class SerialSim {
public:
    ~SerialSim() { Close(); }

    // False (and the reason in `error`) when the simulator is missing or does not come up.
    bool Open(const QStringList& args, QString* error) {
        const QString program = QCoreApplication::applicationDirPath() + "/zolt-serial-sim";
        if (!QFileInfo(program).isExecutable()) {
            *error = program + " is missing";
            return false;
        }
        process_.setProgram(program);
        process_.setArguments(args);
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start();
        if (!process_.waitForStarted(5000)) {
            *error = "cannot start " + program;
            return false;
        }
        while (!process_.canReadLine() && process_.waitForReadyRead(5000)) {
        }
        path_ = QString::fromLocal8Bit(process_.readLine()).trimmed();
        if (path_.isEmpty()) {
            *error = "the simulator printed no terminal";
            return false;
        }
        qputenv("ZOLT_COM3", path_.toLocal8Bit());
        return true;
    }
    void Close() {
        if (process_.state() == QProcess::NotRunning) return;
        process_.terminate();
        if (!process_.waitForFinished(3000)) {
            process_.kill();
            process_.waitForFinished(3000);
        }
    }
    // Ends the simulator at once, like a device that is unplugged.
    void Kill() {
        process_.kill();
        process_.waitForFinished(3000);
    }
    const QString& path() const { return path_; }
    QProcess& process() { return process_; }

private:
    QProcess process_;
    QString path_;
};

// A TSerZolt on COM3 = the simulator, with quick command pacing.
class SerialDeviceTest : public ::testing::Test {
protected:
    void StartSim(const QStringList& args) {
        QString error;
        if (!sim_.Open(args, &error))
            GTEST_SKIP() << "serial simulator unavailable: " << error.toStdString();
        device_.reset(new TSerZolt(3, true));
        TSerZolt::Pacing fast;
        fast.charDelayMs = 1;
        fast.afterCommandMs = 5;
        fast.beforeStatusMs = 20;
        device_->SetPacing(fast);
    }
    void TearDown() override {
        device_.reset();
        sim_.Close();
        qunsetenv("ZOLT_COM3");
    }

    SerialSim sim_;
    TZoltPtr<TSerZolt> device_;
};
