#include "model/messung_info.h"
#include "platform/ole_date.h"
#include "support/qt_printers.h"
#include "support/scripted_dialogs.h"
#include "support/test_env.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The example measurement: Probe A by Labor, taken on 19 June 2008 at 14:32:05.
void fillExample(TMessungInfo& m) {
    m.StartTime = toOleDate(QDateTime(QDate(2008, 6, 19), QTime(14, 32, 5)));
    m.Title = QStringLiteral("Probe A");
    m.User = QStringLiteral("Labor");
}

class TextExport : public testing::Test {
protected:
    QByteArray exported(const TMessungInfo& m) {
        const QString file = dir_.filePath(QStringLiteral("m.txt"));
        EXPECT_TRUE(m.ExportText(file));
        return readAll(file);
    }

    LocaleScope german_{germanLocale()};
    QTemporaryDir dir_;
};

const QByteArray kInfo = "[Messungsinfo]\r\n"
                         "Datum=19.06.08\r\n"
                         "Zeit=14:32:05\r\n"
                         "Bezeichnung=Probe A\r\n"
                         "Benutzer=Labor\r\n"
                         "Info=\r\n"
                         "\r\n"
                         "[Messungsdaten]\r\n";
} // namespace

TEST_F(TextExport, WritesTheExampleLayout) {
    TMessungInfo m;
    fillExample(m);
    EXPECT_EQ(exported(m), kInfo) << "without channels: the info section only";

    m.SetChannelCount(1);
    m.SetChannel(0, TKanalInfo{QStringLiteral("Kanal 1"), 1, 1});
    EXPECT_EQ(exported(m), kInfo + "Zeit;Kanal 1;Originalwert;\r\n") << "channels, no rows";

    ASSERT_TRUE(m.AddRow({0, 215, 1}));
    ASSERT_TRUE(m.AddRow({500, 217, 1}));
    EXPECT_EQ(exported(m), kInfo + "Zeit;Kanal 1;Originalwert;\r\n"
                                   "0;215;1;\r\n"
                                   "500;217;1;\r\n");
}

TEST_F(TextExport, WritesWindows1252AndTextsAsTheyAre) {
    TMessungInfo m;
    fillExample(m);
    m.Description = QStringLiteral("Öl; a=b");
    m.SetChannelCount(2);
    m.SetChannel(0, TKanalInfo{QStringLiteral("Fühler;1"), 1, 1});
    ASSERT_TRUE(m.AddRow({4294967295u, 0, 4000000000u, 1}));
    const QByteArray text = exported(m);
    EXPECT_TRUE(text.contains("Info=\xD6l; a=b\r\n"));
    EXPECT_TRUE(text.contains("Zeit;F\xFChler;1;Unbekannt;Originalwert;\r\n"));
    EXPECT_TRUE(text.endsWith("4294967295;0;4000000000;1;\r\n"));
}

TEST_F(TextExport, InterpolatedRowsCarryZeroInTheLastColumn) {
    TMessungInfo m;
    fillExample(m);
    m.SetChannelCount(1);
    for (quint32 t = 0; t <= 3000; t += 600)
        ASSERT_TRUE(m.AddRow({t, 200 + t / 100, 1}));
    m.SetInterpolation(true);
    const QList<QByteArray> lines = exported(m).split('\n');
    // 6 measured rows, 5 points in each of the 5 gaps.
    ASSERT_EQ(lines.size(), 9 + 6 + 25 + 1);
    EXPECT_EQ(lines[9], "0;200;1;\r");
    EXPECT_TRUE(lines[10].startsWith("100;") && lines[10].endsWith(";0;\r"))
        << lines[10].constData();
    EXPECT_EQ(lines[15], "600;206;1;\r");
}

TEST_F(TextExport, LongTimeHasNoTimeZone) {
    LocaleScope english(QLocale(QLocale::English, QLocale::UnitedStates));
    TMessungInfo m;
    fillExample(m);
    const QByteArray text = exported(m);
    EXPECT_TRUE(text.contains("Datum=6/19/08\r\nZeit=2:32:05 PM\r\n")) << text.constData();
}

TEST_F(TextExport, SaveReportsAFailedExport) {
    ScopedScriptedDialogs d;
    TMessungInfo m;
    m.FileName = dir_.filePath(QStringLiteral("missing/m.txt"));
    EXPECT_FALSE(m.Save(false));
    ASSERT_EQ(d.calls().size(), 1u);
    EXPECT_EQ(d.last().text,
              QStringLiteral("Fehler beim Schreiben der Datei \"%1\".").arg(m.FileName));
}
