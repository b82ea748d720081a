#include "shell/main_form.h"

#include "model/messung_info.h"
#include "model/referenz_info.h"
#include "platform/dialogs.h"
#include "platform/settings_backend.h"
#include "references/referenz_frame.h"
#include "settings/active_global_vars.h"
#include "settings/global_unit.h"
#include "settings/global_vars.h"
#include "shell/languages.h"
#include "views/action_icons.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace {
const char* const kMeasurementPrefix = "MessungFrame";
const char* const kReferencePrefix = "RefFrame";

// Qt's filter form of the dialogs' "Text|*.ext|..." filters.
QString measurementFilter() {
    return QCoreApplication::translate("TMainForm", "Zolt-Dateien (*.zolt);;Alle Dateien (*)");
}
QString referenceFilter() {
    return QCoreApplication::translate("TMainForm",
                                       "Referenz-Dateien (*.mref);;Alle Dateien (*)");
}
} // namespace

TMainForm::TMainForm() : TMainForm(Options()) {}

TMainForm::TMainForm(const Options& options) : FChooseLanguage(options.chooseLanguage) {
    setObjectName(QStringLiteral("MainForm"));
    SettingsBackend* store = options.settingsStore;
    if (!store) {
        FOwnStore = std::make_unique<QSettingsBackend>();
        store = FOwnStore.get();
    }
    auto chooser = [this]() -> std::optional<int> {
        if (Languages::alternativeCount() == 0) return std::nullopt;
        return FChooseLanguage ? FChooseLanguage() : Languages::choose(nullptr);
    };
    FSettings = std::make_unique<TGlobalVars>(*store, chooser);
    // Saving takes the master password from the program's settings.
    FPreviousGlobals = SetActiveGlobalVars(FSettings.get());

    pctrlMain = new QTabWidget(this);
    pctrlMain->setObjectName(QStringLiteral("pctrlMain"));
    pctrlMain->setDocumentMode(true);
    setCentralWidget(pctrlMain);
    resize(800, 600);

    CreateActions();
    CreateMenus();
    FSettings->SetPrepareActionUpdate(
        [this](bool enabled) { FActions[QStringLiteral("actMeasurementPrepare")]->setEnabled(enabled); });
    RetranslateUi();
    qApp->installEventFilter(this);
}

TMainForm::~TMainForm() {
    qApp->removeEventFilter(this);
    SaveWindowGeometry(objectName(), pos().y(), pos().x(), width(), height());
    // Pages go before the settings they may still read.
    while (pctrlMain->count() > 0) delete pctrlMain->widget(0);
    SetActiveGlobalVars(FPreviousGlobals);
    FSettings.reset();
}

void TMainForm::Start(const QStringList& arguments) {
    Languages::switchTo(FSettings->LocaleID());
    RetranslateUi();
    if (arguments.size() == 1)
        OpenMeasurement(arguments.first());
    else
        FActions[QStringLiteral("actMeasurementNew")]->trigger();
    const WindowGeometry g = LoadWindowGeometry(objectName());
    move(g.left, g.top);
    resize(g.width, g.height);
}

// ---------------------------------------------------------------- actions and menus

QAction* TMainForm::action(const QString& name) const { return FActions.value(name); }

QMenu* TMainForm::menu(const QString& objectName) const { return FMenus.value(objectName); }

void TMainForm::CreateActions() {
    struct Def {
        const char* name;
        const char* category;
        int icon;
        std::function<void()> run;
    };
    auto page = [this](auto f) {
        return [this, f] {
            if (TMessungFrame* p = ActiveMeasurementPage()) f(p);
        };
    };
    const Def defs[] = {
        {"actMeasurementNew", "Messung", 8, [this] { NewMeasurementPage(); }},
        {"actMeasurementOpen", "Messung", 3, [this] { OpenMeasurement(QString()); }},
        {"actMeasurementPrepare", "Messung", 0, nullptr},
        {"actMeasurementStart", "Messung", 11, page([](TMessungFrame* p) { p->StartMeasurement(); })},
        {"actMeasurementStop", "Messung", 2, page([](TMessungFrame* p) { p->StopMeasurement(); })},
        {"actMeasurementSave", "Messung", 4, [this] { SaveMeasurement(false); }},
        {"actMeasurementSaveAs", "Messung", 5, [this] { SaveMeasurement(true); }},
        {"actMeasurementClose", "Messung", 9, [this] { if (ActiveMeasurementPage()) CloseActiveTab(); }},
        {"actMeasurementDelete", "Messung", 13, [this] { DeleteMeasurement(); }},
        {"actMeasurementClear", "Messung", 10, [this] { ClearMeasurement(); }},
        {"actMeasurementExtractRef", "Messung", 27,
         page([](TMessungFrame* p) { p->ExtractReference(); })},
        {"actRefNew", "Referenz", 8, [this] { NewReferencePage(); }},
        {"actRefOpen", "Referenz", 3, [this] { OpenReference(QString()); }},
        {"actRefSave", "Referenz", 4, [this] { SaveReference(false); }},
        {"actRefSaveAs", "Referenz", 5, [this] { SaveReference(true); }},
        {"actRefDelete", "Referenz", 13, [this] { DeleteReference(); }},
        {"actRefClose", "Referenz", 9, [this] { CloseReference(); }},
    };
    for (const Def& d : defs) {
        auto* a = new QAction(ActionIcon(d.icon), QString(), this);
        a->setObjectName(QString::fromLatin1(d.name));
        a->setProperty("category", QString::fromLatin1(d.category));
        a->setProperty("imageIndex", d.icon);
        if (d.run) connect(a, &QAction::triggered, this, d.run);
        FActions.insert(a->objectName(), a);
    }
    FActions[QStringLiteral("actMeasurementStop")]->setEnabled(false);
    FActions[QStringLiteral("actMeasurementPrepare")]->setEnabled(FSettings->PrepareEnabled());
    // Preparing a memory measurement arrives with the device dialogs; until then the action
    // only follows the settings, and the pages show no button for it.
}

void TMainForm::CreateMenus() {
    auto addMenu = [this](QMenu* parent, const char* name) {
        QMenu* m = parent ? parent->addMenu(QString()) : menuBar()->addMenu(QString());
        m->setObjectName(QString::fromLatin1(name));
        FMenus.insert(m->objectName(), m);
        return m;
    };
    auto addItem = [this](QMenu* m, const char* name, std::function<void()> run) {
        QAction* a = m->addAction(QString());
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, run);
        FMenuItems.insert(a->objectName(), a);
        return a;
    };
    auto exec = [this](const char* name) {
        return [this, name] { FActions[QString::fromLatin1(name)]->trigger(); };
    };

    QMenu* file = addMenu(nullptr, "menuFile");
    QMenu* fileNew = addMenu(file, "menuFileNew");
    addItem(fileNew, "menuFileNewMeasurement", exec("actMeasurementNew"));
    addItem(fileNew, "menuFileNewRef", exec("actRefNew"));
    QMenu* fileOpen = addMenu(file, "menuFileOpen");
    addItem(fileOpen, "menuFileOpenMeasurement", exec("actMeasurementOpen"));
    addItem(fileOpen, "menuFileOpenRef", exec("actRefOpen"));
    addItem(file, "menuFileClose", [this] { Routed("actMeasurementClose", "actRefClose"); });
    file->addSeparator();
    addItem(file, "menuFileSave", [this] { Routed("actMeasurementSave", "actRefSave"); });
    addItem(file, "menuFileSaveAs", [this] { Routed("actMeasurementSaveAs", "actRefSaveAs"); });
    file->addSeparator();
    addItem(file, "menuFileDelete", [this] { Routed("actMeasurementDelete", "actRefDelete"); });
    file->addSeparator();
    addItem(file, "menuProgQuit", [this] { close(); });

    QMenu* zolt = addMenu(nullptr, "menuZolt");
    QMenu* type = addMenu(zolt, "menuZoltType");
    FTypeGroup = new QActionGroup(this);
    for (const auto& [name, value] : {std::pair{"menuZoltTypeUSB_3", 0}, std::pair{"menuZoltTypeUSB_4", 1},
                                      std::pair{"menuZoltTypeCom", 2}}) {
        const int t = value;
        QAction* a = addItem(type, name, [this, t] { FSettings->SetZoltType(static_cast<quint8>(t)); });
        a->setCheckable(true);
        a->setActionGroup(FTypeGroup);
    }
    QMenu* mode = addMenu(zolt, "menuZoltMode");
    FModeGroup = new QActionGroup(this);
    for (const auto& [name, value] : {std::pair{"menuZoltModeOnline", 0}, std::pair{"menuZoltModeReadRAM", 1}}) {
        const int m = value;
        QAction* a = addItem(mode, name, [this, m] { FSettings->SetZoltMode(static_cast<quint8>(m)); });
        a->setCheckable(true);
        a->setActionGroup(FModeGroup);
    }
    // The check marks follow the settings whenever a submenu opens.
    connect(type, &QMenu::aboutToShow, this, [this] {
        const char* names[] = {"menuZoltTypeUSB_3", "menuZoltTypeUSB_4", "menuZoltTypeCom"};
        if (FSettings->ZoltType() <= 2) FMenuItems[QString::fromLatin1(names[FSettings->ZoltType()])]->setChecked(true);
    });
    connect(mode, &QMenu::aboutToShow, this, [this] {
        // The first USB model has no memory.
        FMenuItems[QStringLiteral("menuZoltModeReadRAM")]->setEnabled(FSettings->ZoltType() != 0);
        const char* names[] = {"menuZoltModeOnline", "menuZoltModeReadRAM"};
        if (FSettings->ZoltMode() <= 1) FMenuItems[QString::fromLatin1(names[FSettings->ZoltMode()])]->setChecked(true);
    });

    QMenu* extra = addMenu(nullptr, "menuExtra");
    addItem(extra, "menuExtraLanguage", [this] { SwitchLanguage(); });

    QMenu* help = addMenu(nullptr, "menuHelp");
    addItem(help, "menuHelpHelp", [this] { ShowHelp(); });
    addItem(help, "menuHelpAboutTrelwin", [this] { ShowAbout(); });
    RightJustifyMenuItem(this, 3);
}

void TMainForm::RetranslateUi() {
    const QHash<QString, QString> actionTexts = {
        {"actMeasurementNew", tr("Neue Messung")},
        {"actMeasurementOpen", tr("Messung laden")},
        {"actMeasurementPrepare", tr("Messung vorbereiten")},
        {"actMeasurementStart", tr("Messung starten")},
        {"actMeasurementStop", tr("Messung stoppen")},
        {"actMeasurementSave", tr("Messung speichern")},
        {"actMeasurementSaveAs", tr("Messung speichern als")},
        {"actMeasurementClose", tr("Messung schließen")},
        {"actMeasurementDelete", tr("Messung löschen")},
        {"actMeasurementClear", tr("Messung leeren")},
        {"actMeasurementExtractRef", tr("Referezkurve extrahieren")},
        {"actRefNew", tr("Neue Referenz")},
        {"actRefOpen", tr("Referenz öffnen")},
        {"actRefSave", tr("Referenz speichern")},
        {"actRefSaveAs", tr("Referenz speichern als")},
        {"actRefDelete", tr("Referenz löschen")},
        {"actRefClose", tr("Referenz schließen")},
    };
    for (auto it = actionTexts.begin(); it != actionTexts.end(); ++it)
        FActions[it.key()]->setText(it.value());

    const QHash<QString, QString> menuTexts = {
        {"menuFile", tr("&Datei")},      {"menuFileNew", tr("Neu")},
        {"menuFileOpen", tr("Laden")},   {"menuZolt", tr("&Zolt")},
        {"menuZoltType", tr("Typ")},     {"menuZoltMode", tr("Modus")},
        {"menuExtra", tr("&Extras")},    {"menuHelp", tr("&?")},
    };
    for (auto it = menuTexts.begin(); it != menuTexts.end(); ++it)
        FMenus[it.key()]->setTitle(it.value());
    const QHash<QString, QString> itemTexts = {
        {"menuFileNewMeasurement", tr("Messung")},
        {"menuFileNewRef", tr("Referenz")},
        {"menuFileOpenMeasurement", tr("Messung")},
        {"menuFileOpenRef", tr("Referenz")},
        {"menuFileClose", tr("Schließen")},
        {"menuFileSave", tr("Speichern")},
        {"menuFileSaveAs", tr("Speichern als")},
        {"menuFileDelete", tr("Löschen")},
        {"menuProgQuit", tr("Programm beenden")},
        {"menuZoltTypeUSB_3", tr("USB-Zolt 318.10")},
        {"menuZoltTypeUSB_4", tr("USB-Zolt 318.14")},
        {"menuZoltTypeCom", tr("Serielles Zolt-Modell")},
        {"menuZoltModeOnline", tr("Online-Messung")},
        {"menuZoltModeReadRAM", tr("Speicher auslesen")},
        {"menuExtraLanguage", tr("Sprache")},
        {"menuHelpHelp", tr("Hilfe")},
        {"menuHelpAboutTrelwin", tr("Über Trelwin")},
    };
    for (auto it = itemTexts.begin(); it != itemTexts.end(); ++it)
        FMenuItems[it.key()]->setText(it.value());
    SetTitle();
}

void TMainForm::SetTitle() {
    const QString title = tr("Trelwin Zolt für Linux");
    setWindowTitle(title);
    QApplication::setApplicationDisplayName(title);
    FHelpFile = ProgramFolder() + tr("Zolt.html");
}

void TMainForm::Routed(const QString& measurementAction, const QString& referenceAction) {
    if (ActiveMeasurementPage())
        FActions[measurementAction]->trigger();
    else if (ActiveReferencePage())
        FActions[referenceAction]->trigger();
}

// ---------------------------------------------------------------- pages

QWidget* TMainForm::AddPage(const QString& captionBase, QWidget* view, const QString& viewPrefix) {
    auto* tab = new QWidget;
    tab->setProperty("tag", FPageCounter);
    auto* layout = new QVBoxLayout(tab);
    layout->setContentsMargins(0, 0, 0, 0);
    view->setParent(tab);
    view->setObjectName(viewPrefix + QString::number(FPageCounter));
    layout->addWidget(view);
    const int index = pctrlMain->addTab(tab, captionBase + QLatin1Char(' ') + QString::number(FPageCounter));
    pctrlMain->setCurrentIndex(index);
    ++FPageCounter;
    return tab;
}

QWidget* TMainForm::ViewOf(int tabIndex, const QString& prefix) const {
    QWidget* tab = pctrlMain->widget(tabIndex);
    if (!tab) return nullptr;
    const QString name = prefix + QString::number(tab->property("tag").toInt());
    return tab->findChild<QWidget*>(name, Qt::FindDirectChildrenOnly);
}

TMessungFrame* TMainForm::ActiveMeasurementPage() const {
    return qobject_cast<TMessungFrame*>(
        ViewOf(pctrlMain->currentIndex(), QString::fromLatin1(kMeasurementPrefix)));
}

TReferenzFrame* TMainForm::ActiveReferencePage() const {
    return qobject_cast<TReferenzFrame*>(
        ViewOf(pctrlMain->currentIndex(), QString::fromLatin1(kReferencePrefix)));
}

TReferenzInfo* TMainForm::NewReferenceDocument() {
    FActions[QStringLiteral("actRefNew")]->trigger();
    TReferenzFrame* page = ActiveReferencePage();
    return page ? &page->Reference() : nullptr;
}

void TMainForm::ReferenceDocumentFilled() {
    if (TReferenzFrame* page = ActiveReferencePage()) {
        page->SetModified(false);
        page->RefreshAfterLoad();
    }
}

TMessungFrame* TMainForm::NewMeasurementPage() {
    auto* view = new TMessungFrame(*this);
    AddPage(tr("Neue Messung"), view, QString::fromLatin1(kMeasurementPrefix));
    return view;
}

TReferenzFrame* TMainForm::NewReferencePage() {
    auto* view = new TReferenzFrame;
    AddPage(tr("Neue Referenz"), view, QString::fromLatin1(kReferencePrefix));
    return view;
}

void TMainForm::CloseActiveTab() {
    if (pctrlMain->count() == 0) return;
    delete pctrlMain->widget(pctrlMain->currentIndex());
}

void TMainForm::CloseAllTabs() {
    while (pctrlMain->count() > 0) {
        pctrlMain->setCurrentIndex(0);
        CloseActiveTab();
    }
}

void TMainForm::SetActiveTabCaption(const QString& fileName) {
    pctrlMain->setTabText(pctrlMain->currentIndex(), QFileInfo(fileName).fileName());
}

bool TMainForm::FindOpenMeasurement(const QString& fileName) {
    for (int i = 0; i < pctrlMain->count(); ++i) {
        auto* view = qobject_cast<TMessungFrame*>(ViewOf(i, QString::fromLatin1(kMeasurementPrefix)));
        if (view && view->Measurement().FileName == fileName) {
            pctrlMain->setCurrentIndex(i);
            return true;
        }
    }
    return false;
}

bool TMainForm::FindOpenReference(const QString& fileName) {
    for (int i = 0; i < pctrlMain->count(); ++i) {
        auto* view = qobject_cast<TReferenzFrame*>(ViewOf(i, QString::fromLatin1(kReferencePrefix)));
        if (view && view->Reference().FileName == fileName) {
            pctrlMain->setCurrentIndex(i);
            return true;
        }
    }
    return false;
}

bool TMainForm::OpenMeasurement(const QString& fileName) {
    QString name = fileName;
    if (name.isEmpty() || !QFileInfo(name).isFile()) {
        const auto choice = dialogs().openFile(tr("Messung laden"), measurementFilter(),
                                               ProgramFolder() + QStringLiteral("Data"), QString());
        if (!choice) return false;
        name = choice->path;
    }
    if (FindOpenMeasurement(name)) return true;
    TMessungFrame* view = NewMeasurementPage();
    if (view->Measurement().Load(name, QString())) {
        view->RefreshFromMeasurement(true);
        SetActiveTabCaption(name);
    } else {
        delete view->parentWidget();
    }
    return true;
}

bool TMainForm::OpenReference(const QString& fileName) {
    QString name = fileName;
    if (name.isEmpty() || !QFileInfo(name).isFile()) {
        const auto choice = dialogs().openFile(tr("Referenz öffnen"), referenceFilter(),
                                               ProgramFolder() + QStringLiteral("Data"), QString());
        if (!choice) return false;
        name = choice->path;
    }
    if (FindOpenReference(name)) return true;
    TReferenzFrame* view = NewReferencePage();
    if (view->Reference().Load(name, QString())) {
        view->RefreshAfterLoad();
        SetActiveTabCaption(name);
    } else {
        delete view->parentWidget();
    }
    return true;
}

// ---------------------------------------------------------------- document actions

void TMainForm::SaveMeasurement(bool saveAs) {
    TMessungFrame* page = ActiveMeasurementPage();
    if (!page) return;
    page->CommitInfoFields();
    if (page->Measurement().Save(saveAs)) SetActiveTabCaption(page->Measurement().FileName);
}

void TMainForm::DeleteMeasurement() {
    TMessungFrame* page = ActiveMeasurementPage();
    if (!page) return;
    if (!dialogs().confirm(tr("Soll die aktuelle Messung wirklich geschlossen und gelöscht werden?"),
                           Dialogs::Answer::No, Dialogs::Owner::MainWindow))
        return;
    const QString file = page->Measurement().FileName;
    CloseActiveTab();
    if (!file.isEmpty() && QFile::exists(file) && !QFile::remove(file))
        dialogs().warning(tr("Info"), tr("Datei \"%1\" konnte nicht gelöscht werden!").arg(file),
                          Dialogs::Owner::MainWindow);
}

void TMainForm::ClearMeasurement() {
    TMessungFrame* page = ActiveMeasurementPage();
    if (!page) return;
    if (dialogs().confirm(tr("Wollen Sie die Messwerte der aktuellen Messung wirklich leeren?"),
                          Dialogs::Answer::Yes, Dialogs::Owner::MainWindow))
        page->ClearMeasurement();
}

void TMainForm::SaveReference(bool saveAs) {
    TReferenzFrame* page = ActiveReferencePage();
    if (!page) return;
    if (page->Reference().Save(saveAs)) {
        SetActiveTabCaption(page->Reference().FileName);
        page->SetModified(false);
        page->RefreshAfterLoad();
    }
}

void TMainForm::CloseReference() {
    TReferenzFrame* page = ActiveReferencePage();
    if (!page) return;
    if (page->Modified() &&
        !dialogs().confirm(tr("Wenn Sie die Referenz jetzt schießen, gehen Ihre Änderungen "
                              "verloren.\nWollen Sie die Referenz dennoch schließen?"),
                           Dialogs::Answer::Yes, Dialogs::Owner::MainWindow))
        return;
    CloseActiveTab();
}

void TMainForm::DeleteReference() {
    TReferenzFrame* page = ActiveReferencePage();
    if (!page) return;
    if (!dialogs().confirm(tr("Soll die aktuelle Referenz wirklich geschlossen und gelöscht werden?"),
                           Dialogs::Answer::No, Dialogs::Owner::MainWindow))
        return;
    const QString file = page->Reference().FileName;
    CloseActiveTab();
    if (!file.isEmpty() && QFile::exists(file) && !QFile::remove(file))
        dialogs().warning(tr("Info"), tr("Datei \"%1\" konnte nicht gelöscht werden!").arg(file),
                          Dialogs::Owner::MainWindow);
}

// ---------------------------------------------------------------- language, help, keys

void TMainForm::SwitchLanguage() {
    if (Languages::alternativeCount() == 0) {
        dialogs().message(tr("Info"), tr("Keine alternativen Sprach-Resourcen gefunden!"),
                          Dialogs::Icon::Information, Dialogs::Buttons::Ok, Dialogs::Answer::Ok,
                          Dialogs::Owner::MainWindow);
        return;
    }
    if (pctrlMain->count() > 0 &&
        !dialogs().confirm(tr("Zum Umschalten der Sprache müssen alle offenen Register "
                              "geschlossen werden (Messungen, Referenzen etc.)\nSollen die "
                              "Register jetzt geschlossen und die Sprache umgeschaltet werden?"),
                           Dialogs::Answer::Yes, Dialogs::Owner::MainWindow))
        return;
    CloseAllTabs();
    const std::optional<int> chosen = FChooseLanguage ? FChooseLanguage() : Languages::choose(this);
    if (!chosen) return;
    if (FChooseLanguage) Languages::switchTo(*chosen);
    FSettings->SetLocaleID(*chosen);
    RetranslateUi();
}

void TMainForm::ShowHelp() {
    QString file = FHelpFile;
    if (!QFile::exists(file)) file = ProgramFolder() + QStringLiteral("Zolt.html");
    QDesktopServices::openUrl(QUrl::fromLocalFile(file));
}

void TMainForm::ShowAbout() {
    dialogs().message(QApplication::applicationDisplayName(),
                      tr("Trelwin GmbH\nMess- und Regeltechnik für die Wärmebehandlung\n"
                         "Industriestraße 12\n75179 Pforzheim\n\nTel.: +49 7231 0000-0\n"
                         "Fax: +49 7231 0000-99\neMail: info@trelwin.example"),
                      Dialogs::Icon::None, Dialogs::Buttons::Ok, Dialogs::Answer::Ok,
                      Dialogs::Owner::MainWindow);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return QMainWindow::eventFilter(watched, event);
    auto* widget = qobject_cast<QWidget*>(watched);
    // Only keys meant for this window, not for its dialogs.
    if (!widget || widget->window() != this) return QMainWindow::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (event->type() == QEvent::KeyPress && key->key() == Qt::Key_Escape) {
        close();
        return true;
    }
    // Only the first delivery of a key; Qt offers it again to each parent it bubbles to.
    if (watched == QApplication::focusWidget() || watched == this) {
        if (TMessungFrame* page = ActiveMeasurementPage()) {
            const bool used = event->type() == QEvent::KeyPress
                                  ? page->HandleKeyDown(key->key(), key->modifiers())
                                  : page->HandleKeyUp(key->key(), key->modifiers());
            if (used) return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}
