// Builds the pages that docs/ shows and saves each window as a PNG:
//   zolt-screenshots OUTDIR [online|long|zoom|reference|analysis ...]
// "online" measures from the simulated USB logger for a few seconds.
#include "analysis/analyse_info.h"
#include "model/messung_info.h"
#include "model/referenz_info.h"
#include "platform/gui/qt_dialogs.h"
#include "platform/settings_backend.h"
#include "settings/global_vars.h"
#include "shell/languages.h"
#include "shell/main_form.h"
#include "views/messung_frame.h"

#include <qcustomplot.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <cmath>

namespace {
// A furnace run: four thermocouples heat up at different rates, hold, and cool down.
void fillFurnaceRun(TMessungInfo& m) {
    m.SetChannelCount(4);
    const char* names[] = {"Ofen oben", "Ofen unten", "Werkstück", "Umgebung"};
    for (int i = 0; i < 4; ++i) {
        m.GetChannel(i)->Name = QString::fromUtf8(names[i]);
        m.GetChannel(i)->DeviceChannel = static_cast<quint16>(i + 1);
    }
    m.Title = QStringLiteral("Härteofen, Charge 17");
    for (int s = 0; s <= 3600; s += 2) {
        const double t = s;
        auto curve = [&](double top, double rate, double lag) {
            const double heat = top * (1 - std::exp(-std::max(0.0, t - lag) / rate));
            const double cool = t > 2400 ? (heat - 25) * (1 - std::exp(-(t - 2400) / 400.0)) : 0;
            return 250 + (heat - cool) * 10 + 15 * std::sin(t / 37.0);
        };
        TDataRow row{static_cast<quint32>(s * 1000), static_cast<quint32>(curve(820, 300, 0)),
                     static_cast<quint32>(curve(790, 380, 20)), static_cast<quint32>(curve(760, 520, 60)),
                     static_cast<quint32>(260 + 40 * (1 - std::exp(-t / 900)) * 10 / 10), 1};
        m.AddRow(row);
    }
}

void save(QWidget* window, const QString& dir, const QString& name) {
    QTest::qWait(300);
    window->grab().save(QDir(dir).filePath(name));
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Trelwin"));
    QApplication::setApplicationName(QStringLiteral("Zolt"));
    if (argc < 2) return 2;
    const QString out = QString::fromLocal8Bit(argv[1]);
    QStringList shots;
    for (int i = 2; i < argc; ++i) shots << QString::fromLocal8Bit(argv[i]);
    const QString language = qEnvironmentVariable("ZOLT_SCREENSHOT_LANGUAGE", QStringLiteral("de"));

    QtDialogs dialogs;
    DialogsScope scope(dialogs);
    MemorySettingsBackend store;
    store.set(SettingsBackend::Scope::User, QStringLiteral("LocaleID"),
              language == QLatin1String("en") ? Languages::kEnglish : Languages::kGerman);
    TMainForm::Options options;
    options.settingsStore = &store;
    TMainForm form(options);
    dialogs.setMainWindow(&form);
    form.show();
    form.Start({});
    form.resize(1100, 700);
    if (!QTest::qWaitForWindowExposed(&form)) return 1;
    const QString suffix = language == QLatin1String("en") ? QStringLiteral("_en") : QString();

    for (const QString& shot : shots) {
        if (shot == QLatin1String("online")) {
            form.action(QStringLiteral("actMeasurementNew"))->trigger();
            form.settings().SetZoltType(1);
            form.settings().SetZoltMode(0);
            form.settings().SetMeasInterval(200);
            form.action(QStringLiteral("actMeasurementStart"))->trigger();
            QTest::qWait(14000);
            save(&form, out, QStringLiteral("online%1.png").arg(suffix));
            form.action(QStringLiteral("actMeasurementStop"))->trigger();
            continue;
        }
        form.action(QStringLiteral("actMeasurementNew"))->trigger();
        TMessungFrame* page = form.ActiveMeasurementPage();
        fillFurnaceRun(page->Measurement());
        page->RefreshFromMeasurement(true);
        if (shot == QLatin1String("long")) {
            page->SetAutoScale(true);
        } else if (shot == QLatin1String("zoom")) {
            page->chart()->xAxis->setRange(400, 700);
            page->SetTimeWindow(300000);
        } else if (shot == QLatin1String("reference")) {
            TReferenzInfo::BuildFromChannel(page->Reference(), 2, page->Measurement(), 250);
            page->SetAutoScale(true);
            page->ShowReference(true);
        } else if (shot == QLatin1String("analysis")) {
            TAnalyseInfo& a = page->Analysis();
            const struct {
                const char* name;
                quint32 threshold, limit;
                quint8 condition;
                quint32 color;
            } ranges[] = {{"Aufheizen", 3000, 7000, TAnalyseBereich::Bounded, 0x0000C0FF},
                          {"Halten über 750 °C", 7500, 0, TAnalyseBereich::Greater, 0x000000FF},
                          {"Abkühlen unter 300 °C", 3000, 0, TAnalyseBereich::Less, 0x00FF8000}};
            for (const auto& r : ranges) {
                TAnalyseBereich* b = a.Range(a.AddRange(-1));
                b->Name = QString::fromUtf8(r.name);
                b->Threshold = r.threshold;
                b->Limit = r.limit;
                b->Condition = r.condition;
                b->Border = TAnalyseBereich::Rising;
                b->Color = r.color;
                b->Transparency = 70;
            }
            if (auto* combo = page->findChild<QComboBox*>(QStringLiteral("comboChannel")))
                combo->setCurrentIndex(2);
            page->SetAutoScale(true);
            page->RunAnalysis();
            page->findChild<QTabWidget*>()->setCurrentIndex(0);
            if (auto* side = page->findChild<QWidget*>(QStringLiteral("tabAnalysis")))
                if (auto* tabs = qobject_cast<QTabWidget*>(side->parentWidget()->parentWidget()))
                    tabs->setCurrentWidget(side);
        }
        save(&form, out, QStringLiteral("%1%2.png").arg(shot, suffix));
    }
    return 0;
}
