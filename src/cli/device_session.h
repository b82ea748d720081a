#pragma once

#include "platform/dialogs.h"
#include "platform/settings_backend.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QSocketNotifier;
class TGlobalVars;

// What the device commands share: their options, the user's settings without writing
// them back, messages that remember whether something went wrong, Ctrl-C as a request
// to stop, and the progress bar.

// The command line of a device command: positional arguments and the overrides of the
// stored settings.
struct DeviceOptions {
    QStringList positional;
    std::optional<int> type;     // --type 0|1|2
    std::optional<int> port;     // --port 1..6
    std::optional<int> interval; // --interval MS
    std::optional<int> seconds;  // --seconds N (measure only)

    // Nothing, with the reason in `problem`, for an unknown option or a bad value.
    static std::optional<DeviceOptions> Parse(const QStringList& args, bool withSeconds,
                                              QString* problem);
    // Applies the overrides to this run's settings.
    void ApplyTo(TGlobalVars& settings) const;
};

// The user's stored settings, read as the program reads them; writes are dropped, so
// neither the overrides of one run nor the defaults of missing values reach the store.
class ReadOnlyUserSettings : public SettingsBackend {
public:
    std::optional<qint32> readInt(Scope scope, const QString& name) override;
    std::optional<QString> readString(Scope scope, const QString& name) override;
    bool writeInt(Scope, const QString&, qint32) override { return true; }
    bool writeString(Scope, const QString&, const QString&) override { return true; }

private:
    QSettingsBackend store_;
};

// Prints like ConsoleDialogs and notes whether an error or a warning was shown; calls
// `beforeMessage` first (to end a progress line).
class ObservingDialogs : public ConsoleDialogs {
public:
    Answer message(const QString& caption, const QString& text, Icon icon, Buttons buttons,
                   Answer defaultAnswer, Owner owner) override;
    bool ProblemShown() const { return problems_ > 0; }
    std::function<void()> beforeMessage;

private:
    int problems_ = 0;
};

// Turns SIGINT and SIGTERM into a call of `onInterrupt` from the event loop while it
// exists; the previous handlers come back afterwards.
class InterruptWatch : public QObject {
public:
    explicit InterruptWatch(std::function<void()> onInterrupt);
    ~InterruptWatch() override;
    bool Interrupted() const { return interrupted_; }

private:
    std::function<void()> onInterrupt_;
    QSocketNotifier* notifier_ = nullptr;
    bool interrupted_ = false;
};

// "[#####-----]  50 %" on stderr, redrawn in place when the percentage changes.
class ProgressBar {
public:
    void Show(int percent);
    // Ends the line of the bar (before other output or at the end).
    void Break();

private:
    int shown_ = -1;
    bool open_ = false;
};

// The percentage of a read-out progress text of the devices; nothing for other texts.
std::optional<int> ProgressPercent(const QString& statusText);

// The simulated USB device needs none of the start-up waits of a real one.
void UseSimulatorTimingIfSimulated();
