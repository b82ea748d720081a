#include "shell/languages.h"
#include "shell/main_form.h"

#include "platform/settings_backend.h"
#include "settings/global_vars.h"
#include "support/qt_printers.h"
#include "support/scripted_dialogs.h"
#include "support/test_env.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QMap>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>

#include <gtest/gtest.h>

namespace {
using Answer = Dialogs::Answer;
using Scope = SettingsBackend::Scope;

const char* const kGermanQuestion =
    "Zum Umschalten der Sprache müssen alle offenen Register geschlossen werden (Messungen, "
    "Referenzen etc.)\nSollen die Register jetzt geschlossen und die Sprache umgeschaltet "
    "werden?";

// Runs the main window with the English translation the build put beside the program,
// copied into a program folder of its own.
class LanguageSwitchTest : public ::testing::Test {
protected:
    void SetUp() override {
        const QString built = QCoreApplication::applicationDirPath() + "/zolt_en.qm";
        ASSERT_TRUE(QFile::exists(built)) << "the build puts zolt_en.qm beside the programs";
        ASSERT_TRUE(QFile::copy(built, folder.path("zolt_en.qm")));
    }
    // The language in force must not leak into other tests.
    void TearDown() override { Languages::switchTo(Languages::kGerman); }

    std::unique_ptr<TMainForm> start() {
        TMainForm::Options o;
        o.settingsStore = &store;
        o.chooseLanguage = [this]() -> std::optional<int> {
            ++choices;
            return choice;
        };
        auto form = std::make_unique<TMainForm>(o);
        form->Start({});
        return form;
    }
    void chooseLanguageFromMenu(TMainForm& f) {
        f.findChild<QAction*>("menuExtraLanguage")->trigger();
    }
    // The captions of the window's own menus and actions (not the pages') by object name,
    // and the window title.
    static QMap<QString, QString> captions(const TMainForm& f) {
        const auto own = [&f](const QObject* o) {
            for (const QObject* p = o; p; p = p->parent())
                if (p == f.pages()) return false;
            return !o->objectName().isEmpty();
        };
        QMap<QString, QString> out;
        for (const QAction* a : f.findChildren<QAction*>())
            if (own(a)) out.insert(a->objectName(), a->text());
        for (const QMenu* m : f.findChildren<QMenu*>())
            if (own(m)) out.insert(m->objectName(), m->title());
        out.insert("windowTitle", f.windowTitle());
        return out;
    }
    // Qt's own texts follow the language too.
    static QString yesButtonText() {
        QDialogButtonBox box(QDialogButtonBox::Yes);
        return box.button(QDialogButtonBox::Yes)->text();
    }
    static QStringList tabTexts(const QTabWidget* tabs) {
        QStringList out;
        for (int i = 0; i < tabs->count(); ++i)
            out << tabs->tabText(i);
        return out;
    }

    TemporaryProgramFolder folder;
    MemorySettingsBackend store;
    ScopedScriptedDialogs dialogs;
    std::optional<int> choice;
    int choices = 0;
};
} // namespace

TEST_F(LanguageSwitchTest, SwitchesToEnglishAndBack) {
    store.set(Scope::User, "LocaleID", 7);
    auto f = start();
    f->action("actRefNew")->trigger();
    ASSERT_EQ(f->pages()->count(), 2);
    const QMap<QString, QString> german = captions(*f);
    EXPECT_EQ(german["windowTitle"], "Trelwin Zolt für Linux");
    EXPECT_EQ(german["menuFile"], "&Datei");
    EXPECT_EQ(yesButtonText(), "&Ja");

    choice = 9;
    dialogs.answer(Answer::Yes);
    chooseLanguageFromMenu(*f);
    ASSERT_EQ(dialogs.calls().size(), 1u);
    EXPECT_EQ(dialogs.last().caption, "Bestätigen");
    EXPECT_EQ(dialogs.last().text, kGermanQuestion);
    EXPECT_EQ(dialogs.last().icon, Dialogs::Icon::Question);
    EXPECT_EQ(dialogs.last().buttons, Dialogs::Buttons::YesNo);
    EXPECT_EQ(choices, 1);
    EXPECT_EQ(f->pages()->count(), 0) << "all tabs closed, the reference without a question";
    EXPECT_EQ(Languages::current(), 9);
    EXPECT_EQ(f->settings().LocaleID(), 9);

    const QMap<QString, QString> english = captions(*f);
    const QMap<QString, QString> expected = {
        {"windowTitle", "Trelwin Zolt for Linux"},
        {"menuFile", "&File"},
        {"menuFileNew", "New"},
        {"menuFileOpen", "Open"},
        {"menuExtra", "&Tools"},
        {"menuFileSaveAs", "Save As"},
        {"menuProgQuit", "Exit"},
        {"menuExtraLanguage", "Language"},
        {"menuHelpAboutTrelwin", "About Trelwin"},
        {"actMeasurementNew", "New Measurement"},
        {"actMeasurementSaveAs", "Save Measurement As"},
        {"actRefClose", "Close Reference"},
    };
    for (auto it = expected.begin(); it != expected.end(); ++it)
        EXPECT_EQ(english.value(it.key()), it.value()) << it.key().toStdString();
    EXPECT_EQ(QApplication::applicationDisplayName(), "Trelwin Zolt for Linux");
    EXPECT_EQ(yesButtonText(), "&Yes");
    // Every caption is the translation of its German text, none is left behind.
    for (auto it = german.begin(); it != german.end(); ++it)
        EXPECT_EQ(english.value(it.key()),
                  QCoreApplication::translate("TMainForm", it.value().toUtf8().constData()))
            << it.key().toStdString();

    // Pages made now speak English; the numbering goes on.
    f->action("actMeasurementNew")->trigger();
    EXPECT_EQ(tabTexts(f->pages()), QStringList{"New Measurement 2"});
    const auto* pageTabs = f->ActiveMeasurementPage()->findChild<QTabWidget*>("pctrlMain");
    ASSERT_NE(pageTabs, nullptr);
    EXPECT_EQ(tabTexts(pageTabs), (QStringList{"Chart", "Data", "Info"}));

    // Back to German: now the question itself is English.
    choice = 7;
    dialogs.clear();
    dialogs.answer(Answer::Yes);
    chooseLanguageFromMenu(*f);
    ASSERT_EQ(dialogs.calls().size(), 1u);
    EXPECT_EQ(dialogs.last().caption, "Confirm");
    EXPECT_TRUE(dialogs.last().text.startsWith("To switch the language"));
    EXPECT_EQ(f->pages()->count(), 0);
    EXPECT_EQ(Languages::current(), 7);
    EXPECT_EQ(f->settings().LocaleID(), 7);
    EXPECT_EQ(captions(*f), german);
    EXPECT_EQ(yesButtonText(), "&Ja");
    f->action("actMeasurementNew")->trigger();
    EXPECT_EQ(tabTexts(f->pages()), QStringList{"Neue Messung 3"});
}

TEST_F(LanguageSwitchTest, TheStoredLanguageIsUsedAtTheNextStart) {
    // First start: nothing stored, so the selection is offered before anything is shown.
    choice = 9;
    {
        auto f = start();
        EXPECT_EQ(choices, 1);
        EXPECT_EQ(f->windowTitle(), "Trelwin Zolt for Linux");
        EXPECT_EQ(tabTexts(f->pages()), QStringList{"New Measurement 0"});
    }
    EXPECT_EQ(store.get(Scope::User, "LocaleID"), QVariant(9));

    Languages::switchTo(Languages::kGerman);
    auto f = start();
    EXPECT_EQ(choices, 1) << "no selection once a language is stored";
    EXPECT_EQ(f->windowTitle(), "Trelwin Zolt for Linux");
    EXPECT_TRUE(dialogs.calls().empty());
}

TEST_F(LanguageSwitchTest, NoOrCancelKeepsTheLanguage) {
    store.set(Scope::User, "LocaleID", 7);
    auto f = start();

    // No to the question: pages stay, nothing is chosen.
    dialogs.answer(Answer::No);
    chooseLanguageFromMenu(*f);
    EXPECT_EQ(f->pages()->count(), 1);
    EXPECT_EQ(choices, 0);

    // Yes, then the selection is cancelled: the pages are gone all the same.
    choice.reset();
    dialogs.answer(Answer::Yes);
    chooseLanguageFromMenu(*f);
    EXPECT_EQ(choices, 1);
    EXPECT_EQ(f->pages()->count(), 0);
    EXPECT_EQ(Languages::current(), 7);
    EXPECT_EQ(f->settings().LocaleID(), 7);
    EXPECT_EQ(f->windowTitle(), "Trelwin Zolt für Linux");

    // Without open pages nothing is asked before the selection.
    dialogs.clear();
    choice = 9;
    chooseLanguageFromMenu(*f);
    EXPECT_TRUE(dialogs.calls().empty());
    EXPECT_EQ(f->windowTitle(), "Trelwin Zolt for Linux");
}
