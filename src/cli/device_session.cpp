#include "cli/device_session.h"

#include "cli/command.h"
#include "devices/usb_zolt.h"
#include "devices/zolt.h"
#include "settings/global_vars.h"

#include <QHash>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {
// Parses a whole decimal number in [min, max].
std::optional<int> number(const QString& text, int min, int max) {
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < min || value > max) return std::nullopt;
    return value;
}

int interruptPipe[2] = {-1, -1};

void onSignal(int) {
    const char byte = 1;
    // Nothing else is safe in a signal handler; the event loop does the rest.
    [[maybe_unused]] const auto written = ::write(interruptPipe[1], &byte, 1);
}

struct sigaction previousInt, previousTerm;
} // namespace

std::optional<DeviceOptions> DeviceOptions::Parse(const QStringList& args, bool withSeconds,
                                                  QString* problem) {
    DeviceOptions o;
    for (int i = 0; i < args.size(); ++i) {
        QString name = args[i];
        if (!name.startsWith(QLatin1String("--"))) {
            o.positional << name;
            continue;
        }
        QString value;
        if (const int eq = name.indexOf(QLatin1Char('=')); eq > 0) {
            value = name.mid(eq + 1);
            name.truncate(eq);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            *problem = CliTr("Bei \"%1\" fehlt der Wert.").arg(name);
            return std::nullopt;
        }
        struct Option {
            const char* name;
            std::optional<int>* target;
            int min, max;
            const char* expected;
        };
        const Option options[] = {
            {"--type", &o.type, 0, 2, QT_TRANSLATE_NOOP("zoltctl", "0, 1 oder 2")},
            {"--port", &o.port, 1, 6, QT_TRANSLATE_NOOP("zoltctl", "1 bis 6")},
            {"--interval", &o.interval, 1, 600000,
             QT_TRANSLATE_NOOP("zoltctl", "Millisekunden von 1 bis 600000")},
            {"--seconds", withSeconds ? &o.seconds : nullptr, 1, 2000000,
             QT_TRANSLATE_NOOP("zoltctl", "Sekunden von 1 bis 2000000")},
        };
        const Option* match = nullptr;
        for (const Option& option : options)
            if (option.target && name == QLatin1String(option.name)) match = &option;
        if (!match) {
            *problem = CliTr("Unerwartetes Argument \"%1\".").arg(name);
            return std::nullopt;
        }
        const auto parsed = number(value, match->min, match->max);
        if (!parsed) {
            *problem = CliTr("Ungültiger Wert \"%1\" für %2 (erwartet: %3).")
                           .arg(value, name, CliTr(match->expected));
            return std::nullopt;
        }
        *match->target = *parsed;
    }
    return o;
}

void DeviceOptions::ApplyTo(TGlobalVars& settings) const {
    if (type) settings.SetZoltType(static_cast<quint8>(*type));
    if (port) settings.SetCOMPort(*port);
    if (interval) settings.SetMeasInterval(*interval);
}

std::optional<qint32> ReadOnlyUserSettings::readInt(Scope scope, const QString& name) {
    return store_.readInt(scope, name);
}

std::optional<QString> ReadOnlyUserSettings::readString(Scope scope, const QString& name) {
    return store_.readString(scope, name);
}

Dialogs::Answer ObservingDialogs::message(const QString& caption, const QString& text, Icon icon,
                                          Buttons buttons, Answer defaultAnswer, Owner owner) {
    if (beforeMessage) beforeMessage();
    if (icon == Icon::Error || icon == Icon::Warning) ++problems_;
    return ConsoleDialogs::message(caption, text, icon, buttons, defaultAnswer, owner);
}

InterruptWatch::InterruptWatch(std::function<void()> onInterrupt)
    : onInterrupt_(std::move(onInterrupt)) {
    if (::pipe2(interruptPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    notifier_ = new QSocketNotifier(interruptPipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        char buffer[16];
        while (::read(interruptPipe[0], buffer, sizeof buffer) > 0) {
        }
        interrupted_ = true;
        if (onInterrupt_) onInterrupt_();
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    // A second Ctrl-C ends the program the hard way, should stopping ever hang.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    sigaction(SIGINT, &action, &previousInt);
    sigaction(SIGTERM, &action, &previousTerm);
}

InterruptWatch::~InterruptWatch() {
    if (!notifier_) return;
    sigaction(SIGINT, &previousInt, nullptr);
    sigaction(SIGTERM, &previousTerm, nullptr);
    delete notifier_;
    ::close(interruptPipe[0]);
    ::close(interruptPipe[1]);
    interruptPipe[0] = interruptPipe[1] = -1;
}

void ProgressBar::Show(int percent) {
    percent = std::clamp(percent, 0, 100);
    if (percent == shown_ && open_) return;
    shown_ = percent;
    constexpr int width = 40;
    const int filled = percent * width / 100;
    const QString bar =
        QStringLiteral("\r[%1%2] %3 %")
            .arg(QString(filled, QLatin1Char('#')), QString(width - filled, QLatin1Char('-')))
            .arg(percent, 3);
    std::fputs(qPrintable(bar), stderr);
    std::fflush(stderr);
    open_ = true;
}

void ProgressBar::Break() {
    if (!open_) return;
    std::fputc('\n', stderr);
    open_ = false;
}

std::optional<int> ProgressPercent(const QString& statusText) {
    // Compared with the device's own texts, so a translation changes nothing here.
    static const QHash<QString, int> texts = [] {
        QHash<QString, int> h;
        for (int p = 0; p <= 100; ++p)
            h.insert(TZolt::ProgressText(p), p);
        return h;
    }();
    const auto it = texts.constFind(statusText);
    if (it == texts.constEnd()) return std::nullopt;
    return *it;
}

void UseSimulatorTimingIfSimulated() {
    if (qEnvironmentVariable("ZOLT3_TRANSPORT").trimmed().toLower() == QLatin1String("sim"))
        TUSBZolt::SetDelays({0, 0, 0});
}
