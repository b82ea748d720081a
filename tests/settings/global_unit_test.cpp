#include "settings/global_unit.h"

#include "support/qt_printers.h"
#include "support/scripted_dialogs.h"
#include "support/test_env.h"

#include <QFile>

#include <gtest/gtest.h>

TEST(GlobalUnit, ParseNumberKeepsOnlyDigitsAndCommas) {
    LocaleScope german(germanLocale());
    struct Case {
        const char* text;
        double value;
    } cases[] = {
        {"", 0},           {"abc", 0},     {",,", 0},          {"-12,5 °C", 12.5},
        {"1.234,5", 1234.5}, {"42", 42},   {"3,", 3},
    };
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(ParseNumber(QString::fromUtf8(c.text)), c.value) << c.text;

    LocaleScope english(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_DOUBLE_EQ(ParseNumber("12,5"), 0) << "a comma is no decimal separator here";
    EXPECT_DOUBLE_EQ(ParseNumber("12.5"), 125);
}

TEST(GlobalUnit, ColoursAndReportErrorNames) {
    EXPECT_EQ(ChannelColor(0), QColor(255, 0, 0));
    EXPECT_EQ(ChannelColor(9), QColor(0, 128, 128));
    EXPECT_EQ(ChannelColor(12), QColor(0, 0, 128));
    EXPECT_EQ(ChannelColor(13), QColor(0, 0, 0));
    EXPECT_EQ(ChannelColor(-1), QColor(0, 0, 0));
    EXPECT_EQ(RtfColorEntry(QColor(255, 0, 0)), "\\red255\\green0\\blue0;");
    EXPECT_EQ(ToColorRef(QColor(1, 2, 3)), 0x030201u);
    EXPECT_EQ(FromColorRef(0x030201u), QColor(1, 2, 3));

    EXPECT_EQ(ReportErrorName(-6), "ALREADY_PRITING");
    EXPECT_EQ(ReportErrorName(-104), "EXCEPTION");
    for (int code : {-26, 5, -8, -48, -103})
        EXPECT_EQ(ReportErrorName(code), "unknown LL error encountered!") << code;
}

TEST(GlobalUnit, MessagesGoThroughTheDialogs) {
    ScopedScriptedDialogs d;
    ShowReportError(-10);
    EXPECT_EQ(d.last().caption, "Fehler beim Drucken");
    EXPECT_EQ(d.last().text, "Fehler beim Drucken. LL-Fehlercode=-10 (NO_PROJECT). ");
    EXPECT_EQ(d.last().icon, Dialogs::Icon::Error);

    ShowInvalidNumber();
    EXPECT_EQ(d.last().caption, "Fehler");
    EXPECT_EQ(d.last().text, "Ungültige Fließkommazahl eingegeben!");
    EXPECT_EQ(d.last().icon, Dialogs::Icon::Warning);
    EXPECT_EQ(d.last().owner, Dialogs::Owner::None);

    d.answer(Dialogs::Answer::No);
    EXPECT_TRUE(ConfirmDiscardChanges()) << "No keeps the window open";
    EXPECT_EQ(d.last().defaultAnswer, Dialogs::Answer::No);
    EXPECT_EQ(d.last().text, "Wenn Sie dieses Fenster schließen, gehen Ihre Änderungen "
                             "verloren.\nWollen Sie dennoch fortfahren und Ihre Änderungen "
                             "verwerfen?");
    d.answer(Dialogs::Answer::Yes);
    EXPECT_FALSE(ConfirmDiscardChanges());

    QString opened;
    SetDocumentOpener([&](const QString& f) { opened = f; return true; });
    OpenDocument(nullptr, "/tmp/x.xls");
    SetDocumentOpener({});
    EXPECT_EQ(opened, "/tmp/x.xls");
}

TEST(GlobalUnit, WindowGeometryLivesInZolt3IniBesideTheProgram) {
    TemporaryProgramFolder folder;
    EXPECT_TRUE(ProgramFolder().endsWith("/"));
    EXPECT_FALSE(ProgramFolder().endsWith("//"));
    const WindowGeometry fresh = LoadWindowGeometry("MainForm");
    EXPECT_EQ(fresh.top, 0);
    EXPECT_EQ(fresh.left, 0);
    EXPECT_EQ(fresh.width, 800);
    EXPECT_EQ(fresh.height, 600);

    SaveWindowGeometry("ConfigForm", 10, 20, 70000, 480); // cut to 16 bits, signed
    const WindowGeometry g = LoadWindowGeometry("ConfigForm");
    EXPECT_EQ(g.top, 10);
    EXPECT_EQ(g.left, 20);
    EXPECT_EQ(g.width, static_cast<qint16>(70000));
    EXPECT_EQ(g.height, 480);
    QFile ini(folder.path("zolt3.ini"));
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_TRUE(ini.readAll().contains("[ConfigForm]"));
}

TEST(GlobalUnit, ProgramFolderOfTheRunningProgram) {
    const QString folder = ProgramFolder();
    EXPECT_EQ(folder, QCoreApplication::applicationDirPath() + "/");
}
