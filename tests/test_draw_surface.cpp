// The raster rules every chart routine relies on.

#include "chart_text.h"
#include "draw_surface.h"

#include <gtest/gtest.h>

#include <climits>

using namespace brevant;

namespace {

constexpr ColorRef kRed = Rgb(255, 0, 0);

QImage White(int w = 100, int h = 100)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    return img;
}

bool Painted(const QImage& img, int x, int y) { return img.pixel(x, y) != qRgb(255, 255, 255); }

// Bounding box of every painted pixel (QRect() when none).
QRect PaintedBounds(const QImage& img)
{
    QRect r;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (Painted(img, x, y))
                r |= QRect(x, y, 1, 1);
    return r;
}

} // namespace

TEST(DrawSurface, FilledBoxExcludesRightAndBottom)
{
    QImage img = White();
    {
        DrawSurface s(img);
        s.fillRect(Box{2, 3, 5, 7}, kRed);
        s.fillRect(Box{50, 50, 50, 60}, kRed); // empty: nothing
    }
    EXPECT_EQ(PaintedBounds(img), QRect(QPoint(2, 3), QPoint(4, 6)));
    EXPECT_EQ(img.pixel(2, 3), qRgb(255, 0, 0));
}

TEST(DrawSurface, PenWidthsOnAxisAlignedLines)
{
    const struct {
        int width;
        QRect horizontal; // painted pixels of a line from (10, 50) to (60, 50)
    } cases[] = {
        {0, QRect(QPoint(10, 50), QPoint(60, 50))},
        {1, QRect(QPoint(10, 50), QPoint(60, 50))},
        {3, QRect(QPoint(9, 49), QPoint(61, 51))},
    };
    for (const auto& c : cases) {
        QImage img = White();
        {
            DrawSurface s(img);
            s.setPen(kRed, c.width);
            s.line(QPoint(10, 50), QPoint(60, 50));
        }
        const QRect painted = PaintedBounds(img);
        EXPECT_EQ(painted.top(), c.horizontal.top()) << c.width;
        EXPECT_EQ(painted.bottom(), c.horizontal.bottom()) << c.width;
        EXPECT_LE(painted.left(), c.horizontal.left() + 1) << c.width;
        EXPECT_GE(painted.right(), c.horizontal.right() - 1) << c.width;
        // Crisp: the middle row is the pen colour exactly.
        EXPECT_EQ(img.pixel(30, 50), qRgb(255, 0, 0)) << c.width;
    }
}

TEST(DrawSurface, SlantedLineOfWidthZeroStaysThin)
{
    QImage img = White();
    {
        DrawSurface s(img);
        s.setPen(kRed, 0);
        s.line(QPoint(0, 99), QPoint(99, 0));
    }
    for (int x = 5; x < 95; x += 10) {
        int n = 0;
        for (int y = 0; y < 100; ++y)
            n += Painted(img, x, y);
        EXPECT_GE(n, 1) << x;
        EXPECT_LE(n, 3) << x;
    }
}

TEST(DrawSurface, FarAwayCoordinatesKeepTheVisiblePart)
{
    QImage img = White();
    {
        DrawSurface s(img);
        s.setPen(kRed, 1);
        s.line(QPoint(INT_MIN, INT_MIN), QPoint(INT_MAX, INT_MAX));
        // Slope one half from far away to (100, 50): clipping must not bend it.
        s.line(QPoint(-2000000000, -1000000000), QPoint(100, 50));
    }
    // The diagonal through the image, where it would be.
    EXPECT_TRUE(Painted(img, 50, 50));
    EXPECT_FALSE(Painted(img, 50, 60));
    EXPECT_TRUE(Painted(img, 50, 25));
    EXPECT_FALSE(Painted(img, 50, 2));

    QImage filled = White();
    {
        DrawSurface s(filled);
        s.setPen(kRed, 1);
        s.setBrush(kRed);
        s.polygon(QPolygon({QPoint(-2000000000, 100), QPoint(2000000000, 100),
                            QPoint(0, -2000000000)}));
        s.rectangle(Box{INT_MIN, INT_MIN, INT_MAX, INT_MAX});
        s.textAt(QPoint(INT_MAX, INT_MIN), "x");
    }
    EXPECT_TRUE(Painted(filled, 50, 50));
    EXPECT_TRUE(Painted(filled, 1, 1));
}

TEST(DrawSurface, SmoothShapesCutNearTheImageShowNoCutEdge)
{
    // Antialiased shapes reaching far out are cut just outside the image; neither the cut
    // nor the thick pen along it may show inside.
    constexpr ColorRef kBlue = Rgb(0, 0, 255);
    QImage img = White(120, 80);
    {
        DrawSurface s(img);
        s.setPen(kRed, 20);
        s.setBrush(kBlue);
        s.polygon(QPolygon({QPoint(-900000, 900000), QPoint(900000, 900000),
                            QPoint(60, -900000)}));
    }
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            ASSERT_EQ(img.pixel(x, y), qRgb(0, 0, 255)) << x << "," << y;

    // A steep thick line from far below: still straight through the image.
    QImage steep = White(120, 80);
    {
        DrawSurface s(steep);
        s.setPen(kRed, 3);
        s.line(QPoint(10, 40 + 990000), QPoint(30, 40 - 990000));
    }
    // x runs from 10 to 30 over the whole length, so it is 20 at row 40.
    EXPECT_TRUE(Painted(steep, 20, 40));
    EXPECT_FALSE(Painted(steep, 14, 40));
    EXPECT_FALSE(Painted(steep, 26, 40));
}

TEST(DrawSurface, TextInABoxIsOneAlignedClippedLine)
{
    const ChartFont font = MakeChartFont(QString(), 10, true, 0, 96);
    const struct {
        HAlign h;
        VAlign v;
    } cases[] = {{HAlign::Left, VAlign::Top}, {HAlign::Center, VAlign::Center},
                 {HAlign::Right, VAlign::Bottom}};
    const Box box{20, 30, 80, 70};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << (&c - cases));
        QImage img = White(120, 100);
        {
            DrawSurface s(img);
            s.selectFont(font);
            s.setTextColor(0);
            s.textInBox(box, QStringLiteral("損益分岐点図表損益分岐点図表"), c.h, c.v);
        }
        const QRect painted = PaintedBounds(img);
        ASSERT_FALSE(painted.isNull());
        EXPECT_TRUE(box.toQRect().contains(painted)) << int(c.h);
        EXPECT_LT(painted.height(), 20) << "one line";
        if (c.v == VAlign::Top) {
            EXPECT_LE(painted.top(), 33);
        }
        if (c.v == VAlign::Bottom) {
            EXPECT_GE(painted.bottom(), 64);
        }
    }

    // Right-aligned text ends at the box's right edge; an inverted box draws nothing.
    QImage img = White(120, 100);
    {
        DrawSurface s(img);
        s.selectFont(font);
        s.setTextColor(0);
        s.textInBox(Box{0, 0, 100, 40}, "123", HAlign::Right, VAlign::Top);
        s.textInBox(Box{90, 50, 10, 90}, "123", HAlign::Left, VAlign::Top);
    }
    const QRect painted = PaintedBounds(img);
    EXPECT_GE(painted.right(), 96);
    EXPECT_LT(painted.right(), 100);
    EXPECT_LT(painted.bottom(), 40);
}

TEST(DrawSurface, RotatedTextRisesFromItsTopLeftCorner)
{
    QImage img = White(200, 200);
    const QPoint start(40, 150);
    {
        DrawSurface s(img);
        s.selectFont(MakeChartFont(QString(), 10, false, 40, 96));
        s.setTextColor(0);
        s.textAt(start, "154,321,000");
    }
    const QRect painted = PaintedBounds(img);
    ASSERT_FALSE(painted.isNull());
    // Up and to the right of the corner, reaching about cos 40° × width to the right.
    EXPECT_GE(painted.left(), start.x() - 2);
    EXPECT_LE(painted.bottom(), start.y() + 16);
    EXPECT_LT(painted.top(), start.y() - 30);
    // The leftmost ink is low, the rightmost ink is high: the text rises.
    int leftY = -1;
    int rightY = -1;
    for (int y = 0; y < 200; ++y) {
        if (Painted(img, painted.left(), y))
            leftY = y;
        if (Painted(img, painted.right(), y) && rightY < 0)
            rightY = y;
    }
    EXPECT_GT(leftY, rightY + 20);
}

TEST(DrawSurface, ExtentsCopiesAndSavedState)
{
    QImage img = White();
    DrawSurface s(img);
    EXPECT_EQ(s.textExtent("x"), QSize()) << "no font selected";
    s.selectFont(MakeChartFont(QString(), 10, true, 0, 96));
    const QSize e = s.textExtent("固定費線");
    EXPECT_GT(e.width(), 40);
    EXPECT_GE(e.height(), 13);
    EXPECT_EQ(s.textExtent(QString()).width(), 0);

    {
        DrawSurface::Saver keep(s);
        s.selectFont(MakeChartFont(QString(), 30, true, 0, 96));
        s.setTextColor(kRed);
        EXPECT_GT(s.textExtent("固定費線").width(), e.width());
    }
    EXPECT_EQ(s.textExtent("固定費線"), e);
    EXPECT_EQ(s.textColor(), 0u);

    QImage source(10, 10, QImage::Format_RGB32);
    source.fill(Qt::blue);
    s.copyFrom(source, QPoint(90, 95), QRect(0, 0, 10, 10));
    EXPECT_EQ(img.pixel(99, 99), qRgb(0, 0, 255));
    EXPECT_EQ(img.pixel(89, 99), qRgb(255, 255, 255));
}

// A wide smooth line drawn again is laid down from the pixels kept the time before; it
// must give exactly what drawing it gives, over any background, near the edges too, and
// after other lines and other image sizes came in between.
TEST(DrawSurface, RepeatedWideLinesGiveTheSamePixels)
{
    uint32_t state = 12345;
    auto next = [&state](uint32_t range) {
        state = state * 1103515245u + 12345u;
        return (state >> 8) % range;
    };
    for (int round = 0; round < 60; ++round) {
        const QSize size(int(40 + next(300)), int(40 + next(300)));
        QImage background(size, QImage::Format_RGB32);
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                background.setPixel(x, y, qRgb(int(next(256)), int(next(256)), int(next(256))));
        const QPoint a(int(next(size.width() + 40)) - 20, int(next(size.height() + 40)) - 20);
        const QPoint b(int(next(size.width() + 40)) - 20, int(next(size.height() + 40)) - 20);
        const int width = int(2 + next(9));
        const ColorRef colour = round % 3 == 0 ? Rgb(0, 0, 0) : ColorRef(next(0x1000000));

        auto drawOnce = [&](QImage& img) {
            DrawSurface s(img);
            s.setPen(colour, width);
            s.line(a, b);
        };
        QImage direct = background.copy();
        QImage kept;
        // The first two drawings are the usual ones, the third keeps the pixels, the
        // fourth and later lay them down.
        for (int time = 0; time < 5; ++time) {
            QImage img = background.copy();
            drawOnce(img);
            if (time == 0)
                direct = img;
            else
                EXPECT_EQ(img, direct) << "round " << round << ", time " << time;
        }
        // Something else in between does not upset what is kept.
        QImage other = White(size.width(), size.height());
        {
            DrawSurface s(other);
            s.setPen(Rgb(10, 200, 30), width + 1);
            s.line(b, a);
        }
        QImage again = background.copy();
        drawOnce(again);
        EXPECT_EQ(again, direct) << "round " << round;

        // The same for a filled polygon with its outline.
        const QPolygon polygon({a, b, QPoint(int(next(size.width())), int(next(size.height()))),
                                QPoint(int(next(size.width())), int(next(size.height())))});
        const ColorRef fill = ColorRef(next(0x1000000));
        const int outline = int(next(4));
        QImage polygonDirect;
        for (int time = 0; time < 5; ++time) {
            QImage img = background.copy();
            {
                DrawSurface s(img);
                if (outline == 3)
                    s.setNullPen();
                else
                    s.setPen(colour, outline);
                s.setBrush(fill);
                s.polygon(polygon);
            }
            if (time == 0)
                polygonDirect = img;
            else
                EXPECT_EQ(img, polygonDirect) << "polygon, round " << round << ", time " << time;
        }
    }
}

TEST(DrawSurface, RepeatedShapesOnAScaledImageGiveTheSamePixels)
{
    // The window's buffer on a scaled screen holds device pixels; drawing in logical
    // pixels on it must look the same the fifth time as the first.
    for (const qreal ratio : {1.5, 2.0}) {
        const auto draw = [ratio] {
            QImage img(QSize(300, 200) * ratio, QImage::Format_RGB32);
            img.setDevicePixelRatio(ratio);
            img.fill(Qt::white);
            DrawSurface s(img);
            s.setPen(Rgb(0, 0, 0), 3);
            s.line(QPoint(5, 190), QPoint(290, 10));
            s.setPen(Rgb(0, 0, 0), 1);
            s.setBrush(Rgb(200, 40, 40));
            s.polygon(QPolygon({QPoint(10, 10), QPoint(150, 180), QPoint(280, 30)}));
            return img;
        };
        const QImage first = draw();
        for (int time = 1; time < 5; ++time)
            EXPECT_EQ(draw(), first) << "ratio " << ratio << ", drawing " << time + 1;
    }
}
