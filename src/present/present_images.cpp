#include "present/present_images.h"

#include "res/image_resources.h"

namespace brevant {

bool PresentImages::Load()
{
    InitImageResources();
    menuStrip = QImage(MenuStripImagePath()).convertToFormat(QImage::Format_RGB32);
    bool ok = !menuStrip.isNull();
    for (int level = 1; ok && level <= 3; ++level) {
        sticks[level - 1] = QImage(StickImagePath(level)).convertToFormat(QImage::Format_RGB32);
        ok = !sticks[level - 1].isNull();
    }
    if (!ok)
        Release();
    return ok;
}

void PresentImages::Release()
{
    menuStrip = QImage();
    for (QImage& stick : sticks)
        stick = QImage();
}

} // namespace brevant
