#include "model/messung_info.h"
#include "model/spline.h"
#include "settings/global_unit.h"
#include "support/qt_printers.h"
#include "support/scripted_dialogs.h"

#include <gtest/gtest.h>

#include <random>

namespace {
using Answer = Dialogs::Answer;

TDataRow row(std::initializer_list<quint32> values) {
    return TDataRow(values);
}

// A measurement with `channels` channels and one measured row per (time, value) pair;
// every channel holds the same value.
void fill(TMessungInfo& m, int channels, const std::vector<std::pair<quint32, quint32>>& samples) {
    m.SetChannelCount(channels);
    for (const auto& [t, v] : samples) {
        TDataRow r(channels + 2, v);
        r[0] = t;
        r[channels + 1] = 1;
        ASSERT_TRUE(m.AddRow(r));
    }
}

std::vector<quint32> times(const TMessungInfo& m) {
    std::vector<quint32> out;
    for (int r = 0; r < m.RowCount(); ++r)
        out.push_back(m.GetTime(r));
    return out;
}
} // namespace

TEST(MessungInfo, RangesWidenWithRowsAndResetOnClear) {
    TMessungInfo m;
    EXPECT_EQ(m.ValueMax, 100u);
    EXPECT_EQ(m.TimeMax, 10000u);
    EXPECT_EQ(m.ValueMin, 0u);
    EXPECT_EQ(m.TimeMin, 0u);
    m.SetChannelCount(2);
    EXPECT_FALSE(m.AddRow(row({25000, 230, 40})));       // one entry short
    EXPECT_FALSE(m.AddRow(row({25000, 230, 40, 1, 1}))); // one too many
    EXPECT_EQ(m.RowCount(), 0);
    EXPECT_TRUE(m.AddRow(row({25000, 230, 40, 1})));
    EXPECT_EQ(m.TimeMax, 25000u);
    EXPECT_EQ(m.ValueMax, 230u);
    m.DeleteRow(0);
    EXPECT_EQ(m.ValueMax, 230u) << "deleting rows never narrows the ranges";
    m.ClearRows();
    EXPECT_EQ(m.ValueMax, 100u);
    EXPECT_EQ(m.TimeMax, 10000u);
}

TEST(MessungInfo, RowEditingKeepsTheTableConsistent) {
    TMessungInfo m;
    fill(m, 2, {{0, 10}, {100, 20}, {200, 30}});
    EXPECT_TRUE(m.InsertRow(1, row({50, 15, 16, 1})));
    EXPECT_EQ(times(m), (std::vector<quint32>{0, 50, 100, 200}));
    EXPECT_FALSE(m.InsertRow(4, row({300, 1, 1, 1}))) << "only before an existing row";
    EXPECT_EQ(m.GetValue(1, 1), 16u);
    m.DeleteRow(9); // ignored
    m.DeleteRow(0);
    EXPECT_EQ(times(m), (std::vector<quint32>{50, 100, 200}));
    EXPECT_TRUE(m.GetRow(3).empty());
    EXPECT_EQ(m.GetTime(-1), 0u);
    EXPECT_EQ(m.GetRow(2), row({200, 30, 30, 1}));
}

TEST(MessungInfo, SetRowAsksBeforeBreakingTheTimeOrder) {
    ScopedScriptedDialogs d;
    TMessungInfo m;
    fill(m, 1, {{0, 1}, {100, 2}, {200, 3}});

    // Row 0 with time 0: "prev" counts as 0, so even this asks.
    d.answer(Answer::No);
    EXPECT_FALSE(m.SetRow(0, row({0, 9, 1}), true));
    ASSERT_EQ(d.calls().size(), 1u);
    EXPECT_EQ(d.last().caption, "Bestätigen");
    EXPECT_EQ(d.last().text, "Der angegebene Zeitwert führt zu einer diskontinuierlichen "
                             "Messung.\nWollen Sie die Werte dennoch übernehmen?");
    EXPECT_EQ(d.last().buttons, Dialogs::Buttons::YesNo);
    EXPECT_EQ(d.last().defaultAnswer, Answer::No);
    EXPECT_EQ(d.last().icon, Dialogs::Icon::Question);
    EXPECT_EQ(m.GetValue(0, 0), 1u);

    d.answer(Answer::Yes);
    EXPECT_TRUE(m.SetRow(0, row({0, 9, 1}), true));
    EXPECT_EQ(m.GetValue(0, 0), 9u);

    // The last row takes any later time without a question.
    EXPECT_TRUE(m.SetRow(2, row({0xFFFFFFFEu, 4, 1}), true));
    EXPECT_EQ(m.TimeMax, 0xFFFFFFFEu);
    // Unchecked: no question at all.
    EXPECT_TRUE(m.SetRow(1, row({5000, 4, 1}), false));
    EXPECT_FALSE(m.SetRow(3, row({1, 1, 1}), false));
    EXPECT_EQ(d.calls().size(), 2u);
}

TEST(MessungInfo, ChannelCountChangesResizeEveryRow) {
    ScopedScriptedDialogs d;
    TMessungInfo m;
    m.SetChannelCount(4);
    EXPECT_TRUE(m.AddRow(row({0, 1, 2, 3, 4, 1})));
    EXPECT_TRUE(m.AddRow(row({10, 5, 6, 7, 8, 1})));

    d.answer(Answer::No);
    m.SetChannelCount(2);
    EXPECT_EQ(m.ChannelCount(), 4);
    EXPECT_EQ(d.last().text, "Achtung: Die Anzahl der Messkanäle soll verringert werden.\n"
                             "Dabei können vorhandene Messdaten verloren gehen.\n"
                             "Wollen Sie dennoch fortfahren?");
    EXPECT_EQ(d.last().defaultAnswer, Answer::Yes);

    d.answer(Answer::Yes);
    m.SetChannelCount(2);
    EXPECT_EQ(m.ChannelCount(), 2);
    EXPECT_EQ(m.GetRow(1), row({10, 5, 6, 1}));

    m.SetChannelCount(3); // growing asks nothing
    EXPECT_EQ(m.GetRow(0), row({0, 1, 2, 0, 1}));
    EXPECT_EQ(m.GetChannel(2)->Name, "Unbekannt");
    EXPECT_EQ(m.GetChannel(2)->DeviceChannel, 0xFFFF);

    m.SetChannelCount(256); // the file holds at most 255 channels
    EXPECT_EQ(m.ChannelCount(), 3);
    m.SetChannelCount(255);
    EXPECT_EQ(m.ChannelCount(), 255);
    EXPECT_EQ(m.GetRow(1).size(), 257u);
    EXPECT_EQ(d.calls().size(), 2u);
}

TEST(MessungInfo, DeleteChannelRemovesItsColumn) {
    TMessungInfo m;
    m.SetChannelCount(3);
    for (int i = 0; i < 3; ++i)
        m.GetChannel(i)->Name = QString("K%1").arg(i);
    EXPECT_TRUE(m.AddRow(row({0, 1, 2, 3, 1})));
    m.DeleteChannel(3); // ignored
    m.DeleteChannel(1);
    EXPECT_EQ(m.GetRow(0), row({0, 1, 3, 1}));
    EXPECT_EQ(m.GetChannel(1)->Name, "K2");

    // Without rows the chosen channel goes, not just the last one.
    TMessungInfo empty;
    empty.SetChannelCount(3);
    for (int i = 0; i < 3; ++i)
        empty.GetChannel(i)->Name = QString("K%1").arg(i);
    empty.DeleteChannel(0);
    ASSERT_EQ(empty.ChannelCount(), 2);
    EXPECT_EQ(empty.GetChannel(0)->Name, "K1");
}

TEST(MessungInfo, MarkersMoveAndAreLimited) {
    TMessungInfo m;
    for (const char* t : {"A", "B", "C"})
        m.AddMarker(0, QString::fromLatin1(t));
    m.GetMarker(0)->DrawingIndex = 7;
    auto texts = [&] {
        QString s;
        for (int i = 0; i < m.MarkerCount(); ++i)
            s += m.GetMarker(i)->Text;
        return s;
    };
    m.MoveMarker(0, 2);
    EXPECT_EQ(texts(), "BCA");
    EXPECT_EQ(m.GetMarker(0)->DrawingIndex, 7) << "slots keep their drawing";
    m.MoveMarker(5, 0); // clamped: last to front
    EXPECT_EQ(texts(), "ABC");
    m.MoveMarker(1, 1);
    EXPECT_EQ(texts(), "ABC");
    m.DeleteMarker(1);
    m.DeleteMarker(7);
    EXPECT_EQ(texts(), "AC");
    EXPECT_EQ(m.GetMarker(2), nullptr);

    m.SetMarkerCount(255);
    EXPECT_EQ(m.GetMarker(254)->Time, 0);
    EXPECT_EQ(m.AddMarker(1, "too many"), -1);
    EXPECT_EQ(m.MarkerCount(), 255);
    m.SetMarkerCount(1);
    EXPECT_EQ(texts(), "A");
}

TEST(MessungInfo, ValueAtInterpolatesLinearly) {
    TMessungInfo m;
    m.SetChannelCount(1);
    EXPECT_EQ(m.ValueAt(0, 1.0), 0) << "no rows";
    ASSERT_TRUE(m.AddRow(row({1000, 200, 1})));
    ASSERT_TRUE(m.AddRow(row({2000, 300, 1})));
    ASSERT_TRUE(m.AddRow(row({4000, 100, 1})));
    struct Case {
        double seconds;
        qint32 value;
    } cases[] = {
        {0.999, 0},    {1.0, 200}, {1.25, 225}, {2.0, 300},    {3.0, 200},
        {3.9996, 100}, {4.0, 100}, {4.001, 0},  {1.0004, 200},
    };
    for (const Case& c : cases)
        EXPECT_EQ(m.ValueAt(0, c.seconds), c.value) << c.seconds;
}

TEST(MessungInfo, ProtectedFieldsAskForThePassword) {
    ScopedScriptedDialogs d;
    TMessungInfo m;
    m.SetInfoField(4, "geheim");
    EXPECT_EQ(m.Password, EncodePassword("geheim"));
    EXPECT_TRUE(d.calls().empty()) << "an unprotected measurement asks nothing";

    d.cancelInput();
    m.SetInfoField(1, "Neu");
    EXPECT_TRUE(m.Title.isEmpty());
    ASSERT_EQ(d.calls().size(), 1u);
    EXPECT_EQ(d.last().caption, "Passwort eingeben");
    EXPECT_EQ(d.last().text, "Bitte geben Sie das gültige Passwort an, um den Wert für "
                             "\"Messungsname\" zu übernehmen:");
    EXPECT_TRUE(d.last().proposed.isEmpty());

    d.text("falsch").text("geheim");
    m.SetInfoField(2, "Anna");
    EXPECT_EQ(m.User, "Anna");
    EXPECT_EQ(d.calls().size(), 3u) << "a wrong password asks again";
    EXPECT_TRUE(d.last().text.contains("\"Benutzername\""));

    d.text("geheim");
    m.SetInfoField(4, "");
    EXPECT_TRUE(m.Password.isEmpty());
    m.SetInfoField(3, "frei");
    EXPECT_EQ(m.Description, "frei");
    EXPECT_EQ(d.calls().size(), 4u);
}

TEST(EncodePassword, MatchesTheWorkedExamples) {
    EXPECT_EQ(EncodePassword(""), QByteArray());
    EXPECT_EQ(EncodePassword("abc"), QByteArray::fromHex("61FF21FF21"));
    EXPECT_EQ(EncodePassword("cba"), QByteArray::fromHex("632121"));
    // Works on the Windows-1252 bytes: "ä" is 0xE4, so "aä" falls by 0x83.
    EXPECT_EQ(EncodePassword(QString::fromUtf8("aä")), QByteArray::fromHex("61FFA3"));
}

TEST(MessungInfo, AssignCopiesDocumentButNotDescriptionPasswordOrMarkers) {
    TMessungInfo src;
    fill(src, 2, {{0, 300}, {100, 310}});
    src.Title = "T";
    src.User = "U";
    src.Description = "D";
    src.Password = "x";
    src.FileName = "/tmp/a.zolt";
    src.StartTime = 45000.5;
    src.GetChannel(1)->Name = "Ofen";
    src.AddMarker(5, "M");

    TMessungInfo dst;
    dst.Assign(src);
    EXPECT_EQ(dst.Title, "T");
    EXPECT_EQ(dst.User, "U");
    EXPECT_EQ(dst.FileName, "/tmp/a.zolt");
    EXPECT_EQ(dst.StartTime, 45000.5);
    EXPECT_TRUE(dst.Description.isEmpty());
    EXPECT_TRUE(dst.Password.isEmpty());
    EXPECT_EQ(dst.MarkerCount(), 0);
    EXPECT_EQ(dst.GetChannel(1)->Name, "Ofen");
    EXPECT_EQ(dst.RowTable(), src.RowTable());
    EXPECT_EQ(dst.ValueMax, 310u);
}
