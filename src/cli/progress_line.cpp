#include "progress_line.h"

#include "text_util.h"

#include <cmath>

namespace brevant {

QString ProgressText(int done, int total, double seconds)
{
    QString text = QStringLiteral("%1/%2 records").arg(done).arg(total);
    if (done <= 0 || seconds <= 0)
        return text;
    const double rate = done / seconds;
    const auto left = qint64(std::ceil((total - done) / rate));
    const QString time = left >= 3600 ? CFormat("%lld:%02lld:%02lld", left / 3600,
                                                (left / 60) % 60, left % 60)
                                      : CFormat("%lld:%02lld", left / 60, left % 60);
    return text + CFormat(", %.1f/s, ", rate) + time + u" left";
}

} // namespace brevant
