#include "ctarnel_dlg.h"

#include "dropped_files.h"
#include "message.h"
#include "profile_store.h"
#include "scenario.h"
#include "settings.h"
#include "text_util.h"
#include "color_button.h"
#include "dialog_builder.h"
#include "four_values.h"
#include "about_dlg.h"
#include "analysis_page.h"
#include "help_pages.h"
#include "batch.h"
#include "csv_output.h"
#include "current_output.h"
#include "platform.h"
#include "cshow_dlg.h"
#include "device_pixels.h"
#include "dialog_templates.h"
#include "image_resources.h"
#include "string_table.h"
#include "scenario_document.h"
#include "window_history.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTextEdit>
#include <QTextFrame>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace brevant {

namespace {

constexpr std::array<int, 3> kAmountIds = {IDC_MAX_SALES, IDC_TARGET_SALES, IDC_FIXED_COSTS};
constexpr std::array<int, 3> kWordsIds = {IDC_MAX_SALES_WORDS, IDC_TARGET_SALES_WORDS,
                                          IDC_FIXED_COSTS_WORDS};
constexpr std::array<int, kChartCount> kCheckIds = {IDC_CHART0_CHECK, IDC_CHART1_CHECK,
                                                    IDC_CHART2_CHECK};
constexpr std::array<int, kChartCount> kChartButtonIds = {IDC_CHART0_BUTTON, IDC_CHART1_BUTTON,
                                                          IDC_CHART2_BUTTON};
constexpr std::array<int, kChartCount> kTitleIds = {IDC_TITLE0, IDC_TITLE1, IDC_TITLE2};
constexpr std::array<int, kChartCount> kSubtitleIds = {IDC_SUBTITLE0, IDC_SUBTITLE1,
                                                       IDC_SUBTITLE2};
constexpr std::array<int, kWidthCount> kWidthIds = {IDC_WIDTH0, IDC_WIDTH1, IDC_WIDTH2,
                                                    IDC_WIDTH3, IDC_WIDTH4, IDC_WIDTH5,
                                                    IDC_WIDTH6, IDC_WIDTH7, IDC_WIDTH8};
constexpr std::array<int, 6> kFormatIds = {IDC_FORMAT_JPEG, IDC_FORMAT_BMP, IDC_FORMAT_GIF,
                                           IDC_FORMAT_PNG,  IDC_FORMAT_TIFF, IDC_FORMAT_PDF};

constexpr const char kSampleValues[] = "154321000,125678900,49605558,56.13";

AmountField FieldOf(int index)
{
    return index == 0 ? AmountField::MaxSales
                      : index == 1 ? AmountField::TargetSales : AmountField::FixedCosts;
}

// The files of a drop: local paths, anything else as its address.
QStringList DroppedPaths(const QMimeData& mime)
{
    QStringList paths;
    for (const QUrl& url : mime.urls())
        paths.append(url.isLocalFile() ? url.toLocalFile() : url.toString());
    return paths;
}

constexpr Qt::WindowStates kNotNormal =
    Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen;

} // namespace

CTarnelDlg::CTarnelDlg(Platform& platform, ProfileStore& store, QWidget* parent)
    : CTarnelDlg(platform, store, static_cast<MovableElementTable*>(nullptr), nullptr, QString(),
                 parent)
{
}

CTarnelDlg::CTarnelDlg(Platform& platform, ProfileStore& store, MovableElementTable& elements,
                       QWidget* parent)
    : CTarnelDlg(platform, store, &elements, nullptr, QString(), parent)
{
}

CTarnelDlg::CTarnelDlg(Platform& platform, ProfileStore& store, MovableElementTable& elements,
                       const Scenario& start, const QString& path, QWidget* parent)
    : CTarnelDlg(platform, store, &elements, &start, path, parent)
{
}

CTarnelDlg::CTarnelDlg(Platform& platform, ProfileStore& store, MovableElementTable* elements,
                       const Scenario* start, const QString& startPath, QWidget* parent)
    : QDialog(parent),
      platform_(platform),
      store_(store),
      ownElements_(elements ? nullptr : std::make_unique<MovableElementTable>()),
      elements_(elements ? *elements : *ownElements_)
{
    const DialogTemplate& t = MainWindowTemplate();
    setWindowTitle(QString::fromUtf8(t.caption));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    InitImageResources();
    QIcon icon;
    for (int side : {16, 32, 48, 256})
        icon.addFile(AppIconPath(side), QSize(side, side));
    setWindowIcon(icon);

    BuildControls();
    ConnectControls();
    LoadSettings(start);
    tellCaps_ = true;
    ConnectHistory();
    document_ = new ScenarioDocument(*this, store_);
    control<QPushButton>(IDC_SCENARIO)->setMenu(document_->Menu());
    if (start && !startPath.isEmpty())
        document_->Started(startPath, *start);
    // A scenario file dropped anywhere on the window opens it, on an entry too (which would
    // otherwise take the file's name as text).
    setAcceptDrops(true);
    for (QLineEdit* edit : findChildren<QLineEdit*>())
        edit->installEventFilter(this);
    // One more size notification, so the layout runs with the final window size.
    OnSize();
    AddAcceleratorKeys();
    CreateChartCommands();
    // Hovering over a movable element changes the cursor.
    setMouseTracking(true);
}

CTarnelDlg::~CTarnelDlg()
{
    renderer_.Release();
    SaveSettings();
    // The entries still lose their focus while the widget base tears them down, after this
    // object is gone: their steps must not be recorded then. The file commands watch the
    // history, so they go first.
    delete document_;
    document_ = nullptr;
    delete history_;
    history_ = nullptr;
}

QWidget* CTarnelDlg::controlById(int id) const { return controls_.value(id, nullptr); }

void CTarnelDlg::BuildControls()
{
    const BuiltDialog built = BuildDialog(this, MainWindowTemplate(), platform_);
    controls_ = built.byId;
    templateSize_ = built.size;
    resize(templateSize_);

    for (int k = 0; k < 3; ++k) {
        amountEdits_[k] = control<QLineEdit>(kAmountIds[k]);
        amountWords_[k] = control<QLabel>(kWordsIds[k]);
    }
    for (int k = 0; k < kChartCount; ++k) {
        chartChecks_[k] = control<QCheckBox>(kCheckIds[k]);
        titleEdits_[k] = control<QLineEdit>(kTitleIds[k]);
        subtitleEdits_[k] = control<QLineEdit>(kSubtitleIds[k]);
        // The row's chart button says which chart the box and the titles belong to; the
        // column heading above says what the entry is.
        const QString chart = controlById(kChartButtonIds[k])->toolTip();
        chartChecks_[k]->setAccessibleName(chart);
        titleEdits_[k]->setAccessibleName(QStringLiteral("タイトル %1").arg(k + 1));
        subtitleEdits_[k]->setAccessibleName(QStringLiteral("副タイトル %1").arg(k + 1));
    }
    // A line's colour button and width spin share the line's label; the column headings
    // ("色", "太さ") tell them apart.
    for (int k = 0; k < kColorCount; ++k) {
        colorButtons_[k] = control<ColorButton>(IDC_COLOR0 + k);
        colorButtons_[k]->setAccessibleName(colorButtons_[k]->accessibleName() + u" 色"_qs);
    }
    for (int k = 0; k < kWidthCount; ++k) {
        widthSpins_[k] = control<QSpinBox>(kWidthIds[k]);
        widthSpins_[k]->setAccessibleName(widthSpins_[k]->accessibleName() + u" 太さ"_qs);
    }
    ratioSpin_ = control<QSpinBox>(IDC_RATIO);
    ratioText_ = control<QLabel>(IDC_RATIO_TEXT);
    fontSizeSpin_ = control<QSpinBox>(IDC_FONT_SIZE);
    outerMarginSpin_ = control<QSpinBox>(IDC_OUTER_MARGIN);
    scaleMarginSpin_ = control<QSpinBox>(IDC_SCALE_MARGIN);
    unitGroup_ = control<QRadioButton>(IDC_UNIT_YEN)->group();
    formatGroup_ = control<QRadioButton>(IDC_FORMAT_JPEG)->group();
    sizeText_ = control<QLabel>(IDC_CHART_SIZE);
    progress_ = control<QProgressBar>(IDC_PROGRESS);
    helpBox_ = control<QTextEdit>(IDC_HELP_BOX);

    // The help box keeps the white of an ordinary text box, not the grey of a read-only one.
    QPalette boxPalette = helpBox_->palette();
    const QColor white = QApplication::palette().color(QPalette::Active, QPalette::Base);
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        boxPalette.setColor(group, QPalette::Base, white);
        boxPalette.setColor(group, QPalette::Window, white);
    }
    helpBox_->setPalette(boxPalette);

    analysisPage_ = new AnalysisPage(platform_, this);
    analysisPage_->setPalette(boxPalette);
    analysisPage_->setFont(helpBox_->font());

    controlById(IDC_BATCH)->installEventFilter(this);
}

void CTarnelDlg::ConnectControls()
{
    for (int k = 0; k < 3; ++k)
        connect(amountEdits_[k], &QLineEdit::textChanged, this, [this, k] { OnAmountChanged(k); });
    for (int k = 0; k < kChartCount; ++k) {
        connect(chartChecks_[k], &QCheckBox::clicked, this, [this, k] { ToggleChart(k, false); });
        connect(control<QPushButton>(kChartButtonIds[k]), &QPushButton::clicked, this,
                [this, k] { ToggleChart(k, true); });
        connect(titleEdits_[k], &QLineEdit::textChanged, this, [this, k](const QString& text) {
            style_.titles[k] = text;
            PaintMainWindow();
        });
        connect(subtitleEdits_[k], &QLineEdit::textChanged, this,
                [this, k](const QString& text) {
                    style_.subtitles[k] = text;
                    PaintMainWindow();
                });
    }
    for (int k = 0; k < kColorCount; ++k) {
        connect(colorButtons_[k], &ColorButton::colorPicked, this,
                [this, k](ColorRef c) { OnColorPicked(k, c); });
    }
    for (int k = 0; k < kWidthCount; ++k) {
        connect(widthSpins_[k], &QSpinBox::valueChanged, this, [this, k](int v) {
            style_.lineWidths[k] = v;
            PaintMainWindow();
        });
    }
    connect(ratioSpin_, &QSpinBox::valueChanged, this, [this](int v) {
        SetRatio(v);
        PaintMainWindow();
    });
    connect(fontSizeSpin_, &QSpinBox::valueChanged, this, [this](int v) {
        style_.fontSize = v;
        PaintMainWindow();
    });
    // The margins move the charts: the window lays itself out as after a resize.
    connect(outerMarginSpin_, &QSpinBox::valueChanged, this, [this](int v) {
        style_.outerMargin = v;
        OnSize();
    });
    connect(scaleMarginSpin_, &QSpinBox::valueChanged, this, [this](int v) {
        style_.scaleMargin = v;
        OnSize();
    });
    connect(unitGroup_, &QButtonGroup::idClicked, this, [this](int id) {
        inputs_.amountUnit = id == IDC_UNIT_YEN ? 0 : 1;
        PaintMainWindow();
    });
    connect(formatGroup_, &QButtonGroup::idClicked, this, [this](int id) {
        outputFormat_ = int32_t(std::find(kFormatIds.begin(), kFormatIds.end(), id) -
                                kFormatIds.begin());
    });

    auto onClick = [this](int id, auto slot) {
        connect(control<QPushButton>(id), &QPushButton::clicked, this, slot);
    };
    onClick(IDC_RESET_COLOURS, [this] { ResetColours(); });
    onClick(IDC_PASTE, [this] { PasteFourValues(); });
    onClick(IDC_SAMPLE, [this] { SetSampleValues(); });
    onClick(IDC_GENERAL_HELP, [this] { ToggleHelpPage(kHelpGeneral); });
    onClick(IDC_BATCH_HELP, [this] { ToggleHelpPage(kHelpBatch); });
    onClick(IDC_PRESENT_HELP, [this] { ToggleHelpPage(kHelpPresentation); });
    onClick(IDC_ANALYSIS, [this] { ToggleHelpPage(kAnalysisPage); });
    onClick(IDC_VERSION, [this] { ShowVersion(); });
    onClick(IDC_HIGHLIGHT, [this] { FlashMovableElements(); });
    onClick(IDC_OUTPUT_CURRENT, [this] { SaveCurrentCharts(*this); });
    onClick(IDC_TO_CLIPBOARD, [this] { CopyChartsToClipboard(*this); });
    onClick(IDC_PRESENT, [this] { RunPresentation(); });
    onClick(IDC_OUTPUT_CSV, [this] { OutputWithCsv(*this); });
    onClick(IDC_BATCH, [this] { ChooseBatchFile(*this, this); });
    // Queued: the batch and its message boxes run after the drag has finished. What it
    // leaves in the window is one step, recorded here: a message box's own event loop would
    // run any other queued call before the batch has changed anything.
    connect(
        this, &CTarnelDlg::batchFileDropped, this,
        [this](const QString& path) {
            CommitStep();
            RunBatch(*this, path, this);
            CommitStep();
        },
        Qt::QueuedConnection);
    onClick(IDC_EXIT, [this] { reject(); });
}

void CTarnelDlg::LoadSettings(const Scenario* start)
{
    StoredSettings s = brevant::LoadSettings(store_);
    if (start)
        ApplyScenario(s, *start);

    auto setRange = [](QSpinBox* spin, int lo, int hi) {
        const QSignalBlocker block(spin);
        spin->setRange(lo, hi);
    };
    setRange(ratioSpin_, 0, 10000);
    for (QSpinBox* spin : widthSpins_)
        setRange(spin, 0, 20);
    setRange(fontSizeSpin_, 5, 50);
    setRange(outerMarginSpin_, 0, 50);
    setRange(scaleMarginSpin_, 0, 50);

    // From here on every amount text runs the amount rule, these first writes included.
    amountsReady_ = true;
    WindowFigures figures{s.amountTexts, inputs_, s.style};
    figures.inputs.variableCostRatio = s.ratio;
    figures.inputs.amountUnit = s.amountUnit;
    ShowFigures(figures);

    outputFormat_ = s.outputFormat;
    const int format = s.outputFormat >= 1 && s.outputFormat <= 5 ? s.outputFormat : 0;
    control<QRadioButton>(kFormatIds[format])->setChecked(true);

    ApplyPlacement(s.placement, s.zoomed);
}

WindowFigures CTarnelDlg::CurrentFigures() const
{
    return {{amountEdits_[0]->text(), amountEdits_[1]->text(), amountEdits_[2]->text()},
            inputs_,
            style_};
}

void CTarnelDlg::ShowFigures(const WindowFigures& f)
{
    style_ = f.style;
    for (int k = 0; k < kChartCount; ++k) {
        const QSignalBlocker quietCheck(chartChecks_[k]);
        chartChecks_[k]->setChecked(style_.drawGraph[k] != 0);
        const QSignalBlocker quietTitle(titleEdits_[k]);
        titleEdits_[k]->setText(style_.titles[k]);
        const QSignalBlocker quietSubtitle(subtitleEdits_[k]);
        subtitleEdits_[k]->setText(style_.subtitles[k]);
    }
    for (int k = 0; k < kColorCount; ++k)
        colorButtons_[k]->setColor(style_.colors[k]);
    auto setSpin = [](QSpinBox* spin, int value) {
        const QSignalBlocker block(spin);
        spin->setValue(value);
    };
    for (int k = 0; k < kWidthCount; ++k)
        setSpin(widthSpins_[k], style_.lineWidths[k]);
    setSpin(fontSizeSpin_, style_.fontSize);
    setSpin(outerMarginSpin_, style_.outerMargin);
    setSpin(scaleMarginSpin_, style_.scaleMargin);

    for (int k = 0; k < 3; ++k)
        SetAmountText(k, f.amountTexts[k]);
    SetRatio(f.inputs.variableCostRatio);
    SetAmountUnit(f.inputs.amountUnit);
}

void CTarnelDlg::ConnectHistory()
{
    history_ = new WindowHistory(
        [this] { return CurrentFigures(); },
        [this](const WindowFigures& figures) {
            // A drag started on the figures being replaced would drop onto the new ones.
            CancelDrag();
            // Undo puts back what was there; a cut amount was told when it was first set.
            const bool tell = tellCaps_;
            tellCaps_ = false;
            // One paint for the whole state, below.
            holdPaint_ = true;
            ShowFigures(figures);
            holdPaint_ = false;
            tellCaps_ = tell;
            // The margins and the shown charts move the charts: laid out as after a resize.
            OnSize();
        },
        this);
    history_->Reset();
    addAction(history_->UndoAction());
    addAction(history_->RedoAction());
    history_->TakeKeysFrom(this);

    // Each change is one step once it is complete: an entry when its editing finishes,
    // a spin at each step, a button when its command has run. Pressing a button first
    // records a change still being typed, so it stays a step of its own.
    const auto commit = [this] { history_->Commit(); };
    for (QLineEdit* edit : amountEdits_)
        connect(edit, &QLineEdit::editingFinished, history_, commit);
    for (int k = 0; k < kChartCount; ++k) {
        connect(titleEdits_[k], &QLineEdit::editingFinished, history_, commit);
        connect(subtitleEdits_[k], &QLineEdit::editingFinished, history_, commit);
        connect(chartChecks_[k], &QCheckBox::clicked, history_, commit);
        connect(control<QPushButton>(kChartButtonIds[k]), &QPushButton::clicked, history_,
                commit);
    }
    std::vector<QSpinBox*> spins(widthSpins_.begin(), widthSpins_.end());
    spins.insert(spins.end(), {ratioSpin_, fontSizeSpin_, outerMarginSpin_, scaleMarginSpin_});
    for (QSpinBox* spin : spins)
        connect(spin, &QSpinBox::valueChanged, history_, commit);
    for (ColorButton* button : colorButtons_) {
        connect(button, &QPushButton::pressed, history_, commit);
        connect(button, &ColorButton::colorPicked, history_, commit);
    }
    connect(unitGroup_, &QButtonGroup::idClicked, history_, commit);
    for (int id : {IDC_RESET_COLOURS, IDC_PASTE, IDC_SAMPLE, IDC_BATCH}) {
        connect(control<QPushButton>(id), &QPushButton::pressed, history_, commit);
        connect(control<QPushButton>(id), &QPushButton::clicked, history_, commit);
    }
}

void CTarnelDlg::CommitStep()
{
    if (history_)
        history_->Commit();
}

QAction* CTarnelDlg::UndoAction() const { return history_->UndoAction(); }

QAction* CTarnelDlg::RedoAction() const { return history_->RedoAction(); }

QUndoStack& CTarnelDlg::UndoStack() const { return history_->Stack(); }

void CTarnelDlg::UndoOrRedo(bool redo)
{
    if (redo)
        history_->Redo();
    else
        history_->Undo();
}

void CTarnelDlg::ReplaceFigures(const BepInputs& inputs, const ChartStyle& style,
                                const QString& stepText)
{
    history_->Replace(FiguresOf(inputs, style), stepText);
}

void CTarnelDlg::ApplyPlacement(const QRect& stored, bool zoomed)
{
    minWindowSize_ = size();
    setMinimumSize(minWindowSize_);
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize desktop = screen ? screen->availableGeometry().size() : QSize();
    if (const auto rect = PlacementRect(stored, desktop, minWindowSize_)) {
        move(rect->topLeft());
        resize(rect->size());
    }
    normalPlacement_ = QRect(pos(), size());
    if (zoomed)
        setWindowState(windowState() | Qt::WindowMaximized);
}

void CTarnelDlg::SaveSettings()
{
    if (settingsSaved_)
        return;
    settingsSaved_ = true;
    StoredSettings s;
    s.style = style_;
    for (int k = 0; k < 3; ++k)
        s.amountTexts[k] = amountEdits_[k]->text();
    s.ratio = inputs_.variableCostRatio;
    s.amountUnit = inputs_.amountUnit;
    s.outputFormat = outputFormat_;
    // A maximised (or minimised) window is saved with the rectangle it returns to.
    s.placement = (windowState() & kNotNormal) ? normalPlacement_ : QRect(pos(), size());
    s.zoomed = isMaximized();
    brevant::SaveSettings(store_, s);
}

void CTarnelDlg::RememberNormalPlacement()
{
    if (!(windowState() & kNotNormal))
        normalPlacement_ = QRect(pos(), size());
}

void CTarnelDlg::OnSize()
{
    LayoutCharts();
    if (QWidget* page = ShownPage()) {
        page->setGeometry(chartArea_);
        page->show();
    }
}

void CTarnelDlg::LayoutCharts()
{
    const QWidget* marker = controlById(IDC_CHART_TOP);
    if (!marker)
        return;
    const int top = marker->geometry().top();
    if (!controlById(IDC_CHART_FRAME))
        return;
    chartArea_ = QRect(0, top, width(), std::max(height() - top, 0));
    chartRects_ = ComputeChartRects(chartArea_.size(), style_.drawGraph, style_.outerMargin,
                                    chartRects_);
    PaintMainWindow();
    sizeText_->setText(QStringLiteral("図表の大きさ：%1 × %2")
                           .arg(chartArea_.width())
                           .arg(chartArea_.height()));
}

void CTarnelDlg::PaintMainWindow()
{
    if (holdPaint_)
        return;
    // The analysis page follows the figures while it is shown.
    if (helpShown_ && shownPage_ == kAnalysisPage && analysisPage_)
        analysisPage_->ShowFigures(inputs_);
    if (RenderBackBuffer())
        repaint(chartArea_);
}

bool CTarnelDlg::RenderBackBuffer()
{
    // The buffer holds the screen's device pixels; the drawing on it is in logical pixels.
    const qreal ratio = devicePixelRatioF();
    if (backBuffer_.size() != DeviceSize(size(), ratio) || backBuffer_.devicePixelRatio() != ratio) {
        backBuffer_ = NewDeviceImage(size(), ratio);
        backBuffer_.fill(palette().color(QPalette::Window));
        // Whatever was saved under the drag label belonged to the old buffer.
        renderer_.ClearLabelRect();
    }
    if (chartArea_.isEmpty())
        return false;
    // Draw only when nothing covers the charts; the charts cover the whole area, so it is
    // erased only when they are not drawn.
    bool drawn = false;
    if (amountsReady_ && !helpShown_) {
        const RenderRequest request{inputs_, style_, chartArea_, chartRects_,
                                    drag_.highlightMode};
        drawn = renderer_.RenderCharts(backBuffer_, request, elements_);
    }
    if (!drawn) {
        QPainter p(&backBuffer_);
        p.fillRect(chartArea_, palette().color(QPalette::Window));
    }
    return true;
}

bool CTarnelDlg::RenderComposition()
{
    const RenderRequest request{inputs_, style_, chartArea_, chartRects_, drag_.highlightMode};
    return renderer_.RenderComposition(request, elements_);
}

void CTarnelDlg::SetProgress(int value) { progress_->setValue(value); }

void CTarnelDlg::SetProgressRange(int min, int max) { progress_->setRange(min, max); }

void CTarnelDlg::paintEvent(QPaintEvent* event)
{
    // Moved to a screen of another ratio: the charts are drawn again at its resolution.
    if (backBuffer_.devicePixelRatio() != devicePixelRatioF())
        RenderBackBuffer();
    // The drag value label may reach above the chart area, over the controls' background.
    const QRegion shown = QRegion(chartArea_) | QRegion(renderer_.LabelRect());
    const QRect buffer(QPoint(0, 0), backBuffer_.deviceIndependentSize().toSize());
    const QRegion r = (shown & event->region()) & buffer;
    if (r.isEmpty())
        return;
    QPainter p(this);
    const qreal ratio = backBuffer_.devicePixelRatio();
    for (const QRect& part : r)
        p.drawImage(QRectF(part), backBuffer_, QRectF(DeviceRect(part, ratio)));
}

void CTarnelDlg::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    RememberNormalPlacement();
    OnSize();
}

void CTarnelDlg::moveEvent(QMoveEvent* event)
{
    QDialog::moveEvent(event);
    RememberNormalPlacement();
}

void CTarnelDlg::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        // Neither key closes the window.
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void CTarnelDlg::AddAcceleratorKeys()
{
    // The keys reach the window whichever of its controls has the focus. While the
    // presentation window is open, F1 belongs to it.
    const auto add = [this](const QKeySequence& key, auto action) {
        auto* shortcut = new QShortcut(key, this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, action);
    };
    // Esc cancels a drag; it never closes the window.
    add(Qt::Key_Escape, [this] { CancelDrag(); });
    add(Qt::Key_F1, [this] {
        if (!presentationActive_)
            ToggleHelpPage(kHelpGeneral);
    });
    add(Qt::Key_F2, [this] { ToggleHelpPage(kHelpPresentation); });
    add(Qt::Key_F3, [this] { ToggleHelpPage(kHelpBatch); });
    add(Qt::Key_F4, [this] { ToggleHelpPage(kAnalysisPage); });
    add(Qt::Key_F11, [this] { RunPresentation(); });
}

bool CTarnelDlg::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (qobject_cast<QLineEdit*>(watched) &&
        (type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop) &&
        TakeScenarioDrop(static_cast<QDropEvent*>(event)))
        return true;
    if (watched == controlById(IDC_BATCH)) {
        if (event->type() == QEvent::DragEnter) {
            auto* drag = static_cast<QDragEnterEvent*>(event);
            if (drag->mimeData()->hasUrls())
                drag->acceptProposedAction();
            return true;
        }
        if (event->type() == QEvent::Drop) {
            auto* drop = static_cast<QDropEvent*>(event);
            drop->acceptProposedAction();
            HandleDroppedFiles(DroppedPaths(*drop->mimeData()));
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool CTarnelDlg::TakeScenarioDrop(QDropEvent* event)
{
    const QStringList paths = DroppedPaths(*event->mimeData());
    if (!IsScenarioDrop(paths))
        return false;
    event->acceptProposedAction();
    if (event->type() == QEvent::Drop)
        HandleDroppedFiles(paths);
    return true;
}

void CTarnelDlg::dragEnterEvent(QDragEnterEvent* event)
{
    if (!TakeScenarioDrop(event))
        QDialog::dragEnterEvent(event);
}

void CTarnelDlg::dropEvent(QDropEvent* event)
{
    if (!TakeScenarioDrop(event))
        QDialog::dropEvent(event);
}

void CTarnelDlg::reject()
{
    if (document_ && !document_->MayLeave())
        return;
    QDialog::reject();
}

void CTarnelDlg::HandleDroppedFiles(const QStringList& paths)
{
    if (IsScenarioDrop(paths)) {
        // Queued: its questions and messages come after the drag has finished.
        QTimer::singleShot(0, document_, [this, path = paths.first()] { document_->Open(path); });
        return;
    }
    if (const StringId id = CheckDroppedFiles(paths)) {
        ShowMessage(id, QString(), kMbError);
        return;
    }
    Q_EMIT batchFileDropped(paths.first());
}

void CTarnelDlg::SetAmountText(int index, const QString& text)
{
    // The rule runs on every write, even one that leaves the text as it was.
    if (amountEdits_[index]->text() == text)
        OnAmountChanged(index);
    else
        amountEdits_[index]->setText(text);
}

void CTarnelDlg::OnAmountChanged(int index)
{
    if (!amountsReady_)
        return;
    const AppliedAmount applied = ApplyAmountText(FieldOf(index), amountEdits_[index]->text());
    switch (index) {
    case 0:
        inputs_.maxSales = applied.value;
        break;
    case 1:
        inputs_.targetSales = applied.value;
        break;
    default:
        inputs_.fixedCosts = applied.value;
        break;
    }
    amountWords_[index]->setText(AmountInWords(applied.wordsSource));
    PaintMainWindow();
    const bool newlyCapped = applied.capped && !amountCapped_[index];
    amountCapped_[index] = applied.capped;
    if (newlyCapped && tellCaps_) {
        static const char16_t* const kLabels[3] = {u"最大売上高：", u"目標売上高：", u"固定費："};
        ShowMessage(IDS_AMOUNT_CAPPED,
                    QString::fromUtf16(kLabels[index]) + amountEdits_[index]->text() + u'\n',
                    kMbInformation);
    }
}

void CTarnelDlg::SetRatio(int32_t ratio)
{
    {
        const QSignalBlocker block(ratioSpin_);
        ratioSpin_->setValue(ratio);
    }
    inputs_.variableCostRatio = ratio;
    ratioText_->setText(RatioText(ratio));
}

void CTarnelDlg::ShowBatchResult()
{
    // Written as text, so the entries' rule decides what the model keeps.
    const BepInputs figures = inputs_;
    SetAmountText(0, FormatWhole(figures.maxSales));
    SetAmountText(1, FormatWhole(figures.targetSales));
    SetAmountText(2, FormatWhole(figures.fixedCosts));
    SetRatio(figures.variableCostRatio);
    for (QCheckBox* box : chartChecks_)
        box->setChecked(true);
}

void CTarnelDlg::ToggleChart(int chart, bool fromButton)
{
    style_.drawGraph[chart] = !style_.drawGraph[chart];
    LayoutCharts();
    if (fromButton)
        chartChecks_[chart]->setChecked(style_.drawGraph[chart] != 0);
}

void CTarnelDlg::SetChartShown(int chart, bool shown)
{
    style_.drawGraph[chart] = shown ? 1 : 0;
    const QSignalBlocker quiet(chartChecks_[chart]);
    chartChecks_[chart]->setChecked(shown);
    CommitStep();
}

void CTarnelDlg::SetFontSize(int32_t size)
{
    {
        const QSignalBlocker quiet(fontSizeSpin_);
        fontSizeSpin_->setValue(size);
    }
    style_.fontSize = size;
    CommitStep();
}

void CTarnelDlg::SetAmountUnit(int32_t unit)
{
    inputs_.amountUnit = unit;
    auto* yen = control<QRadioButton>(IDC_UNIT_YEN);
    auto* thousand = control<QRadioButton>(IDC_UNIT_THOUSAND);
    const QSignalBlocker quietYen(yen);
    const QSignalBlocker quietThousand(thousand);
    (unit == 0 ? yen : thousand)->setChecked(true);
    CommitStep();
}

void CTarnelDlg::OnColorPicked(int element, ColorRef color)
{
    style_.colors[element] = color;
    PaintMainWindow();
}

void CTarnelDlg::ResetColours()
{
    if (ShowMessage(IDS_RESET_COLOURS, QString(), kMbQuestion) == kIdNo)
        return;
    for (int k = 0; k < kColorCount; ++k) {
        colorButtons_[k]->setColor(kDefaultColors[k]);
        style_.colors[k] = kDefaultColors[k];
    }
    PaintMainWindow();
}

void CTarnelDlg::PasteFourValues()
{
    const QString text = platform_.ClipboardText();
    if (text.isEmpty())
        return;
    // The question lists the figures as they will be set, so a paste that splits a
    // number differently than meant shows before anything changes.
    if (ShowMessage(IDS_SET_FOUR_VALUES, DescribeFourValues(text), kMbQuestion) == kIdNo)
        return;
    tellCaps_ = false;
    SetFourValues(text);
    tellCaps_ = true;
}

void CTarnelDlg::SetSampleValues()
{
    if (ShowMessage(IDS_SET_FOUR_VALUES, QString(), kMbQuestion) == kIdNo)
        return;
    SetFourValues(QString::fromLatin1(kSampleValues));
}

void CTarnelDlg::SetFourValues(const QString& text)
{
    const StringId failed = ApplyFourValues(
        text, [this](int index, const QString& field) { SetAmountText(index, field); },
        [this](int32_t ratio) {
            SetRatio(ratio);
            PaintMainWindow();
        });
    if (failed)
        ShowMessage(failed, FourValueFields(text).join(u',') + u'\n', kMbError);
}

void CTarnelDlg::ToggleHelpPage(int page)
{
    helpShown_ = !helpShown_;
    if (!helpBox_ || !analysisPage_)
        return;
    if (!helpShown_) {
        helpBox_->hide();
        analysisPage_->hide();
        PaintMainWindow();
        return;
    }
    shownPage_ = page;
    if (page == kAnalysisPage) {
        analysisPage_->setGeometry(chartArea_);
        analysisPage_->show();
        analysisPage_->setFocus();
        PaintMainWindow();
        return;
    }
    QString text = HelpPageText(page);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    helpBox_->setPlainText(text);
    ApplyHangingIndents(*helpBox_->document());
    // Ten pixels of white left and right of the text.
    QTextFrame* root = helpBox_->document()->rootFrame();
    QTextFrameFormat format = root->frameFormat();
    format.setLeftMargin(10);
    format.setRightMargin(10);
    root->setFrameFormat(format);
    helpBox_->setGeometry(chartArea_);
    helpBox_->show();
    PaintMainWindow();
}

QWidget* CTarnelDlg::ShownPage() const
{
    if (!helpShown_)
        return nullptr;
    return shownPage_ == kAnalysisPage ? static_cast<QWidget*>(analysisPage_) : helpBox_;
}

void CTarnelDlg::RunPresentation()
{
    // A drag left pending here (F11 with the button held) would be carried into the
    // presentation, where the first Esc would only cancel it.
    CancelDrag();
    presentationActive_ = true;
    {
        CShowDlg show(*this, store_, this);
        show.exec();
    }
    // The presentation drew the charts at screen size; this window's own layout comes back.
    LayoutCharts();
    presentationActive_ = false;
    repaint();
}

void CTarnelDlg::ShowVersion()
{
    CAboutDlg about(this);
    about.exec();
}

} // namespace brevant
