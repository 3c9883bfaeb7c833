#pragma once
// The pictures the presentation window owns for one run: the button-menu strip and the
// pointer stick in three lengths.

#include <QImage>
#include <QString>

#include <array>

namespace brevant {

struct PresentImages {
    QImage menuStrip;
    std::array<QImage, 3> sticks;

    // Loads every picture from the compiled-in resources; false when any is missing or
    // cannot be decoded (the images loaded so far are dropped).
    bool Load();
    bool LoadFrom(const QString& menuStripPath, const std::array<QString, 3>& stickPaths);
    void Release();
};

} // namespace brevant
