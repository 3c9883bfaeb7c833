#include "saved_background.h"

#include "device_pixels.h"

namespace brevant {

bool ImageBackground::Create(const QImage& window, int width, int height)
{
    saved_ = failCreate ? QImage() : NewSaveUnder(window, QSize(width, height));
    return !saved_.isNull();
}

void ImageBackground::Save(const QImage& window, const QRect& box)
{
    if (saved_.isNull() || window.isNull())
        return;
    SaveUnder(saved_, window, box.topLeft());
}

void ImageBackground::Restore(QImage& window)
{
    if (rect_.isEmpty() || saved_.isNull() || window.isNull())
        return;
    RestoreUnder(window, saved_, rect_);
}

} // namespace brevant
