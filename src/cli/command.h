#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <vector>

// zoltctl's commands: each file of this folder registers its commands with a
// CommandRegistration at start-up, so main() only looks them up.

enum ExitCode {
    kExitOk = 0,     // done
    kExitFailed = 1, // the operation reported failure (its message is on stderr)
    kExitUsage = 2,  // wrong usage; the usage text is on stderr
};

struct CliCommand {
    const char* name;     // "info"
    const char* synopsis; // "DATEI [--rows]"
    const char* summary;  // one line for the usage text (translated in context "zoltctl")
    // Arguments after the command name; returns an ExitCode.
    int (*run)(const QStringList& args);
};

const std::vector<CliCommand>& Commands();
const CliCommand* FindCommand(const QString& name);

struct CommandRegistration {
    explicit CommandRegistration(const CliCommand& command);
};

// The usage text listing every command.
QString UsageText();
// Prints `problem` (if any) and the usage text to stderr; returns kExitUsage.
int UsageError(const QString& problem = QString());

// Translated texts of the tool.
inline QString CliTr(const char* text) {
    return QCoreApplication::translate("zoltctl", text);
}
