#include "chart_style.h"

namespace brevant {

QString DefaultTitle(int chart)
{
    static const char16_t* const titles[kChartCount] = {
        u"損益分岐点図表", u"損益分岐点指数図表", u"損益分岐点・指数図表"};
    return chart >= 0 && chart < kChartCount ? QString::fromUtf16(titles[chart]) : QString();
}

QString DefaultSubtitle(int chart)
{
    static const char16_t* const subtitles[kChartCount] = {u"（図表1）", u"（図表2）",
                                                            u"（図表3）"};
    return chart >= 0 && chart < kChartCount ? QString::fromUtf16(subtitles[chart])
                                             : QString();
}

ChartStyle ChartStyle::Defaults()
{
    ChartStyle s;
    for (int k = 0; k < kChartCount; ++k) {
        s.titles[k] = DefaultTitle(k);
        s.subtitles[k] = DefaultSubtitle(k);
    }
    return s;
}

} // namespace brevant
