#include "cshow_dlg.h"

#include "message.h"
#include "profile_store.h"
#include "settings.h"
#include "presentation_host.h"
#include "chart_geometry.h"
#include "device_pixels.h"
#include "platform.h"
#include "present_commands.h"
#include "string_table.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWheelEvent>

#include <algorithm>

namespace brevant {

namespace {

constexpr int kHideTimerMs = 5000;
const QString kAlwaysShowKey = QStringLiteral("AlwaysShow");

} // namespace

CShowDlg::CShowDlg(PresentationHost& mainWindow, ProfileStore& store, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      main_(mainWindow),
      store_(store),
      background_(mainWindow.Renderer()),
      tooltip_(this)
{
    // The paint covers every pixel from the back buffer: no background erase, no flicker.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setModal(true);
    hideTimer_.setSingleShot(true);
    connect(&hideTimer_, &QTimer::timeout, this, &CShowDlg::OnHideTimer);
}

CShowDlg::~CShowDlg()
{
    hideTimer_.stop();
    store_.WriteString(kSection, kInkColourKey, InkColourText(stick_.InkColour()));
    background_.Forget();
    ShowCursor();
}

void CShowDlg::SetPicturePaths(const QString& menuStrip, const std::array<QString, 3>& sticks)
{
    stripPath_ = menuStrip;
    stickPaths_ = sticks;
}

int CShowDlg::exec()
{
    if (!Start())
        return QDialog::Rejected;
    return QDialog::exec();
}

bool CShowDlg::Start()
{
    tooltip_.SetDelays(500, 5000, 500);
    tooltip_.SetColours(QColor(0, 0, 123), QColor(156, 215, 231));
    tooltip_.SetMaxTipWidth(512);

    stick_.SetInkColour(InkColourFromText(
        store_.ReadString(kSection, kInkColourKey, InkColourText(kDefaultInkColour))));

    // The screen the main window is on, so the talk stays where the presenter works.
    const QScreen* screen =
        parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    const QRect desktop = screen ? screen->geometry() : QRect(0, 0, 640, 480);
    screenSize_ = desktop.size();

    const bool loaded = stripPath_.isEmpty() ? images_.Load()
                                             : images_.LoadFrom(stripPath_, stickPaths_);
    // The screen's device pixels; everything is drawn on it in logical pixels.
    buffer_ = NewDeviceImage(screenSize_, screen ? screen->devicePixelRatio() : 1.0);
    if (!loaded || buffer_.isNull()) {
        ShowMessage(main_.GetPlatform(), IDS_MEMORY, QString(), kMbError);
        return false;
    }
    stick_.SetImages(images_.sticks);

    if (menu_.Start(screenSize_, store_.ReadInt(kSection, kAlwaysShowKey, 1) != 0))
        hideTimer_.start(kHideTimerMs);

    // The full-screen state, not just the screen's size: a window manager keeps a plain
    // window out of its panels, but lets a full-screen one cover them.
    setGeometry(desktop);
    RepaintAll();
    showFullScreen();
    raise();
    activateWindow();
    setFocus();
    lastPointer_ = mapFromGlobal(QCursor::pos());
    return true;
}

void CShowDlg::RepaintAll()
{
    RenderAll();
    repaint();
}

void CShowDlg::RenderAll()
{
    const QRect screen = screenRect();
    ChartStyle& style = main_.Style();
    chartRects_ = ComputeChartRects(screenSize_, style.drawGraph, style.outerMargin, chartRects_);
    const RenderRequest request{main_.Inputs(), style, screen, chartRects_,
                                main_.Drag().highlightMode};
    ChartRenderer& renderer = main_.Renderer();
    if (renderer.RenderCharts(buffer_, request, main_.Elements()))
        charts_ = renderer.DisplayImage();
    PaintMenu(buffer_, images_.menuStrip, menu_);
    background_.Forget();
}

void CShowDlg::RepaintArea(const QRect& area)
{
    if (charts_.size() != buffer_.size()) {
        RepaintAll();
        return;
    }
    // Take the stick (or drag label) away first, so no piece of it stays outside the area.
    QRegion dirty(area);
    if (!background_.Rect().isEmpty()) {
        dirty += background_.Rect();
        background_.Restore(buffer_);
    }
    const QRect inside = DeviceRect(area & screenRect(), buffer_.devicePixelRatio());
    CopyDevicePixels(buffer_, inside.topLeft(), charts_, inside);
    PaintMenu(buffer_, images_.menuStrip, menu_);
    background_.Forget();
    repaint(dirty);
}

void CShowDlg::UpdateStick(bool buttonDown, QPoint point)
{
    QRegion dirty(background_.Rect());
    if (buttonDown && stick_.StrokeActive())
        dirty += QRect(stick_.LastInkPoint(), point).normalized().adjusted(-3, -3, 3, 3);
    stick_.UpdatePointer(buffer_, background_, buttonDown, point);
    dirty += PointerStick::SaveRect(point, stick_.Size());
    const QPoint ripple = PointerStick::RippleCentre(point);
    dirty += QRect(ripple.x() - 80, ripple.y() - 80, 160, 160);
    update(dirty);
}

QPoint CShowDlg::CursorPosition() const { return lastPointer_; }

void CShowDlg::paintEvent(QPaintEvent* event)
{
    const qreal ratio = buffer_.devicePixelRatio();
    if (ratio != devicePixelRatioF()) {
        // Moved to a screen of another ratio: everything again at its resolution, with
        // the whole window painted.
        buffer_ = NewDeviceImage(screenSize_, devicePixelRatioF());
        if (!buffer_.isNull())
            RenderAll();
        update();
        return;
    }
    QPainter p(this);
    for (const QRect& r : event->region())
        p.drawImage(QRectF(r), buffer_, QRectF(DeviceRect(r, ratio)));
}

void CShowDlg::MenuMove(QPoint point, QPoint global)
{
    const PresentMenu::MoveEffect effect = menu_.OnMove(point);
    if (effect.hideTooltip)
        tooltip_.Activate(false);
    if (effect.tooltipButton >= 0) {
        const QRect button = menu_.ButtonRect(effect.tooltipButton);
        tooltip_.SetAnchor(QRect(mapToGlobal(button.topLeft()), button.size()));
        tooltip_.SetTipText(PresentMenu::TooltipText(effect.tooltipButton));
        tooltip_.Activate(true);
    }
    if (!effect.repaint.isEmpty())
        RepaintArea(effect.repaint);
    tooltip_.RelayMove(global);
}

void CShowDlg::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    lastPointer_ = point;
    MenuMove(point, event->globalPosition().toPoint());
    if (stick_.Shown())
        UpdateStick(event->buttons().testFlag(Qt::LeftButton), point);
    DragMove(point, event->modifiers().testFlag(Qt::ControlModifier));
}

void CShowDlg::mousePressEvent(QMouseEvent* event)
{
    lastPointer_ = event->position().toPoint();
    if (event->button() != Qt::LeftButton)
        return;
    DragState& drag = main_.Drag();
    if (event->modifiers().testFlag(Qt::ControlModifier)) {
        drag.highlightMode = true;
        RepaintAll();
        return;
    }
    const int lit = menu_.ClickTarget();
    if (lit >= 0) {
        OnMenuButton(lit);
        return;
    }
    if (stick_.Shown()) {
        // A press with the stick belongs to it: a ripple, never a drag.
        QRegion dirty(background_.Rect());
        stick_.Press(buffer_, background_, lastPointer_);
        dirty += PointerStick::SaveRect(lastPointer_, stick_.Size());
        update(dirty);
        return;
    }
    const int k = HitTestElements(main_.Elements(), main_.Style().drawGraph, lastPointer_);
    if (k >= 0)
        drag.Start(k);
    else
        drag.dragTarget = -1;
}

void CShowDlg::mouseReleaseEvent(QMouseEvent* event)
{
    lastPointer_ = event->position().toPoint();
    if (event->button() == Qt::RightButton) {
        OpenContextMenu(event->globalPosition().toPoint());
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    DragState& drag = main_.Drag();
    if (drag.highlightMode) {
        drag.highlightMode = false;
        RepaintAll();
    } else if (stick_.Shown()) {
        QRegion dirty(background_.Rect());
        stick_.Release(buffer_, background_, lastPointer_);
        dirty += PointerStick::SaveRect(lastPointer_, stick_.Size());
        update(dirty);
    } else if (drag.dragging()) {
        DropDrag(lastPointer_);
    }
}

void CShowDlg::DragMove(QPoint point, bool ctrl)
{
    DragState& drag = main_.Drag();
    if (drag.dragging()) {
        // The bands and plot size of this window's last render, the screen as chart area.
        ChartGeometry geometry = main_.Renderer().Geometry();
        geometry.chartArea = screenRect();
        geometry.chartRects = chartRects_;
        const QRect before = background_.Rect();
        if (UpdateDragFeedback(drag, main_.Renderer(), buffer_, point, geometry,
                               main_.Style().outerMargin, main_.Inputs(), ctrl, logicalDpiY()))
            repaint(QRegion(before) + background_.Rect());
        return;
    }
    if (!rect().contains(point)) {
        SetDragCursor(DragCursor::Arrow);
        return;
    }
    SetDragCursor(CursorForElement(HitTestElements(main_.Elements(), main_.Style().drawGraph, point)));
}

void CShowDlg::DropDrag(QPoint point)
{
    DragState& drag = main_.Drag();
    RemoveDragLabel();
    // The whole screen is the chart area: a release anywhere applies the pending value.
    const bool changed = main_.ApplyDropChange(ComputeDrop(drag, point, screenRect(), main_.Inputs()));
    drag.dragTarget = -1;
    if (changed)
        RepaintAll();
}

void CShowDlg::CancelDrag()
{
    RemoveDragLabel();
    main_.Drag().dragTarget = -1;
    SetDragCursor(DragCursor::Arrow);
}

void CShowDlg::RemoveDragLabel()
{
    const QRect shown = background_.Rect();
    RemoveValueLabel(main_.Renderer(), buffer_);
    if (!shown.isEmpty())
        repaint(shown);
}

void CShowDlg::SetDragCursor(DragCursor cursor)
{
    setCursor(CursorShape(cursor));
}

void CShowDlg::wheelEvent(QWheelEvent* event)
{
    lastPointer_ = event->position().toPoint();
    const int step = WheelStep(event->angleDelta());
    event->accept();
    if (step == 0)
        return;
    // Towards the user makes the stick longer.
    if (stick_.Shown())
        ChangeStickLevel(-step);
    if (event->modifiers().testFlag(Qt::ControlModifier))
        ChangeFontSize(step);
}

namespace {

// -1 for Ctrl+Z, +1 for Ctrl+Y or Ctrl+Shift+Z: the main window's undo and redo keys.
int HistoryKey(const QKeyEvent* event)
{
    const QKeyCombination keys = event->keyCombination();
    if (keys == QKeyCombination(Qt::ControlModifier, Qt::Key_Z))
        return -1;
    if (keys == QKeyCombination(Qt::ControlModifier, Qt::Key_Y) ||
        keys == QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z))
        return +1;
    return 0;
}

} // namespace

void CShowDlg::keyPressEvent(QKeyEvent* event)
{
    if (const int command = PresentKeyCommand(event->key(), event->modifiers())) {
        OnCommand(command);
        return;
    }
    if (const int step = HistoryKey(event)) {
        // Not in the middle of a drag: its label and pending value belong to the old figures.
        if (!main_.Drag().dragging()) {
            main_.UndoOrRedo(step > 0);
            RepaintAll();
        }
        return;
    }
    switch (event->key()) {
    case Qt::Key_F1:
    case Qt::Key_F2:
    case Qt::Key_F3:
        ToggleChart(event->key() - Qt::Key_F1);
        return;
    case Qt::Key_F11:
        accept();
        return;
    default:
        // Skips QDialog's own Esc and Enter handling.
        QWidget::keyPressEvent(event); // NOLINT(bugprone-parent-virtual-call)
    }
}

void CShowDlg::OnCommand(int id)
{
    switch (id) {
    case ID_ERASE_INK:
        RepaintAll();
        break;
    case ID_STICK_SHORTER:
        ChangeStickLevel(-1);
        break;
    case ID_STICK_LONGER:
        ChangeStickLevel(+1);
        break;
    case ID_PRESENT_ESCAPE:
        if (main_.Drag().dragging())
            CancelDrag();
        else
            accept();
        break;
    case ID_PRESENT_END:
        accept();
        break;
    case ID_FONT_LARGER:
        ChangeFontSize(+1);
        break;
    case ID_FONT_SMALLER:
        ChangeFontSize(-1);
        break;
    case ID_ALWAYS_SHOW_MENU:
        ToggleAlwaysShow();
        break;
    case ID_THOUSAND_YEN:
        ToggleUnit();
        break;
    default:
        break;
    }
}

void CShowDlg::OnHideTimer()
{
    hideTimer_.stop();
    const QRect area = menu_.OnHideTimer(mapFromGlobal(QCursor::pos()));
    if (!menu_.Hovered())
        tooltip_.Activate(false);
    RepaintArea(area);
}

void CShowDlg::OnMenuButton(int button)
{
    // The tip of the button would stay beside what the button opens, or until it times out.
    tooltip_.Activate(false);
    switch (button) {
    case PresentMenu::kChart1:
    case PresentMenu::kChart2:
    case PresentMenu::kChart3:
        ToggleChart(button);
        break;
    case PresentMenu::kStick:
        ToggleStick();
        break;
    case PresentMenu::kErase:
        RepaintAll();
        break;
    case PresentMenu::kColour:
        ChooseInkColour();
        break;
    case PresentMenu::kEnd:
        reject();
        break;
    default:
        break;
    }
}

void CShowDlg::ToggleChart(int chart)
{
    main_.SetChartShown(chart, main_.Style().drawGraph[chart] == 0);
    RepaintAll();
}

void CShowDlg::ChangeFontSize(int delta)
{
    main_.SetFontSize(std::clamp(main_.Style().fontSize + delta, 5, 50));
    RepaintAll();
}

void CShowDlg::ToggleUnit()
{
    main_.SetAmountUnit(main_.Inputs().amountUnit == 0 ? 1 : 0);
    RepaintAll();
}

void CShowDlg::ToggleAlwaysShow()
{
    const QRect area = menu_.ToggleAlwaysShow();
    store_.WriteInt(kSection, kAlwaysShowKey, menu_.AlwaysShow() ? 1 : 0);
    RepaintArea(area);
}

void CShowDlg::ToggleStick()
{
    if (stick_.Toggle())
        HideCursor();
    else
        ShowCursor();
    RepaintAll();
}

void CShowDlg::ChooseInkColour()
{
    const bool shown = stick_.Shown();
    if (shown) {
        RepaintAll();
        ShowCursor();
    }
    if (const std::optional<ColorRef> colour = main_.GetPlatform().ChooseColor(stick_.InkColour()))
        stick_.SetInkColour(*colour);
    if (shown)
        HideCursor();
}

void CShowDlg::ChangeStickLevel(int delta)
{
    if (stick_.ChangeLevel(delta))
        UpdateStick(false, CursorPosition());
}

void CShowDlg::OpenContextMenu(QPoint globalPos)
{
    const auto menu = CreatePresentContextMenu(this, menu_.AlwaysShow(),
                                               main_.Inputs().amountUnit != 0);
    if (const int command = ExecCentredMenu(*menu, globalPos))
        OnCommand(command);
}

void CShowDlg::HideCursor()
{
    if (cursorHidden_)
        return;
    QApplication::setOverrideCursor(Qt::BlankCursor);
    cursorHidden_ = true;
}

void CShowDlg::ShowCursor()
{
    if (!cursorHidden_)
        return;
    QApplication::restoreOverrideCursor();
    cursorHidden_ = false;
}

} // namespace brevant
