#include "image_resources.h"

#include <QColor>
#include <QIcon>
#include <QImage>
#include <QImageReader>
#include <QPixmap>
#include <gtest/gtest.h>

#include <algorithm>

using namespace brevant;

namespace {

class Pictures : public ::testing::Test {
protected:
    static void SetUpTestSuite() { InitImageResources(); }
};

int OpaquePixels(const QImage& image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    int count = 0;
    for (int y = 0; y < argb.height(); ++y)
        for (int x = 0; x < argb.width(); ++x)
            count += qAlpha(argb.pixel(x, y)) > 128;
    return count;
}

bool IsRed(QRgb c)
{
    return qRed(c) >= 200 && qGreen(c) < 80 && qBlue(c) < 80;
}

constexpr QRgb kKey = 0xFF0000FF;

}  // namespace

// Each button image is drawn on the pixel grid of the size it is shown at.
TEST_F(Pictures, ButtonImagesLoadAtTheirDesignSize)
{
    const struct {
        const char* symbol;
        int size;
    } cases[] = {
        {"IDB_C0_LINE32", 40}, {"IDB_C1_LINE32", 40}, {"IDB_C2_LINE32", 40},
        {"IDB_PRESEN32", 20},  {"IDB_HELP32", 20},    {"IDB_DRAG32", 20},
        {"IDB_VER32", 20},     {"IDB_OK32", 20},      {"IDB_END32", 16},
        {"IDB_COPY32", 16},    {"IDB_FD32", 16},      {"IDB_FLAG32", 16},
        {"IDB_PREV32", 12},    {"IDB_ANALYSIS32", 20},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.symbol);
        const QString path = ButtonImagePath(QString::fromLatin1(c.symbol));
        const QImage image(path);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.size(), QSize(c.size, c.size));
        // A tenth of the square at least is drawn: a broken path would leave it empty.
        EXPECT_GT(OpaquePixels(image), c.size * c.size / 10);

        const QIcon icon(path);
        ASSERT_FALSE(icon.isNull());
        const QPixmap doubled = icon.pixmap(QSize(2 * c.size, 2 * c.size));
        EXPECT_EQ(doubled.size(), QSize(2 * c.size, 2 * c.size));
        EXPECT_GT(OpaquePixels(doubled.toImage()), 4 * c.size * c.size / 10);
    }
}

TEST_F(Pictures, ApplicationIconAtEverySize)
{
    for (int size : {16, 32, 48, 256}) {
        SCOPED_TRACE(size);
        const QImage image(AppIconPath(size));
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.size(), QSize(size, size));
        EXPECT_GT(OpaquePixels(image), size * size / 2);
    }
    EXPECT_FALSE(QIcon(AppIconPath(0)).pixmap(QSize(64, 64)).isNull());
}

TEST_F(Pictures, MenuStripHasPlainAndLitHalves)
{
    const QImage strip = QImage(MenuStripImagePath()).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(strip.isNull());
    ASSERT_EQ(strip.size(), QSize(302, 100));

    // The presentation window copies the lit cell (2 + 42i, 0) to row 1 of the plain
    // menu, so the lit half must be the plain half raised by 51 rows except on the face.
    for (int i = 0; i < 7; ++i) {
        SCOPED_TRACE(i);
        const int left = 2 + 42 * i;
        int changedOnFace = 0, seams = 0;
        for (int y = 0; y < 42; ++y) {
            for (int x = 0; x < 42; ++x) {
                const bool onFace = x >= 5 && x <= 40 && y >= 5 && y <= 40;
                const bool same = strip.pixel(left + x, y) == strip.pixel(left + x, y + 51);
                if (onFace)
                    changedOnFace += !same;
                else
                    seams += !same;
            }
        }
        EXPECT_EQ(seams, 0);
        EXPECT_GT(changedOnFace, 200);
    }
}

TEST_F(Pictures, PointerSticksKeepTheirKeyAndTip)
{
    const struct {
        int level, size;
    } cases[] = {{1, 61}, {2, 122}, {3, 184}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        const QImage stick = QImage(StickImagePath(c.level)).convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(stick.isNull());
        ASSERT_EQ(stick.size(), QSize(c.size, c.size));
        const int last = c.size - 1;
        for (const QPoint corner : {QPoint(0, 0), QPoint(last, 0), QPoint(0, last),
                                    QPoint(last, last)})
            EXPECT_EQ(stick.pixel(corner), kKey);
        EXPECT_TRUE(IsRed(stick.pixel(17, 16)));

        // Only 61 * level pixels are drawn; the stick starts at (17, 16); and the key is
        // exact, so no edge pixel may be a blend towards blue.
        const int drawn = 61 * c.level;
        int minX = c.size, minY = c.size, maxX = -1, maxY = -1, fringe = 0;
        for (int y = 0; y < c.size; ++y) {
            for (int x = 0; x < c.size; ++x) {
                const QRgb p = stick.pixel(x, y);
                if (p == kKey)
                    continue;
                minX = std::min(minX, x);
                minY = std::min(minY, y);
                maxX = std::max(maxX, x);
                maxY = std::max(maxY, y);
                fringe += qBlue(p) > qRed(p) + 80 && qBlue(p) > qGreen(p) + 80;
            }
        }
        EXPECT_EQ(minX, 17);
        EXPECT_EQ(minY, 16);
        EXPECT_LT(maxX, drawn);
        EXPECT_LT(maxY, drawn);
        // The handle reaches into the bottom-right corner of the drawn square.
        EXPECT_GT(maxX, drawn - 8);
        EXPECT_GT(maxY, drawn - 8);
        EXPECT_EQ(fringe, 0);
    }
    EXPECT_TRUE(StickImagePath(0).isEmpty());
    EXPECT_TRUE(StickImagePath(4).isEmpty());
}

TEST_F(Pictures, StickPicturesAreStoredWithoutAlpha)
{
    // The stick is drawn with a colour key, never by alpha blending.
    for (int level = 1; level <= 3; ++level) {
        QImageReader reader(StickImagePath(level));
        const QImage image = reader.read();
        ASSERT_FALSE(image.isNull()) << qPrintable(reader.errorString());
        EXPECT_FALSE(image.hasAlphaChannel());
    }
}
