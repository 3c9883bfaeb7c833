#include "settings.h"

#include "bep_model.h"
#include "profile_store.h"
#include "saturate.h"

#include <algorithm>

namespace brevant {

namespace {

QString Key(const char* name, int index) { return QLatin1String(name) + QString::number(index); }
QString Key(const char* name) { return QLatin1String(name); }

// QRect keeps edges, not sizes: a stored size whose far edge lies beyond the 32-bit range
// is cut to end there (no window is that large), so the rectangle can be made at all.
int32_t FittingExtent(int32_t origin, int32_t extent)
{
    const int64_t end = std::clamp<int64_t>(int64_t(origin) + extent, int64_t(kInt32Min) + 1,
                                            kInt32Max);
    return int32_t(std::max<int64_t>(end - origin, int64_t(kInt32Min) + 1));
}

} // namespace

std::array<QString, 3> RaisedAmountTexts(std::array<int32_t, 3> a)
{
    if (a[0] < 1)
        a[0] = 1;
    if (a[1] > a[0])
        a[0] = a[1];
    if (a[2] > a[0])
        a[0] = a[2];
    std::array<QString, 3> texts;
    for (int k = 0; k < 3; ++k)
        texts[k] = FormatWhole(a[k]);
    return texts;
}

int32_t ClampRatio(int32_t ratio) { return std::clamp(ratio, 0, 10000); }

void ClampStyle(ChartStyle& style)
{
    for (int32_t& width : style.lineWidths)
        width = std::clamp(width, 0, 20);
    style.fontSize = std::clamp(style.fontSize, 5, 50);
    style.outerMargin = std::clamp(style.outerMargin, 0, 50);
    style.scaleMargin = std::clamp(style.scaleMargin, 0, 50);
}

StoredSettings LoadSettings(ProfileStore& store)
{
    StoredSettings s;
    ChartStyle& style = s.style;
    for (int k = 0; k < kChartCount; ++k)
        style.drawGraph[k] = store.ReadInt(kSection, Key("DrawGraph", k), 1);
    for (int k = 0; k < kChartCount; ++k) {
        style.titles[k] = store.ReadString(kSection, Key("Title", k), DefaultTitle(k));
        style.subtitles[k] = store.ReadString(kSection, Key("SubTitle", k), DefaultSubtitle(k));
    }
    for (int k = 0; k < kColorCount; ++k) {
        const QString text =
            store.ReadString(kSection, Key("Col", k), QString::number(kDefaultColors[k]));
        style.colors[k] = ColorRef(ParseInt32(text));
    }

    std::array<int32_t, 3> a;
    for (int k = 0; k < 3; ++k)
        a[k] = ParseInt32(store.ReadString(kSection, Key("Kingaku", k), QString()));
    s.amountTexts = RaisedAmountTexts(a);

    s.ratio = ClampRatio(store.ReadInt(kSection, Key("Ritsu"), 2500));
    s.amountUnit = store.ReadInt(kSection, Key("Tani"), 0);
    for (int k = 0; k < kWidthCount; ++k)
        style.lineWidths[k] = store.ReadInt(kSection, Key("Futosa", k), 3);
    style.fontSize = store.ReadInt(kSection, Key("FontSize"), 10);
    style.outerMargin = store.ReadInt(kSection, Key("Yohaku"), 10);
    style.scaleMargin = store.ReadInt(kSection, Key("InYohaku"), 10);
    ClampStyle(style);
    s.outputFormat = store.ReadInt(kSection, Key("OutSaki"), 0);

    const int32_t px = store.ReadInt(kSection, Key("PX"), 0);
    const int32_t py = store.ReadInt(kSection, Key("PY"), 0);
    const int32_t sx = store.ReadInt(kSection, Key("SX"), 640);
    const int32_t sy = store.ReadInt(kSection, Key("SY"), 480);
    s.placement = QRect(px, py, FittingExtent(px, sx), FittingExtent(py, sy));
    s.zoomed = store.ReadInt(kSection, Key("Zoomed"), 0) == 1;
    return s;
}

BepInputs SavedInputs(const StoredSettings& saved)
{
    BepInputs in;
    in.maxSales = ApplyAmountText(AmountField::MaxSales, saved.amountTexts[0]).value;
    in.targetSales = ApplyAmountText(AmountField::TargetSales, saved.amountTexts[1]).value;
    in.fixedCosts = ApplyAmountText(AmountField::FixedCosts, saved.amountTexts[2]).value;
    in.variableCostRatio = saved.ratio;
    in.amountUnit = saved.amountUnit;
    return in;
}

void SaveSettings(ProfileStore& store, const StoredSettings& s)
{
    const ChartStyle& style = s.style;
    for (int k = 0; k < kChartCount; ++k)
        store.WriteInt(kSection, Key("DrawGraph", k), style.drawGraph[k]);
    for (int k = 0; k < kChartCount; ++k) {
        store.WriteString(kSection, Key("Title", k), style.titles[k]);
        store.WriteString(kSection, Key("SubTitle", k), style.subtitles[k]);
    }
    for (int k = 0; k < kColorCount; ++k)
        store.WriteString(kSection, Key("Col", k), QString::number(int32_t(style.colors[k])));
    for (int k = 0; k < 3; ++k)
        store.WriteString(kSection, Key("Kingaku", k), s.amountTexts[k]);
    store.WriteInt(kSection, Key("Ritsu"), s.ratio);
    store.WriteInt(kSection, Key("Tani"), s.amountUnit);
    for (int k = 0; k < kWidthCount; ++k)
        store.WriteInt(kSection, Key("Futosa", k), style.lineWidths[k]);
    store.WriteInt(kSection, Key("FontSize"), style.fontSize);
    store.WriteInt(kSection, Key("Yohaku"), style.outerMargin);
    store.WriteInt(kSection, Key("InYohaku"), style.scaleMargin);
    store.WriteInt(kSection, Key("OutSaki"), s.outputFormat);
    store.WriteInt(kSection, Key("Zoomed"), s.zoomed ? 1 : 0);
    const QRect p = SavedPlacement(s.placement);
    store.WriteInt(kSection, Key("PX"), p.x());
    store.WriteInt(kSection, Key("PY"), p.y());
    store.WriteInt(kSection, Key("SX"), p.width());
    store.WriteInt(kSection, Key("SY"), p.height());
}

std::optional<QRect> PlacementRect(const QRect& stored, const QSize& desktop,
                                   const QSize& minimum)
{
    if (stored.x() >= desktop.width() || stored.y() >= desktop.height())
        return std::nullopt;
    return QRect(stored.x(), stored.y(), std::max(stored.width(), minimum.width()),
                 std::max(stored.height(), minimum.height()));
}

QRect SavedPlacement(const QRect& normalGeometry)
{
    return QRect(std::max(normalGeometry.x(), 0), std::max(normalGeometry.y(), 0), normalGeometry.width(), normalGeometry.height());
}

} // namespace brevant
