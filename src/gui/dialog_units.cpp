#include "dialog_units.h"

#include <QFontMetrics>
#include <QStringList>

#include <cstdint>

namespace brevant {

namespace {

// a × b / c rounded half away from zero, in 64 bits so no template value overflows.
int ScaleRounded(int a, int b, int c)
{
    const int64_t p = int64_t(a) * b;
    const int64_t q = (p >= 0 ? p + c / 2 : p - c / 2) / c;
    return int(q);
}

} // namespace

QSize DialogBaseUnits(const QFont& font)
{
    // The desktop averages the 52 Latin letters, rounding half up, rather than reading
    // the font's own average width; proportional Japanese faces differ by two pixels.
    const QFontMetrics fm(font);
    const int alphabet =
        fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return QSize(qMax(1, (alphabet / 26 + 1) / 2), qMax(1, fm.height()));
}

QRect DialogUnitsToPixels(QRect du, const QFont& font)
{
    const QSize base = DialogBaseUnits(font);
    const int left = ScaleRounded(du.x(), base.width(), 4);
    const int top = ScaleRounded(du.y(), base.height(), 8);
    const int right = ScaleRounded(du.x() + du.width(), base.width(), 4);
    const int bottom = ScaleRounded(du.y() + du.height(), base.height(), 8);
    return QRect(left, top, right - left, bottom - top);
}

QFont DialogFont(const QString& face, int points)
{
    static const char* const kDesktopFaces[] = {"Meiryo UI", "MS UI Gothic", "MS Shell Dlg",
                                                 "MS Shell Dlg 2"};
    for (const char* desktop : kDesktopFaces) {
        const QString name = QString::fromLatin1(desktop);
        if (face.compare(name, Qt::CaseInsensitive) == 0 && QFont::substitutes(name).isEmpty())
            QFont::insertSubstitution(name, QStringLiteral("IPAPGothic"));
    }
    return QFont(face, points);
}

} // namespace brevant
