#include "views/messung_frame.h"

#include "model/messung_info.h"
#include "model/referenz_info.h"
#include "platform/settings_backend.h"
#include "settings/global_unit.h"
#include "settings/global_vars.h"
#include "support/qt_printers.h"
#include "support/scripted_dialogs.h"
#include "support/test_env.h"
#include "views/value_list_model.h"

#include <qcustomplot.h>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QListWidget>
#include <QSlider>
#include <QTableView>

#include <gtest/gtest.h>

namespace {
using Answer = Dialogs::Answer;

class TestHost : public MessungHost {
public:
    TestHost() : settings_(store_) {
        for (const char* name : {"actMeasurementStart", "actMeasurementStop", "actMeasurementPrepare",
                                 "actMeasurementClear", "actMeasurementOpen", "actMeasurementSave",
                                 "actMeasurementSaveAs"}) {
            auto* a = new QAction(QString::fromLatin1(name), &owner_);
            a->setObjectName(QString::fromLatin1(name));
            actions_.insert(a->objectName(), a);
        }
    }
    QAction* action(const QString& name) const override { return actions_.value(name); }
    TGlobalVars& settings() override { return settings_; }
    TReferenzInfo* NewReferenceDocument() override {
        ++referencePages;
        return &extracted;
    }
    void ReferenceDocumentFilled() override {}
    TReferenzInfo extracted;
    int referencePages = 0;

private:
    QObject owner_;
    QHash<QString, QAction*> actions_;
    MemorySettingsBackend store_;
    TGlobalVars settings_;
};

class FrameTest : public ::testing::Test {
protected:
    FrameTest() : german(germanLocale()), frame(host) {
        frame.resize(900, 600);
        TMessungInfo& m = frame.Measurement();
        m.SetChannelCount(2);
        m.GetChannel(0)->Name = "Kanal 1";
        m.GetChannel(0)->DeviceChannel = 1;
        m.GetChannel(1)->Name = "Kanal 3";
        m.GetChannel(1)->DeviceChannel = 2;
        frame.BuildChannelViews();
    }
    QCPRange timeAxis() const { return frame.chart()->xAxis->range(); }

    LocaleScope german;
    TestHost host;
    TMessungFrame frame;
};
} // namespace

TEST_F(FrameTest, TimeWindowFollowsARunningMeasurement) {
    EXPECT_EQ(frame.timeWindowLabel()->text(), "Zeitfenster: [10,00 s]");
    frame.HandleDataRow({9000, 215, 230});
    EXPECT_DOUBLE_EQ(timeAxis().lower, 0);
    EXPECT_DOUBLE_EQ(timeAxis().upper, 10);
    frame.HandleDataRow({12500, 216, 231});
    EXPECT_DOUBLE_EQ(timeAxis().lower, 2.5);
    EXPECT_DOUBLE_EQ(timeAxis().upper, 12.5);
    EXPECT_DOUBLE_EQ(frame.windowStart(), 2.5);

    // Rows reached the measurement, the value list and the chart, mapped by device channel.
    EXPECT_EQ(frame.Measurement().GetRow(1), (TDataRow{12500, 216, 231, 1}));
    EXPECT_EQ(frame.valueModel()->rowCount(), 2);
    EXPECT_EQ(frame.series(1)->data()->size(), 2);
    EXPECT_DOUBLE_EQ((frame.series(1)->data()->constEnd() - 1)->value, 23.1);
    const QModelIndex cell = frame.valueModel()->index(1, 2);
    EXPECT_EQ(cell.data().toString(), "23,10 °C");
    EXPECT_EQ(frame.valueModel()->index(1, 0).data().toString(), "12,50 s");
}

TEST_F(FrameTest, ZoomSetsTheWindowAndItsLabel) {
    frame.chart()->xAxis->setRange(1.0, 4.5);
    frame.SetTimeWindow(3500); // what a rectangle zoom passes on
    EXPECT_EQ(frame.timeWindowMs(), 3500);
    EXPECT_EQ(frame.timeWindowLabel()->text(), "Zeitfenster: [3,50 s]");

    // With automatic scaling on, the track bar switches it off and shows the new span.
    frame.HandleDataRow({0, 200, 200});
    frame.HandleDataRow({60000, 300, 300});
    frame.SetAutoScale(true);
    EXPECT_DOUBLE_EQ(timeAxis().upper, 60);
    frame.timeWindowBar()->setValue(20000);
    EXPECT_FALSE(frame.autoScale());
    EXPECT_DOUBLE_EQ(timeAxis().upper - timeAxis().lower, 20);
    EXPECT_DOUBLE_EQ(timeAxis().lower, frame.windowStart());
}

TEST_F(FrameTest, ShowWholeMeasurementFitsTheStoredRanges) {
    frame.HandleDataRow({0, 200, 150});
    frame.HandleDataRow({400000, 310, 120});
    frame.ShowWholeMeasurement();
    EXPECT_DOUBLE_EQ(timeAxis().lower, 0);
    EXPECT_DOUBLE_EQ(timeAxis().upper, 400);
    EXPECT_DOUBLE_EQ(frame.chart()->yAxis->range().upper, 31);
    EXPECT_EQ(frame.timeWindowMs(), 400000) << "the real span, beyond the bar's range";
    EXPECT_EQ(frame.timeWindowBar()->value(), 300000);
}

TEST_F(FrameTest, RenamingAColumnRenamesChannelItemAndSeries) {
    ScopedScriptedDialogs d;
    d.text("Ofen oben");
    frame.RenameColumn(2);
    EXPECT_EQ(d.last().caption, "Umbennen");
    EXPECT_EQ(d.last().text, "Geben Sie den neuen Kanal-Namen ein:");
    EXPECT_EQ(d.last().proposed, "Kanal 3");
    EXPECT_EQ(frame.Measurement().GetChannel(1)->Name, "Ofen oben");
    EXPECT_EQ(frame.curveList()->item(1)->text(), "Ofen oben");
    EXPECT_EQ(frame.series(1)->name(), "Ofen oben");
    EXPECT_EQ(frame.valueModel()->headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(), "Ofen oben");

    // The curve list no longer holds the channel's name: only the channel is renamed.
    frame.curveList()->item(0)->setText("anders");
    d.text("Boden");
    frame.RenameColumn(1);
    EXPECT_EQ(frame.Measurement().GetChannel(0)->Name, "Boden");
    EXPECT_EQ(frame.series(0)->name(), "Kanal 1");

    frame.RenameColumn(0); // the time column asks nothing
}

TEST_F(FrameTest, DeletingAChannelOfAProtectedMeasurementNeedsItsPassword) {
    ScopedScriptedDialogs d;
    frame.HandleDataRow({0, 200, 150});
    frame.Measurement().Password = EncodePassword("pw");
    frame.curveList()->setCurrentRow(0);

    d.answer(Answer::Yes).cancelInput();
    frame.DeleteSelectedSeries();
    EXPECT_EQ(frame.Measurement().ChannelCount(), 2);
    EXPECT_EQ(d.calls()[0].text, "Wollen Sie die markierte Messreihe wirklich löschen?");
    EXPECT_EQ(d.calls()[0].defaultAnswer, Answer::No);
    EXPECT_EQ(d.calls()[1].text, "Bitte geben Sie das gültige Passwort ein:");

    d.answer(Answer::Yes).text("falsch").text("pw");
    frame.DeleteSelectedSeries();
    EXPECT_EQ(frame.Measurement().ChannelCount(), 1);
    EXPECT_EQ(frame.Measurement().GetChannel(0)->Name, "Kanal 3");
    EXPECT_EQ(frame.curveList()->count(), 1);
    EXPECT_EQ(frame.series(0)->data()->size(), 1);
    EXPECT_DOUBLE_EQ(frame.series(0)->data()->constBegin()->value, 15.0);
}

TEST_F(FrameTest, InterpolatedRowsAreGreyInTheValueList) {
    for (quint32 i = 0; i < 6; ++i) frame.HandleDataRow({i * 600, 200 + i, 100});
    frame.Measurement().SetInterpolation(true);
    frame.RefreshFromMeasurement(false);
    EXPECT_EQ(frame.valueModel()->rowCount(), 31);
    EXPECT_EQ(frame.valueModel()->index(0, 1).data(Qt::ForegroundRole).value<QBrush>().color(),
              QColor(Qt::black));
    EXPECT_EQ(frame.valueModel()->index(1, 1).data(Qt::ForegroundRole).value<QBrush>().color(),
              QColor(0x80, 0x80, 0x80));
    EXPECT_EQ(frame.series(0)->data()->size(), 31);
}

TEST_F(FrameTest, ReferenceBandIsDrawnAroundTheReference) {
    TReferenzInfo& ref = frame.Reference();
    ASSERT_TRUE(ref.AddRow({1000, 200, 15, 10, 1}));
    ASSERT_TRUE(ref.AddRow({2000, 210, 15, 10, 1}));
    frame.ShowReference(true);
    QCPGraph* upper = frame.seriesByName("RefUpperSeries");
    QCPGraph* lower = frame.seriesByName("RefLowerSeries");
    ASSERT_TRUE(upper && lower);
    EXPECT_TRUE(upper->visible());
    EXPECT_DOUBLE_EQ(upper->data()->constBegin()->value, 21.5);
    EXPECT_DOUBLE_EQ(lower->data()->constBegin()->value, 19.0);
    EXPECT_DOUBLE_EQ(upper->data()->constBegin()->key, 1.0);
    frame.ShowReference(false);
    EXPECT_FALSE(upper->visible());
}

TEST_F(FrameTest, ShowingAMissingReferenceAsksForOneAndGivesUpOnCancel) {
    ScopedScriptedDialogs d;
    d.cancelFile();
    frame.ShowReference(true);
    EXPECT_FALSE(frame.referenceShown());
    ASSERT_EQ(d.calls().size(), 1u);
    EXPECT_TRUE(d.last().text.contains("*.mref"));
}

TEST_F(FrameTest, ExtractionBuildsAReferenceWithTheRoundedTolerance) {
    for (quint32 i = 0; i < 1000; ++i) frame.HandleDataRow({i * 500, 200 + i % 7, 300});
    struct Case {
        const char* text;
        quint32 tenths;
    } cases[] = {{"2,5", 25}, {"0,25", 2}, {"0,35", 4}};
    for (const Case& c : cases) {
        frame.SetExtractDialog([&](const QStringList& names) {
            EXPECT_EQ(names, (QStringList{"Kanal 1", "Kanal 3"}));
            return std::optional<std::pair<int, QString>>({1, QString::fromLatin1(c.text)});
        });
        frame.ExtractReference();
        TReferenzInfo& ref = host.extracted;
        ASSERT_EQ(ref.RowCount(), 1000) << c.text;
        EXPECT_EQ(ref.GetRow(999), (TDataRow{999 * 500, 300, c.tenths, c.tenths, 1})) << c.text;
    }

    ScopedScriptedDialogs d;
    TestHost emptyHost;
    TMessungFrame empty(emptyHost);
    empty.ExtractReference();
    EXPECT_EQ(d.last().text, "Die Messung enthält keine Kanäle, die als Referenz extrahiert werden können.");
    EXPECT_EQ(emptyHost.referencePages, 0);
}

TEST_F(FrameTest, InfoPageProtectsAndCommitsThroughThePasswordGate) {
    ScopedScriptedDialogs d;
    auto* protect = frame.findChild<QPushButton*>("btnPassword");
    ASSERT_NE(protect, nullptr);
    d.text("geheim");
    protect->click();
    EXPECT_EQ(d.last().text, "Bitte geben Sie ein neues Passwort für die Messung ein:");
    EXPECT_EQ(frame.Measurement().Password, EncodePassword("geheim"));

    // A changed name now wants the password; cancelling keeps the old title.
    frame.findChild<QLineEdit*>("edtName")->setText("Neu");
    d.cancelInput();
    frame.CommitInfoFields();
    EXPECT_TRUE(frame.Measurement().Title.isEmpty());
    d.text("geheim");
    frame.CommitInfoFields();
    EXPECT_EQ(frame.Measurement().Title, "Neu");
}
