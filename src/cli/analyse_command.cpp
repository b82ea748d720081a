// zoltctl analyse: the analysis of one channel with the ranges of a definition file.

#include "analysis/analyse_definition.h"
#include "analysis/analyse_info.h"
#include "analysis/analyse_json.h"
#include "cli/cli_files.h"
#include "cli/command.h"
#include "model/messung_info.h"
#include "platform/dialogs.h"

#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace {
int analyse(const QStringList& args) {
    QString path, definition;
    int channel = 0;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--adef") || a == QLatin1String("--channel")) {
            if (i + 1 >= args.size()) return UsageError(CliTr("Bei \"%1\" fehlt der Wert.").arg(a));
            const QString value = args[++i];
            if (a == QLatin1String("--adef")) {
                definition = value;
                continue;
            }
            bool ok = false;
            channel = value.toInt(&ok);
            if (!ok || channel < 0)
                return UsageError(CliTr("Ungültiger Wert \"%1\" für %2 (erwartet: %3).")
                                      .arg(value, a, CliTr("eine Kanalnummer ab 0")));
        } else if (a.startsWith(QLatin1Char('-')) || !path.isEmpty()) {
            return UsageError(CliTr("Unerwartetes Argument \"%1\".").arg(a));
        } else {
            path = a;
        }
    }
    if (path.isEmpty()) return UsageError(CliTr("Es fehlt die Datei."));
    if (definition.isEmpty()) return UsageError(CliTr("Es fehlt die Analysedefinition (--adef)."));

    const auto doc = LoadDocument(path);
    if (!doc) return kExitFailed;
    QFile file(definition);
    if (!QFileInfo(definition).isFile() || !file.open(QIODevice::ReadOnly)) {
        dialogs().error(
            CliTr("Auf die Datei \"%1\" kann nicht zugegriffen werden!").arg(definition));
        return kExitFailed;
    }
    TAnalyseInfo analysis;
    for (const TAnalyseBereich& range : ParseAnalyseDefinition(file.readAll()))
        *analysis.Range(analysis.AddRange(-1)) = range;
    analysis.DefinitionFile = definition;

    QString problem;
    const auto json = AnalysisJson(*doc, analysis, channel, &problem);
    if (!json) {
        dialogs().error(problem);
        return kExitFailed;
    }
    const QByteArray bytes = json->toJson(QJsonDocument::Indented);
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout);
    return std::fflush(stdout) == 0 ? kExitOk : kExitFailed;
}

const CommandRegistration analyseCommand(
    {"analyse", QT_TRANSLATE_NOOP("zoltctl", "DATEI --adef DEF [--channel N]"),
     QT_TRANSLATE_NOOP("zoltctl",
                       "analysiert Kanal N (ab 0) mit den Bereichen aus DEF, gibt JSON aus"),
     analyse});
} // namespace
