// zoltctl info and convert: measurement and reference files, their text export and JSON.

#include "cli/cli_files.h"
#include "cli/command.h"
#include "model/messung_info.h"
#include "model/messung_json.h"
#include "platform/dialogs.h"

#include <cstdio>

namespace {
int info(const QStringList& args) {
    QString path;
    bool rows = false;
    for (const QString& a : args) {
        if (a == QLatin1String("--rows"))
            rows = true;
        else if (a.startsWith(QLatin1Char('-')) || !path.isEmpty())
            return UsageError(CliTr("Unerwartetes Argument \"%1\".").arg(a));
        else
            path = a;
    }
    if (path.isEmpty()) return UsageError(CliTr("Es fehlt die Datei."));
    const auto doc = LoadDocument(path);
    if (!doc) return kExitFailed;
    const QByteArray json = MessungToJson(*doc, rows);
    std::fwrite(json.constData(), 1, json.size(), stdout);
    return std::fflush(stdout) == 0 ? kExitOk : kExitFailed;
}

int convert(const QStringList& args) {
    if (args.size() != 2) return UsageError(CliTr("convert braucht EIN und AUS."));
    const QString& in = args[0];
    const QString& out = args[1];
    const auto inKind = DocumentKindOf(in);
    const auto outKind = DocumentKindOf(out);
    if (inKind == DocumentKind::Text)
        return UsageError(CliTr("Textdateien können nicht gelesen werden: \"%1\".").arg(in));
    if (!outKind)
        return UsageError(
            CliTr("AUS muss auf .zolt, .mref, .txt oder .json enden: \"%1\".").arg(out));

    const auto doc = LoadDocument(in);
    if (!doc) return kExitFailed;
    if (*outKind == DocumentKind::Json) return WriteDocumentJson(*doc, out) ? kExitOk : kExitFailed;
    if (*outKind == DocumentKind::Reference && doc->ChannelCount() != 3) {
        dialogs().error(CliTr("Eine Referenzkurve hat genau drei Kanäle, \"%1\" hat %2.")
                            .arg(in)
                            .arg(doc->ChannelCount()));
        return kExitFailed;
    }
    doc->FileName = out;
    return doc->Save(false) ? kExitOk : kExitFailed;
}

const CommandRegistration infoCommand({"info", QT_TRANSLATE_NOOP("zoltctl", "DATEI [--rows]"),
                                       QT_TRANSLATE_NOOP("zoltctl",
                                                         "zeigt die Messung als JSON (mit "
                                                         "--rows auch jede Zeile)"),
                                       info});
const CommandRegistration convertCommand(
    {"convert", QT_TRANSLATE_NOOP("zoltctl", "EIN AUS"),
     QT_TRANSLATE_NOOP("zoltctl", "wandelt um: EIN .zolt/.mref/.json, AUS .zolt/.mref/.txt/.json"),
     convert});
} // namespace
