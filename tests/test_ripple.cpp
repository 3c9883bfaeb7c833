#include "ripple.h"

#include <QImage>
#include <gtest/gtest.h>

#include <cmath>

using namespace brevant;

namespace {

// Every pixel different, so a pixel taken from the wrong place shows.
QImage Pattern(int w, int h, QImage::Format format = QImage::Format_RGB32)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(60 + (x * 7) % 190, 60 + (y * 5) % 190, 60 + ((x + y) * 3) % 190));
    }
    return image.convertToFormat(format);
}

int Dist(int x, int y, int cx, int cy)
{
    return int(std::sqrt(double(x - cx) * (x - cx) + double(y - cy) * (y - cy)));
}

QRgb Darker(QRgb c, int by)
{
    auto ch = [by](int v) { return v - by < 0 ? 0 : v - by; };
    return qRgb(ch(qRed(c)), ch(qGreen(c)), ch(qBlue(c)));
}

} // namespace

TEST(Ripple, OffsetAndDarkeningTables)
{
    const int offset[18] = {0, 0, 18, 15, 12, 10, 8, 7, 6, 6, 5, 5, 4, 4, 4, 3, 3, 3};
    const int dark[18] = {51, 45, 39, 34, 28, 22, 17, 11, 5, 0, 5, 11, 17, 22, 28, 34, 39, 45};
    for (int r = 1; r < 18; ++r)
        EXPECT_EQ(RippleOffset(r), offset[r]) << "r = " << r;
    for (int r = 0; r < 18; ++r)
        EXPECT_EQ(RippleDarkening(r), dark[r]) << "r = " << r;
}

TEST(Ripple, RingEdgesAndOutsideKeepTheirColoursCentreDarkens)
{
    const QImage before = Pattern(kRippleSize, kRippleSize);
    QImage after = before;
    ASSERT_TRUE(RippleTransform(after, QPoint(80, 80)));

    int changed = 0;
    for (int y = 0; y < kRippleSize; ++y) {
        for (int x = 0; x < kRippleSize; ++x) {
            const int d = Dist(x, y, 80, 80);
            if (d >= 75 || (d > 0 && d % 18 == 0))
                ASSERT_EQ(after.pixel(x, y), before.pixel(x, y)) << x << "," << y << " d=" << d;
            else if (after.pixel(x, y) != before.pixel(x, y))
                ++changed;
        }
    }
    EXPECT_EQ(after.pixel(80, 80), Darker(before.pixel(80, 80), 51));
    // The disc really was worked on, not skipped.
    EXPECT_GT(changed, 12000);
}

TEST(Ripple, PixelsShowWhatLiesFurtherOutDarkenedByTheirRing)
{
    const QImage before = Pattern(kRippleSize, kRippleSize);
    QImage after = before;
    ASSERT_TRUE(RippleTransform(after, QPoint(80, 80)));
    struct Case {
        QPoint pixel;
        QPoint source;
        int darkening;
    } cases[] = {
        {{90, 80}, {95, 80}, 5},     // d 10: offset 5, s/d = 1.5
        {{110, 120}, {112, 123}, 28}, // d 50, r 14: offset 4, s/d = 1.08
        {{80, 73}, {80, 66}, 11},    // d 7: offset 7, straight up
        {{82, 80}, {100, 80}, 39},   // d 2: offset 18 looks far out
        {{81, 80}, {81, 80}, 45},    // d 1: offset 0, its own colour
        {{7, 80}, {7, 80}, 45},      // d 73, r 1: own colour at the disc's rim
        {{62, 62}, {57, 57}, 11},    // d 25 on the diagonal: 18 × 1.28 truncated
    };
    for (const auto& c : cases) {
        EXPECT_EQ(after.pixel(c.pixel), Darker(before.pixel(c.source), c.darkening))
            << c.pixel.x() << "," << c.pixel.y();
    }
}

TEST(Ripple, SourcesBeyondTheSurfaceLeaveThePixelAlone)
{
    const QImage before = Pattern(kRippleSize, kRippleSize);
    QImage after = before;
    ASSERT_TRUE(RippleTransform(after, QPoint(80, 80)));
    // d 74, r 2: the pixel would look 18 px further out, past the left and top edges.
    for (QPoint p : {QPoint(6, 80), QPoint(80, 6), QPoint(6, 84)})
        EXPECT_EQ(after.pixel(p), before.pixel(p)) << p.x() << "," << p.y();
}

TEST(Ripple, ReadsOnlyTheUnchangedInput)
{
    // (60, 80) is worked on before (78, 80), whose source it is: the later pixel must still
    // see the bright input, not the dark output.
    QImage image(kRippleSize, kRippleSize, QImage::Format_RGB32);
    image.fill(qRgb(0, 0, 0));
    image.setPixel(60, 80, qRgb(200, 200, 200));
    ASSERT_TRUE(RippleTransform(image, QPoint(80, 80)));
    EXPECT_EQ(image.pixel(60, 80), qRgb(0, 0, 0));        // d 20 looks out at (42, 80)
    EXPECT_EQ(image.pixel(78, 80), qRgb(161, 161, 161));  // d 2 looks out at (60, 80), less 39
}

TEST(Ripple, ThirtyTwoBitKeepsOwnFourthByteAndClampsAtZero)
{
    QImage image(kRippleSize, kRippleSize, QImage::Format_ARGB32);
    image.fill(qRgba(10, 60, 250, 77));
    image.setPixel(100, 80, qRgba(30, 40, 50, 200));
    ASSERT_TRUE(RippleTransform(image, QPoint(80, 80)));
    EXPECT_EQ(image.pixel(80, 80), qRgba(0, 9, 199, 77));
    // Taken from (100, 80) but with its own alpha.
    EXPECT_EQ(image.pixel(82, 80), qRgba(0, 1, 11, 77));
}

TEST(Ripple, FiveSixFiveRule)
{
    struct Case {
        int ring;
        uint16_t in;
        uint16_t out;
    } cases[] = {
        {0, 0xFFFF, uint16_t((25 << 11) | (51 << 5) | 25)},  // X 9: 5-bit lose 6, 6-bit 12
        {1, 0xFFFF, uint16_t((26 << 11) | (52 << 5) | 26)},  // X 8: 5 and 11
        {9, 0x1234, 0x1234},                                 // ring middle: nothing
        {17, 0xFFFF, uint16_t((26 << 11) | (52 << 5) | 26)},
        {0, uint16_t((3 << 11) | (7 << 5) | 2), 0},          // clamped at zero
        {5, uint16_t((31 << 11) | (0 << 5) | 1), uint16_t(29 << 11)},  // X 4: 2 and 5
    };
    for (const auto& c : cases)
        EXPECT_EQ(DarkenPixel565(c.in, c.ring), c.out) << "ring " << c.ring << " in " << c.in;

    QImage image(kRippleSize, kRippleSize, QImage::Format_RGB16);
    image.fill(Qt::white);
    ASSERT_TRUE(RippleTransform(image, QPoint(80, 80)));
    const auto* row = reinterpret_cast<const uint16_t*>(image.constScanLine(80));
    EXPECT_EQ(row[80], uint16_t((25 << 11) | (51 << 5) | 25));
    EXPECT_EQ(row[98], 0xFFFF);  // d 18
    EXPECT_EQ(row[0], 0xFFFF);
}

TEST(Ripple, OtherFormatsAreLeftAlone)
{
    QImage image(kRippleSize, kRippleSize, QImage::Format_Grayscale8);
    image.fill(200);
    const QImage before = image;
    EXPECT_TRUE(RippleTransform(image, QPoint(80, 80)));
    EXPECT_EQ(image, before);
}

TEST(DrawRipple, WorksOnTheSquareAroundTheCentreOnly)
{
    const QImage before = Pattern(400, 300);
    QImage window = before;
    ASSERT_TRUE(DrawRipple(window, QPoint(200, 150)));
    EXPECT_EQ(window.pixel(200, 150), Darker(before.pixel(200, 150), 51));
    EXPECT_EQ(window.pixel(210, 150), Darker(before.pixel(215, 150), 5));
    for (int y = 0; y < 300; ++y) {
        for (int x = 0; x < 400; ++x) {
            if (Dist(x, y, 200, 150) >= 75) {
                ASSERT_EQ(window.pixel(x, y), before.pixel(x, y)) << x << "," << y;
            }
        }
    }
}

TEST(DrawRipple, ClippedAtTheBufferEdges)
{
    struct Case {
        QSize size;
        QPoint centre;
    } cases[] = {
        {{50, 40}, {3, 3}},
        {{50, 40}, {48, 38}},
        {{200, 200}, {-60, 100}},   // centre off the buffer, disc reaching in
        {{200, 200}, {500, 500}},   // nowhere near
        {{1, 1}, {0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << (&c - cases));
        const QImage before = Pattern(c.size.width(), c.size.height());
        QImage window = before;
        ASSERT_TRUE(DrawRipple(window, c.centre));
        ASSERT_EQ(window.size(), c.size);
        for (int y = 0; y < c.size.height(); ++y) {
            for (int x = 0; x < c.size.width(); ++x) {
                if (Dist(x, y, c.centre.x(), c.centre.y()) >= 75) {
                    ASSERT_EQ(window.pixel(x, y), before.pixel(x, y));
                }
            }
        }
    }
    // Beyond the buffer's right edge the square reads as white.
    const QImage before = Pattern(50, 40);
    QImage window = before;
    ASSERT_TRUE(DrawRipple(window, QPoint(3, 3)));
    EXPECT_EQ(window.pixel(3, 3), Darker(before.pixel(3, 3), 51));
    EXPECT_EQ(window.pixel(43, 3), qRgb(227, 227, 227));  // d 40 looks out past the edge, to x 54
}
