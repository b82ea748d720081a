#include "shell/main_form.h"

#include "model/messung_info.h"
#include "model/referenz_info.h"
#include "platform/settings_backend.h"
#include "references/referenz_frame.h"
#include "settings/global_vars.h"
#include "support/qt_printers.h"
#include "support/scripted_dialogs.h"
#include "support/test_env.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace {
using Answer = Dialogs::Answer;

class MainFormTest : public ::testing::Test {
protected:
    std::unique_ptr<TMainForm> start(const QStringList& args = {}) {
        TMainForm::Options o;
        o.settingsStore = &store;
        o.chooseLanguage = [] { return std::optional<int>(7); };
        auto form = std::make_unique<TMainForm>(o);
        form->Start(args);
        return form;
    }
    QStringList captions(const TMainForm& f) const {
        QStringList out;
        for (int i = 0; i < f.pages()->count(); ++i) out << f.pages()->tabText(i);
        return out;
    }
    // A small measurement file written by the program itself.
    QString writeMeasurement(const QString& name) {
        TMessungInfo m;
        m.SetChannelCount(1);
        m.AddRow({0, 200, 1});
        m.AddRow({500, 210, 1});
        m.FileName = folder.path(name);
        EXPECT_TRUE(m.Save(false));
        return m.FileName;
    }
    TemporaryProgramFolder folder;
    MemorySettingsBackend store;
    ScopedScriptedDialogs dialogs;
};
} // namespace

TEST_F(MainFormTest, PagesAreNumberedForTheWholeRun) {
    auto f = start();
    EXPECT_EQ(captions(*f), QStringList{"Neue Messung 0"});
    EXPECT_EQ(f->windowTitle(), "Trelwin Zolt für Linux");
    f->action("actRefNew")->trigger();
    EXPECT_EQ(captions(*f), (QStringList{"Neue Messung 0", "Neue Referenz 1"}));
    EXPECT_NE(f->ActiveReferencePage(), nullptr);
    EXPECT_EQ(f->ActiveMeasurementPage(), nullptr);
    EXPECT_EQ(f->ActiveReferencePage()->objectName(), "RefFrame1");

    f->action("actRefClose")->trigger(); // unmodified: no question
    f->pages()->setCurrentIndex(0);
    f->action("actMeasurementClose")->trigger();
    EXPECT_EQ(f->pages()->count(), 0);
    // With no tab, the routed File items do nothing.
    for (const char* item : {"menuFileClose", "menuFileSave", "menuFileSaveAs", "menuFileDelete"})
        f->findChild<QAction*>(item)->trigger();
    f->action("actMeasurementNew")->trigger();
    EXPECT_EQ(captions(*f), QStringList{"Neue Messung 2"});
    EXPECT_EQ(f->ActiveMeasurementPage()->objectName(), "MessungFrame2");
    EXPECT_TRUE(dialogs.calls().empty());
}

TEST_F(MainFormTest, CommandLineOpensOneFile) {
    const QString file = writeMeasurement("ofen.zolt");
    {
        auto f = start({file});
        EXPECT_EQ(captions(*f), QStringList{"ofen.zolt"});
        EXPECT_EQ(f->ActiveMeasurementPage()->Measurement().RowCount(), 2);
    }
    {
        auto f = start({file, file}); // two arguments are ignored
        EXPECT_EQ(captions(*f), QStringList{"Neue Messung 0"});
    }
    dialogs.cancelFile();
    auto f = start({folder.path("fehlt.zolt")});
    EXPECT_EQ(f->pages()->count(), 0);
    ASSERT_EQ(dialogs.calls().size(), 1u);
    EXPECT_EQ(dialogs.last().kind, ScriptedDialogs::Kind::OpenFile);
    EXPECT_TRUE(dialogs.last().text.contains("*.zolt"));
}

TEST_F(MainFormTest, OpeningAnOpenFileActivatesItsPage) {
    const QString file = writeMeasurement("a.zolt");
    auto f = start({file});
    f->action("actRefNew")->trigger();
    f->action("actMeasurementNew")->trigger();
    EXPECT_TRUE(f->OpenMeasurement(file));
    EXPECT_EQ(f->pages()->count(), 3);
    EXPECT_EQ(f->pages()->currentIndex(), 0);
}

TEST_F(MainFormTest, AFailedLoadUsesUpAPageNumber) {
    QFile bad(folder.path("kaputt.zolt"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("nothing like a measurement");
    bad.close();
    auto f = start();
    dialogs.requireOkAnswers(false);
    EXPECT_TRUE(f->OpenMeasurement(bad.fileName()));
    EXPECT_EQ(f->pages()->count(), 1);
    EXPECT_FALSE(dialogs.messages().empty()) << "the document says why";
    f->action("actMeasurementNew")->trigger();
    EXPECT_EQ(captions(*f).last(), "Neue Messung 2");
}

TEST_F(MainFormTest, DeleteAsksThenClosesAndRemovesTheFile) {
    const QString file = writeMeasurement("weg.zolt");
    auto f = start({file});
    dialogs.answer(Answer::No);
    f->findChild<QAction*>("menuFileDelete")->trigger();
    EXPECT_EQ(f->pages()->count(), 1);
    EXPECT_EQ(dialogs.last().text, "Soll die aktuelle Messung wirklich geschlossen und gelöscht werden?");
    EXPECT_EQ(dialogs.last().defaultAnswer, Answer::No);
    dialogs.answer(Answer::Yes);
    f->findChild<QAction*>("menuFileDelete")->trigger();
    EXPECT_EQ(f->pages()->count(), 0);
    EXPECT_FALSE(QFile::exists(file));

    // A never-saved document deletes nothing.
    f->action("actMeasurementNew")->trigger();
    dialogs.answer(Answer::Yes);
    f->action("actMeasurementDelete")->trigger();
    EXPECT_EQ(f->pages()->count(), 0);
    EXPECT_EQ(dialogs.messages().size(), 3u);
}

TEST_F(MainFormTest, SaveAsRenamesTheTab) {
    auto f = start();
    TMessungFrame* page = f->ActiveMeasurementPage();
    page->Measurement().SetChannelCount(1);
    page->Measurement().AddRow({0, 100, 1});
    dialogs.file(folder.path("neu.zolt"));
    f->findChild<QAction*>("menuFileSaveAs")->trigger();
    EXPECT_EQ(captions(*f), QStringList{"neu.zolt"});
    EXPECT_TRUE(QFile::exists(folder.path("neu.zolt")));
}

TEST_F(MainFormTest, ClearAsksWithYesAsDefault) {
    auto f = start();
    TMessungFrame* page = f->ActiveMeasurementPage();
    page->Measurement().SetChannelCount(1);
    page->Measurement().AddRow({0, 100, 1});
    dialogs.answer(Answer::No);
    f->action("actMeasurementClear")->trigger();
    EXPECT_EQ(page->Measurement().RowCount(), 1);
    EXPECT_EQ(dialogs.last().defaultAnswer, Answer::Yes);
    dialogs.answer(Answer::Yes);
    f->action("actMeasurementClear")->trigger();
    EXPECT_EQ(page->Measurement().RowCount(), 0);
}

TEST_F(MainFormTest, DeviceTypeAndModeDrivePrepare) {
    auto f = start();
    QAction* prepare = f->action("actMeasurementPrepare");
    EXPECT_FALSE(prepare->isEnabled());
    f->findChild<QAction*>("menuZoltModeReadRAM")->trigger();
    EXPECT_TRUE(prepare->isEnabled()) << "318.14 in memory mode";
    f->findChild<QAction*>("menuZoltTypeUSB_3")->trigger();
    EXPECT_FALSE(prepare->isEnabled());
    EXPECT_EQ(f->settings().ZoltMode(), 0);
    EXPECT_FALSE(f->action("actMeasurementStop")->isEnabled());
    EXPECT_TRUE(f->action("actMeasurementStart")->isEnabled());
}

TEST_F(MainFormTest, EscapeEndsTheProgram) {
    auto f = start();
    f->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(f.get()));
    TMessungFrame* page = f->ActiveMeasurementPage();
    QWidget* list = page->findChild<QWidget*>("vstValues");
    ASSERT_NE(list, nullptr);
    QTest::keyClick(list, Qt::Key_Escape);
    EXPECT_FALSE(f->isVisible());
    EXPECT_TRUE(dialogs.calls().empty());
}

TEST_F(MainFormTest, LanguageSwitchWithoutTranslationsSaysSo) {
    auto f = start();
    f->findChild<QAction*>("menuExtraLanguage")->trigger();
    ASSERT_EQ(dialogs.calls().size(), 1u);
    EXPECT_EQ(dialogs.last().caption, "Info");
    EXPECT_EQ(dialogs.last().text, "Keine alternativen Sprach-Resourcen gefunden!");
    EXPECT_EQ(f->pages()->count(), 1);
}
