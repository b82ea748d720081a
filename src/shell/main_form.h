#pragma once

#include "views/messung_frame.h"

#include <QHash>
#include <QMainWindow>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class QActionGroup;
class QMenu;
class QTabWidget;
class SettingsBackend;
class TGlobalVars;
class TReferenzFrame;

// The program's main window: one tab per open document, the menus and the actions that
// the pages' tool bars share.
class TMainForm : public QMainWindow, public MessungHost {
    Q_OBJECT
public:
    struct Options {
        SettingsBackend* settingsStore = nullptr; // the user's store when none is given
        // The language selection (first start and "Sprache"); the interactive dialog
        // when empty.
        std::function<std::optional<int>()> chooseLanguage;
    };

    TMainForm();
    explicit TMainForm(const Options& options);
    ~TMainForm() override;

    // Start-up work that needs the finished window: language, caption, command line.
    void Start(const QStringList& arguments);

    QAction* action(const QString& name) const override;
    TGlobalVars& settings() override { return *FSettings; }
    TReferenzInfo* NewReferenceDocument() override;
    void ReferenceDocumentFilled() override;

    TMessungFrame* ActiveMeasurementPage() const;
    TReferenzFrame* ActiveReferencePage() const;
    TMessungFrame* NewMeasurementPage();
    TReferenzFrame* NewReferencePage();
    bool OpenMeasurement(const QString& fileName);
    bool OpenReference(const QString& fileName);
    bool FindOpenMeasurement(const QString& fileName);
    bool FindOpenReference(const QString& fileName);

    QTabWidget* pages() const { return pctrlMain; }
    int PageCounter() const { return FPageCounter; }
    QMenu* menu(const QString& objectName) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateActions();
    void CreateMenus();
    void RetranslateUi();
    QWidget* AddPage(const QString& captionBase, QWidget* view, const QString& viewPrefix);
    QWidget* ViewOf(int tabIndex, const QString& prefix) const;
    void CloseActiveTab();
    void CloseAllTabs();
    void SetActiveTabCaption(const QString& fileName);

    void SaveMeasurement(bool saveAs);
    void DeleteMeasurement();
    void ClearMeasurement();
    void SaveReference(bool saveAs);
    void CloseReference();
    void DeleteReference();
    void Routed(const QString& measurementAction, const QString& referenceAction);
    void SwitchLanguage();
    void ShowHelp();
    void ShowAbout();
    void SetTitle();

    std::unique_ptr<SettingsBackend> FOwnStore;
    std::unique_ptr<TGlobalVars> FSettings;
    TGlobalVars* FPreviousGlobals = nullptr;
    std::function<std::optional<int>()> FChooseLanguage;
    QTabWidget* pctrlMain = nullptr;
    QHash<QString, QAction*> FActions;
    QHash<QString, QMenu*> FMenus;
    QHash<QString, QAction*> FMenuItems;
    QActionGroup* FTypeGroup = nullptr;
    QActionGroup* FModeGroup = nullptr;
    int FPageCounter = 0;
    QString FHelpFile;
};
