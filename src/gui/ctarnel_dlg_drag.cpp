// The main window's half of drag editing: mouse handlers, cursors, the value label on the
// back buffer, drops through the entries, Esc and the highlight of the movable elements.
// The arithmetic lives in chart/drag_edit.

#include "ctarnel_dlg.h"

#include "platform.h"

#include <QMouseEvent>

namespace brevant {

namespace {

constexpr int kFlashMilliseconds = 2000;

bool CtrlHeld(const QMouseEvent* event)
{
    return (event->modifiers() & Qt::ControlModifier) != 0;
}

} // namespace

void CTarnelDlg::mouseMoveEvent(QMouseEvent* event)
{
    OnChartMouseMove(event->position().toPoint(), CtrlHeld(event));
}

void CTarnelDlg::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QDialog::mousePressEvent(event);
        return;
    }
    OnChartButtonDown(event->position().toPoint(), CtrlHeld(event));
}

void CTarnelDlg::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QDialog::mouseReleaseEvent(event);
        return;
    }
    OnChartButtonUp(event->position().toPoint());
}

// No explicit grab: while the button is held Qt keeps sending the pointer here, and a grab
// taken on hover could hold the desktop's input when a message box opens.
void CTarnelDlg::OnChartMouseMove(QPoint point, bool ctrl)
{
    if (drag_.dragging() && !helpShown_) {
        DragFeedback(point, ctrl);
        return;
    }
    if (!rect().contains(point) || helpShown_) {
        SetDragCursor(DragCursor::Arrow);
        return;
    }
    SetDragCursor(CursorForElement(HitTestElements(elements_, style_.drawGraph, point)));
}

void CTarnelDlg::OnChartButtonDown(QPoint point, bool ctrl)
{
    if (helpShown_) {
        drag_.dragTarget = -1;
        return;
    }
    // A change still being typed stays a step of its own, apart from the drop.
    CommitStep();
    if (ctrl) {
        drag_.highlightMode = true;
        PaintMainWindow();
        return;
    }
    const int k = HitTestElements(elements_, style_.drawGraph, point);
    if (k >= 0)
        drag_.Start(k);
    else
        drag_.dragTarget = -1;
}

void CTarnelDlg::OnChartButtonUp(QPoint point)
{
    if (helpShown_) {
        // A drag that a help page interrupted ends here, changing nothing; left running it
        // would follow the pointer with no button held once the page is gone.
        if (drag_.dragging()) {
            RemoveDragLabel();
            drag_.dragTarget = -1;
        }
        return;
    }
    if (drag_.highlightMode) {
        drag_.highlightMode = false;
        PaintMainWindow();
        return;
    }
    if (!drag_.dragging())
        return;
    RemoveDragLabel();
    ApplyDrop(point);
    drag_.dragTarget = -1;
}

void CTarnelDlg::DragFeedback(QPoint point, bool ctrl)
{
    // The bands and plot size of the last paint, the chart area of this window.
    ChartGeometry geometry = renderer_.Geometry();
    geometry.chartArea = chartArea_;
    geometry.chartRects = chartRects_;
    const QRect before = renderer_.LabelRect();
    if (UpdateDragFeedback(drag_, renderer_, backBuffer_, point, geometry, style_.outerMargin,
                           inputs_, ctrl, logicalDpiY()))
        repaint(before | renderer_.LabelRect());
}

void CTarnelDlg::ApplyDrop(QPoint point)
{
    ApplyDropChange(ComputeDrop(drag_, point, chartArea_, inputs_));
}

bool CTarnelDlg::ApplyDropChange(const DropChange& change)
{
    const bool changed = SetDroppedFigure(change);
    // One step per drop, in this window or the presentation.
    CommitStep();
    return changed;
}

bool CTarnelDlg::SetDroppedFigure(const DropChange& change)
{
    switch (change.kind) {
    case DropChange::Kind::None:
        return false;
    case DropChange::Kind::Amount: {
        const int index = change.field == AmountField::MaxSales      ? 0
                          : change.field == AmountField::TargetSales ? 1
                                                                     : 2;
        // The entry's own rule stores the value, writes the words line and repaints.
        SetAmountText(index, change.text);
        return true;
    }
    case DropChange::Kind::Ratio:
        SetRatio(change.ratio);
        PaintMainWindow();
        return true;
    }
    return false;
}

void CTarnelDlg::RemoveDragLabel()
{
    const QRect shown = renderer_.LabelRect();
    RemoveValueLabel(renderer_, backBuffer_);
    if (!shown.isEmpty())
        repaint(shown);
}

void CTarnelDlg::CancelDrag()
{
    if (!drag_.dragging())
        return;
    RemoveDragLabel();
    drag_.dragTarget = -1;
    SetDragCursor(DragCursor::Arrow);
}

void CTarnelDlg::FlashMovableElements()
{
    if (helpShown_)
        return;
    drag_.highlightMode = true;
    PaintMainWindow();
    // Blocks the window on purpose: the enlarged elements stay on screen meanwhile.
    platform_.Sleep(kFlashMilliseconds);
    drag_.highlightMode = false;
    PaintMainWindow();
}

void CTarnelDlg::SetDragCursor(DragCursor cursor)
{
    setCursor(CursorShape(cursor));
}

} // namespace brevant
