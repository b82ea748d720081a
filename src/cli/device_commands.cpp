// zoltctl status, measure and readout: the configured device, run as the measurement page
// runs it, without the GUI.

#include "cli/cli_files.h"
#include "cli/command.h"
#include "cli/device_session.h"
#include "devices/acquisition.h"
#include "devices/ser_zolt.h"
#include "devices/usb_zolt.h"
#include "model/messung_info.h"
#include "platform/ole_date.h"
#include "settings/global_vars.h"

#include <QDateTime>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QLocale>

#include <cstdio>

namespace {
// Parses the options; on failure `exitCode` holds what the command returns.
std::optional<DeviceOptions> parseOptions(const QStringList& args, bool withSeconds, int positional,
                                          int* exitCode) {
    QString problem;
    auto options = DeviceOptions::Parse(args, withSeconds, &problem);
    if (!options) {
        *exitCode = UsageError(problem);
        return std::nullopt;
    }
    if (options->positional.size() > positional) {
        *exitCode = UsageError(
            CliTr("Unerwartetes Argument \"%1\".").arg(options->positional.at(positional)));
        return std::nullopt;
    }
    if (options->positional.size() < positional) {
        *exitCode = UsageError(CliTr("Es fehlt die Ausgabedatei."));
        return std::nullopt;
    }
    return options;
}

// The output must be a kind a measurement can be saved as, in a folder that exists, so a
// finished acquisition is not lost for a typing error.
int checkOutput(const QString& out) {
    const auto kind = DocumentKindOf(out);
    if (kind != DocumentKind::Measurement && kind != DocumentKind::Text &&
        kind != DocumentKind::Json)
        return UsageError(CliTr("AUS muss auf .zolt, .txt oder .json enden: \"%1\".").arg(out));
    const QFileInfo info(out);
    if (!info.absoluteDir().exists() || info.isDir()) {
        dialogs().error(CliTr("Auf die Datei \"%1\" kann nicht zugegriffen werden!").arg(out));
        return kExitFailed;
    }
    return kExitOk;
}

// "12,30 s  Kanal 1: 23,4 °C  Kanal 3: 24,1 °C"
void printRow(const TMessungInfo& m, const TDataRow& row) {
    const QLocale locale;
    QString line = CliTr("%1 s").arg(locale.toString(row[0] / 1000.0, 'f', 2));
    for (int c = 0; c < m.ChannelCount(); ++c)
        line += QStringLiteral("  %1: %2 °C")
                    .arg(m.GetChannel(c)->Name, locale.toString(row[c + 1] / 10.0, 'f', 1));
    std::fprintf(stderr, "%s\n", qPrintable(line));
}

// Saves what an acquisition received; false (with a message) when there is nothing or
// the file cannot be written.
bool saveResult(TMessungInfo& m, const QString& out) {
    if (m.RowCount() == 0) {
        dialogs().error(CliTr("Es wurden keine Messwerte empfangen; \"%1\" wird nicht "
                              "geschrieben.")
                            .arg(out));
        return false;
    }
    if (!SaveMeasurementAs(m, out)) return false;
    std::fprintf(stderr, "%s\n",
                 qPrintable(CliTr("%1 Zeilen in \"%2\" gespeichert.").arg(m.RowCount()).arg(out)));
    return true;
}

int status(const QStringList& args) {
    int exitCode = kExitOk;
    const auto options = parseOptions(args, false, 0, &exitCode);
    if (!options) return exitCode;
    ReadOnlyUserSettings store;
    TGlobalVars settings(store);
    options->ApplyTo(settings);
    ObservingDialogs console;
    DialogsScope scope(console);
    UseSimulatorTimingIfSimulated();

    const quint8 type = settings.ZoltType();
    if (type > 2) {
        dialogs().error(CliTr("Der eingestellte Zolt-Typ %1 ist ungültig.").arg(type));
        return kExitFailed;
    }
    TZoltPtr<> device(TAcquisition::CreateDevice(type, settings));
    if (auto* serial = qobject_cast<TSerZolt*>(device.get()))
        serial->SelectPort(settings.COMPort());
    QString text;
    device->GetStatusText(text);
    std::fprintf(stdout, "%s%s", qPrintable(text), text.endsWith(QLatin1Char('\n')) ? "" : "\n");
    std::fflush(stdout);
    const auto* usb = qobject_cast<TUSBZolt*>(device.get());
    if (usb && usb->Status == 0) return kExitFailed;
    return console.ProblemShown() ? kExitFailed : kExitOk;
}

int measure(const QStringList& args) {
    int exitCode = kExitOk;
    const auto options = parseOptions(args, true, 1, &exitCode);
    if (!options) return exitCode;
    const QString out = options->positional.first();
    if (const int problem = checkOutput(out); problem != kExitOk) return problem;

    ReadOnlyUserSettings store;
    TGlobalVars settings(store);
    options->ApplyTo(settings);
    settings.SetZoltMode(0);
    // Without --seconds the measurement runs until it is interrupted.
    settings.SetMeasDuration(options->seconds ? *options->seconds * 1000 : 0);
    ObservingDialogs console;
    DialogsScope scope(console);
    UseSimulatorTimingIfSimulated();

    TMessungInfo m;
    m.StartTime = toOleDate(QDateTime::currentDateTime());
    QEventLoop loop;
    bool ended = false;
    TAcquisition::Callbacks cb;
    cb.OnRow = [&m](const TDataRow& source) {
        const TDataRow row = TAcquisition::MapRow(m, source);
        m.AddRow(row);
        printRow(m, row);
    };
    cb.OnStatusText = [](const QString& text) {
        if (!text.isEmpty()) std::fprintf(stderr, "%s\n", qPrintable(text));
    };
    cb.OnRunningChanged = [&](bool running) {
        if (running) return;
        ended = true;
        loop.quit();
    };
    TAcquisition acquisition(m, settings, cb);
    // Ctrl-C ends the measurement like its stop button; the rows are saved.
    InterruptWatch interrupt([&] {
        if (acquisition.IsRunning()) acquisition.Stop(true);
        ended = true;
        loop.quit();
    });

    if (acquisition.Start() != TAcquisition::Outcome::Running) return kExitFailed;
    if (!ended) loop.exec();
    if (acquisition.IsRunning()) acquisition.Stop(true);

    if (!saveResult(m, out)) return kExitFailed;
    // A device that stopped answering has said so; what came is saved all the same.
    return console.ProblemShown() ? kExitFailed : kExitOk;
}

int readout(const QStringList& args) {
    int exitCode = kExitOk;
    const auto options = parseOptions(args, false, 1, &exitCode);
    if (!options) return exitCode;
    const QString out = options->positional.first();
    if (const int problem = checkOutput(out); problem != kExitOk) return problem;

    ReadOnlyUserSettings store;
    TGlobalVars settings(store);
    options->ApplyTo(settings);
    settings.SetZoltMode(1);
    ProgressBar bar;
    ObservingDialogs console;
    console.beforeMessage = [&bar] { bar.Break(); };
    DialogsScope scope(console);
    UseSimulatorTimingIfSimulated();

    TMessungInfo m;
    m.StartTime = toOleDate(QDateTime::currentDateTime());
    TAcquisition::Callbacks cb;
    cb.OnRow = [&m](const TDataRow& source) { m.AddRow(TAcquisition::MapRow(m, source)); };
    cb.OnStatusText = [&bar](const QString& text) {
        if (const auto percent = ProgressPercent(text)) bar.Show(*percent);
    };
    cb.OnReadoutDone = [&bar, &console, &m] {
        if (!console.ProblemShown() && m.RowCount() > 0) bar.Show(100);
        bar.Break();
    };
    TAcquisition acquisition(m, settings, cb);
    const TAcquisition::Outcome outcome = acquisition.Start();
    bar.Break();
    if (outcome != TAcquisition::Outcome::ReadOut) return kExitFailed;
    if (m.RowCount() == 0) {
        // Where the device refused, it has said why.
        if (!console.ProblemShown())
            dialogs().info(CliTr("Der Speicher des Zolt enthält keine Messwerte."));
        return kExitFailed;
    }
    if (!saveResult(m, out)) return kExitFailed;
    // A read-out that ended early has said so; the rows up to there are saved.
    return console.ProblemShown() ? kExitFailed : kExitOk;
}

const CommandRegistration statusCommand({"status", QT_TRANSLATE_NOOP("zoltctl", "[GERÄT]"),
                                         QT_TRANSLATE_NOOP("zoltctl", "zeigt den Status des Zolt"),
                                         status});
const CommandRegistration measureCommand(
    {"measure", QT_TRANSLATE_NOOP("zoltctl", "AUS [--seconds N] [GERÄT]"),
     QT_TRANSLATE_NOOP(
         "zoltctl",
         "misst online, bis N Sekunden vergangen sind oder Strg+C; AUS .zolt/.txt/.json"),
     measure});
const CommandRegistration readoutCommand(
    {"readout", QT_TRANSLATE_NOOP("zoltctl", "AUS [GERÄT]"),
     QT_TRANSLATE_NOOP("zoltctl", "liest den Speicher des Zolt aus; AUS .zolt/.txt/.json"),
     readout});
} // namespace
