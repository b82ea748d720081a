// The chart, curve list and value list of the measurement page.
#include "model/messung_info.h"
#include "model/referenz_info.h"
#include "platform/dialogs.h"
#include "references/extract_ref_form.h"
#include "settings/global_unit.h"
#include "settings/measurement_protection.h"
#include "views/messung_frame.h"
#include "views/value_list_model.h"

#include <qcustomplot.h>

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <QSlider>
#include <QTableView>
#include <QToolButton>

#include <cmath>

namespace {
constexpr int kTopOffsetPixels = 5;
}

QCPGraph* TMessungFrame::series(int index) const {
    return index >= 0 && index < FSeries.size() ? FSeries[index] : nullptr;
}

QCPGraph* TMessungFrame::seriesByName(const QString& name) const {
    for (int i = 0; i < chValues->graphCount(); ++i)
        if (chValues->graph(i)->name() == name) return chValues->graph(i);
    return nullptr;
}

void TMessungFrame::InitAxes() {
    chValues->yAxis->setRange(0, 10);
    chValues->xAxis->setRange(0, 10);
    FWindowStart = 0;
}

void TMessungFrame::BuildChannelViews() {
    const TMessungInfo& m = *FMeasurement;
    chValues->clearGraphs();
    FSeries.clear();
    FHaveData = false;
    const QSignalBlocker block(lvCurves);
    lvCurves->clear();
    comboChannel->clear();

    QStringList captions;
    QList<int> tags;
    for (int i = 0; i < m.ChannelCount(); ++i) {
        captions << m.GetChannel(i)->Name;
        tags << m.GetChannel(i)->DeviceChannel;
    }
    FValueModel->setColumns(captions, tags);
    for (int c = 0; c <= captions.size(); ++c) vstValues->setColumnWidth(c, 75);

    for (int i = 0; i < m.ChannelCount(); ++i) {
        const QString name = m.GetChannel(i)->Name;
        QCPGraph* g = chValues->addGraph();
        g->setName(name);
        g->setPen(QPen(ChannelColor(i), 2));
        g->setAdaptiveSampling(true);
        FSeries.append(g);
        auto* item = new QListWidgetItem(name, lvCurves);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
        item->setData(Qt::UserRole, i);
        item->setForeground(ChannelColor(i));
        comboChannel->addItem(name);
    }
    if (comboChannel->count() > 0) comboChannel->setCurrentIndex(0);
    CreateReferenceSeries();
    LoadReferenceSeries();
    chValues->replot(QCustomPlot::rpQueuedReplot);
}

void TMessungFrame::CreateReferenceSeries() {
    for (const char* name : {"RefUpperSeries", "RefLowerSeries"}) {
        QCPGraph* g = chValues->addGraph();
        g->setName(QString::fromLatin1(name));
        g->setPen(QPen(Qt::white, 2, Qt::DashLine));
        g->setVisible(FShowReference);
        (g->name() == QLatin1String("RefUpperSeries") ? FRefUpper : FRefLower) = g;
    }
}

void TMessungFrame::RefreshFromMeasurement(bool rebuild) {
    const TMessungInfo& m = *FMeasurement;
    for (QCPGraph* g : FSeries) g->data()->clear();
    FHaveData = false;
    LoadReferenceSeries();
    if (m.RowCount() == 0) {
        chValues->replot(QCustomPlot::rpQueuedReplot);
        return;
    }
    if (rebuild) BuildChannelViews();

    FValueModel->setLineCount(m.RowCount());
    vstValues->scrollToBottom();

    // Whole series at once: far cheaper than point by point.
    const int rows = m.RowCount();
    for (int i = 0; i < FSeries.size() && i < m.ChannelCount(); ++i) {
        QVector<QCPGraphData> points(rows);
        for (int r = 0; r < rows; ++r) {
            const quint32* row = m.RowData(r);
            points[r] = QCPGraphData(row[0] / 1000.0, row[i + 1] / 10.0);
        }
        FSeries[i]->data()->set(points, true);
        bool found = false;
        const QCPRange keys = FSeries[i]->data()->keyRange(found);
        const QCPRange values = FSeries[i]->data()->valueRange(found);
        if (!found) continue;
        if (!FHaveData) {
            FDataMinX = keys.lower;
            FDataMaxX = keys.upper;
            FDataMinY = values.lower;
            FDataMaxY = values.upper;
            FHaveData = true;
        } else {
            FDataMinX = std::min(FDataMinX, keys.lower);
            FDataMaxX = std::max(FDataMaxX, keys.upper);
            FDataMinY = std::min(FDataMinY, values.lower);
            FDataMaxY = std::max(FDataMaxY, values.upper);
        }
    }
    UpdateScrollBar();
    UpdateChartTitle();
    FillInfoPage();
    LoadReferenceSeries();
    SetAutoScale(FAutoScale);
    Q_EMIT measurementLoaded();
}

void TMessungFrame::SetAutoScale(bool on) {
    FAutoScale = on;
    chValues->setSelectionRectMode(on ? QCP::srmNone : QCP::srmZoom);
    chValues->setInteraction(QCP::iRangeDrag, !on);
    chValues->axisRect()->setRangeDrag(Qt::Horizontal | Qt::Vertical);
    chkTempMinFix->setVisible(on);
    if (btnMeasurementAutoscale && btnMeasurementAutoscale->isChecked() != on)
        btnMeasurementAutoscale->defaultAction()->setChecked(on);
    if (!on) {
        chValues->xAxis->setRange(FWindowStart, FWindowStart + FTimeWindowMs / 1000.0);
        RescaleValueAxisTop();
    } else {
        FWindowStart = chValues->xAxis->range().lower;
        FTrackBarByProgram = true;
        tbarTimewindow->setValue(static_cast<int>(FMeasurement->TimeMax - FMeasurement->TimeMin));
        FTrackBarByProgram = false;
        UpdateAutoRanges();
    }
    chValues->replot(QCustomPlot::rpQueuedReplot);
}

void TMessungFrame::UpdateAutoRanges() {
    if (FHaveData)
        chValues->xAxis->setRange(FDataMinX, std::max(FDataMaxX, FDataMinX + 0.001));
    ApplyTemperatureAxis();
}

void TMessungFrame::ApplyTemperatureAxis() {
    const double lower = chkTempMinFix->isChecked() || !FHaveData ? 0.0 : FDataMinY;
    chValues->yAxis->setRangeLower(lower);
    RescaleValueAxisTop();
}

void TMessungFrame::RescaleValueAxisTop() {
    const double lower = chValues->yAxis->range().lower;
    double top = FHaveData ? FDataMaxY : 10.0;
    if (FShowReference && FRefUpper) {
        bool found = false;
        const QCPRange band = FRefUpper->data()->valueRange(found);
        if (found) top = std::max(top, band.upper);
    }
    if (top <= lower) top = lower + 1;
    // Keep a few pixels between the highest point and the frame.
    const int height = std::max(50, chValues->axisRect()->height());
    const double perPixel = (top - lower) / std::max(1, height - kTopOffsetPixels);
    chValues->yAxis->setRangeUpper(top + kTopOffsetPixels * perPixel);
}

void TMessungFrame::SetTimeWindow(int spanMs) {
    FTimeWindowMs = spanMs;
    if (!FTrackBarByProgram) {
        if (FAutoScale) {
            SetAutoScale(false);
        } else {
            const double lower = chValues->xAxis->range().lower;
            chValues->xAxis->setRange(lower, lower + spanMs / 1000.0);
        }
    }
    lblTimeWindow->setText(
        tr("Zeitfenster: [%1 s]").arg(QLocale().toString(spanMs / 1000.0, 'f', 2)));
    chValues->replot(QCustomPlot::rpQueuedReplot);
}

void TMessungFrame::ShowWholeMeasurement() {
    if (FAutoScale) SetAutoScale(false);
    const TMessungInfo& m = *FMeasurement;
    chValues->xAxis->setRange(m.TimeMin / 1000.0, m.TimeMax / 1000.0);
    chValues->yAxis->setRange(m.ValueMin / 10.0, m.ValueMax / 10.0);
    FWindowStart = chValues->xAxis->range().lower;
    FTrackBarByProgram = true;
    SetTimeWindow(static_cast<int>(std::lround(chValues->xAxis->range().size() * 1000)));
    tbarTimewindow->setValue(static_cast<int>(m.TimeMax - m.TimeMin));
    FTrackBarByProgram = false;
    chValues->replot();
}

void TMessungFrame::UpdateScrollBar() {
    const QSignalBlocker block(ChartScrollBar);
    const int first = static_cast<int>(FMeasurement->TimeMin);
    const int window = static_cast<int>(std::lround(chValues->xAxis->range().size() * 1000));
    const int last = FHaveData ? static_cast<int>(FDataMaxX * 1000) : first;
    ChartScrollBar->setRange(first, std::max(first, last - window));
    ChartScrollBar->setPageStep(std::max(3000, window));
    ChartScrollBar->setValue(static_cast<int>(std::lround(chValues->xAxis->range().lower * 1000)));
}

// ---------------------------------------------------------------- curve list

void TMessungFrame::ChangeSelectedSeriesColor() {
    QListWidgetItem* item = lvCurves->currentItem();
    if (!item) return;
    QCPGraph* g = series(item->data(Qt::UserRole).toInt());
    if (!g) return;
    const auto chosen = dialogs().chooseColor(g->pen().color());
    if (!chosen) return;
    QPen pen = g->pen();
    pen.setColor(*chosen);
    g->setPen(pen);
    item->setForeground(*chosen);
    chValues->replot(QCustomPlot::rpQueuedReplot);
}

void TMessungFrame::DeleteSelectedSeries() {
    QListWidgetItem* item = lvCurves->currentItem();
    if (!item) return;
    if (!MeasurementProtection::DeleteChannel(*FMeasurement, item->data(Qt::UserRole).toInt()))
        return;
    BuildChannelViews();
    RefreshFromMeasurement(false);
}

// ---------------------------------------------------------------- value list

void TMessungFrame::RenameColumn(int column) {
    if (column < 1) return;
    const QString old = FValueModel->columnCaption(column);
    const auto entry = dialogs().inputText(tr("Umbennen"), tr("Geben Sie den neuen Kanal-Namen ein:"),
                                           old, false);
    if (!entry) return;
    FValueModel->setColumnCaption(column, *entry);
    TMessungInfo& m = *FMeasurement;
    TKanalInfo* channel = m.GetChannel(column - 1);
    if (!channel) return;
    if (!FSeries.isEmpty()) {
        const auto items = lvCurves->findItems(channel->Name, Qt::MatchExactly);
        if (!items.isEmpty()) {
            QListWidgetItem* item = items.first();
            item->setText(*entry);
            if (QCPGraph* g = series(item->data(Qt::UserRole).toInt())) g->setName(*entry);
            const int comboIndex = comboChannel->findText(channel->Name);
            if (comboIndex >= 0) comboChannel->setItemText(comboIndex, *entry);
        }
    }
    channel->Name = *entry;
}

// ---------------------------------------------------------------- reference band

void TMessungFrame::LoadReferenceSeries() {
    if (!FRefUpper || !FRefLower) return;
    const TReferenzInfo& ref = *FReference;
    QVector<QCPGraphData> upper, lower;
    if (ref.ChannelCount() >= 3) {
        upper.reserve(ref.RowCount());
        lower.reserve(ref.RowCount());
        for (int r = 0; r < ref.RowCount(); ++r) {
            const quint32* row = ref.RowData(r);
            const double t = row[0] / 1000.0;
            // Reference, upper and lower tolerance, all in tenths of a degree.
            const double value = static_cast<qint32>(row[1]);
            upper.append(QCPGraphData(t, (value + static_cast<qint32>(row[2])) / 10.0));
            lower.append(QCPGraphData(t, (value - static_cast<qint32>(row[3])) / 10.0));
        }
    }
    FRefUpper->data()->set(upper, true);
    FRefLower->data()->set(lower, true);
    chValues->replot(QCustomPlot::rpQueuedReplot);
}

void TMessungFrame::ShowReference(bool on) {
    FShowReference = on;
    if (on && FReference->RowCount() == 0) {
        SelectReference();
        if (FReference->RowCount() == 0) {
            FShowReference = false;
            if (btnRefDisplay) btnRefDisplay->defaultAction()->setChecked(false);
            return;
        }
    }
    LoadReferenceSeries();
    if (FRefUpper) FRefUpper->setVisible(FShowReference);
    if (FRefLower) FRefLower->setVisible(FShowReference);
    RescaleValueAxisTop();
    chValues->replot(QCustomPlot::rpQueuedReplot);
}

void TMessungFrame::SelectReference() {
    // Until the selection dialog exists the reference comes from a file; a file that is
    // no reference leaves the current one as it is.
    TReferenzInfo chosen;
    if (!chosen.Load(QString(), QString())) return;
    FReference->Assign(chosen);
    if (FReference->RowCount() > 0) LoadReferenceSeries();
}

void TMessungFrame::ExtractReference() {
    const TMessungInfo& m = *FMeasurement;
    if (m.ChannelCount() == 0) {
        dialogs().message(tr("Info"),
                          tr("Die Messung enthält keine Kanäle, die als Referenz extrahiert "
                             "werden können."),
                          Dialogs::Icon::Information, Dialogs::Buttons::Ok, Dialogs::Answer::Ok,
                          Dialogs::Owner::ActiveWindow);
        return;
    }
    QStringList names;
    for (int i = 0; i < m.ChannelCount(); ++i) names << m.GetChannel(i)->Name;
    int channel = 0;
    QString deltaText;
    if (FExtractDialog) {
        const auto choice = FExtractDialog(names);
        if (!choice) return;
        channel = choice->first;
        deltaText = choice->second;
    } else {
        TExtractRefForm form(names, this);
        if (form.exec() != QDialog::Accepted) return;
        channel = form.Channel();
        deltaText = form.DeltaText();
    }
    const double degrees = QLocale().toDouble(deltaText);
    const auto delta = static_cast<quint32>(std::nearbyint(degrees * 10.0));
    TReferenzInfo* reference = host_.NewReferenceDocument();
    if (!reference) return;
    TReferenzInfo::BuildFromChannel(*reference, channel, m, delta);
    host_.ReferenceDocumentFilled();
}
