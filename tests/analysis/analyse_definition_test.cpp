#include "analysis/analyse_definition.h"
#include "analysis/analyse_info.h"

#include "platform/win1252.h"
#include "support/qt_printers.h"
#include "support/scripted_dialogs.h"
#include "support/test_env.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <ostream>

void PrintTo(const TAnalyseBereich& r, std::ostream* os) {
    *os << "{" << r.Name.toStdString() << " T" << r.Threshold << " L" << r.Limit << " C" << r.Color
        << " Tr" << int(r.Transparency) << " Cond" << int(r.Condition) << " B" << int(r.Border)
        << "}";
}

namespace {
using Answer = Dialogs::Answer;
using Kind = ScriptedDialogs::Kind;

TAnalyseBereich make(const QString& name, quint32 threshold, quint32 limit, quint32 color,
                     quint8 transparency, quint8 condition, quint8 border) {
    return TAnalyseBereich{name, threshold, limit, condition, border, color, transparency};
}

QStringList names(const TAnalyseInfo& a) {
    QStringList out;
    for (int i = 0; i < a.RangeCount(); ++i)
        out << a.Range(i)->Name;
    return out;
}

void writeFile(const QString& path, const QByteArray& content) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

const QByteArray kTwoSections = "[Hei\xDF]\r\nThreshold=1200\r\n\r\n[Kalt]\r\nCondition=1\r\n";
} // namespace

TEST(AnalyseDefinition, WrittenInListOrderAndForm) {
    const std::vector<TAnalyseBereich> ranges = {
        make("Zone 2", 500, 0, 16777215, 80, 0, 0),
        make("Aufheizen über 100 °C", 1000, 2000, 0x0000FF, 35, 2, 0x0B),
    };
    EXPECT_EQ(WriteAnalyseDefinition(ranges),
              "[Zone 2]\r\nThreshold=500\r\nLimit=0\r\nColor=16777215\r\nTransparency=80\r\n"
              "Condition=0\r\nBorder=0\r\n"
              "\r\n"
              "[Aufheizen \xFC"
              "ber 100 \xB0"
              "C]\r\nThreshold=1000\r\nLimit=2000\r\nColor=255\r\nTransparency=35\r\n"
              "Condition=2\r\nBorder=11\r\n");
}

TEST(AnalyseDefinition, RoundTripsInOrderBitForBit) {
    const std::vector<TAnalyseBereich> ranges = {
        make("Zone B", 0xFFFFFFFF, 0x80000000, 0x80FF00FF, 100, 2, 15),
        make("Zone A 50% [Haltezeit]; lang genug, um inih die Abschnittsnamen kürzen zu lassen",
             255, 300, 0, 0, 1, 4),
        make("", 1, 2, 3, 4, 0, 8),
        make("Ähnlich; # kein Kommentar", 7, 8, 9, 10, 2, 1),
    };
    const QByteArray file = WriteAnalyseDefinition(ranges);
    EXPECT_TRUE(file.contains("Threshold=-1\r\n")) << "unsigned values as their signed reading";
    EXPECT_EQ(ParseAnalyseDefinition(file), ranges);
}

TEST(AnalyseDefinition, SameNamesShareOneSection) {
    const std::vector<TAnalyseBereich> ranges = {
        make("Zone", 100, 0, 1, 10, 0, 0),
        make("Mitte", 200, 0, 2, 20, 0, 0),
        make("ZONE", 300, 400, 3, 30, 2, 1),
    };
    const std::vector<TAnalyseBereich> back =
        ParseAnalyseDefinition(WriteAnalyseDefinition(ranges));
    EXPECT_EQ(back, (std::vector<TAnalyseBereich>{make("Zone", 300, 400, 3, 30, 2, 1), ranges[1]}))
        << "the first one's place and name, the later one's values";
}

TEST(AnalyseDefinition, ReadsLikeTheWindowsProfileFunctions) {
    struct Case {
        const char* what;
        QByteArray file;
        std::vector<TAnalyseBereich> ranges;
    };
    const Case cases[] = {
        {"a section without keys takes the defaults",
         "[Leer]\n",
         {make("Leer", 0, 0, 16777215, 80, 0, 0)}},
        {"no sections, no ranges", "Threshold=5\n; nur ein Kommentar\n", {}},
        {"keys before the first section belong to none",
         "Threshold=5\n[A]\nLimit=6\n",
         {make("A", 0, 6, 16777215, 80, 0, 0)}},
        {"a repeated section merges into the first, later keys win",
         "[A]\nThreshold=1\nLimit=2\n[B]\n[a]\nThreshold=3\nthreshold=4\n",
         {make("A", 4, 2, 16777215, 80, 0, 0), make("B", 0, 0, 16777215, 80, 0, 0)}},
        {"key names without case, blanks and comments around",
         "  ; Kommentar\n  [ Zone ]  \n\tTHRESHOLD = 250 ; Schwelle\n\n   lImIt:300\n",
         {make("Zone", 250, 300, 16777215, 80, 0, 0)}},
        {"limits of transparency, condition and border",
         "[A]\nTransparency=356\nCondition=258\nBorder=255\n[B]\nTransparency=255\n"
         "[C]\nTransparency=50\n",
         {make("A", 0, 0, 16777215, 100, 2, 15), make("B", 0, 0, 16777215, 100, 0, 0),
          make("C", 0, 0, 16777215, 50, 0, 0)}},
        {"unreadable or out-of-range values take the default",
         "[A]\nThreshold=12abc\nLimit=\nColor=4294967296\nTransparency=-\nCondition=x\n",
         {make("A", 0, 0, 16777215, 80, 0, 0)}},
        {"signed, unsigned and hexadecimal numbers",
         "[A]\nThreshold=-2\nLimit=4294967295\nColor=$FF00\nBorder=0x3\n",
         {make("A", 0xFFFFFFFE, 0xFFFFFFFF, 0xFF00, 80, 0, 3)}},
        {"line ends of any kind, an unterminated last line",
         "[A]\r\nThreshold=1\r[B]\nThreshold=2",
         {make("A", 1, 0, 16777215, 80, 0, 0), make("B", 2, 0, 16777215, 80, 0, 0)}},
        {"a UTF-8 file without mark",
         "[Gr\xC3\xB6\xC3\x9F"
         "er]\n[GR\xC3\x96\xC3\x9F"
         "ER]\nLimit=3\n",
         {make("Größer", 0, 3, 16777215, 80, 0, 0)}},
        {"a UTF-8 file with its mark",
         "\xEF\xBB\xBF[Gr\xC3\xB6\xC3\x9F"
         "er]\nThreshold=9\n",
         {make("Größer", 9, 0, 16777215, 80, 0, 0)}},
        {"a broken header leaves the keys with the section before",
         "[A]\n[kaputt\nThreshold=7\n",
         {make("A", 7, 0, 16777215, 80, 0, 0)}},
        {"an overlong line is cut, not split into a second key",
         "[A]\nLimit=1" + QByteArray(300, ' ') + "\nX=" + QByteArray(400, '7') + "Threshold=5\n",
         {make("A", 0, 1, 16777215, 80, 0, 0)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ParseAnalyseDefinition(c.file), c.ranges);
    }
}

TEST(AnalyseDefinition, LoadByNameAndAskBeforeMixing) {
    TemporaryProgramFolder folder;
    const QString path = folder.path("zonen.adef");
    writeFile(path, kTwoSections);

    ScopedScriptedDialogs d;
    TAnalyseInfo a;
    ASSERT_TRUE(a.LoadDefinition(path));
    EXPECT_TRUE(d.calls().empty()) << "an existing file is read without questions";
    EXPECT_EQ(a.DefinitionFile, path);
    EXPECT_EQ(names(a), QStringList({"Heiß", "Kalt"}));
    EXPECT_EQ(a.Range(0)->Threshold, 1200u);
    EXPECT_EQ(a.Range(1)->Condition, 1);

    const QString other = folder.path("andere.adef");
    writeFile(other, "[Neu]\n");
    const QString question = "Die aktuelle Analyse enthält bereits Bereichsdefinitionen.\n"
                             "Möchten Sie die neuen Definitionen an die vorhandene Liste anhängen?";

    d.answer(Answer::Cancel);
    EXPECT_FALSE(a.LoadDefinition(other));
    ASSERT_EQ(d.calls().size(), 1u);
    EXPECT_EQ(d.last().caption, "Bestätigen");
    EXPECT_EQ(d.last().text, question);
    EXPECT_EQ(d.last().icon, Dialogs::Icon::Question);
    EXPECT_EQ(d.last().buttons, Dialogs::Buttons::YesNoCancel);
    EXPECT_EQ(names(a), QStringList({"Heiß", "Kalt"})) << "cancel changes nothing";
    EXPECT_EQ(a.DefinitionFile, path);

    d.answer(Answer::Yes);
    EXPECT_TRUE(a.LoadDefinition(other));
    EXPECT_EQ(names(a), QStringList({"Heiß", "Kalt", "Neu"})) << "Yes appends";
    EXPECT_EQ(a.DefinitionFile, other);

    d.answer(Answer::No);
    EXPECT_TRUE(a.LoadDefinition(path));
    EXPECT_EQ(names(a), QStringList({"Heiß", "Kalt"})) << "No replaces";
}

TEST(AnalyseDefinition, LoadThroughTheOpenDialog) {
    TemporaryProgramFolder folder;
    writeFile(folder.path("zonen.adef"), kTwoSections);
    ScopedScriptedDialogs d;
    TAnalyseInfo a;

    d.cancelFile();
    EXPECT_FALSE(a.LoadDefinition(QString()));
    ASSERT_EQ(d.calls().size(), 1u);
    EXPECT_EQ(d.last().kind, Kind::OpenFile);
    EXPECT_EQ(d.last().text, "Analyse-Definition (*.adef)");
    EXPECT_TRUE(a.DefinitionFile.isEmpty()) << "nothing chosen, nothing remembered";

    // A name without extension gets ".adef".
    d.file(folder.path("zonen"));
    EXPECT_TRUE(a.LoadDefinition(folder.path("gibt-es-nicht.adef")));
    EXPECT_EQ(a.DefinitionFile, folder.path("zonen.adef"));
    EXPECT_EQ(a.RangeCount(), 2);

    d.clear();
    d.file(folder.path("fehlt.adef"));
    EXPECT_FALSE(a.LoadDefinition(QString()));
    EXPECT_EQ(d.calls().size(), 1u) << "a missing file fails without a message";
    EXPECT_EQ(d.last().proposed, folder.path("zonen.adef")) << "proposes the last file";
    EXPECT_EQ(a.RangeCount(), 2);
}

TEST(AnalyseDefinition, SaveAsksWhereNeededAndCancelWritesNothing) {
    TemporaryProgramFolder folder;
    ScopedScriptedDialogs d;
    TAnalyseInfo a;

    EXPECT_FALSE(a.SaveDefinition(false));
    ASSERT_EQ(d.calls().size(), 1u);
    EXPECT_EQ(d.last().caption, "Info");
    EXPECT_EQ(d.last().text,
              "Die Analysedefinition enthält keine Daten, die gespeichert werden können.");
    EXPECT_EQ(d.last().icon, Dialogs::Icon::Information);

    *a.Range(a.AddRange(-1)) = make("Zone", 500, 0, 255, 50, 0, 0);
    a.DefinitionFile = folder.path("alt");
    d.clear();
    d.cancelFile();
    EXPECT_FALSE(a.SaveDefinition(false)) << "a cancelled dialog saves nothing";
    EXPECT_EQ(d.last().kind, Kind::SaveFile);
    EXPECT_EQ(d.last().text, "Analyse-Definition (*.adef)");
    EXPECT_EQ(d.last().proposed, folder.path("alt"));
    EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files).isEmpty());

    d.file(folder.path("neu"));
    EXPECT_TRUE(a.SaveDefinition(false));
    EXPECT_EQ(a.DefinitionFile, folder.path("neu.adef"));
    EXPECT_EQ(readFile(a.DefinitionFile), WriteAnalyseDefinition({*a.Range(0)}));

    // The file exists now: saved again without a dialog, unless "save as" is asked for.
    a.Range(0)->Threshold = 600;
    d.clear();
    EXPECT_TRUE(a.SaveDefinition(false));
    EXPECT_TRUE(d.calls().empty());
    EXPECT_TRUE(readFile(folder.path("neu.adef")).contains("Threshold=600"));
    d.file(folder.path("kopie.adef"));
    EXPECT_TRUE(a.SaveDefinition(true));
    EXPECT_EQ(d.calls().size(), 1u);

    TAnalyseInfo b;
    ASSERT_TRUE(b.LoadDefinition(folder.path("kopie.adef")));
    EXPECT_EQ(*b.Range(0), *a.Range(0));
}

TEST(AnalyseDefinition, AFileThatCannotBeWrittenSaysWhy) {
    TemporaryProgramFolder folder;
    ScopedScriptedDialogs d;
    TAnalyseInfo a;
    a.AddRange(-1);
    a.DefinitionFile = folder.path("fehlt/da.adef");
    d.file(folder.path("fehlt/da.adef"));
    EXPECT_FALSE(a.SaveDefinition(false));
    ASSERT_EQ(d.calls().size(), 2u);
    EXPECT_EQ(d.last().caption, "Fehler");
    EXPECT_TRUE(d.last().text.contains(folder.path("fehlt/da.adef")));
}

TEST(AnalyseDefinition, AFileThatCannotBeReadSaysWhyAndChangesNothing) {
    TemporaryProgramFolder folder;
    ScopedScriptedDialogs d;
    TAnalyseInfo a;
    a.AddRange(-1);
    a.DefinitionFile = folder.path("vorher.adef");
    const QString locked = folder.path("gesperrt.adef");
    writeFile(locked, kTwoSections);
    QFile::setPermissions(locked, QFileDevice::Permissions());
    QFile probe(locked);
    if (probe.open(QIODevice::ReadOnly)) GTEST_SKIP() << "running with rights that read anything";
    d.clear();
    EXPECT_FALSE(a.LoadDefinition(locked));
    ASSERT_EQ(d.calls().size(), 1u);
    EXPECT_EQ(d.last().caption, "Fehler");
    EXPECT_EQ(a.RangeCount(), 1);
    EXPECT_EQ(a.DefinitionFile, folder.path("vorher.adef"));
}
