#include "settings.h"

#include "bep_model.h"
#include "profile_store.h"
#include "saturate.h"

#include <algorithm>

namespace brevant {

namespace {

QString Key(const char* name, int index) { return QLatin1String(name) + QString::number(index); }
QString Key(const char* name) { return QLatin1String(name); }

int32_t ReadClamped(ProfileStore& store, const QString& key, int32_t def, int32_t lo,
                    int32_t hi)
{
    return std::clamp(store.ReadInt(kSection, key, def), lo, hi);
}

// QRect keeps edges, not sizes: a stored size whose far edge lies beyond the 32-bit range
// is cut to end there (no window is that large), so the rectangle can be made at all.
int32_t FittingExtent(int32_t origin, int32_t extent)
{
    const int64_t end = std::clamp<int64_t>(int64_t(origin) + extent, int64_t(kInt32Min) + 1,
                                            kInt32Max);
    return int32_t(std::max<int64_t>(end - origin, int64_t(kInt32Min) + 1));
}

} // namespace

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

    int32_t a[3];
    for (int k = 0; k < 3; ++k)
        a[k] = ParseInt32(store.ReadString(kSection, Key("Kingaku", k), QString()));
    if (a[0] < 1)
        a[0] = 1;
    if (a[1] > a[0])
        a[0] = a[1];
    if (a[2] > a[0])
        a[0] = a[2];
    for (int k = 0; k < 3; ++k)
        s.amountTexts[k] = FormatWhole(a[k]);

    s.ratio = ReadClamped(store, Key("Ritsu"), 2500, 0, 10000);
    s.amountUnit = store.ReadInt(kSection, Key("Tani"), 0);
    for (int k = 0; k < kWidthCount; ++k)
        style.lineWidths[k] = ReadClamped(store, Key("Futosa", k), 3, 0, 20);
    style.fontSize = ReadClamped(store, Key("FontSize"), 10, 5, 50);
    style.outerMargin = ReadClamped(store, Key("Yohaku"), 10, 0, 50);
    style.scaleMargin = ReadClamped(store, Key("InYohaku"), 10, 0, 50);
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
