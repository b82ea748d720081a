// zoltctl info and convert: measurement and reference files, their text export and JSON.

#include "cli/command.h"
#include "model/messung_json.h"
#include "model/referenz_info.h"
#include "platform/dialogs.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cstdio>
#include <memory>
#include <optional>

namespace {
enum class Kind { Measurement, Reference, Text, Json };

// The kind of a file by its (lower-case) extension.
std::optional<Kind> kindOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix();
    if (suffix == QLatin1String("zolt")) return Kind::Measurement;
    if (suffix == QLatin1String("mref")) return Kind::Reference;
    if (suffix == QLatin1String("txt")) return Kind::Text;
    if (suffix == QLatin1String("json")) return Kind::Json;
    return std::nullopt;
}

std::unique_ptr<TMessungInfo> loadDocument(const QString& path) {
    // The model would ask for another file; here there is nobody to ask.
    const QFileInfo info(path);
    if (!info.isFile()) {
        dialogs().error(CliTr("Auf die Datei \"%1\" kann nicht zugegriffen werden!").arg(path));
        return nullptr;
    }
    const auto kind = kindOf(path);
    if (kind == Kind::Json) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            dialogs().error(CliTr("Auf die Datei \"%1\" kann nicht zugegriffen werden!").arg(path));
            return nullptr;
        }
        auto doc = std::make_unique<TMessungInfo>();
        const QString problem = MessungFromJson(file.readAll(), *doc);
        if (!problem.isEmpty()) {
            dialogs().error(CliTr("Fehler beim Lesen der Datei \"%1\": %2").arg(path, problem));
            return nullptr;
        }
        doc->FileName = path;
        return doc;
    }
    std::unique_ptr<TMessungInfo> doc;
    if (kind == Kind::Reference)
        doc = std::make_unique<TReferenzInfo>();
    else
        doc = std::make_unique<TMessungInfo>();
    if (!doc->Load(path)) return nullptr;
    return doc;
}

bool writeJson(const TMessungInfo& doc, const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        dialogs().error(CliTr("Auf die Datei \"%1\" kann nicht zugegriffen werden!").arg(path));
        return false;
    }
    const QByteArray json = MessungToJson(doc, true);
    if (file.write(json) != json.size() || !file.flush() || !file.commit()) {
        file.cancelWriting();
        dialogs().error(CliTr("Fehler beim Schreiben der Datei \"%1\".").arg(path));
        return false;
    }
    return true;
}

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
    const auto doc = loadDocument(path);
    if (!doc) return kExitFailed;
    const QByteArray json = MessungToJson(*doc, rows);
    std::fwrite(json.constData(), 1, json.size(), stdout);
    return std::fflush(stdout) == 0 ? kExitOk : kExitFailed;
}

int convert(const QStringList& args) {
    if (args.size() != 2) return UsageError(CliTr("convert braucht EIN und AUS."));
    const QString& in = args[0];
    const QString& out = args[1];
    const auto inKind = kindOf(in);
    const auto outKind = kindOf(out);
    if (inKind == Kind::Text)
        return UsageError(CliTr("Textdateien können nicht gelesen werden: \"%1\".").arg(in));
    if (!outKind)
        return UsageError(
            CliTr("AUS muss auf .zolt, .mref, .txt oder .json enden: \"%1\".").arg(out));

    const auto doc = loadDocument(in);
    if (!doc) return kExitFailed;
    if (*outKind == Kind::Json) return writeJson(*doc, out) ? kExitOk : kExitFailed;
    if (*outKind == Kind::Reference && doc->ChannelCount() != 3) {
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
