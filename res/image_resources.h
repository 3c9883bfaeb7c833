#pragma once
// The compiled-in pictures: the button images by resource symbol, the presentation
// window's menu strip and pointer sticks, and the application icon.

#include <QString>
#include <QStringView>

namespace brevant {

// Makes the pictures reachable under ":/images/". The resource data sits in a static
// library, so the linker keeps it only when this is called; calling it again is harmless.
void InitImageResources();

// The image of an image button, named by its resource symbol: "IDB_C0_LINE32" gives
// ":/images/IDB_C0_LINE32.svg".
QString ButtonImagePath(QStringView symbol);

// Bitmap 150: the button menu, plain in rows 50..99, each button lit in rows 0..41.
QString MenuStripImagePath();

// Bitmaps 151..153: the pointer stick of length level 1..3 on the pure-blue key colour;
// empty for any other level.
QString StickImagePath(int level);

// The application icon at 16, 32, 48 or 256 px; other sizes give the scalable drawing.
QString AppIconPath(int size);

}  // namespace brevant
