// The windows on a scaled screen. CTest runs this file once per device pixel ratio (1, 1.5
// and 2, through QT_SCALE_FACTOR on the offscreen platform): the charts, ink and ripple
// must hold detail at the screen's resolution, while geometry, hit-testing and every
// export stay exactly what they are at 1x.

#include "cshow_dlg.h"
#include "current_output.h"
#include "device_pixels.h"
#include "draw_surface.h"
#include "dialog_templates.h"
#include "headless_chart_host.h"
#include "image_export.h"
#include "support/large_screen.h"
#include "support/main_window_harness.h"

#include <QFile>
#include <QMouseEvent>
#include <QRadioButton>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

using namespace brevant;
using namespace brevant::test;

namespace {

[[maybe_unused]] const bool kLargeScreen = UseLargeOffscreenScreen();

// A frame colour nothing else in the charts uses.
const ColorRef kFrameColour = Rgb(250, 0, 250);

qreal ExpectedRatio()
{
    bool ok = false;
    const double r = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&ok);
    return ok ? r : 1.0;
}

QByteArray FileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct ScaledWindow {
    MainWindowHarness h;

    explicit ScaledWindow(bool hairFrame = false)
    {
        h.Store("Kingaku0", QStringLiteral("154321000"));
        h.Store("Kingaku1", QStringLiteral("125678900"));
        h.Store("Kingaku2", QStringLiteral("49605558"));
        h.Store("Ritsu", 5613);
        h.Store("PX", 0);
        h.Store("PY", 0);
        h.Store("SX", 900);
        h.Store("SY", 700);
        if (hairFrame) {
            h.Store("Futosa8", 0);
            h.Store("Col8", QString::number(kFrameColour));
        }
        h.Open();
    }
    CTarnelDlg& W() { return *h.window; }

    // The same charts without a window, at 1x.
    std::unique_ptr<HeadlessChartHost> Headless()
    {
        auto host = std::make_unique<HeadlessChartHost>(h.platform, W().ChartArea().size(),
                                                        W().Inputs(), W().Style(),
                                                        W().OutputFormatValue());
        host->LayoutCharts();
        return host;
    }
    QPoint Device(QPoint logical) const { return DevicePoint(logical, ExpectedRatio()); }
};

TEST(HiDpiWindow, BackBufferHoldsTheScreensDevicePixels)
{
    ScaledWindow s;
    const qreal ratio = ExpectedRatio();
    EXPECT_DOUBLE_EQ(s.W().devicePixelRatioF(), ratio);
    EXPECT_DOUBLE_EQ(s.W().backBuffer().devicePixelRatio(), ratio);
    EXPECT_EQ(s.W().backBuffer().size(), DeviceSize(s.W().size(), ratio));
    // The chart area and its size text stay in logical pixels.
    EXPECT_LE(s.W().ChartArea().bottom(), s.W().height());
}

TEST(HiDpiWindow, GeometryAndHitTestingAreThoseOfOneX)
{
    ScaledWindow s;
    const auto host = s.Headless();
    const ChartGeometry& a = s.W().Renderer().Geometry();
    const ChartGeometry& b = host->Renderer().Geometry();
    EXPECT_EQ(a.leftBand, b.leftBand);
    EXPECT_EQ(a.topBand, b.topBand);
    EXPECT_EQ(a.bottomBand, b.bottomBand);
    EXPECT_EQ(a.plotWidth, b.plotWidth);
    EXPECT_EQ(a.plotHeight, b.plotHeight);
    const QPoint offset = s.W().ChartArea().topLeft();
    for (int k = 0; k < MovableElementTable::kCount; ++k) {
        EXPECT_EQ(s.W().Elements()[k].p0, host->Elements()[k].p0 + offset) << "element " << k;
        if (s.W().Elements()[k].kind == MovableElement::kSegment) {
            EXPECT_EQ(s.W().Elements()[k].p1, host->Elements()[k].p1 + offset) << "element " << k;
        }
    }
    // A press on an element's logical position starts its drag at any ratio; the value
    // label follows the pointer and, taken away, leaves every device pixel as it was.
    const QImage before = s.W().backBuffer().copy();
    const MovableElement& e = s.W().Elements()[1];
    const QPoint start = (e.p0 + e.p1) / 2;
    QTest::mousePress(&s.W(), Qt::LeftButton, {}, start);
    EXPECT_EQ(s.W().Drag().dragTarget, 1);
    for (int dy : {-7, -19, -33}) {
        const QPoint p = start + QPoint(3, dy);
        QMouseEvent move(QEvent::MouseMove, p, s.W().mapToGlobal(p), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&s.W(), &move);
    }
    EXPECT_FALSE(s.W().Renderer().LabelRect().isEmpty());
    EXPECT_NE(s.W().backBuffer(), before);
    s.W().CancelDrag();
    EXPECT_EQ(s.W().backBuffer(), before);
}

TEST(HiDpiWindow, OnePixelFrameStaysOneDevicePixelWide)
{
    ScaledWindow s(true);
    const ChartGeometry& g = s.W().Renderer().Geometry();
    const QRect chart = s.W().ChartRects()[0].translated(s.W().ChartArea().topLeft());
    const int left = chart.left() + g.leftBand;
    const int top = chart.top() + g.topBand;
    const QImage& buffer = s.W().backBuffer();
    const QRgb frame = ToQColor(kFrameColour).rgb();

    // Rows through the middle half of the plot; lines crossing the frame cover it there.
    int rows = 0;
    int oneWide = 0;
    for (int y = s.Device({0, top + g.plotHeight / 4}).y();
         y < s.Device({0, top + 3 * g.plotHeight / 4}).y(); ++y) {
        int count = 0;
        for (int x = s.Device({left - 2, 0}).x(); x <= s.Device({left + 3, 0}).x(); ++x)
            count += buffer.pixel(x, y) == frame ? 1 : 0;
        if (count == 0)
            continue;
        ++rows;
        oneWide += count == 1 ? 1 : 0;
        EXPECT_LE(count, 1) << "device row " << y;
    }
    EXPECT_GT(rows, g.plotHeight / 4);
    EXPECT_EQ(oneWide, rows);
}

TEST(HiDpiWindow, TextIsDrawnAtDeviceResolution)
{
    const qreal ratio = ExpectedRatio();
    if (ratio == 1)
        GTEST_SKIP() << "at 1x the window shows the 1x composition itself";
    ScaledWindow s;
    const QRect area = DeviceRect(s.W().ChartArea(), ratio);
    const QImage shown = s.W().backBuffer().copy(area);
    s.W().RenderComposition();
    const QImage blownUp = s.W().ComposedImage().scaled(area.size(), Qt::IgnoreAspectRatio,
                                                        Qt::FastTransformation);
    ASSERT_EQ(shown.size(), blownUp.size());
    // Not a 1x picture blown up: edges fall between the 1x pixels.
    int differing = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            differing += shown.pixel(x, y) != blownUp.pixel(x, y) ? 1 : 0;
    EXPECT_GT(differing, shown.width() * shown.height() / 200);

    if (ratio == 2) {
        // The title's glyph edges are not 2 x 2 blocks.
        const ChartGeometry& g = s.W().Renderer().Geometry();
        const QRect chart = s.W().ChartRects()[0];
        const QRect title = DeviceRect(QRect(chart.left(), chart.top(), chart.width(), g.topBand), 2);
        int mixedBlocks = 0;
        for (int y = title.top() & ~1; y + 1 <= title.bottom(); y += 2) {
            for (int x = title.left() & ~1; x + 1 <= title.right(); x += 2) {
                const QRgb p = shown.pixel(x, y);
                if (shown.pixel(x + 1, y) != p || shown.pixel(x, y + 1) != p ||
                    shown.pixel(x + 1, y + 1) != p)
                    ++mixedBlocks;
            }
        }
        EXPECT_GT(mixedBlocks, 100);
    }
}

TEST(HiDpiWindow, ExportsAreTheBytesOfOneX)
{
    ScaledWindow s;
    const auto host = s.Headless();
    const QSize size = s.W().ChartArea().size();

    s.W().RenderComposition();
    EXPECT_EQ(s.W().ComposedImage().devicePixelRatio(), 1.0);
    EXPECT_EQ(s.W().ComposedImage(), host->ComposedImage());

    CopyChartsToClipboard(s.W());
    EXPECT_EQ(s.h.platform.clipboardImage, host->ComposedImage());
    EXPECT_EQ(s.h.platform.clipboardImage.devicePixelRatio(), 1.0);

    for (int id : {IDC_FORMAT_PNG, IDC_FORMAT_PDF}) {
        s.h.At<QRadioButton>(id)->click();
        const QString suffix = id == IDC_FORMAT_PNG ? QStringLiteral("png") : QStringLiteral("pdf");
        const QString fromWindow = s.h.dir.filePath(QStringLiteral("window.") + suffix);
        const QString expected = s.h.dir.filePath(QStringLiteral("headless.") + suffix);
        s.h.platform.saveNames.push_back(fromWindow);
        SaveCurrentCharts(s.W());
        ASSERT_TRUE(WriteChartImage(host->ComposedImage(), size, expected, s.h.platform));
        const QByteArray bytes = FileBytes(fromWindow);
        EXPECT_FALSE(bytes.isEmpty()) << suffix.toStdString();
        EXPECT_TRUE(bytes == FileBytes(expected)) << suffix.toStdString();
    }
}

TEST(HiDpiWindow, PresentationStickRippleAndInkAtDeviceResolution)
{
    ScaledWindow s;
    const qreal ratio = ExpectedRatio();
    CShowDlg show(s.W(), s.h.store, &s.W());
    ASSERT_TRUE(show.Start());
    EXPECT_DOUBLE_EQ(show.backBuffer().devicePixelRatio(), ratio);
    EXPECT_EQ(show.backBuffer().size(), DeviceSize(show.screenRect().size(), ratio));

    const auto move = [&](QPoint p, Qt::MouseButtons held) {
        QMouseEvent e(QEvent::MouseMove, p, show.mapToGlobal(p), Qt::NoButton, held,
                      Qt::NoModifier);
        QApplication::sendEvent(&show, &e);
    };
    show.OnMenuButton(PresentMenu::kStick);
    const QImage clean = show.backBuffer().copy();

    // The stick moved away leaves its old place exactly as it was.
    const QPoint a(301, 203);
    const QPoint b(553, 377);
    move(a, Qt::NoButton);
    EXPECT_NE(show.backBuffer(), clean);
    move(b, Qt::NoButton);
    const QRect aSaved = DeviceRect(PointerStick::SaveRect(a, show.stick().Size()), ratio);
    const QRect bSaved = DeviceRect(PointerStick::SaveRect(b, show.stick().Size()), ratio);
    ASSERT_FALSE(aSaved.intersects(bSaved));
    EXPECT_EQ(show.backBuffer().copy(aSaved), clean.copy(aSaved));

    // The ripple covers its logical disc in device pixels.
    QTest::mousePress(&show, Qt::LeftButton, {}, b);
    const QPoint centre = DevicePoint(PointerStick::RippleCentre(b), ratio);
    const int radius = int(std::lround(74 * ratio));
    int changedFar = 0;
    int changedBeyond = 0;
    for (int dx = -radius - 4; dx <= radius + 4; ++dx) {
        // Along the row through the centre, left of the stick.
        const QPoint p = centre + QPoint(dx, 0);
        if (dx > 0)
            break;
        const bool changed = show.backBuffer().pixel(p) != clean.pixel(p);
        if (-dx > radius - 2 * ratio && -dx <= radius)
            changedFar += changed ? 1 : 0;
        if (-dx > radius + 2)
            changedBeyond += changed ? 1 : 0;
    }
    EXPECT_GT(changedFar, 0);
    EXPECT_EQ(changedBeyond, 0);
    QTest::mouseRelease(&show, Qt::LeftButton, {}, b);

    // Ink five logical pixels wide, as many device rows thick times the ratio.
    move(QPoint(200, 500), Qt::LeftButton);
    move(QPoint(500, 500), Qt::LeftButton);
    move(QPoint(900, 100), Qt::NoButton);
    const QRgb ink = ToQColor(show.stick().InkColour()).rgb();
    const int x = DevicePoint(QPoint(350, 0), ratio).x();
    int thick = 0;
    for (int y = 0; y < show.backBuffer().height(); ++y)
        thick += show.backBuffer().pixel(x, y) == ink ? 1 : 0;
    EXPECT_NEAR(thick, 5 * ratio, 1.0);
    show.accept();
}

} // namespace
