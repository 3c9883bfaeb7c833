// Dragging the movable lines and points on the real main window: cursors, the value label,
// drops through the entries, cancelling, hidden charts, help pages and the highlight.

#include "drag_edit.h"
#include "dialog_templates.h"
#include "support/large_screen.h"
#include "support/main_window_harness.h"

#include <QCheckBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace brevant;
using namespace brevant::test;

namespace {

[[maybe_unused]] const bool kLargeScreen = UseLargeOffscreenScreen();

// Maximum sales 1,000,000, target 400,000, fixed costs 300,000, ratio 40 %: the target
// line stands at 40 % of the plot, the total-cost line ends at 70 % of its height.
CTarnelDlg& OpenWithFigures(MainWindowHarness& h, std::array<int, kChartCount> charts)
{
    h.Store("Kingaku0", "1000000");
    h.Store("Kingaku1", "400000");
    h.Store("Kingaku2", "300000");
    h.Store("Ritsu", 4000);
    for (int k = 0; k < kChartCount; ++k)
        h.Store(qPrintable(QStringLiteral("DrawGraph%1").arg(k)), charts[k]);
    return h.Open();
}

QPoint Middle(const MovableElement& e) { return (e.p0 + e.p1) / 2; }

// Charts 0 and 1 side by side with plots exactly 600 pixels wide.
CTarnelDlg& OpenWith600PixelPlots(MainWindowHarness& h)
{
    CTarnelDlg& w = OpenWithFigures(h, {1, 1, 0});
    const int margin = w.Style().outerMargin;
    w.resize(2 * (600 + w.Renderer().Geometry().leftBand) + 3 * margin, w.height());
    return w;
}

struct Figures {
    QString max, target, fixed;
    int ratio;
    friend bool operator==(const Figures&, const Figures&) = default;
};

Figures Current(const MainWindowHarness& h)
{
    return {h.Text(IDC_MAX_SALES), h.Text(IDC_TARGET_SALES), h.Text(IDC_FIXED_COSTS),
            h.At<QSpinBox>(IDC_RATIO)->value()};
}

QImage ChartPixels(const CTarnelDlg& w) { return w.backBuffer().copy(w.ChartArea()); }

void Drag(CTarnelDlg& w, QPoint from, QPoint to)
{
    QTest::mousePress(&w, Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(&w, to);
    QTest::mouseRelease(&w, Qt::LeftButton, Qt::NoModifier, to);
}

// Sends a mouse event to the window itself, past any control that covers the point.
void SendMouse(CTarnelDlg& w, QEvent::Type type, QPoint p, Qt::MouseButtons buttons)
{
    QMouseEvent e(type, QPointF(p), w.mapToGlobal(QPointF(p)), Qt::LeftButton, buttons,
                  Qt::NoModifier);
    QApplication::sendEvent(&w, &e);
}

// Counts the window's paints of its chart area and keeps what each one showed.
class PaintRecorder : public QObject {
public:
    explicit PaintRecorder(CTarnelDlg& w) : w_(w) { w.installEventFilter(this); }
    QList<QImage> frames;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint &&
            static_cast<QPaintEvent*>(event)->rect().intersects(w_.ChartArea()))
            frames.append(ChartPixels(w_));
        return false;
    }

private:
    CTarnelDlg& w_;
};

} // namespace

TEST(DragWindow, CursorShowsWhichWayAnElementMoves)
{
    MainWindowHarness h;
    CTarnelDlg& w = OpenWithFigures(h, {1, 1, 1});
    const MovableElementTable& t = w.Elements();
    struct Case {
        const char* what;
        QPoint point;
        Qt::CursorShape shape;
    } cases[] = {
        {"target line", Middle(t[1]), Qt::SizeHorCursor},
        {"fixed-cost line", Middle(t[2]), Qt::SizeVerCursor},
        {"end of the total-cost line", t[3].p0, Qt::SizeVerCursor},
        {"right edge of the combined chart", Middle(t[14]), Qt::SizeHorCursor},
        {"plot interior", Middle(t[0]) + QPoint(-80, 60), Qt::ArrowCursor},
        {"controls above the charts", QPoint(20, w.ChartArea().top() - 30), Qt::ArrowCursor},
    };
    for (const Case& c : cases) {
        QTest::mouseMove(&w, c.point);
        EXPECT_EQ(w.cursor().shape(), c.shape) << c.what;
    }
}

TEST(DragWindow, PressAndReleaseWithoutMovingChangesNothing)
{
    MainWindowHarness h;
    CTarnelDlg& w = OpenWithFigures(h, {1, 1, 1});
    const Figures before = Current(h);
    for (int k : {1, 2, 3, 6, 7, 13}) {
        const MovableElement& e = w.Elements()[k];
        const QPoint p = e.kind == MovableElement::kPoint ? e.p0 : Middle(e);
        QTest::mousePress(&w, Qt::LeftButton, Qt::NoModifier, p);
        EXPECT_EQ(w.Drag().dragTarget, k);
        QTest::mouseRelease(&w, Qt::LeftButton, Qt::NoModifier, p);
        EXPECT_EQ(Current(h), before) << k;
        EXPECT_EQ(w.Drag().dragTarget, -1);
    }
}

TEST(DragWindow, TargetLineDroppedAt420Of600PixelsSets700000)
{
    MainWindowHarness h;
    CTarnelDlg& w = OpenWith600PixelPlots(h);
    const ChartGeometry& g = w.Renderer().Geometry();
    ASSERT_EQ(g.plotWidth, 600);
    const QPoint to(int(PlotLeft(g, 0)) + 420, Middle(w.Elements()[1]).y());

    QTest::mousePress(&w, Qt::LeftButton, Qt::NoModifier, Middle(w.Elements()[1]));
    QTest::mouseMove(&w, to);
    // The label sits centred above the pointer, white under black text.
    const QRect label = w.Renderer().LabelRect();
    ASSERT_FALSE(label.isEmpty());
    EXPECT_EQ(label.bottom(), to.y() - 1);
    EXPECT_NEAR(label.center().x(), to.x(), 1);
    EXPECT_EQ(w.backBuffer().pixel(label.topLeft()), qRgb(255, 255, 255));
    EXPECT_EQ(h.Text(IDC_TARGET_SALES), "400000");

    QTest::mouseRelease(&w, Qt::LeftButton, Qt::NoModifier, to);
    EXPECT_EQ(h.Text(IDC_TARGET_SALES), "700000");
    EXPECT_EQ(w.Inputs().targetSales, 700000);
    EXPECT_EQ(h.At<QLabel>(IDC_TARGET_SALES_WORDS)->text(), QStringLiteral("70万円"));
    EXPECT_TRUE(w.Renderer().LabelRect().isEmpty());
    // The repaint moved the line to where it was dropped.
    EXPECT_NEAR(w.Elements()[1].p1.x(), to.x(), 1);
}

TEST(DragWindow, LineEndDropSetsTheRatioSpinAndText)
{
    {
        MainWindowHarness h;
        CTarnelDlg& w = OpenWithFigures(h, {1, 1, 1});
        const ChartGeometry& g = w.Renderer().Geometry();
        const int plotTop = w.ChartArea().top() + w.Style().outerMargin + g.topBand;
        // Above the plot the scale reads the maximum sales: 70 % variable costs.
        Drag(w, w.Elements()[3].p0, QPoint(w.Elements()[3].p0.x(), plotTop - 10));
        EXPECT_EQ(w.Inputs().variableCostRatio, 7000);
        EXPECT_EQ(h.At<QSpinBox>(IDC_RATIO)->value(), 7000);
        EXPECT_EQ(h.At<QLabel>(IDC_RATIO_TEXT)->text(), "70.00%");
    }
    MainWindowHarness h;
    CTarnelDlg& w = OpenWithFigures(h, {1, 1, 1});
    // The marginal-profit end at the plot bottom: no marginal profit, ratio 100 %.
    const ChartGeometry& g = w.Renderer().Geometry();
    const QPoint bottom(w.Elements()[6].p0.x(), int(PlotBottom(g, w.Style().outerMargin)));
    Drag(w, w.Elements()[6].p0, bottom);
    EXPECT_EQ(w.Inputs().variableCostRatio, 10000);
    EXPECT_EQ(h.At<QSpinBox>(IDC_RATIO)->value(), 10000);
    EXPECT_EQ(h.At<QLabel>(IDC_RATIO_TEXT)->text(), "100.00%");
}

TEST(DragWindow, ReleaseOutsideTheChartAreaCancels)
{
    MainWindowHarness h;
    CTarnelDlg& w = OpenWithFigures(h, {1, 1, 1});
    const Figures before = Current(h);
    const QImage charts = ChartPixels(w);
    const QPoint start = Middle(w.Elements()[2]);
    const QPoint above(start.x(), w.ChartArea().top() - 20);

    QTest::mousePress(&w, Qt::LeftButton, Qt::NoModifier, start);
    QTest::mouseMove(&w, start - QPoint(0, 40));
    EXPECT_FALSE(w.Renderer().LabelRect().isEmpty());
    QTest::mouseMove(&w, above);
    EXPECT_TRUE(w.Renderer().LabelRect().isEmpty());
    QTest::mouseRelease(&w, Qt::LeftButton, Qt::NoModifier, above);

    EXPECT_EQ(Current(h), before);
    EXPECT_EQ(ChartPixels(w), charts);
}

TEST(DragWindow, EscCancelsARunningDragOnly)
{
    MainWindowHarness h;
    CTarnelDlg& w = OpenWithFigures(h, {1, 1, 1});
    const Figures before = Current(h);
    const QImage charts = ChartPixels(w);

    QTest::keyClick(&w, Qt::Key_Escape);
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(Current(h), before);

    const QPoint start = Middle(w.Elements()[1]);
    const QPoint to = start + QPoint(60, 0);
    QTest::mousePress(&w, Qt::LeftButton, Qt::NoModifier, start);
    QTest::mouseMove(&w, to);
    ASSERT_FALSE(w.Renderer().LabelRect().isEmpty());
    QTest::keyClick(&w, Qt::Key_Escape);
    EXPECT_TRUE(w.Renderer().LabelRect().isEmpty());
    EXPECT_EQ(w.cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(ChartPixels(w), charts);
    QTest::mouseRelease(&w, Qt::LeftButton, Qt::NoModifier, to);
    EXPECT_EQ(Current(h), before);
    EXPECT_TRUE(w.isVisible());
}

TEST(DragWindow, HiddenChartsRecordsNeverAnswer)
{
    MainWindowHarness h;
    CTarnelDlg& w = OpenWithFigures(h, {1, 1, 1});
    const QPoint marginalEnd = w.Elements()[6].p0;
    const QPoint fixedLine = Middle(w.Elements()[5]);
    h.At<QCheckBox>(IDC_CHART1_CHECK)->click();
    ASSERT_EQ(w.Style().drawGraph[1], 0);
    // The records keep their last drawn positions.
    EXPECT_EQ(w.Elements()[6].p0, marginalEnd);

    const Figures before = Current(h);
    for (QPoint p : {marginalEnd, fixedLine}) {
        QTest::mouseMove(&w, p);
        EXPECT_EQ(w.cursor().shape(), Qt::ArrowCursor);
        Drag(w, p, p + QPoint(0, -30));
        EXPECT_EQ(Current(h), before);
    }
}

TEST(DragWindow, PressWhereTheElementIsNotDrawnStartsNoDrag)
{
    struct Case {
        const char* what;
        int element;
        const char* fixedCosts;
        int ratio;
        const char* targetSales;
    } cases[] = {
        // Total cost 1,800,000 at maximum sales: the handle lies over the controls.
        {"total-cost end above the chart area", 3, "900000", 9000, "400000"},
        // The line is not drawn; its record keeps the last place it was drawn at.
        {"target line after target sales passed the maximum", 1, "300000", 4000, "2000000"},
    };
    for (const Case& c : cases) {
        MainWindowHarness h;
        CTarnelDlg& w = OpenWithFigures(h, {1, 1, 1});
        h.Type(IDC_FIXED_COSTS, QString::fromLatin1(c.fixedCosts));
        h.At<QSpinBox>(IDC_RATIO)->setValue(c.ratio);
        h.Type(IDC_TARGET_SALES, QString::fromLatin1(c.targetSales));
        const MovableElement& e = w.Elements()[c.element];
        const QPoint at = e.kind == MovableElement::kPoint ? e.p0 : Middle(e);
        if (c.element == 3) {
            ASSERT_TRUE(at.y() >= 0 && at.y() < w.ChartArea().top()) << at.y();
        }
        const Figures before = Current(h);

        SendMouse(w, QEvent::MouseButtonPress, at, Qt::LeftButton);
        EXPECT_EQ(w.Drag().dragTarget, -1) << c.what;
        SendMouse(w, QEvent::MouseMove, w.ChartArea().center(), Qt::LeftButton);
        SendMouse(w, QEvent::MouseButtonRelease, w.ChartArea().center(), Qt::NoButton);
        EXPECT_EQ(Current(h), before) << c.what;
    }
}

TEST(DragWindow, HelpPageBlocksPressesReleasesAndTheHighlight)
{
    MainWindowHarness h;
    CTarnelDlg& w = OpenWithFigures(h, {1, 1, 1});
    const Figures before = Current(h);
    const QPoint start = Middle(w.Elements()[1]);
    const QPoint to = start + QPoint(60, 0);

    // A drag that a help page interrupts sets nothing and does not outlive the release.
    QTest::mousePress(&w, Qt::LeftButton, Qt::NoModifier, start);
    QTest::mouseMove(&w, to);
    h.At<QPushButton>(IDC_GENERAL_HELP)->click();
    ASSERT_TRUE(w.helpShown());
    QTest::mouseRelease(&w, Qt::LeftButton, Qt::NoModifier, to);
    EXPECT_EQ(Current(h), before);
    EXPECT_EQ(w.Drag().dragTarget, -1);

    // The help box covers the charts; the window's own handlers refuse too.
    SendMouse(w, QEvent::MouseMove, start, Qt::NoButton);
    EXPECT_EQ(w.cursor().shape(), Qt::ArrowCursor);
    SendMouse(w, QEvent::MouseButtonPress, start, Qt::LeftButton);
    EXPECT_EQ(w.Drag().dragTarget, -1);
    SendMouse(w, QEvent::MouseMove, to, Qt::LeftButton);
    SendMouse(w, QEvent::MouseButtonRelease, to, Qt::NoButton);
    EXPECT_EQ(Current(h), before);

    PaintRecorder paints(w);
    h.At<QPushButton>(IDC_HIGHLIGHT)->click();
    EXPECT_TRUE(h.platform.slept.isEmpty());
    EXPECT_TRUE(paints.frames.isEmpty());
    EXPECT_FALSE(w.Drag().highlightMode);

    h.At<QPushButton>(IDC_GENERAL_HELP)->click();
    ASSERT_FALSE(w.helpShown());
    QTest::mouseMove(&w, to + QPoint(5, 0));
    EXPECT_TRUE(w.Renderer().LabelRect().isEmpty());
}

TEST(DragWindow, HighlightButtonSleepsTwoSecondsBetweenTwoRepaints)
{
    MainWindowHarness h;
    CTarnelDlg& w = OpenWithFigures(h, {1, 1, 1});
    const QImage normal = ChartPixels(w);
    PaintRecorder paints(w);

    h.At<QPushButton>(IDC_HIGHLIGHT)->click();
    EXPECT_EQ(h.platform.slept, QList<int>{2000});
    ASSERT_EQ(paints.frames.size(), 2);
    EXPECT_NE(paints.frames[0], normal);
    EXPECT_EQ(paints.frames[1], normal);
    EXPECT_FALSE(w.Drag().highlightMode);
}

TEST(DragWindow, CtrlPressHighlightsUntilReleaseWithoutDragging)
{
    MainWindowHarness h;
    CTarnelDlg& w = OpenWithFigures(h, {1, 1, 1});
    const Figures before = Current(h);
    const QImage normal = ChartPixels(w);
    const QPoint start = Middle(w.Elements()[1]);
    const QPoint to = start + QPoint(60, 0);

    QTest::mousePress(&w, Qt::LeftButton, Qt::ControlModifier, start);
    EXPECT_TRUE(w.Drag().highlightMode);
    EXPECT_EQ(w.Drag().dragTarget, -1);
    const QImage highlighted = ChartPixels(w);
    EXPECT_NE(highlighted, normal);
    QTest::mouseMove(&w, to);
    EXPECT_TRUE(w.Renderer().LabelRect().isEmpty());
    QTest::mouseRelease(&w, Qt::LeftButton, Qt::NoModifier, to);

    EXPECT_FALSE(w.Drag().highlightMode);
    EXPECT_EQ(ChartPixels(w), normal);
    EXPECT_EQ(Current(h), before);
}
