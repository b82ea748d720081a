#include "model/referenz_info.h"
#include "support/qt_printers.h"
#include "support/scripted_dialogs.h"
#include "support/test_env.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
QString savedMeasurement(const QTemporaryDir& dir, int channels, const QString& name) {
    ScopedScriptedDialogs d;
    TMessungInfo m;
    m.SetChannelCount(channels);
    for (int c = 0; c < channels; ++c)
        m.SetChannel(c, TKanalInfo{QStringLiteral("K%1").arg(c), static_cast<quint16>(c + 4), 1});
    TDataRow row(channels + 2, 1);
    row[0] = 100;
    m.AddRow(row);
    m.FileName = dir.filePath(name);
    EXPECT_TRUE(m.Save(false));
    return m.FileName;
}
} // namespace

TEST(ReferenzInfo, StartsWithItsThreeChannels) {
    TReferenzInfo r;
    ASSERT_EQ(r.ChannelCount(), 3);
    const char* names[] = {"Referenzkurve", "Delta positiv", "Delta negativ"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(r.GetChannel(i)->Name, QString::fromUtf8(names[i]));
        EXPECT_EQ(r.GetChannel(i)->DeviceChannel, i + 1);
    }
    EXPECT_EQ(r.RowCount(), 0);
}

TEST(ReferenzInfo, LoadsOnlyThreeChannelFiles) {
    TemporaryProgramFolder program;
    QTemporaryDir dir;
    const QString three = savedMeasurement(dir, 3, QStringLiteral("three.zolt"));
    const QString four = savedMeasurement(dir, 4, QStringLiteral("four.zolt"));

    ScopedScriptedDialogs d;
    TReferenzInfo ok;
    EXPECT_TRUE(ok.Load(three));
    EXPECT_EQ(ok.GetChannel(2)->Name, QStringLiteral("K2")) << "the file's names stay";
    EXPECT_EQ(ok.RowCount(), 1);
    EXPECT_TRUE(d.calls().empty());

    TReferenzInfo wrong;
    EXPECT_FALSE(wrong.Load(four));
    ASSERT_EQ(d.calls().size(), 1u);
    EXPECT_EQ(d.last().caption, QStringLiteral("Fehler"));
    EXPECT_EQ(d.last().text,
              QStringLiteral("Die geladene Kurve kann nicht als Referenzkurve verwendet werden!"));
    EXPECT_EQ(d.last().icon, Dialogs::Icon::Warning);
    EXPECT_EQ(wrong.ChannelCount(), 0);
    EXPECT_EQ(wrong.RowCount(), 0);
    EXPECT_TRUE(wrong.FileName.isEmpty());

    // Whatever filter the caller gives, the open dialog offers references.
    d.clear();
    d.cancelFile();
    TReferenzInfo missing;
    EXPECT_FALSE(missing.Load(dir.filePath("none.mref"), TMessungInfo::MeasurementFilter()));
    EXPECT_EQ(d.last().text, QStringLiteral("Referenz-Dateien (*.mref);;Alle Dateien (*.*)"));
}

TEST(ReferenzInfo, BuildsFromAChannelWithoutWideningRanges) {
    TMessungInfo source;
    source.SetChannelCount(2);
    source.SetChannel(1, TKanalInfo{QStringLiteral("B"), 7, 1});
    ASSERT_TRUE(source.AddRow({0, 999, 200, 1}));
    ASSERT_TRUE(source.AddRow({500, 999, 215, 1}));
    ASSERT_TRUE(source.AddRow({20000, 999, 230, 0})); // interpolated rows count as measured

    TReferenzInfo r;
    ASSERT_TRUE(TReferenzInfo::BuildFromChannel(r, 1, source, 15));
    EXPECT_EQ(r.GetChannel(0)->DeviceChannel, 7);
    ASSERT_EQ(r.RowCount(), 3);
    EXPECT_EQ(r.GetRow(0), (TDataRow{0, 200, 15, 15, 1}));
    EXPECT_EQ(r.GetRow(1), (TDataRow{500, 215, 15, 15, 1}));
    EXPECT_EQ(r.GetRow(2), (TDataRow{20000, 230, 15, 15, 1}));
    EXPECT_EQ(r.TimeMax, 10000u);
    EXPECT_EQ(r.ValueMax, 100u);

    EXPECT_FALSE(TReferenzInfo::BuildFromChannel(r, 2, source, 15));
    EXPECT_EQ(r.RowCount(), 3);
}

TEST(ReferenzInfo, SavesThreeChannelsAndFourValuesPerRow) {
    TemporaryProgramFolder program;
    QTemporaryDir dir;
    ScopedScriptedDialogs d;
    TReferenzInfo r;
    r.AddRow({0, 200, 15, 10, 1});
    r.FileName = dir.filePath("r.mref");
    ASSERT_TRUE(r.Save(false));
    QFile f(r.FileName);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    const QByteArray tail = QByteArray::fromHex("01000000 00000000 c8000000 0f000000 0a000000");
    const qsizetype me = bytes.indexOf("ME\0\0");
    ASSERT_GT(me, 0);
    EXPECT_EQ(bytes[me + 8], 3);
    EXPECT_EQ(bytes.mid(bytes.size() - 2 - tail.size(), tail.size()), tail);
}
