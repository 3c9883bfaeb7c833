#include "image_resources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must be used outside any namespace.
static void InitImagesQrc()
{
    Q_INIT_RESOURCE(images);
}

namespace brevant {

void InitImageResources()
{
    static const bool done = (InitImagesQrc(), true);
    Q_UNUSED(done);
}

QString ButtonImagePath(QStringView symbol)
{
    return QStringLiteral(":/images/") + symbol + QStringLiteral(".svg");
}

QString MenuStripImagePath()
{
    return QStringLiteral(":/images/menu_strip.png");
}

QString StickImagePath(int level)
{
    switch (level) {
    case 1: return QStringLiteral(":/images/stick_61.png");
    case 2: return QStringLiteral(":/images/stick_122.png");
    case 3: return QStringLiteral(":/images/stick_184.png");
    default: return {};
    }
}

QString AppIconPath(int size)
{
    switch (size) {
    case 16:
    case 32:
    case 48:
    case 256: return QStringLiteral(":/images/brevant-%1.png").arg(size);
    default: return QStringLiteral(":/images/brevant.svg");
    }
}

}  // namespace brevant
