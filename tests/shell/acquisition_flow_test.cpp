// A user's way through the program with the simulated loggers: start, watch rows arrive,
// stop, save, close, open again; read the memory of the 318.14 and of the serial model.
#include "shell/main_form.h"

#include "devices/acquisition.h"
#include "devices/usb_zolt.h"
#include "model/messung_info.h"
#include "platform/settings_backend.h"
#include "settings/global_vars.h"
#include "support/qt_printers.h"
#include "support/scripted_dialogs.h"
#include "support/test_env.h"
#include "views/value_list_model.h"

#include <qcustomplot.h>

#include <QAction>
#include <QFileInfo>
#include <QProcess>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace {
class FlowTest : public ::testing::Test {
protected:
    void SetUp() override {
        qputenv("ZOLT3_TRANSPORT", "sim");
        qputenv("ZOLT3_SIM_CHANNELS", "0x13"); // slots 1, 2 and 5
        qputenv("ZOLT3_SIM_RECORDS", "40");
        qputenv("ZOLT3_SIM_INTERVAL", "4");
        TUSBZolt::SetDelays({0, 0, 0});
        TMainForm::Options o;
        o.settingsStore = &store;
        o.chooseLanguage = [] { return std::optional<int>(7); };
        form = std::make_unique<TMainForm>(o);
        form->Start({});
    }
    void TearDown() override {
        form.reset();
        TUSBZolt::SetDelays({});
        for (const char* v : {"ZOLT3_TRANSPORT", "ZOLT3_SIM_CHANNELS", "ZOLT3_SIM_RECORDS",
                              "ZOLT3_SIM_INTERVAL", "ZOLT_COM1"})
            qunsetenv(v);
    }
    TMessungFrame* page() { return form->ActiveMeasurementPage(); }
    void trigger(const char* action) { form->action(QString::fromLatin1(action))->trigger(); }

    TemporaryProgramFolder folder;
    MemorySettingsBackend store;
    ScopedScriptedDialogs dialogs;
    std::unique_ptr<TMainForm> form;
};
} // namespace

TEST_F(FlowTest, OnlineMeasurementFromStartToReopenedFile) {
    form->settings().SetZoltType(1);
    form->settings().SetMeasInterval(100);
    trigger("actMeasurementStart");
    ASSERT_TRUE(page()->isRunning());
    EXPECT_FALSE(form->action("actMeasurementStart")->isEnabled());
    EXPECT_TRUE(form->action("actMeasurementStop")->isEnabled());
    EXPECT_EQ(page()->statusBar()->currentMessage(), "Dauermessung aktiv");
    ASSERT_EQ(page()->Measurement().ChannelCount(), 3);
    EXPECT_EQ(page()->Measurement().GetChannel(2)->Name, "Kanal 5");

    ASSERT_TRUE(QTest::qWaitFor([&] { return page()->Measurement().RowCount() >= 4; }, 10000));
    trigger("actMeasurementStop");
    EXPECT_FALSE(page()->isRunning());
    EXPECT_TRUE(form->action("actMeasurementStart")->isEnabled());
    const int rows = page()->Measurement().RowCount();
    EXPECT_EQ(page()->valueModel()->rowCount(), rows);
    EXPECT_EQ(page()->series(0)->data()->size(), rows);
    // Believable room temperatures, times rising.
    const quint32 first = page()->Measurement().GetValue(0, 0);
    EXPECT_GT(first, 0u);
    EXPECT_LT(first, 2000u);
    EXPECT_LT(page()->Measurement().GetTime(0), page()->Measurement().GetTime(rows - 1));

    const QString file = folder.path("lauf.zolt");
    dialogs.file(file);
    trigger("actMeasurementSaveAs");
    EXPECT_EQ(form->pages()->tabText(form->pages()->currentIndex()), "lauf.zolt");
    const std::vector<quint32> table = page()->Measurement().RowTable();
    trigger("actMeasurementClose");
    EXPECT_EQ(form->pages()->count(), 0);

    ASSERT_TRUE(form->OpenMeasurement(file));
    ASSERT_NE(page(), nullptr);
    EXPECT_EQ(page()->Measurement().RowTable(), table);
    EXPECT_EQ(page()->valueModel()->rowCount(), rows);
    EXPECT_EQ(page()->Measurement().GetChannel(2)->Name, "Kanal 5");
}

TEST_F(FlowTest, ClosingARunningPageStopsItsAcquisition) {
    form->settings().SetZoltType(1);
    trigger("actMeasurementStart");
    ASSERT_NE(TAcquisition::Running(), nullptr);
    trigger("actMeasurementNew");
    EXPECT_FALSE(form->action("actMeasurementStart")->isEnabled());
    page()->StartMeasurement(); // refused in code too, not only by the disabled action
    ASSERT_FALSE(dialogs.calls().empty());
    EXPECT_EQ(dialogs.last().text, "Es läuft bereits eine Messung. Bitte stoppen Sie diese zuerst.");
    form->pages()->setCurrentIndex(0);
    trigger("actMeasurementClose");
    EXPECT_EQ(TAcquisition::Running(), nullptr);
    QTest::qWait(300); // no row may reach the closed page
}

TEST_F(FlowTest, MemoryReadOutOfThe31814) {
    form->settings().SetZoltType(1);
    form->settings().SetZoltMode(1);
    trigger("actMeasurementStart");
    TMessungInfo& m = page()->Measurement();
    ASSERT_EQ(m.RowCount(), 40);
    EXPECT_EQ(m.GetTime(1), 2000u) << "4 half-seconds apart";
    EXPECT_EQ(m.GetTime(39), 39u * 2000);
    EXPECT_EQ(page()->statusBar()->currentMessage(), "");
    EXPECT_FALSE(page()->isRunning());
    EXPECT_TRUE(form->action("actMeasurementStart")->isEnabled());
    // The whole read-out is in view.
    EXPECT_DOUBLE_EQ(page()->chart()->xAxis->range().upper, m.TimeMax / 1000.0);
}

TEST_F(FlowTest, SerialModelOnlineAndMemory) {
    QProcess sim;
    sim.setProgram(QCoreApplication::applicationDirPath() + "/zolt-serial-sim");
    sim.setArguments({"--rate", "30", "--records", "5,5,5,5,5,5", "--mem-interval", "1000"});
    sim.start();
    if (!sim.waitForStarted(5000) || !sim.waitForReadyRead(5000))
        GTEST_SKIP() << "zolt-serial-sim is not available";
    qputenv("ZOLT_COM1", sim.readLine().trimmed());
    form->settings().SetZoltType(2);
    form->settings().SetCOMPort(1);

    trigger("actMeasurementStart");
    ASSERT_TRUE(page()->isRunning());
    EXPECT_EQ(page()->Measurement().ChannelCount(), 6);
    EXPECT_EQ(page()->Measurement().GetChannel(5)->Name, "Kanal 6");
    ASSERT_TRUE(QTest::qWaitFor([&] { return page()->Measurement().RowCount() >= 3; }, 10000));
    trigger("actMeasurementStop");
    EXPECT_FALSE(page()->isRunning());

    form->settings().SetZoltMode(1);
    dialogs.answer(Dialogs::Answer::Yes); // overwrite the online rows
    trigger("actMeasurementStart");
    EXPECT_EQ(page()->Measurement().RowCount(), 5);
    EXPECT_EQ(page()->Measurement().GetTime(4), 4000u);
    sim.terminate();
    sim.waitForFinished(3000);
}
