#include "model/messung_info.h"
#include "platform/win1252.h"
#include "settings/active_global_vars.h"
#include "settings/global_unit.h"
#include "settings/global_vars.h"
#include "support/qt_printers.h"
#include "support/scripted_dialogs.h"
#include "support/test_env.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <random>
#include <sys/mount.h>
#include <unistd.h>

namespace {
using Icon = Dialogs::Icon;
using Owner = Dialogs::Owner;

QByteArray hex(const char* text) {
    return QByteArray::fromHex(text);
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

// The FI block of a measurement with StartTime 0 and empty texts: all payload bytes zero.
const QByteArray kEmptyFI = hex("46490000 26000000") + QByteArray(36, 0) + hex("ffff");
const QByteArray kEmptyMA = hex("4d410000 03000000 00 ffff");

// One block with its header and checksum.
QByteArray block(const char tag[2], const QByteArray& payload) {
    QByteArray out(tag, 2);
    out += QByteArray(2, 0);
    char len[4];
    qToLittleEndian<quint32>(payload.size() + 2, len);
    out += QByteArray(len, 4);
    out += payload;
    quint16 sum = 0;
    for (char c : payload)
        sum += static_cast<unsigned char>(c);
    char check[2];
    qToLittleEndian<quint16>(static_cast<quint16>(~sum), check);
    return out + QByteArray(check, 2);
}

// A measurement worth saving: texts with umlauts, markers, channels and rows.
void fillSample(TMessungInfo& m, int channels = 3, int rows = 20) {
    m.StartTime = 39618.605613425925;
    m.Title = QStringLiteral("Ofen Nr. 2 – Prüfung");
    m.User = QStringLiteral("Labor");
    m.Description = QStringLiteral("Zeile 1\nZeile 2; \"zitiert\"");
    m.SetChannelCount(channels);
    for (int c = 0; c < channels; ++c) {
        TKanalInfo k;
        k.Name = QStringLiteral("Fühler %1").arg(c + 1);
        k.DeviceChannel = static_cast<quint16>(c + 1);
        k.ChannelFlag = static_cast<quint8>(c % 2);
        m.SetChannel(c, k);
    }
    m.AddMarker(-5, QStringLiteral("vor dem Start"));
    m.AddMarker(1500, QStringLiteral("Tür auf"));
    std::mt19937 rng(7);
    for (int r = 0; r < rows; ++r) {
        TDataRow row(channels + 2, 1);
        row[0] = r * 500;
        for (int c = 1; c <= channels; ++c)
            row[c] = rng() % 3000;
        ASSERT_TRUE(m.AddRow(row));
    }
}

void expectSameDocument(const TMessungInfo& a, const TMessungInfo& b) {
    EXPECT_EQ(a.StartTime, b.StartTime);
    EXPECT_EQ(a.Title, b.Title);
    EXPECT_EQ(a.User, b.User);
    EXPECT_EQ(a.Description, b.Description);
    EXPECT_EQ(a.Password, b.Password);
    ASSERT_EQ(a.ChannelCount(), b.ChannelCount());
    for (int c = 0; c < a.ChannelCount(); ++c)
        EXPECT_EQ(*a.GetChannel(c), *b.GetChannel(c));
    ASSERT_EQ(a.MarkerCount(), b.MarkerCount());
    for (int i = 0; i < a.MarkerCount(); ++i) {
        EXPECT_EQ(a.GetMarker(i)->Time, b.GetMarker(i)->Time);
        EXPECT_EQ(a.GetMarker(i)->Text, b.GetMarker(i)->Text);
    }
    EXPECT_EQ(a.RowTable(), b.RowTable());
}

class MessungFile : public testing::Test {
protected:
    QString path(const QString& name) const { return dir_.filePath(name); }
    QByteArray saved(TMessungInfo& m, const QString& name = QStringLiteral("m.zolt")) {
        m.FileName = path(name);
        EXPECT_TRUE(m.Save(false));
        return readAll(m.FileName);
    }

    TemporaryProgramFolder program_;
    QTemporaryDir dir_;
};
} // namespace

TEST_F(MessungFile, WritesTheWorkedExamplesByteForByte) {
    ScopedScriptedDialogs d;
    TMessungInfo empty;
    empty.StartTime = 0;
    EXPECT_EQ(saved(empty), QByteArray("ZOLT 1.0") + kEmptyFI + kEmptyMA +
                                hex("4d450000 07000000 0000000000 ffff"));

    TMessungInfo one;
    one.StartTime = 0;
    one.SetChannelCount(1);
    one.SetChannel(0, TKanalInfo{fromWin1252(hex("4b31")), 1, 1});
    ASSERT_TRUE(one.AddRow({0, 215, 1}));
    EXPECT_EQ(saved(one), QByteArray("ZOLT 1.0") + kEmptyFI + kEmptyMA +
                              hex("4d450000 18000000 01 02000000 4b31 0100 01 01000000 00000000 "
                                  "d7000000 a6fe"));
    EXPECT_TRUE(d.calls().empty());
}

TEST_F(MessungFile, RoundTripKeepsEverythingAndMarksRowsMeasured) {
    ScopedScriptedDialogs d;
    TMessungInfo m;
    fillSample(m);
    m.Password = EncodePassword(QStringLiteral("geheim"));
    const QByteArray bytes = saved(m);

    TMessungInfo back;
    ASSERT_TRUE(back.Load(m.FileName));
    expectSameDocument(m, back);
    EXPECT_EQ(back.FileName, m.FileName);
    EXPECT_EQ(back.TimeMax, m.TimeMax);
    EXPECT_EQ(back.ValueMax, m.ValueMax);
    EXPECT_EQ(back.GetMarker(0)->DrawingIndex, -1);
    // What is read is written again unchanged.
    EXPECT_EQ(saved(back, QStringLiteral("again.zolt")), bytes);
    EXPECT_TRUE(d.calls().empty());
}

TEST_F(MessungFile, InterpolationIsOffWhileWritingAndRunsAfterLoading) {
    ScopedScriptedDialogs d;
    TMessungInfo m;
    fillSample(m, 2, 8);
    const auto measured = m.RowTable();
    m.SetInterpolation(true);
    const auto interpolated = m.RowTable();
    ASSERT_GT(interpolated.size(), measured.size());
    saved(m);
    EXPECT_TRUE(m.Interpolated);
    EXPECT_EQ(m.RowTable(), interpolated);

    TMessungInfo plain;
    ASSERT_TRUE(plain.Load(m.FileName));
    EXPECT_EQ(plain.RowTable(), measured);

    TMessungInfo shown;
    shown.Interpolated = true;
    ASSERT_TRUE(shown.Load(m.FileName));
    EXPECT_EQ(shown.RowTable(), interpolated);
}

TEST_F(MessungFile, RecognisesMagicLegacyLayoutAndForeignFiles) {
    TMessungInfo source;
    fillSample(source, 2, 3);
    const QByteArray good = saved(source);
    // The three payloads without headers and checksums, behind a two-byte prefix.
    QByteArray legacy = hex("8a00");
    int pos = 8;
    while (pos < good.size()) {
        const quint32 length = qFromLittleEndian<quint32>(good.constData() + pos + 4);
        legacy += good.mid(pos + 8, length - 2);
        pos += 8 + length;
    }

    struct Case {
        const char* name;
        QByteArray bytes;
        bool result;
        QString message; // caption: text
    };
    const Case cases[] = {
        {"block format", good, true, {}},
        {"other version after ZOLT", QByteArray("ZOLT 9.9") + good.mid(8), true, {}},
        {"legacy layout", legacy, true, {}},
        {"foreign file", QByteArray("PK\x03\x04 something longer"), false,
         QStringLiteral("Info: Die Datei \"%1\" ist keine Zolt-Datendatei!")},
        {"shorter than the magic", QByteArray("ZOL"), false,
         QStringLiteral("Fehler: Fehler beim Lesen der Datei \"%1\".")},
        {"empty", QByteArray(), false,
         QStringLiteral("Fehler: Fehler beim Lesen der Datei \"%1\".")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScopedScriptedDialogs d;
        const QString file = path(QStringLiteral("case.zolt"));
        writeAll(file, c.bytes);
        TMessungInfo m;
        EXPECT_EQ(m.Load(file), c.result);
        if (c.result) {
            expectSameDocument(source, m);
            EXPECT_TRUE(d.calls().empty());
        } else {
            ASSERT_EQ(d.calls().size(), 1u);
            EXPECT_EQ(d.last().caption + QStringLiteral(": ") + d.last().text, c.message.arg(file));
            EXPECT_EQ(d.last().icon,
                      c.message.startsWith("Info") ? Icon::Information : Icon::Error);
            EXPECT_EQ(d.last().owner, Owner::MainWindow);
        }
    }
}

TEST_F(MessungFile, ChecksumMismatchKeepsWhatWasReadAndSucceeds) {
    TMessungInfo source;
    fillSample(source, 2, 3);
    QByteArray bytes = saved(source);
    const qsizetype ma = bytes.indexOf("MA\0\0", 8);
    ASSERT_GT(ma, 0);
    bytes[ma + 8 + 1] = static_cast<char>(bytes[ma + 8 + 1] + 1); // first marker's time
    writeAll(path("bad.zolt"), bytes);

    ScopedScriptedDialogs d;
    TMessungInfo m;
    EXPECT_TRUE(m.Load(path("bad.zolt")));
    ASSERT_EQ(d.calls().size(), 1u);
    EXPECT_EQ(d.last().caption, QStringLiteral("Info"));
    EXPECT_EQ(d.last().text, QStringLiteral("Die Datei \"%1\" ist defekt!").arg(path("bad.zolt")));
    EXPECT_EQ(d.last().icon, Icon::Information);
    EXPECT_EQ(m.Title, source.Title);
    ASSERT_EQ(m.MarkerCount(), 2);
    EXPECT_EQ(m.GetMarker(0)->Time, source.GetMarker(0)->Time + 1);
    EXPECT_EQ(m.ChannelCount(), 0);
    EXPECT_EQ(m.RowCount(), 0);
}

// Cutting a file anywhere never yields a row that was not in it; only a cut between two
// blocks reads as a complete (shorter) file.
TEST_F(MessungFile, TruncatedFilesReportReadErrorsAndInventNothing) {
    TMessungInfo source;
    fillSample(source, 2, 6);
    const QByteArray bytes = saved(source);
    std::vector<int> blockEnds;
    for (int pos = 8; pos < bytes.size();) {
        pos += 8 + qFromLittleEndian<quint32>(bytes.constData() + pos + 4);
        blockEnds.push_back(pos);
    }
    const QString file = path(QStringLiteral("cut.zolt"));
    for (int cut = 0; cut < bytes.size(); ++cut) {
        SCOPED_TRACE(cut);
        writeAll(file, bytes.left(cut));
        ScopedScriptedDialogs d;
        TMessungInfo m;
        const bool atBoundary =
            cut == 8 || std::find(blockEnds.begin(), blockEnds.end(), cut) != blockEnds.end();
        EXPECT_EQ(m.Load(file), atBoundary);
        if (atBoundary) {
            EXPECT_TRUE(d.calls().empty());
        } else {
            ASSERT_EQ(d.calls().size(), 1u);
            EXPECT_EQ(d.last().text,
                      QStringLiteral("Fehler beim Lesen der Datei \"%1\".").arg(file));
        }
        ASSERT_LE(m.RowCount(), source.RowCount());
        for (int r = 0; r < m.RowCount(); ++r)
            EXPECT_EQ(m.GetRow(r), source.GetRow(r));
        for (int i = 0; i < m.MarkerCount(); ++i)
            EXPECT_EQ(m.GetMarker(i)->Text, source.GetMarker(i)->Text);
    }
}

TEST_F(MessungFile, LyingCountsAreCheckedBeforeAnythingIsAllocated) {
    const QByteArray fiPayload = QByteArray(8, 0) + QByteArray(16, 0) + QByteArray(12, 0);
    struct Case {
        const char* name;
        QByteArray bytes;
        int rows;
    };
    const Case cases[] = {
        {"string length", block("FI", QByteArray(8, 0) + hex("f0ffffff") + "abc"), 0},
        {"marker count", block("MA", hex("ff 00000000 01000000") + "x"), 0},
        {"channel count", block("ME", hex("ff 00000000")), 0},
        // Two complete rows of a claimed four billion: the two stay.
        {"row count",
         block("ME", hex("01 00000000 0100 01 ffffffff 00000000 05000000 "
                         "0a000000 06000000")),
         2},
        {"unknown block length", hex("58590000 ffffff7f 0102"), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = path(QStringLiteral("lie.zolt"));
        writeAll(file, QByteArray("ZOLT 1.0") + block("FI", fiPayload) + c.bytes);
        ScopedScriptedDialogs d;
        TMessungInfo m;
        EXPECT_FALSE(m.Load(file));
        ASSERT_EQ(d.calls().size(), 1u);
        EXPECT_EQ(d.last().caption, QStringLiteral("Fehler"));
        EXPECT_EQ(m.RowCount(), c.rows);
        if (c.rows == 2) EXPECT_EQ(m.GetRow(1), (TDataRow{10, 6, 1}));
    }
}

TEST_F(MessungFile, UnknownBlocksAreSkippedAndAnEndMarkStops) {
    TMessungInfo source;
    fillSample(source, 1, 2);
    const QByteArray bytes = saved(source);
    const qsizetype me = bytes.indexOf("ME\0\0", 8);
    const QByteArray extra = block("XY", "newer data");
    QByteArray broken = extra;
    broken[10] = 'N';

    ScopedScriptedDialogs d;
    writeAll(path("newer.zolt"), bytes.left(me) + extra + bytes.mid(me));
    TMessungInfo newer;
    EXPECT_TRUE(newer.Load(path("newer.zolt")));
    expectSameDocument(source, newer);
    EXPECT_TRUE(d.calls().empty());

    writeAll(path("broken.zolt"), bytes.left(me) + broken + bytes.mid(me));
    TMessungInfo defective;
    EXPECT_TRUE(defective.Load(path("broken.zolt")));
    EXPECT_EQ(d.last().text,
              QStringLiteral("Die Datei \"%1\" ist defekt!").arg(path("broken.zolt")));
    EXPECT_EQ(defective.ChannelCount(), 0);
    d.clear();

    writeAll(path("ended.zolt"), bytes.left(me) + hex("ffff") + bytes.mid(me));
    TMessungInfo ended;
    EXPECT_TRUE(ended.Load(path("ended.zolt")));
    EXPECT_EQ(ended.MarkerCount(), source.MarkerCount());
    EXPECT_EQ(ended.ChannelCount(), 0);
    EXPECT_TRUE(d.calls().empty());
}

TEST_F(MessungFile, SaveDialogChoosesNameAndExtension) {
    const QString zoltFilter =
        QStringLiteral("Zolt-Dateien (*.zolt);;Referenz-Dateien (*.mref);;Textdatei (*.txt)");
    struct Case {
        QString chosen;
        int filterIndex;
        QString fileName;
        bool text;
    };
    const Case cases[] = {
        {path("a"), 0, path("a.zolt"), false},    {path("b"), 1, path("b.mref"), false},
        {path("c"), 2, path("c.txt"), true},      {path("d.txt"), 0, path("d.txt"), true},
        {path("e.TXT"), 2, path("e.TXT"), false}, // the text rule is case-sensitive
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fileName.toStdString());
        ScopedScriptedDialogs d;
        d.file(c.chosen, c.filterIndex);
        TMessungInfo m;
        fillSample(m, 1, 2);
        m.FileName = path("old.zolt");
        EXPECT_TRUE(m.Save(true));
        ASSERT_EQ(d.calls().size(), 1u);
        EXPECT_EQ(d.last().kind, ScriptedDialogs::Kind::SaveFile);
        EXPECT_EQ(d.last().text, zoltFilter);
        EXPECT_EQ(m.FileName, c.fileName);
        EXPECT_EQ(readAll(c.fileName).startsWith("[Messungsinfo]"), c.text);
        EXPECT_EQ(readAll(c.fileName).startsWith("ZOLT 1.0"), !c.text);
    }

    // Without a name the dialog comes up as well; cancelling writes nothing.
    ScopedScriptedDialogs d;
    d.cancelFile();
    TMessungInfo unnamed;
    EXPECT_FALSE(unnamed.Save(false));
    EXPECT_TRUE(unnamed.FileName.isEmpty());
}

TEST_F(MessungFile, OpenDialogAppearsForMissingFilesWithTheGivenFilter) {
    TMessungInfo source;
    fillSample(source, 1, 2);
    saved(source, QStringLiteral("there.zolt"));
    {
        ScopedScriptedDialogs d;
        d.file(path("there.zolt"));
        TMessungInfo m;
        EXPECT_TRUE(m.Load(path("missing.zolt")));
        EXPECT_EQ(d.last().kind, ScriptedDialogs::Kind::OpenFile);
        EXPECT_EQ(d.last().text, QStringLiteral("Zolt-Dateien (*.zolt);;Alle Dateien (*.*)"));
        EXPECT_EQ(m.FileName, path("there.zolt"));
        EXPECT_EQ(m.RowCount(), 2);
    }
    ScopedScriptedDialogs d;
    d.cancelFile();
    TMessungInfo m;
    EXPECT_FALSE(m.Load(QString(), QStringLiteral("Alles|*.*")));
    EXPECT_EQ(d.last().text, QStringLiteral("Alles (*.*)"));
}

TEST_F(MessungFile, UncreatableFileGivesTheAccessMessage) {
    ScopedScriptedDialogs d;
    TMessungInfo m;
    m.FileName = path("no/such/folder/m.zolt");
    EXPECT_FALSE(m.Save(false));
    ASSERT_EQ(d.calls().size(), 1u);
    EXPECT_EQ(
        d.last().text,
        QStringLiteral("Auf die Datei \"%1\" kann nicht zugegriffen werden!").arg(m.FileName));
    EXPECT_EQ(d.last().icon, Icon::Error);
}

TEST_F(MessungFile, UnprotectedMeasurementTakesTheMasterPassword) {
    ScopedScriptedDialogs d;
    MemorySettingsBackend store;
    TGlobalVars settings(store);
    const QByteArray master = EncodePassword(QStringLiteral("chef"));
    settings.SetMasterPW(master);

    TMessungInfo noSettings;
    saved(noSettings, QStringLiteral("a.zolt"));
    EXPECT_TRUE(noSettings.Password.isEmpty());

    ActiveGlobalVarsScope active(settings);
    TMessungInfo open, own;
    own.Password = EncodePassword(QStringLiteral("eigen"));
    saved(open, QStringLiteral("b.zolt"));
    saved(own, QStringLiteral("c.zolt"));
    EXPECT_EQ(open.Password, master);
    EXPECT_EQ(own.Password, EncodePassword(QStringLiteral("eigen")));
    TMessungInfo back;
    ASSERT_TRUE(back.Load(path("b.zolt")));
    EXPECT_EQ(back.Password, master);
}

namespace {
// A tiny tmpfs, mounted for the test, so writes really run out of space.
class TinyFileSystem {
public:
    explicit TinyFileSystem(const QString& where) : path_(where) {
        QDir().mkpath(where);
        mounted_ = geteuid() == 0 &&
                   ::mount("tmpfs", where.toLocal8Bit().constData(), "tmpfs", 0, "size=128k") == 0;
    }
    ~TinyFileSystem() {
        if (mounted_) ::umount(path_.toLocal8Bit().constData());
    }
    bool mounted() const { return mounted_; }

private:
    QString path_;
    bool mounted_ = false;
};
} // namespace

TEST_F(MessungFile, FullDiskLeavesTheOldFileExactlyAsItWas) {
    TinyFileSystem fs(path("tiny"));
    if (!fs.mounted()) GTEST_SKIP() << "mounting a tmpfs needs root";
    for (const QString name : {QStringLiteral("m.zolt"), QStringLiteral("m.txt")}) {
        SCOPED_TRACE(name.toStdString());
        TMessungInfo m;
        fillSample(m, 2, 10);
        const QString file = path("tiny/" + name);
        m.FileName = file;
        {
            ScopedScriptedDialogs d;
            ASSERT_TRUE(m.Save(false));
        }
        const QByteArray before = readAll(file);
        ASSERT_FALSE(before.isEmpty());

        fillSample(m, 2, 20000); // far more than the file system holds
        ScopedScriptedDialogs d;
        EXPECT_FALSE(m.Save(false));
        ASSERT_EQ(d.calls().size(), 1u);
        EXPECT_EQ(d.last().caption, QStringLiteral("Fehler"));
        EXPECT_EQ(d.last().text,
                  QStringLiteral("Fehler beim Schreiben der Datei \"%1\".").arg(file));
        EXPECT_EQ(readAll(file), before);
        QFile::remove(file);
        EXPECT_TRUE(QDir(path("tiny")).entryList(QDir::Files | QDir::Hidden).isEmpty())
            << "no temporary file is left behind";
    }
}
