#include "chart_text.h"

#include "bep_model.h"
#include "chart_paint.h"
#include "saturate.h"
#include "text_util.h"

#include <algorithm>
#include <cmath>

namespace brevant {

int TitlePoints(int fontSize) { return Trunc32(fontSize * 1.5); }
int SmallPoints(int fontSize) { return std::max(Trunc32(fontSize * 0.8), 4); }

ChartFont TitleFont(const ChartStyle& s, int dpiY)
{
    return MakeChartFont(QString(), TitlePoints(s.fontSize), true, 0, dpiY);
}
ChartFont SubtitleFont(const ChartStyle& s, int dpiY)
{
    return MakeChartFont(QString(), s.fontSize, false, 0, dpiY);
}
ChartFont LeftScaleFont(const ChartStyle& s, int dpiY)
{
    return MakeChartFont(QString(), SmallPoints(s.fontSize), true, 0, dpiY);
}
ChartFont BottomScaleFont(const ChartStyle& s, int dpiY)
{
    return MakeChartFont(QString(), SmallPoints(s.fontSize), false, kBottomLabelDegrees, dpiY);
}
ChartFont NameFont(const ChartStyle& s, int dpiY)
{
    return MakeChartFont(QString(), s.fontSize, true, 0, dpiY);
}
ChartFont RatioFont(const ChartStyle& s, int dpiY)
{
    return MakeChartFont(QString(), SmallPoints(s.fontSize), false, 0, dpiY);
}
ChartFont BoxFont(const ChartStyle& s, int dpiY)
{
    return MakeChartFont(QString(), SmallPoints(s.fontSize), true, 0, dpiY);
}

QString FormatAmount(const QString& text)
{
    const bool negative = text.startsWith(u'-');
    const QString digits = negative ? text.mid(1) : text;
    const qsizetype n = digits.size();
    QString out;
    if (n >= 4 && n <= 6)
        out = digits.left(n - 3) + u',' + digits.right(3);
    else if (n >= 7 && n <= 9)
        out = digits.left(n - 6) + u',' + digits.mid(n - 6, 3) + u',' + digits.right(3);
    else
        out = digits;
    return negative ? u'-' + out : out;
}

QString ShownAmount(double amount, int32_t unit)
{
    const double v = unit != 0 ? amount / 1000.0 : amount;
    if (std::isnan(v))
        return QStringLiteral("―");
    if (std::isinf(v))
        return v > 0 ? QStringLiteral("∞") : QStringLiteral("-∞");
    // A loss smaller than half a unit rounds to nothing, not to "-0".
    const QString whole = FormatWhole(v);
    return FormatAmount(whole == u"-0" ? QStringLiteral("0") : whole);
}

QString ScaleLabel(const BepInputs& in, int i)
{
    double step = in.maxSales / 10.0;
    if (in.amountUnit != 0)
        step /= 1000.0;
    return ShownAmount(i * step, 0);
}

QString PaddedBottomLabel(const BepInputs& in, int i)
{
    const qsizetype length = ShownAmount(in.maxSales, in.amountUnit).size();
    QString label = ScaleLabel(in, i);
    if (label.size() < length)
        label.prepend(QString(length - label.size(), u' '));
    return label;
}

double BottomLabelAngle() { return std::atan(1.0) * kBottomLabelDegrees * 4 / 180; }

int32_t RotatedHeight(QSize e)
{
    const double t = BottomLabelAngle();
    return Trunc32(std::abs(std::sin(t) * e.width()) + std::abs(std::cos(t) * e.height()) + 0.5);
}

int32_t RotatedWidth(QSize e)
{
    const double t = BottomLabelAngle();
    return Trunc32(std::abs(std::cos(t) * e.width()) + std::abs(std::sin(t) * e.height()) + 0.5);
}

int32_t MeasureLeftBand(DrawSurface& s, const BepInputs& in, const ChartStyle& style)
{
    DrawSurface::Saver keep(s);
    s.selectFont(LeftScaleFont(style, s.dpiY()));
    const int w = s.textExtent(ShownAmount(in.maxSales, in.amountUnit)).width();
    return SatAdd(style.scaleMargin, w);
}

int32_t MeasureTopBand(DrawSurface& s, const ChartStyle& style)
{
    DrawSurface::Saver keep(s);
    int32_t band = 0;
    s.selectFont(TitleFont(style, s.dpiY()));
    for (const QString& t : style.titles) {
        if (!t.isEmpty())
            band = std::max(band, SatAdd(style.scaleMargin, s.textExtent(t).height()));
    }
    s.selectFont(SubtitleFont(style, s.dpiY()));
    for (const QString& t : style.subtitles) {
        if (!t.isEmpty())
            band = std::max(band, SatAdd(style.scaleMargin, s.textExtent(t).height()));
    }
    return band;
}

int32_t MeasureBottomBand(DrawSurface& s, const BepInputs& in, const ChartStyle& style)
{
    DrawSurface::Saver keep(s);
    s.selectFont(BottomScaleFont(style, s.dpiY()));
    const QSize e = s.textExtent(ShownAmount(in.maxSales, in.amountUnit));
    return SatAdd(style.scaleMargin, RotatedHeight(e));
}

void DrawPlotFrame(DrawSurface& s, const ChartPaint& p, int x0, int y0)
{
    const ChartGeometry& g = p.geometry;
    const int l = Sat32(int64_t(x0) + g.leftBand);
    const int t = Sat32(int64_t(y0) + g.topBand);
    const int r = Sat32(int64_t(l) + g.plotWidth);
    const int b = Sat32(int64_t(t) + g.plotHeight);

    DrawSurface::Saver keep(s);
    const int width = p.style.lineWidths[kFrame];
    const ColorRef colour = p.style.colors[kFrame];
    s.setPen(colour, width);
    s.polyline(QPolygon({QPoint(l, t), QPoint(r, t), QPoint(r, b), QPoint(l, b), QPoint(l, t)}));
    if (p.highlight) {
        // The movable edges stand out while the user looks for them.
        s.setPen(colour, SatMul(width, 3));
        s.polyline(QPolygon({QPoint(l, t), QPoint(r, t), QPoint(r, b)}));
    }
}

void DrawTitles(DrawSurface& s, const ChartPaint& p, int x0, int y0, const QString& title,
                const QString& subtitle)
{
    const ChartGeometry& g = p.geometry;
    DrawSurface::Saver keep(s);
    s.selectFont(SubtitleFont(p.style, s.dpiY()));
    const QSize sub = subtitle.isEmpty() ? QSize(0, 0) : s.textExtent(subtitle);
    s.setTextColor(Rgb(0, 0, 0));
    const int right = Sat32(int64_t(x0) + g.chartWidth - sub.width());
    s.textAt(QPoint(right, Sat32(int64_t(y0) + g.topBand - p.style.scaleMargin - sub.height())),
             subtitle);

    s.selectFont(TitleFont(p.style, s.dpiY()));
    const Box box{Sat32(int64_t(x0) + g.leftBand), y0, right, Sat32(int64_t(y0) + g.topBand)};
    s.textInBox(box, title, HAlign::Center, VAlign::Top);
}

void DrawBottomScale(DrawSurface& s, const ChartPaint& p, int x0, int y0)
{
    const ChartGeometry& g = p.geometry;
    const BepInputs& in = p.inputs;
    DrawSurface::Saver keep(s);
    s.selectFont(BottomScaleFont(p.style, s.dpiY()));
    s.setTextColor(p.style.colors[kFrame]);

    const int32_t dx = g.plotWidth / 10;
    const QSize e = s.textExtent(ShownAmount(in.maxSales, in.amountUnit));
    const int32_t wR = RotatedWidth(e);

    const int64_t y = int64_t(y0) + g.chartHeight - e.height();
    for (int i = 1; i <= 10; ++i) {
        const int64_t x = int64_t(x0) + g.leftBand - wR + int64_t(i) * dx;
        s.textAt(QPoint(Sat32(x), Sat32(y)), PaddedBottomLabel(in, i));
    }
}

void DrawLeftScale(DrawSurface& s, const ChartPaint& p, int x0, int y0)
{
    const ChartGeometry& g = p.geometry;
    const BepInputs& in = p.inputs;
    DrawSurface::Saver keep(s);
    s.selectFont(LeftScaleFont(p.style, s.dpiY()));
    s.setTextColor(p.style.colors[kFrame]);

    const int64_t dy = g.plotHeight / 10;
    const int h = s.textExtent(QStringLiteral("0")).height();
    const int e = h / 2;

    const int left = x0;
    const int right = Sat32(int64_t(x0) + g.leftBand - p.style.scaleMargin);
    const int64_t top = int64_t(y0) + g.topBand - e;
    auto labelBox = [&](int64_t row) {
        return Box{left, Sat32(top + row * dy), right, Sat32(top + (row + 1) * dy)};
    };

    s.textInBox(labelBox(10), QStringLiteral("0"), HAlign::Right, VAlign::Top);
    for (int i = 1; i <= 10; ++i)
        s.textInBox(labelBox(10 - i), ScaleLabel(in, i), HAlign::Right, VAlign::Top);

    const QString unit = in.amountUnit == 0 ? QStringLiteral("単位:円") : QStringLiteral("単位:千円");
    const int64_t unitTop = top + 10 * dy + h;
    const Box unitBox{x0, Sat32(unitTop), Sat32(int64_t(x0) + 2 * int64_t(g.leftBand)),
                      Sat32(unitTop + h)};
    s.textInBox(unitBox, unit, HAlign::Left, VAlign::Center);
}

} // namespace brevant
