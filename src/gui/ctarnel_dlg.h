#pragma once
// The main window: the controls of the upper band, the chart area below them, and the
// state every other part of the program reads and changes through ChartHost.

#include "bep_model.h"
#include "chart_style.h"
#include "chart_geometry.h"
#include "chart_host.h"
#include "chart_renderer.h"
#include "drag_edit.h"
#include "batch_controls.h"
#include "presentation_host.h"

#include <QDialog>
#include <QHash>
#include <QImage>

#include <array>
#include <memory>

class QAction;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QSpinBox;
class QTextEdit;
class QAction;
class QUndoStack;

namespace brevant {

class AnalysisPage;
class ColorButton;
class Platform;
class ProfileStore;
struct Scenario;
class ScenarioDocument;
class WindowHistory;
struct WindowFigures;

class CTarnelDlg : public QDialog,
                   public ChartHost,
                   public BatchControls,
                   public PresentationHost {
    Q_OBJECT
public:
    // The window keeps its own movable-element table.
    CTarnelDlg(Platform& platform, ProfileStore& store, QWidget* parent = nullptr);
    // The window fills the application's table.
    CTarnelDlg(Platform& platform, ProfileStore& store, MovableElementTable& elements,
               QWidget* parent = nullptr);
    // The window opens on a scenario: the saved settings with the scenario's figures and
    // style in their place; with its file's path, that file is the window's file.
    CTarnelDlg(Platform& platform, ProfileStore& store, MovableElementTable& elements,
               const Scenario& start, const QString& path = QString(),
               QWidget* parent = nullptr);
    // Saves the settings.
    ~CTarnelDlg() override;

    // The control with the given id (a spin's id gives its entry's spin box), or null.
    QWidget* controlById(int id) const;
    template <typename T>
    T* control(int id) const
    {
        return qobject_cast<T*>(controlById(id));
    }

    // FiguresHost, ChartHost and PresentationHost
    BepInputs& Inputs() override { return inputs_; }
    ChartStyle& Style() override { return style_; }
    int32_t OutputFormatValue() const override { return outputFormat_; }
    QRect ChartArea() const override { return chartArea_; }
    std::array<QRect, kChartCount> ChartRects() const override { return chartRects_; }
    void LayoutCharts() override;
    const QImage& ComposedImage() const override { return renderer_.ComposedImage(); }
    bool RenderComposition() override;
    bool HighlightShown() const override { return drag_.highlightMode; }
    void SetProgress(int value) override;
    void SetProgressRange(int min, int max) override;
    Platform& GetPlatform() override { return platform_; }

    // BatchControls: after a batch, the last record's figures in the entries and the
    // ratio, every chart box ticked.
    void ShowBatchResult() override;

    bool amountsReady() const { return amountsReady_; }
    bool helpShown() const { return helpShown_; }
    bool presentationActive() const { return presentationActive_; }
    void setPresentationActive(bool active) { presentationActive_ = active; }
    QSize minWindowSize() const { return minWindowSize_; }
    MovableElementTable& Elements() override { return elements_; }
    ChartRenderer& Renderer() override { return renderer_; }
    // The window's image of its client area; the chart area part is what is on screen.
    const QImage& backBuffer() const { return backBuffer_; }

    // Renders the charts into the back buffer when painting is allowed (the amounts are
    // ready and no help page is shown) and repaints the chart area at once.
    void PaintMainWindow();
    // Shows help page `page` (0 general, 1 batch, 2 presentation) or the analysis page
    // (kAnalysisPage) over the chart area, or hides whichever page is shown.
    static constexpr int kAnalysisPage = 3;
    void ToggleHelpPage(int page);
    AnalysisPage* analysisPage() const { return analysisPage_; }
    // Maximum sales, target sales, fixed costs and the ratio in percent, separated by
    // commas, into the amount entries and the ratio.
    void SetFourValues(const QString& text);
    // Presentation mode (button 1038, F11): runs the full-screen window modally, then lays
    // this window out and repaints it.
    void RunPresentation();

    // Drag editing of the movable lines and points (the presentation window shares the
    // state and applies its drops here).
    DragState& Drag() override { return drag_; }
    // Esc: takes the value label away and ends a running drag without changing anything.
    void CancelDrag();
    // Button 1042: the movable elements drawn enlarged for two seconds.
    void FlashMovableElements();
    // Sets the figure a drop changes through its entry or the ratio spin; false when the
    // drop changes nothing.
    bool ApplyDropChange(const DropChange& change) override;

    // The chart area's context menu: the commands that act on the charts, each with its key.
    // The caller owns the menu; the actions are the window's.
    std::unique_ptr<QMenu> CreateChartMenu();

    // PresentationHost: the presentation changed a setting; the controls follow quietly.
    void SetChartShown(int chart, bool shown) override;
    void SetFontSize(int32_t size) override;
    void SetAmountUnit(int32_t unit) override;
    void UndoOrRedo(bool redo) override;

    // Undo and redo of the figures and the style (Ctrl+Z; Ctrl+Y and Ctrl+Shift+Z). The
    // actions carry their keys and tooltips and are enabled while there is a step.
    QAction* UndoAction() const;
    QAction* RedoAction() const;
    QUndoStack& UndoStack() const;
    WindowHistory& History() const { return *history_; }
    // Shows a whole new set of figures and style as one step that undo takes back.
    void ReplaceFigures(const BepInputs& inputs, const ChartStyle& style,
                        const QString& stepText = QString());
    // Records a step if the figures or the style changed since the last one (a change
    // still being typed becomes a step of its own).
    void CommitStep();
    // The scenario file: open, save, save as and the recent files (button 1081).
    ScenarioDocument& Document() const { return *document_; }

Q_SIGNALS:
    // One CSV file was dropped on the batch button.
    void batchFileDropped(const QString& path);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

public Q_SLOTS:
    // Enter never closes the window.
    void accept() override {}
    // 終了, the close box and Alt+F4: unsaved changes to the scenario file are asked about
    // first, and the window stays when the question is cancelled.
    void reject() override;

private:
    CTarnelDlg(Platform& platform, ProfileStore& store, MovableElementTable* elements,
               const Scenario* start, const QString& startPath, QWidget* parent);
    void BuildControls();
    void ConnectControls();
    void LoadSettings(const Scenario* start);
    // The state undo covers, and showing one in every control followed by a repaint
    // (the figures, the ratio, the unit and the style; nothing else is touched).
    WindowFigures CurrentFigures() const;
    void ShowFigures(const WindowFigures& figures);
    // The ends of the user's changes, where a step is recorded.
    void ConnectHistory();
    bool SetDroppedFigure(const DropChange& change);
    void SaveSettings();
    void ApplyPlacement(const QRect& stored, bool zoomed);
    void OnSize();
    // PaintMainWindow without the repaint; false when there is no chart area.
    bool RenderBackBuffer();
    // The page covering the chart area, or null.
    QWidget* ShownPage() const;
    void RememberNormalPlacement();
    void AddAcceleratorKeys();
    void HandleDroppedFiles(const QStringList& paths);
    // Accepts a drag or drop of one scenario file (and opens it on the drop); false for any
    // other drop, which is left to the widget.
    bool TakeScenarioDrop(QDropEvent* event);

    void SetAmountText(int index, const QString& text);
    void OnAmountChanged(int index);
    void SetRatio(int32_t ratio);
    void ToggleChart(int chart, bool fromButton);
    void OnColorPicked(int element, ColorRef color);
    void ResetColours();
    void PasteFourValues();
    void SetSampleValues();
    void ShowVersion();

    void OnChartMouseMove(QPoint point, bool ctrl);
    void OnChartButtonDown(QPoint point, bool ctrl);
    void OnChartButtonUp(QPoint point);
    void DragFeedback(QPoint point, bool ctrl);
    void ApplyDrop(QPoint point);
    void RemoveDragLabel();
    void SetDragCursor(DragCursor cursor);
    void CreateChartCommands();

    Platform& platform_;
    ProfileStore& store_;
    std::unique_ptr<MovableElementTable> ownElements_;
    MovableElementTable& elements_;
    ChartRenderer renderer_;

    BepInputs inputs_;
    ChartStyle style_;
    int32_t outputFormat_ = 0;
    bool amountsReady_ = false;
    // Per amount entry: its amount was cut to 2,147,483,647 when last applied. A newly cut
    // amount is told in a message, except while loading and after a paste whose question
    // already showed it.
    std::array<bool, 3> amountCapped_{};
    bool tellCaps_ = false;
    // Set while undo fills the controls, which would each repaint.
    bool holdPaint_ = false;
    bool helpShown_ = false;
    int shownPage_ = 0;
    bool presentationActive_ = false;
    bool settingsSaved_ = false;
    QSize minWindowSize_;
    QRect chartArea_;
    std::array<QRect, kChartCount> chartRects_;
    QImage backBuffer_;
    DragState drag_;
    // Frame position and client size while the window is neither maximised nor
    // minimised: what is saved when it closes maximised.
    QRect normalPlacement_;

    QHash<int, QWidget*> controls_;
    QSize templateSize_;
    std::array<QLineEdit*, 3> amountEdits_{};
    std::array<QLabel*, 3> amountWords_{};
    std::array<QCheckBox*, kChartCount> chartChecks_{};
    std::array<QLineEdit*, kChartCount> titleEdits_{};
    std::array<QLineEdit*, kChartCount> subtitleEdits_{};
    std::array<ColorButton*, kColorCount> colorButtons_{};
    std::array<QSpinBox*, kWidthCount> widthSpins_{};
    QSpinBox* ratioSpin_ = nullptr;
    QLabel* ratioText_ = nullptr;
    QSpinBox* fontSizeSpin_ = nullptr;
    QSpinBox* outerMarginSpin_ = nullptr;
    QSpinBox* scaleMarginSpin_ = nullptr;
    QButtonGroup* unitGroup_ = nullptr;
    QButtonGroup* formatGroup_ = nullptr;
    QLabel* sizeText_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QTextEdit* helpBox_ = nullptr;
    AnalysisPage* analysisPage_ = nullptr;
    WindowHistory* history_ = nullptr;
    ScenarioDocument* document_ = nullptr;
    // The context menu's commands on the charts (copy, save, the analysis page).
    QAction* copyAction_ = nullptr;
    QAction* saveAction_ = nullptr;
    QAction* analysisAction_ = nullptr;
};

} // namespace brevant
