#include "cli/command.h"

#include <cstdio>

namespace {
std::vector<CliCommand>& registry() {
    static std::vector<CliCommand> commands;
    return commands;
}
} // namespace

CommandRegistration::CommandRegistration(const CliCommand& command) {
    registry().push_back(command);
}

const std::vector<CliCommand>& Commands() {
    return registry();
}

const CliCommand* FindCommand(const QString& name) {
    for (const CliCommand& c : registry())
        if (name == QLatin1String(c.name)) return &c;
    return nullptr;
}

QString UsageText() {
    QString text = CliTr("Aufruf: zoltctl BEFEHL [ARGUMENTE]\n\nBefehle:\n");
    for (const CliCommand& c : registry()) {
        const QString head =
            QStringLiteral("  %1 %2").arg(QLatin1String(c.name), CliTr(c.synopsis));
        // A long synopsis gets its own line, so the summaries stay in one column.
        const QString gap = head.size() < 34 ? QString(35 - head.size(), QLatin1Char(' '))
                                             : QLatin1Char('\n') + QString(35, QLatin1Char(' '));
        text += head + gap + CliTr(c.summary) + QLatin1Char('\n');
    }
    text += CliTr("\nGERÄT: --type 0|1|2 (USB-Zolt 318.10, USB-Zolt 318.14, serielles Zolt), "
                  "--port N (COMN),\n--interval MS; ohne sie gelten die gespeicherten "
                  "Einstellungen.\n");
    text += CliTr("\nEnde mit 0 bei Erfolg, 1 wenn der Vorgang scheiterte, 2 bei falschem "
                  "Aufruf.\n");
    return text;
}

int UsageError(const QString& problem) {
    if (!problem.isEmpty()) std::fprintf(stderr, "zoltctl: %s\n", qPrintable(problem));
    std::fprintf(stderr, "%s", qPrintable(UsageText()));
    return kExitUsage;
}
