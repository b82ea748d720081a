// zoltctl: headless access to Zolt's files (and, later, devices and analysis).

#include "cli/command.h"
#include "platform/dialogs.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    // Messages of the model go to stderr as "Caption: text"; questions take their default.
    ConsoleDialogs console;
    DialogsScope scope(console);

    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty()) return UsageError();
    const QString name = args.first();
    if (name == QLatin1String("help") || name == QLatin1String("--help") ||
        name == QLatin1String("-h")) {
        std::fputs(qPrintable(UsageText()), stdout);
        return kExitOk;
    }
    const CliCommand* command = FindCommand(name);
    if (!command) return UsageError(CliTr("Unbekannter Befehl \"%1\".").arg(name));
    return command->run(args.mid(1));
}
