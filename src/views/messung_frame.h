#pragma once

#include "model/data_row.h"

#include <QHash>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QAction;
class QCheckBox;
class QComboBox;
class QCPGraph;
class QCustomPlot;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;
class QScrollBar;
class QSlider;
class QStatusBar;
class QTabWidget;
class QTableView;
class QToolBar;
class QToolButton;
class QTreeWidget;
class TGlobalVars;
class TMessungInfo;
class TAnalyseInfo;
class TAcquisition;
class TReferenzInfo;
class ValueListModel;

// What a measurement page needs of the main window: its shared actions and the settings.
class MessungHost {
public:
    virtual ~MessungHost() = default;
    virtual QAction* action(const QString& name) const = 0;
    virtual TGlobalVars& settings() = 0;
    // Runs "Neue Referenz" and returns the document of the page it made, or nothing.
    virtual TReferenzInfo* NewReferenceDocument() = 0;
    // The document of that page was filled.
    virtual void ReferenceDocumentFilled() = 0;
};

// The page that shows one measurement: chart, value list and info page, and the
// acquisition that fills it.
class TMessungFrame : public QWidget {
    Q_OBJECT
public:
    TMessungFrame(MessungHost& host, QWidget* parent = nullptr);
    ~TMessungFrame() override;

    TMessungInfo& Measurement() { return *FMeasurement; }
    TReferenzInfo& Reference() { return *FReference; }
    TAnalyseInfo& Analysis() { return *FAnalysis; }

    // Takes name, user and description over into the measurement (may ask for its password).
    void CommitInfoFields();
    void StartMeasurement();
    void StopMeasurement();
    // Keys the main window hands on (it sees them before its controls); true when the
    // page used the key. Markers and the temperature cursor will take keys here.
    bool HandleKeyDown(int key, Qt::KeyboardModifiers modifiers);
    bool HandleKeyUp(int key, Qt::KeyboardModifiers modifiers);
    void ClearMeasurement();
    // One delivered row: device columns mapped to channels, appended to chart, measurement
    // and value list.
    void HandleDataRow(const TDataRow& source);

    // Chart and list.
    void InitAxes();
    void BuildChannelViews();
    void RefreshFromMeasurement(bool rebuild);
    void SetAutoScale(bool on);
    void SetTimeWindow(int spanMs);
    void ShowWholeMeasurement();
    void CreateReferenceSeries();
    void LoadReferenceSeries();
    // Shows or hides the tolerance band; with no reference loaded yet, one is chosen first.
    void ShowReference(bool on);
    // Lets the user choose the reference drawn over the curves.
    void SelectReference();
    // One channel becomes a new reference page.
    void ExtractReference();
    bool referenceShown() const { return FShowReference; }
    void SetStatusText(const QString& text);
    // Runs the analysis: bands on the chart, results in the tree and the three labels.
    void RunAnalysis();
    QTreeWidget* areaTree() const { return tvAreas; }
    QString maxTemperatureText() const;

    // Test access to the widgets.
    QCustomPlot* chart() const { return chValues; }
    QTableView* valueList() const { return vstValues; }
    ValueListModel* valueModel() const { return FValueModel; }
    QListWidget* curveList() const { return lvCurves; }
    QSlider* timeWindowBar() const { return tbarTimewindow; }
    QLabel* timeWindowLabel() const { return lblTimeWindow; }
    QStatusBar* statusBar() const { return StatusBar; }
    QTabWidget* pages() const { return pctrlMain; }
    bool autoScale() const { return FAutoScale; }
    bool isRunning() const { return FRunning; }
    TAcquisition& acquisition() { return *FAcquisition; }
    int timeWindowMs() const { return FTimeWindowMs; }
    double windowStart() const { return FWindowStart; }
    QCPGraph* series(int index) const;
    QCPGraph* seriesByName(const QString& name) const;

    // Curve list popup operations on the selected item.
    void ChangeSelectedSeriesColor();
    void DeleteSelectedSeries();
    // Header click of the value list (column 0 does nothing).
    void RenameColumn(int column);
    // Replaces the extraction dialog (tests): channel index and tolerance text, or nothing.
    using ExtractDialog = std::function<std::optional<std::pair<int, QString>>(const QStringList&)>;
    void SetExtractDialog(ExtractDialog dialog) { FExtractDialog = std::move(dialog); }

Q_SIGNALS:
    // The document's title changed (tab captions do not follow it, the chart title does).
    void measurementLoaded();

protected:
    void FillInfoPage();
    void UpdateChartTitle();
    void UpdateScrollBar();
    void UpdateAutoRanges();
    void ApplyTemperatureAxis();
    void AppendPoint(int series, double x, double y);
    void RescaleValueAxisTop();

    MessungHost& host_;
    std::unique_ptr<TMessungInfo> FMeasurement;
    std::unique_ptr<TReferenzInfo> FReference;
    std::unique_ptr<TAnalyseInfo> FAnalysis;
    std::unique_ptr<TAcquisition> FAcquisition;
    bool FRunning = false;
    bool FAutoScale = false;
    bool FShowReference = false;
    int FTimeWindowMs = 10000;
    double FWindowStart = 0;
    // Set while the program itself moves the time window bar.
    bool FTrackBarByProgram = false;
    // Data extent of the drawn points, for the automatic axes.
    double FDataMinX = 0, FDataMaxX = 0, FDataMaxY = 0, FDataMinY = 0;
    bool FHaveData = false;

    QToolBar* tbarMessung = nullptr;
    QStatusBar* StatusBar = nullptr;
    QTabWidget* pctrlMain = nullptr;
    QCustomPlot* chValues = nullptr;
    QScrollBar* ChartScrollBar = nullptr;
    QListWidget* lvCurves = nullptr;
    QLabel* lblTimeWindow = nullptr;
    QSlider* tbarTimewindow = nullptr;
    QCheckBox* chkTempMinFix = nullptr;
    QToolButton* btnMeasurementAutoscale = nullptr;
    QToolButton* btnMeasurementInterpolate = nullptr;
    QToolButton* btnRefDisplay = nullptr;
    QComboBox* comboChannel = nullptr;
    QLabel* lblMaxTemp = nullptr;
    QLabel* lblMaxAscSlope = nullptr;
    QLabel* lblMaxDescSlope = nullptr;
    QTreeWidget* tvAreas = nullptr;
    QTableView* vstValues = nullptr;
    ValueListModel* FValueModel = nullptr;
    QLabel* lblMeasDate = nullptr;
    QLabel* lblMeasTime = nullptr;
    QLineEdit* edtName = nullptr;
    QComboBox* comboUser = nullptr;
    QPlainTextEdit* memoInfo = nullptr;
    QVector<QCPGraph*> FSeries;
    QPointer<QCPGraph> FRefUpper, FRefLower;
    ExtractDialog FExtractDialog;

private:
    void BuildToolbar();
    QWidget* BuildChartPage();
    QWidget* BuildValuesPage();
    QWidget* BuildInfoPage();
    void LoadUserList();
    QToolButton* addActionButton(const QString& actionName, const QString& hint);
};
