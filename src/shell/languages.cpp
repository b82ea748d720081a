#include "shell/languages.h"

#include "settings/global_unit.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QLibraryInfo>
#include <QListWidget>
#include <QTranslator>
#include <QVBoxLayout>

namespace {
struct Known {
    const char* code;
    int localeId;
    const char* name;
};
constexpr Known kKnown[] = {
    {"de", 7, "Deutsch"}, {"en", 9, "English"}, {"fr", 12, "Français"},
    {"it", 16, "Italiano"}, {"es", 10, "Español"}, {"nl", 19, "Nederlands"},
};
} // namespace

std::unique_ptr<QTranslator>& Languages::translator() {
    static std::unique_ptr<QTranslator> t;
    return t;
}

std::unique_ptr<QTranslator>& Languages::qtTranslator() {
    static std::unique_ptr<QTranslator> t;
    return t;
}

void Languages::installQtTexts(int localeId) {
    if (qtTranslator()) {
        QCoreApplication::removeTranslator(qtTranslator().get());
        qtTranslator().reset();
    }
    for (const Known& k : kKnown) {
        if (k.localeId != localeId) continue;
        auto t = std::make_unique<QTranslator>();
        // Without Qt's translations installed, Qt's texts stay English.
        if (!t->load(QStringLiteral("qtbase_") + QLatin1String(k.code),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            return;
        QCoreApplication::installTranslator(t.get());
        qtTranslator() = std::move(t);
        return;
    }
}

int& Languages::currentId() {
    static int id = kGerman;
    return id;
}

QList<Languages::Language> Languages::available() {
    QList<Language> out{{kGerman, QStringLiteral("Deutsch"), QString()}};
    const QDir folder(ProgramFolder());
    const QStringList files = folder.entryList({QStringLiteral("zolt_*.qm")}, QDir::Files, QDir::Name);
    for (const QString& file : files) {
        const QString code = file.mid(5, file.size() - 8);
        for (const Known& k : kKnown)
            if (code == QLatin1String(k.code) && k.localeId != kGerman)
                out.append({k.localeId, QString::fromUtf8(k.name), folder.filePath(file)});
    }
    return out;
}

int Languages::alternativeCount() { return static_cast<int>(available().size()) - 1; }

bool Languages::switchTo(int localeId) {
    if (translator()) {
        QCoreApplication::removeTranslator(translator().get());
        translator().reset();
    }
    currentId() = kGerman;
    bool switched = localeId == kGerman;
    if (localeId != kGerman && localeId != 0) {
        for (const Language& l : available()) {
            if (l.localeId != localeId) continue;
            auto t = std::make_unique<QTranslator>();
            if (!t->load(l.qmFile)) break;
            QCoreApplication::installTranslator(t.get());
            translator() = std::move(t);
            currentId() = localeId;
            switched = true;
            break;
        }
    }
    installQtTexts(currentId());
    return switched;
}

int Languages::current() { return currentId(); }

std::optional<int> Languages::choose(QWidget* parent) {
    // At the first start nothing is installed yet: the dialog's own buttons speak the
    // language it is shown in.
    if (!qtTranslator()) installQtTexts(current());
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("LanguageForm"));
    dialog.setWindowTitle(tr("Sprache"));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(tr("Bitte wählen Sie die Sprache der Benutzeroberfläche:")));
    auto* list = new QListWidget(&dialog);
    list->setObjectName(QStringLiteral("lstLanguages"));
    for (const Language& l : available()) {
        auto* item = new QListWidgetItem(l.name, list);
        item->setData(Qt::UserRole, l.localeId);
        if (l.localeId == current()) list->setCurrentItem(item);
    }
    if (!list->currentItem() && list->count() > 0) list->setCurrentRow(0);
    layout->addWidget(list);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(list, &QListWidget::itemDoubleClicked, &dialog, &QDialog::accept);
    if (dialog.exec() != QDialog::Accepted || !list->currentItem()) return std::nullopt;
    const int id = list->currentItem()->data(Qt::UserRole).toInt();
    switchTo(id);
    return id;
}
