#include "present_images.h"

#include "image_resources.h"

namespace brevant {

bool PresentImages::Load()
{
    InitImageResources();
    return LoadFrom(MenuStripImagePath(), {StickImagePath(1), StickImagePath(2), StickImagePath(3)});
}

bool PresentImages::LoadFrom(const QString& menuStripPath, const std::array<QString, 3>& stickPaths)
{
    menuStrip = QImage(menuStripPath).convertToFormat(QImage::Format_RGB32);
    bool ok = !menuStrip.isNull();
    for (size_t i = 0; ok && i < sticks.size(); ++i) {
        sticks[i] = QImage(stickPaths[i]).convertToFormat(QImage::Format_RGB32);
        ok = !sticks[i].isNull();
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
