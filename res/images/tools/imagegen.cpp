// Writes the PNG pictures of res/images: the three pointer sticks (drawn pixel by pixel,
// because their pure-blue background is a colour key and must never be blended), the
// presentation menu strip and the application icon renderings.
//
//   imagegen OUT_DIR                  regenerate the PNGs in OUT_DIR (res/images)
//   imagegen OUT_DIR --render DIR     also render every SVG of OUT_DIR at 1x and 2x
//                                     into DIR, as the program's renderer draws them

#include <QByteArray>
#include <QColor>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <vector>

namespace {

// One palette for every picture of the program.
constexpr const char* kInk = "#33475B";
constexpr const char* kMuted = "#8596A8";
constexpr const char* kBlue = "#2F6FB5";
constexpr const char* kBlueTint = "#D5E3F3";
constexpr const char* kOrange = "#EE8322";
constexpr const char* kOrangeTint = "#FBE1C8";

bool Fail(const QString& what)
{
    std::fprintf(stderr, "imagegen: %s\n", qPrintable(what));
    return false;
}

bool SavePng(const QImage& image, const QString& path)
{
    if (!image.save(path, "PNG"))
        return Fail(QStringLiteral("cannot write ") + path);
    std::printf("wrote %s (%dx%d)\n", qPrintable(path), image.width(), image.height());
    return true;
}

// ---------------------------------------------------------------------------------------
// Pointer sticks

constexpr QRgb kKey = 0xFF0000FF;  // pure blue: transparent when the stick is drawn

// A stretch of the stick along its axis: radius r0 at t0 growing to r1 at t1.
struct StickPart {
    double t0, t1, r0, r1;
    QRgb light, fill, dark;
};

const QRgb kTipLight = qRgb(255, 150, 130), kTipFill = qRgb(226, 44, 36),
           kTipDark = qRgb(150, 24, 18);
const QRgb kMetalLight = qRgb(244, 246, 248), kMetalFill = qRgb(190, 199, 208),
           kMetalDark = qRgb(70, 84, 98);
const QRgb kJointFill = qRgb(150, 162, 174);
const QRgb kCollarLight = qRgb(250, 190, 130), kCollarFill = qRgb(238, 131, 34),
           kCollarDark = qRgb(150, 74, 10);
const QRgb kGripLight = qRgb(104, 128, 152), kGripFill = qRgb(51, 71, 91),
           kGripDark = qRgb(22, 30, 40);

// The parts of the stick of length level 1..3, as distances from the tip's point.
std::vector<StickPart> StickParts(int level, double length)
{
    const double handle = 17.0, collar = 3.0, tip = 8.0;
    const double shaftEnd = length - handle - collar;
    std::vector<StickPart> parts;
    // The red tip swells from its point and narrows again into the shaft.
    parts.push_back({0.0, 5.0, 0.75, 2.3, kTipLight, kTipFill, kTipDark});
    parts.push_back({5.0, tip, 2.3, 1.3, kTipLight, kTipFill, kTipDark});
    // A longer stick is a telescope pulled out further: one section per level, each a
    // little thicker towards the handle, with a darker ring where two sections meet.
    const double section = (shaftEnd - tip) / level;
    for (int k = 0; k < level; ++k) {
        const double a = tip + section * k;
        const double r = 1.2 + 0.3 * k;
        if (k > 0)
            parts.push_back({a - 1.0, a + 1.0, r + 0.5, r + 0.5, kMetalLight, kJointFill,
                             kMetalDark});
        parts.push_back({k > 0 ? a + 1.0 : a, a + section, r, r, kMetalLight, kMetalFill,
                         kMetalDark});
    }
    parts.push_back({shaftEnd, shaftEnd + collar, 2.4, 2.4, kCollarLight, kCollarFill,
                     kCollarDark});
    parts.push_back({shaftEnd + collar, length, 3.0, 3.2, kGripLight, kGripFill, kGripDark});
    return parts;
}

// Colours a pixel by its place across the stick: a dark rim, a highlight on the upper
// side and the body colour between. No blending, so the key stays exact.
QRgb StickPixel(const StickPart& part, double across, double radius)
{
    const double rim = std::min(1.0, radius * 0.5);
    if (std::abs(across) > radius - rim)
        return part.dark;
    if (across < -(radius - rim) * 0.25)
        return part.light;
    return part.fill;
}

// size: 61, 122 or 184; the stick is drawn into the top-left 61 * level pixels.
bool MakeStick(int level, int size, QImage* out)
{
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(kKey);
    // The point of the tip is the centre of pixel (17, 16); the stick runs at 45 degrees.
    const double ax = 17.5, ay = 16.5;
    const double reach = level == 1 ? 38.0 : level == 2 ? 99.0 : 160.0;
    const double length = reach * std::sqrt(2.0);
    const double ux = 1.0 / std::sqrt(2.0), uy = ux;
    const std::vector<StickPart> parts = StickParts(level, length);
    const StickPart& grip = parts.back();

    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const double vx = x + 0.5 - ax, vy = y + 0.5 - ay;
            const double along = vx * ux + vy * uy;
            const double across = ux * vy - uy * vx;
            if (along < 0.0)
                continue;
            if (along >= length) {
                // Round end of the handle.
                const double beyond = along - length;
                const double r = std::sqrt(std::max(0.0, grip.r1 * grip.r1 - beyond * beyond));
                if (beyond <= grip.r1 && std::abs(across) <= r)
                    image.setPixel(x, y, StickPixel(grip, across, r));
                continue;
            }
            for (const StickPart& part : parts) {
                if (along < part.t0 || along >= part.t1)
                    continue;
                const double r = part.r0 + (part.r1 - part.r0) * (along - part.t0)
                                               / (part.t1 - part.t0);
                if (std::abs(across) <= r)
                    image.setPixel(x, y, StickPixel(part, across, r));
                break;
            }
        }
    }

    // The presentation window relies on these: the picture starts 17 px from the left and
    // 16 px from the top with the red tip, fits the drawn square, and holds no key colour.
    const int drawn = 61 * level;
    int minX = size, minY = size, maxX = -1, maxY = -1;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            if (image.pixel(x, y) == kKey)
                continue;
            minX = std::min(minX, x);
            minY = std::min(minY, y);
            maxX = std::max(maxX, x);
            maxY = std::max(maxY, y);
        }
    }
    if (minX != 17 || minY != 16 || image.pixel(17, 16) != kTipFill || maxX >= drawn
        || maxY >= drawn)
        return Fail(QStringLiteral("stick %1: pixels span (%2,%3)-(%4,%5)")
                        .arg(size).arg(minX).arg(minY).arg(maxX).arg(maxY));
    *out = image.convertToFormat(QImage::Format_RGB888);
    return true;
}

// ---------------------------------------------------------------------------------------
// Presentation menu strip

// The strip is 302 x 100: the lower half is the whole menu unlit, the upper half holds
// each button lit in a 42 x 42 cell at (2 + 42 i, 0) that is copied over the plain menu
// at (2 + 42 i, 1). So the upper half is the plain panel moved up by 51 rows.
constexpr int kStripWidth = 302, kStripHeight = 100;
constexpr int kPitch = 42, kButtons = 7;

struct Look {
    bool lit;
    QString face, faceEdge;
    QString ink, muted, primary, primaryTint, accent, accentTint, tip;
};

Look PlainLook()
{
    return {false, "#F7F9FB", "#BCC7D2", "#5E7085", "#8FA0B1", "#7D8FA2", "#DDE3E9",
            "#A3B1BF", "#E6EBF0", "#7D8FA2"};
}

Look LitLook()
{
    return {true, "#FFFFFF", kBlue, kInk, kMuted, kBlue, kBlueTint, kOrange, kOrangeTint,
            "#E22C24"};
}

// The three chart glyphs follow the chart buttons of the main window, on a 40-unit grid.
QString ChartGlyph(int chart, const Look& c)
{
    QString s;
    const bool indexLines = chart >= 1, costLines = chart != 1;
    if (chart == 1) {
        s += QStringLiteral("<path d='M8 32 L8 20 L24 20 Z' fill='%1'/>"
                            "<path d='M24 20 L34 12.5 L34 20 Z' fill='%2'/>")
                 .arg(c.accentTint, c.primaryTint);
    } else {
        s += QStringLiteral("<path d='M8 32 L8 24 L24 16 Z' fill='%1'/>"
                            "<path d='M24 16 L34 6 L34 11 Z' fill='%2'/>")
                 .arg(c.accentTint, c.primaryTint);
    }
    s += QStringLiteral("<path d='M7 6 V33 H34' fill='none' stroke='%1' stroke-width='1.5'/>")
             .arg(c.muted);
    if (chart == 1) {
        s += QStringLiteral(
                 "<path d='M8 20 H34' fill='none' stroke='%1' stroke-width='2.5' "
                 "stroke-linecap='round'/>"
                 "<path d='M8 32 L34 12.5' fill='none' stroke='%2' stroke-width='2.5' "
                 "stroke-linecap='round'/>"
                 "<circle cx='24' cy='20' r='2.75' fill='#FFFFFF' stroke='%3' "
                 "stroke-width='1.75'/>")
                 .arg(c.accent, c.primary, c.ink);
        return s;
    }
    if (indexLines) {
        s += QStringLiteral(
                 "<path d='M8 24 H34' fill='none' stroke='%1' stroke-width='1.75' "
                 "stroke-linecap='round' stroke-opacity='0.75'/>"
                 "<path d='M8 32 L34 19' fill='none' stroke='%2' stroke-width='1.75' "
                 "stroke-linecap='round' stroke-opacity='0.75'/>")
                 .arg(c.accent, c.primary);
    }
    if (costLines) {
        s += QStringLiteral(
                 "<path d='M8 24 L34 11' fill='none' stroke='%1' stroke-width='2.5' "
                 "stroke-linecap='round'/>"
                 "<path d='M8 32 L34 6' fill='none' stroke='%2' stroke-width='2.5' "
                 "stroke-linecap='round'/>")
                 .arg(c.accent, c.primary);
    }
    if (indexLines)
        s += QStringLiteral("<circle cx='24' cy='24' r='2.25' fill='#FFFFFF' stroke='%1' "
                            "stroke-width='1.75'/>")
                 .arg(c.ink);
    s += QStringLiteral("<circle cx='24' cy='16' r='2.75' fill='#FFFFFF' stroke='%1' "
                        "stroke-width='1.75'/>")
             .arg(c.ink);
    return s;
}

// The remaining glyphs are drawn on a 26-unit grid centred in the button face.
QString StickGlyph(const Look& c)
{
    return QStringLiteral(
               "<path d='M7 7 L16.5 16.5' stroke='%1' stroke-width='1.75' fill='none'/>"
               "<path d='M3 3 L8.6 6 L6 8.6 Z' fill='%2'/>"
               "<path d='M16.25 16.25 L18.25 18.25' stroke='%3' stroke-width='4' "
               "fill='none'/>"
               "<path d='M18.5 18.5 L22 22' stroke='%4' stroke-width='4.5' "
               "stroke-linecap='round' fill='none'/>")
        .arg(c.muted, c.tip, c.accent, c.ink);
}

QString EraserGlyph(const Look& c)
{
    return QStringLiteral(
               "<path d='M5 23.5 H22' stroke='%1' stroke-width='1.5' "
               "stroke-linecap='round' fill='none'/>"
               "<g transform='translate(14 12) rotate(-45)'>"
               "<rect x='-10' y='-5' width='9' height='10' rx='2' fill='%2'/>"
               "<rect x='-2' y='-5' width='12' height='10' rx='2' fill='%3'/>"
               "<rect x='-10' y='-5' width='20' height='10' rx='2' fill='none' stroke='%4' "
               "stroke-width='1.5'/>"
               "</g>")
        .arg(c.muted, c.accent, c.primaryTint, c.ink);
}

QString ColourRingGlyph(const Look& c)
{
    static const char* const hues[] = {"#E5533D", "#EE8322", "#F2C12E", "#5DAE4F",
                                       "#26A69A", "#2F6FB5", "#7E57C2", "#D65DB1"};
    static const char* const greys[] = {"#8596A8", "#B5C1CD"};
    QString s;
    const double cx = 13.0, cy = 13.0, r = 8.5;
    for (int k = 0; k < 8; ++k) {
        const double a0 = (k * 45.0 - 90.0) * std::numbers::pi / 180.0;
        const double a1 = ((k + 1) * 45.0 - 90.0) * std::numbers::pi / 180.0;
        s += QStringLiteral("<path d='M%1 %2 A%3 %3 0 0 1 %4 %5' fill='none' stroke='%6' "
                            "stroke-width='5'/>")
                 .arg(cx + r * std::cos(a0), 0, 'f', 3)
                 .arg(cy + r * std::sin(a0), 0, 'f', 3)
                 .arg(r)
                 .arg(cx + r * std::cos(a1), 0, 'f', 3)
                 .arg(cy + r * std::sin(a1), 0, 'f', 3)
                 .arg(QString::fromLatin1(c.lit ? hues[k] : greys[k % 2]));
    }
    s += QStringLiteral("<circle cx='13' cy='13' r='3.5' fill='%1'/>").arg(c.accent);
    return s;
}

QString EndGlyph(const Look& c)
{
    return QStringLiteral(
               "<circle cx='13' cy='13' r='10' fill='%1'/>"
               "<path d='M9 9 L17 17 M17 9 L9 17' stroke='#FFFFFF' stroke-width='3' "
               "stroke-linecap='round' fill='none'/>")
        .arg(c.lit ? QString::fromLatin1(kOrange) : c.accent);
}

// One button: its face and glyph, with the panel's top-left at (0, top).
QString MenuButton(int i, int top, const Look& c)
{
    const int faceLeft = 7 + kPitch * i, faceTop = top + 6;
    QString s;
    if (c.lit)
        s += QStringLiteral("<rect x='%1' y='%2' width='33' height='33' rx='5.5' fill='%3' "
                            "stroke='%4' stroke-width='2'/>")
                 .arg(faceLeft + 1).arg(faceTop + 1).arg(c.face, c.faceEdge);
    else
        s += QStringLiteral("<rect x='%1.5' y='%2.5' width='34' height='34' rx='6' fill='%3' "
                            "stroke='%4'/>")
                 .arg(faceLeft).arg(faceTop).arg(c.face, c.faceEdge);
    if (i < 3)
        return s + QStringLiteral("<g transform='translate(%1 %2) scale(0.8)'>%3</g>")
                       .arg(faceLeft + 2).arg(faceTop + 3).arg(ChartGlyph(i, c));
    QString glyph;
    switch (i) {
    case 3: glyph = StickGlyph(c); break;
    case 4: glyph = EraserGlyph(c); break;
    case 5: glyph = ColourRingGlyph(c); break;
    default: glyph = EndGlyph(c); break;
    }
    return s + QStringLiteral("<g transform='translate(%1 %2)'>%3</g>")
                   .arg(faceLeft + 5).arg(faceTop + 5).arg(glyph);
}

QString MenuPanel(int top)
{
    return QStringLiteral("<rect x='0.5' y='%1' width='301' height='49' rx='8' "
                          "fill='#E6EBF0' stroke='#A9B6C3'/>")
        .arg(top + 0.5);
}

QByteArray MenuStripSvg()
{
    QString s = QStringLiteral("<svg xmlns='http://www.w3.org/2000/svg' version='1.2' "
                               "baseProfile='tiny' width='%1' height='%2' "
                               "viewBox='0 0 %1 %2'>")
                    .arg(kStripWidth).arg(kStripHeight);
    s += QStringLiteral("<rect width='%1' height='%2' fill='#FFFFFF'/>")
             .arg(kStripWidth).arg(kStripHeight);
    s += MenuPanel(50);
    for (int i = 0; i < kButtons; ++i)
        s += MenuButton(i, 50, PlainLook());
    s += MenuPanel(-1);
    for (int i = 0; i < kButtons; ++i)
        s += MenuButton(i, -1, LitLook());
    s += QStringLiteral("</svg>");
    return s.toUtf8();
}

bool MakeMenuStrip(QImage* out)
{
    QSvgRenderer svg(MenuStripSvg());
    if (!svg.isValid())
        return Fail(QStringLiteral("menu strip: invalid SVG"));
    QImage image(kStripWidth, kStripHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    svg.render(&painter);
    painter.end();
    *out = image.convertToFormat(QImage::Format_RGB888);
    return true;
}

// ---------------------------------------------------------------------------------------

QImage RenderSvg(const QString& path, int size)
{
    QSvgRenderer svg(path);
    if (!svg.isValid())
        return {};
    const QSize base = svg.defaultSize();
    const QSize target = size > 0 ? QSize(size, size) : base;
    QImage image(target, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    svg.render(&painter);
    painter.end();
    return image;
}

bool WriteAll(const QDir& dir)
{
    const int stickSizes[] = {61, 122, 184};
    for (int level = 1; level <= 3; ++level) {
        QImage stick;
        const int size = stickSizes[level - 1];
        if (!MakeStick(level, size, &stick)
            || !SavePng(stick, dir.filePath(QStringLiteral("stick_%1.png").arg(size))))
            return false;
    }
    QImage strip;
    if (!MakeMenuStrip(&strip) || !SavePng(strip, dir.filePath("menu_strip.png")))
        return false;
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const QImage icon = RenderSvg(dir.filePath("brevant.svg"), size);
        if (icon.isNull())
            return Fail(QStringLiteral("cannot render brevant.svg"));
        if (!SavePng(icon.convertToFormat(QImage::Format_ARGB32),
                     dir.filePath(QStringLiteral("brevant-%1.png").arg(size))))
            return false;
    }
    return true;
}

bool RenderAll(const QDir& dir, const QDir& into)
{
    for (const QString& name : dir.entryList({"*.svg"}, QDir::Files, QDir::Name)) {
        const QString base = name.chopped(4);
        const QImage one = RenderSvg(dir.filePath(name), 0);
        if (one.isNull())
            return Fail(QStringLiteral("cannot render ") + name);
        const QImage two = RenderSvg(dir.filePath(name), one.width() * 2);
        if (!SavePng(one, into.filePath(base + "@1x.png"))
            || !SavePng(two, into.filePath(base + "@2x.png")))
            return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2 && !(args.size() == 4 && args[2] == QLatin1String("--render"))) {
        std::fprintf(stderr, "usage: imagegen OUT_DIR [--render DIR]\n");
        return 2;
    }
    const QDir dir(args[1]);
    if (!WriteAll(dir))
        return 1;
    if (args.size() == 4) {
        QDir().mkpath(args[3]);
        if (!RenderAll(dir, QDir(args[3])))
            return 1;
    }
    return 0;
}
