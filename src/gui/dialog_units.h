#pragma once
// Placing widgets from rectangles in dialog units, as the desktop lays out its dialog
// templates: a horizontal unit is a quarter of the font's average character width, a
// vertical unit an eighth of its character height.

#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>

namespace brevant {

// (baseX, baseY): the average character width and the character height of the font.
QSize DialogBaseUnits(const QFont& font);

// The rectangle (left, top, width, height in dialog units) in pixels. The four edges are
// converted one by one, rounded to the nearest pixel, so controls that touch in dialog
// units touch in pixels too.
QRect DialogUnitsToPixels(QRect du, const QFont& font);

// The font a dialog template names. Faces that only the desktop the templates were made
// for carries (for example "Meiryo UI", "MS UI Gothic") are drawn with IPAPGothic here.
QFont DialogFont(const QString& face, int points);

} // namespace brevant
