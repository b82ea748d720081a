#include "cli/cli_files.h"

#include "cli/command.h"
#include "model/messung_json.h"
#include "model/referenz_info.h"
#include "platform/dialogs.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

std::optional<DocumentKind> DocumentKindOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix();
    if (suffix == QLatin1String("zolt")) return DocumentKind::Measurement;
    if (suffix == QLatin1String("mref")) return DocumentKind::Reference;
    if (suffix == QLatin1String("txt")) return DocumentKind::Text;
    if (suffix == QLatin1String("json")) return DocumentKind::Json;
    return std::nullopt;
}

std::unique_ptr<TMessungInfo> LoadDocument(const QString& path) {
    // The model would ask for another file; here there is nobody to ask.
    const QFileInfo info(path);
    if (!info.isFile()) {
        dialogs().error(CliTr("Auf die Datei \"%1\" kann nicht zugegriffen werden!").arg(path));
        return nullptr;
    }
    const auto kind = DocumentKindOf(path);
    if (kind == DocumentKind::Json) {
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
    if (kind == DocumentKind::Reference)
        doc = std::make_unique<TReferenzInfo>();
    else
        doc = std::make_unique<TMessungInfo>();
    if (!doc->Load(path)) return nullptr;
    return doc;
}

bool WriteDocumentJson(const TMessungInfo& doc, const QString& path) {
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

bool SaveMeasurementAs(TMessungInfo& doc, const QString& path) {
    if (DocumentKindOf(path) == DocumentKind::Json) return WriteDocumentJson(doc, path);
    doc.FileName = path;
    return doc.Save(false);
}
