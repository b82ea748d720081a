#include "views/messung_frame.h"

#include "analysis/analyse_info.h"
#include "devices/acquisition.h"
#include "model/messung_info.h"
#include "model/referenz_info.h"
#include "platform/dialogs.h"
#include "platform/ole_date.h"
#include "settings/global_unit.h"
#include "settings/global_vars.h"
#include "settings/measurement_protection.h"
#include "views/action_icons.h"
#include "views/value_list_model.h"

#include <qcustomplot.h>

#include <QAction>
#include <QApplication>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QFile>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTextStream>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <cmath>

namespace {
// Curve list items: the name in the curve's colour, the check box as usual.
class CurveItemDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem opt(option);
        initStyleOption(&opt, index);
        const QColor color = opt.palette.color(QPalette::Text);
        const QString text = opt.text;
        opt.palette = option.palette;
        opt.text.clear();
        QStyle* style = opt.widget ? opt.widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);
        const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, opt.widget);
        painter->save();
        painter->setPen(opt.state & QStyle::State_Selected
                            ? opt.palette.color(QPalette::HighlightedText)
                            : color);
        painter->drawText(textRect.adjusted(2, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, text);
        painter->restore();
    }
};

// The plot area's colour: light enough for the dark channel colours, dark enough for the
// white ones and the white tolerance band.
const QColor kPlotBackground(0xc0, 0xc0, 0xc0);

QString secondsText(double seconds) { return QLocale().toString(seconds, 'f', 2); }
} // namespace

TMessungFrame::TMessungFrame(MessungHost& host, QWidget* parent)
    : QWidget(parent), host_(host), FMeasurement(std::make_unique<TMessungInfo>()),
      FReference(std::make_unique<TReferenzInfo>()), FAnalysis(std::make_unique<TAnalyseInfo>()) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    tbarMessung = new QToolBar(this);
    tbarMessung->setObjectName(QStringLiteral("tbarMessung"));
    tbarMessung->setIconSize(QSize(24, 24));
    layout->addWidget(tbarMessung);

    pctrlMain = new QTabWidget(this);
    pctrlMain->setObjectName(QStringLiteral("pctrlMain"));
    pctrlMain->setTabPosition(QTabWidget::South);
    pctrlMain->addTab(BuildChartPage(), tr("Diagramm"));
    pctrlMain->addTab(BuildValuesPage(), tr("Daten"));
    pctrlMain->addTab(BuildInfoPage(), tr("Info"));
    layout->addWidget(pctrlMain, 1);

    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    StatusBar->setSizeGripEnabled(false);
    layout->addWidget(StatusBar);

    BuildToolbar();

    FTimeWindowMs = tbarTimewindow->value();
    lblTimeWindow->setText(tr("Zeitfenster: [%1 s]").arg(secondsText(FTimeWindowMs / 1000.0)));
    InitAxes();
    SetAutoScale(false);
    // Analysis bands lie between the grid and the curves.
    chValues->addLayer(QStringLiteral("bands"), chValues->layer(QStringLiteral("grid")),
                       QCustomPlot::limAbove);
    for (QLabel* l : {lblMaxTemp, lblMaxAscSlope, lblMaxDescSlope, lblMeasDate, lblMeasTime})
        l->setText(tr("Unbekannt"));
    LoadUserList();

    TAcquisition::Callbacks cb;
    cb.OnRow = [this](const TDataRow& row) { HandleDataRow(row); };
    cb.OnStatusText = [this](const QString& text) { SetStatusText(text); };
    cb.OnChannelsChanged = [this] { BuildChannelViews(); };
    cb.OnReadoutDone = [this] { ShowWholeMeasurement(); };
    cb.OnBusy = [](bool busy) {
        if (busy)
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QGuiApplication::restoreOverrideCursor();
    };
    cb.OnRunningChanged = [this](bool running) {
        FRunning = running;
        if (QAction* a = host_.action(QStringLiteral("actMeasurementStart"))) a->setEnabled(!running);
        if (QAction* a = host_.action(QStringLiteral("actMeasurementStop"))) a->setEnabled(running);
    };
    FAcquisition = std::make_unique<TAcquisition>(*FMeasurement, host_.settings(), cb);
}

// A page that closes while it measures ends the acquisition first; its rows are kept
// until the page itself goes.
TMessungFrame::~TMessungFrame() {
    if (FAcquisition && FAcquisition->IsRunning()) FAcquisition->Stop(true);
    FAcquisition.reset();
}

void TMessungFrame::StartMeasurement() {
    if (TAcquisition::Running() && TAcquisition::Running() != FAcquisition.get()) {
        FAcquisition->Start(); // says why it is refused
        return;
    }
    if (FRunning) return;
    if (FMeasurement->RowCount() > 0 &&
        !dialogs().confirm(tr("Eine neue Messung überschreibt die Werte der aktuellen Messung.\n"
                              "Wollen sie jetzt eine neue Messung starten?"),
                           Dialogs::Answer::No))
        return;
    ClearMeasurement();
    if (!FAutoScale) {
        FWindowStart = 0;
        chValues->xAxis->setRange(0, FTimeWindowMs / 1000.0);
    }
    FMeasurement->StartTime = toOleDate(QDateTime::currentDateTime());
    const QDateTime start = fromOleDate(FMeasurement->StartTime);
    lblMeasDate->setText(QLocale().toString(start.date(), QLocale::ShortFormat));
    lblMeasTime->setText(LongTimeText(start.time()));
    FAcquisition->Start();
}

void TMessungFrame::StopMeasurement() { FAcquisition->Stop(); }

bool TMessungFrame::HandleKeyDown(int, Qt::KeyboardModifiers) { return false; }

bool TMessungFrame::HandleKeyUp(int, Qt::KeyboardModifiers) { return false; }

// ---------------------------------------------------------------- building the widgets

QToolButton* TMessungFrame::addActionButton(const QString& actionName, const QString& hint) {
    QAction* shared = host_.action(actionName);
    // The button forwards to the main window's action but keeps a hint of its own.
    auto* proxy = new QAction(this);
    proxy->setObjectName(QStringLiteral("btn") + actionName.mid(3));
    proxy->setToolTip(hint);
    if (shared) {
        proxy->setIcon(shared->icon());
        proxy->setText(shared->text());
        proxy->setEnabled(shared->isEnabled());
        connect(shared, &QAction::changed, proxy, [proxy, shared] {
            proxy->setEnabled(shared->isEnabled());
                proxy->setIcon(shared->icon());
            proxy->setText(shared->text());
        });
        connect(proxy, &QAction::triggered, shared, &QAction::trigger);
    } else {
        proxy->setEnabled(false);
    }
    tbarMessung->addAction(proxy);
    auto* button = qobject_cast<QToolButton*>(tbarMessung->widgetForAction(proxy));
    if (button) button->setObjectName(proxy->objectName());
    return button;
}

void TMessungFrame::BuildToolbar() {
    // The button for "actMeasurementPrepare" joins once the preparation exists.
    addActionButton(QStringLiteral("actMeasurementStart"), tr("Messung starten/auslesen"));
    addActionButton(QStringLiteral("actMeasurementStop"), tr("Messung stoppen"));
    tbarMessung->addSeparator();
    addActionButton(QStringLiteral("actMeasurementClear"), tr("Messwerte leeren"));
    tbarMessung->addSeparator();
    addActionButton(QStringLiteral("actMeasurementOpen"), tr("Messung laden"));
    addActionButton(QStringLiteral("actMeasurementSave"), tr("Messung speichern"));
    addActionButton(QStringLiteral("actMeasurementSaveAs"), tr("Messung speichern als"));
    tbarMessung->addSeparator();


    auto toggle = [this](const char* name, const QString& hint, int icon) {
        auto* a = new QAction(ActionIcon(icon), hint, this);
        a->setObjectName(QString::fromLatin1(name));
        a->setToolTip(hint);
        a->setCheckable(true);
        tbarMessung->addAction(a);
        auto* b = qobject_cast<QToolButton*>(tbarMessung->widgetForAction(a));
        if (b) b->setObjectName(a->objectName());
        return std::pair{a, b};
    };
    auto [refDisplay, refDisplayButton] = toggle("btnRefDisplay", tr("Referenz anzeigen"), 20);
    btnRefDisplay = refDisplayButton;
    connect(refDisplay, &QAction::triggered, this, [this](bool down) { ShowReference(down); });
    auto* refSelect = new QAction(ActionIcon(22), tr("Referenz auswählen"), this);
    refSelect->setObjectName(QStringLiteral("btnRefSelect"));
    tbarMessung->addAction(refSelect);
    connect(refSelect, &QAction::triggered, this, [this] { SelectReference(); });
    tbarMessung->addSeparator();
    addActionButton(QStringLiteral("actMeasurementExtractRef"), tr("Referenz aus Kurve extrahieren"));
    tbarMessung->addSeparator();
    auto [autoscale, autoscaleButton] =
        toggle("btnMeasurementAutoscale", tr("Autom. Skalierung"), 24);
    btnMeasurementAutoscale = autoscaleButton;
    connect(autoscale, &QAction::triggered, this, [this](bool down) { SetAutoScale(down); });
    tbarMessung->addSeparator();
    auto [interpolate, interpolateButton] =
        toggle("btnMeasurementInterpolate", tr("Messung interpolieren (Kurve glätten)"), 23);
    btnMeasurementInterpolate = interpolateButton;
    connect(interpolate, &QAction::triggered, this, [this](bool down) {
        FMeasurement->SetInterpolation(down);
        RefreshFromMeasurement(false);
    });
    tbarMessung->addSeparator();
    auto button = [this](const char* name, const QString& hint, int icon) {
        auto* a = new QAction(ActionIcon(icon), hint, this);
        a->setObjectName(QString::fromLatin1(name));
        a->setToolTip(hint);
        tbarMessung->addAction(a);
        if (auto* b = qobject_cast<QToolButton*>(tbarMessung->widgetForAction(a)))
            b->setObjectName(a->objectName());
        return a;
    };
    // Until the range editor exists, preparing the analysis loads a definition file.
    connect(button("btnAnalysisPrepare", tr("Analyse vorbereiten"), 32), &QAction::triggered, this,
            [this] { FAnalysis->LoadDefinition(QString()); });
    connect(button("btnAnalysisExec", tr("Analyse der Messkurve durchführen"), 31),
            &QAction::triggered, this, [this] { RunAnalysis(); });
}

QWidget* TMessungFrame::BuildChartPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("tabChart"));
    auto* split = new QHBoxLayout(page);
    split->setContentsMargins(2, 2, 2, 2);

    auto* left = new QVBoxLayout;
    chValues = new QCustomPlot(page);
    chValues->setObjectName(QStringLiteral("chValues"));
    chValues->setMinimumSize(300, 200);
    chValues->setNoAntialiasingOnDrag(true);
    chValues->setNotAntialiasedElements(QCP::aeAll);
    // Curves are 2 px wide: joined segment by segment they take ten times as long to draw.
    chValues->setPlottingHint(QCP::phFastPolylines, true);
    chValues->axisRect()->setBackground(kPlotBackground);
    chValues->xAxis->setLabel(tr("Zeit [s]"));
    chValues->yAxis->setLabel(tr("Temperatur [°C]"));
    chValues->legend->setVisible(false);
    chValues->plotLayout()->insertRow(0);
    chValues->plotLayout()->addElement(0, 0, new QCPTextElement(chValues, QStringLiteral(" ")));
    left->addWidget(chValues, 1);
    ChartScrollBar = new QScrollBar(Qt::Horizontal, page);
    ChartScrollBar->setObjectName(QStringLiteral("ChartScrollBar"));
    ChartScrollBar->setSingleStep(300);
    ChartScrollBar->setPageStep(3000);
    left->addWidget(ChartScrollBar);
    split->addLayout(left, 1);

    connect(chValues->xAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this,
            [this](const QCPRange& range) {
                if (!FAutoScale) FWindowStart = range.lower;
                UpdateScrollBar();
            });
    connect(ChartScrollBar, &QScrollBar::valueChanged, this, [this](int ms) {
        if (FAutoScale) return;
        const double span = chValues->xAxis->range().size();
        chValues->xAxis->setRange(ms / 1000.0, ms / 1000.0 + span);
        FWindowStart = ms / 1000.0;
        chValues->replot(QCustomPlot::rpQueuedReplot);
    });
    connect(chValues->selectionRect(), &QCPSelectionRect::accepted, this, [this] {
        // Runs after the plot applied the zoom.
        SetTimeWindow(static_cast<int>(std::lround(chValues->xAxis->range().size() * 1000)));
        chValues->replot();
    });
    connect(chValues, &QCustomPlot::mouseDoubleClick, this, [this] { ShowWholeMeasurement(); });

    // Right side: display and analysis tabs.
    auto* side = new QTabWidget(page);
    side->setDocumentMode(true);
    side->setFixedWidth(270);
    auto* display = new QWidget;
    display->setObjectName(QStringLiteral("tabDisplay"));
    auto* dl = new QVBoxLayout(display);
    dl->addWidget(new QLabel(tr("Legende:")));
    lvCurves = new QListWidget(display);
    lvCurves->setObjectName(QStringLiteral("lvCurves"));
    lvCurves->setContextMenuPolicy(Qt::CustomContextMenu);
    lvCurves->setItemDelegate(new CurveItemDelegate(lvCurves));
    // The same ground as the plot, so the white and yellow channel names stay readable.
    lvCurves->setStyleSheet(QStringLiteral("QListWidget { background: %1; }").arg(kPlotBackground.name()));
    dl->addWidget(lvCurves, 1);
    lblTimeWindow = new QLabel(display);
    lblTimeWindow->setObjectName(QStringLiteral("lblTimeWindow"));
    dl->addWidget(lblTimeWindow);
    tbarTimewindow = new QSlider(Qt::Horizontal, display);
    tbarTimewindow->setObjectName(QStringLiteral("tbarTimewindow"));
    tbarTimewindow->setRange(10000, 300000);
    tbarTimewindow->setSingleStep(1000);
    tbarTimewindow->setPageStep(10000);
    tbarTimewindow->setValue(10000);
    dl->addWidget(tbarTimewindow);
    auto* ends = new QHBoxLayout;
    ends->addWidget(new QLabel(tr("10 sek.")));
    ends->addStretch(1);
    ends->addWidget(new QLabel(tr("5 min.")));
    dl->addLayout(ends);
    chkTempMinFix = new QCheckBox(tr("Temp. beginnt  bei  0 °C"), display);
    chkTempMinFix->setObjectName(QStringLiteral("chkTempMinFix"));
    chkTempMinFix->setChecked(true);
    dl->addWidget(chkTempMinFix);
    side->addTab(display, tr("Ansicht"));

    auto* analysis = new QWidget;
    analysis->setObjectName(QStringLiteral("tabAnalysis"));
    auto* al = new QVBoxLayout(analysis);
    al->addWidget(new QLabel(tr("Analyse-Kanal:")));
    comboChannel = new QComboBox(analysis);
    comboChannel->setObjectName(QStringLiteral("comboChannel"));
    al->addWidget(comboChannel);
    auto result = [&](const QString& caption, const char* name) {
        al->addWidget(new QLabel(caption));
        auto* l = new QLabel(analysis);
        l->setObjectName(QString::fromLatin1(name));
        l->setIndent(8);
        al->addWidget(l);
        return l;
    };
    lblMaxTemp = result(tr("Maximale Temperatur:"), "lblMaxTemp");
    lblMaxAscSlope = result(tr("Maximale pos. Steigung:"), "lblMaxAscSlope");
    lblMaxDescSlope = result(tr("Maximale neg. Steigung:"), "lblMaxDescSlope");
    al->addWidget(new QLabel(tr("Temperaturbereiche:")));
    tvAreas = new QTreeWidget(analysis);
    tvAreas->setObjectName(QStringLiteral("tvAreas"));
    tvAreas->setHeaderHidden(true);
    al->addWidget(tvAreas, 1);
    side->addTab(analysis, tr("Analyse"));
    split->addWidget(side);

    connect(tbarTimewindow, &QSlider::valueChanged, this, [this](int position) {
        if (!FTrackBarByProgram) SetTimeWindow(position);
    });
    connect(chkTempMinFix, &QCheckBox::toggled, this, [this] {
        if (!FAutoScale) return;
        ApplyTemperatureAxis();
        chValues->replot();
    });
    connect(comboChannel, qOverload<int>(&QComboBox::currentIndexChanged), this, [this](int index) {
        if (index >= 0) FAnalysis->Channel = index;
    });
    connect(lvCurves, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        if (QCPGraph* g = series(item->data(Qt::UserRole).toInt())) {
            g->setVisible(item->checkState() == Qt::Checked);
            chValues->replot(QCustomPlot::rpQueuedReplot);
        }
    });
    connect(lvCurves, &QListWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        QMenu menu(this);
        menu.setObjectName(QStringLiteral("popLegend"));
        QAction* color = menu.addAction(tr("Farbe ändern"));
        menu.addSeparator();
        QAction* del = menu.addAction(tr("Messreihe löschen"));
        const bool selected = lvCurves->currentItem() != nullptr;
        color->setEnabled(selected);
        del->setEnabled(selected);
        QAction* chosen = menu.exec(lvCurves->viewport()->mapToGlobal(pos));
        if (chosen == color) ChangeSelectedSeriesColor();
        if (chosen == del) DeleteSelectedSeries();
    });
    return page;
}

QWidget* TMessungFrame::BuildValuesPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("tabValues"));
    auto* l = new QVBoxLayout(page);
    l->setContentsMargins(2, 2, 2, 2);
    vstValues = new QTableView(page);
    vstValues->setObjectName(QStringLiteral("vstValues"));
    FValueModel = new ValueListModel(*FMeasurement, vstValues);
    vstValues->setModel(FValueModel);
    vstValues->setSelectionBehavior(QAbstractItemView::SelectRows);
    vstValues->setEditTriggers(QAbstractItemView::NoEditTriggers);
    vstValues->setShowGrid(true);
    vstValues->setWordWrap(false);
    vstValues->verticalHeader()->hide();
    vstValues->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    vstValues->verticalHeader()->setDefaultSectionSize(vstValues->fontMetrics().height() + 4);
    vstValues->horizontalHeader()->setDefaultSectionSize(75);
    vstValues->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    vstValues->horizontalHeader()->setSectionsClickable(true);
    vstValues->horizontalHeader()->setHighlightSections(false);
    connect(vstValues->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &TMessungFrame::RenameColumn);
    l->addWidget(vstValues);
    return page;
}

QWidget* TMessungFrame::BuildInfoPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("tabInfo"));
    auto* form = new QFormLayout(page);
    form->setLabelAlignment(Qt::AlignRight);
    auto caption = [&](int number, const QString& text) {
        auto* l = new QLabel(text);
        l->setObjectName(QStringLiteral("lbl%1").arg(number));
        return l;
    };
    lblMeasDate = new QLabel(page);
    lblMeasDate->setObjectName(QStringLiteral("lblMeasDate"));
    lblMeasTime = new QLabel(page);
    lblMeasTime->setObjectName(QStringLiteral("lblMeasTime"));
    edtName = new QLineEdit(page);
    edtName->setObjectName(QStringLiteral("edtName"));
    comboUser = new QComboBox(page);
    comboUser->setObjectName(QStringLiteral("comboUser"));
    comboUser->setEditable(true);
    comboUser->setInsertPolicy(QComboBox::NoInsert);
    memoInfo = new QPlainTextEdit(page);
    memoInfo->setObjectName(QStringLiteral("memoInfo"));
    form->addRow(caption(100, tr("Datum Messung:")), lblMeasDate);
    form->addRow(caption(101, tr("Messungsstart:")), lblMeasTime);
    form->addRow(caption(102, tr("Messungsname:")), edtName);
    form->addRow(caption(103, tr("Gemessen durch:")), comboUser);
    form->addRow(new QLabel(tr("Messungsbeschreibung:")), memoInfo);
    auto* btnPassword = new QPushButton(tr("Messung schützen"), page);
    btnPassword->setObjectName(QStringLiteral("btnPassword"));
    btnPassword->setFlat(true);
    connect(btnPassword, &QPushButton::clicked, this,
            [this] { MeasurementProtection::Protect(*FMeasurement, host_.settings()); });
    form->addRow(QString(), btnPassword);
    return page;
}

void TMessungFrame::LoadUserList() {
    QFile file(ProgramFolder() + QStringLiteral("User.txt"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return;
    QTextStream in(&file);
    in.setEncoding(QStringConverter::Latin1);
    const QString current = comboUser->currentText();
    comboUser->clear();
    while (!in.atEnd()) {
        const QString line = in.readLine();
        comboUser->addItem(line);
    }
    comboUser->setEditText(current);
}

// ---------------------------------------------------------------- info page

void TMessungFrame::CommitInfoFields() {
    TMessungInfo& m = *FMeasurement;
    if (edtName->text() != m.Title) m.SetInfoField(1, edtName->text());
    UpdateChartTitle();
    if (comboUser->currentText() != m.User) m.SetInfoField(2, comboUser->currentText());
    if (memoInfo->toPlainText() != m.Description) m.SetInfoField(3, memoInfo->toPlainText());
}

void TMessungFrame::FillInfoPage() {
    const TMessungInfo& m = *FMeasurement;
    const QDateTime start = fromOleDate(m.StartTime);
    const QLocale locale;
    lblMeasDate->setText(locale.toString(start.date(), QLocale::ShortFormat));
    lblMeasTime->setText(LongTimeText(start.time()));
    comboUser->setEditText(m.User);
    memoInfo->setPlainText(m.Description);
    edtName->setText(m.Title);
}

void TMessungFrame::UpdateChartTitle() {
    if (auto* title = qobject_cast<QCPTextElement*>(chValues->plotLayout()->element(0, 0)))
        title->setText(FMeasurement->Title.isEmpty() ? QStringLiteral(" ") : FMeasurement->Title);
    chValues->replot(QCustomPlot::rpQueuedReplot);
}

void TMessungFrame::SetStatusText(const QString& text) { StatusBar->showMessage(text); }

// ---------------------------------------------------------------- rows

void TMessungFrame::ClearMeasurement() {
    FMeasurement->ClearRows();
    FValueModel->setLineCount(0);
    lvCurves->clear();
    comboChannel->clear();
    for (QCPGraph* g : FSeries) g->data()->clear();
    FHaveData = false;
    chValues->replot();
}

void TMessungFrame::AppendPoint(int series, double x, double y) {
    if (series >= FSeries.size()) return;
    FSeries[series]->addData(x, y);
    if (!FHaveData) {
        FDataMinX = FDataMaxX = x;
        FDataMinY = FDataMaxY = y;
        FHaveData = true;
    } else {
        FDataMinX = std::min(FDataMinX, x);
        FDataMaxX = std::max(FDataMaxX, x);
        FDataMinY = std::min(FDataMinY, y);
        FDataMaxY = std::max(FDataMaxY, y);
    }
}

void TMessungFrame::HandleDataRow(const TDataRow& source) {
    TMessungInfo& m = *FMeasurement;
    const int channels = m.ChannelCount();
    const TDataRow row = TAcquisition::MapRow(m, source);

    const double x = row[0] / 1000.0;
    for (int i = 0; i < channels; ++i) AppendPoint(i, x, row[i + 1] / 10.0);
    if (!m.AddRow(row)) return;

    FValueModel->appendLine();
    if (vstValues->isVisible()) vstValues->scrollToBottom();

    if (!FAutoScale) {
        if (!FSeries.isEmpty() && !FSeries[0]->data()->isEmpty()) {
            const double newest = (FSeries[0]->data()->constEnd() - 1)->key;
            if (newest > chValues->xAxis->range().upper)
                chValues->xAxis->setRange(newest - FTimeWindowMs / 1000.0, newest);
        }
        RescaleValueAxisTop();
    } else {
        UpdateAutoRanges();
    }
    FWindowStart = chValues->xAxis->range().lower;
    chValues->replot(QCustomPlot::rpQueuedReplot);
}

// ---------------------------------------------------------------- analysis

void TMessungFrame::RunAnalysis() {
    if (const auto result = FAnalysis->AnalyseRanges(*FMeasurement)) {
        for (int i = chValues->itemCount() - 1; i >= 0; --i)
            if (chValues->item(i)->property("tag").toInt() == 10) chValues->removeItem(i);
        chValues->replot();
        tvAreas->clear();
        for (const AnalysisBand& band : result->Bands) {
            auto* rect = new QCPItemRect(chValues);
            rect->setProperty("tag", 10);
            rect->setLayer(QStringLiteral("bands"));
            rect->setClipToAxisRect(true);
            rect->topLeft->setTypeX(QCPItemPosition::ptPlotCoords);
            rect->topLeft->setTypeY(QCPItemPosition::ptAxisRectRatio);
            rect->bottomRight->setTypeX(QCPItemPosition::ptPlotCoords);
            rect->bottomRight->setTypeY(QCPItemPosition::ptAxisRectRatio);
            rect->topLeft->setCoords(band.Start, 0);
            rect->bottomRight->setCoords(band.End, 1);
            QColor c = FromColorRef(band.Color);
            c.setAlphaF((100 - band.Transparency) / 100.0);
            rect->setPen(Qt::NoPen);
            rect->setBrush(c);
            rect->setSelectable(false);
        }
        for (const AnalysisTreeEntry& entry : result->Tree) {
            auto* top = new QTreeWidgetItem(tvAreas, QStringList{entry.Text});
            top->setForeground(0, FromColorRef(entry.Color));
            top->setData(0, Qt::UserRole, entry.Color);
            for (const AnalysisTreeEntry& child : entry.Children) {
                auto* item = new QTreeWidgetItem(top, QStringList{child.Text});
                item->setForeground(0, FromColorRef(child.Color));
                item->setData(0, Qt::UserRole, child.Color);
            }
        }
        tvAreas->expandAll();
    }
    lblMaxTemp->setText(TAnalyseInfo::MaxTemperatureText(FAnalysis->MaxTemperature(*FMeasurement)));
    lblMaxAscSlope->setText(TAnalyseInfo::SlopeText(FAnalysis->MaxSlope(*FMeasurement, 0)));
    lblMaxDescSlope->setText(TAnalyseInfo::SlopeText(FAnalysis->MaxSlope(*FMeasurement, 1)));
    chValues->replot();
}

QString TMessungFrame::maxTemperatureText() const { return lblMaxTemp->text(); }
