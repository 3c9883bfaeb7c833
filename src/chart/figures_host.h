#pragma once
// The window that holds the figures and the style the charts are drawn from, and the
// platform it speaks to people through: what the output's host and the presentation's host
// both ask of the main window.

#include "bep_model.h"
#include "chart_style.h"

namespace brevant {

class Platform;

class FiguresHost {
public:
    virtual ~FiguresHost() = default;

    // The figures and the style, changed in place by whoever holds the host.
    virtual BepInputs& Inputs() = 0;
    virtual ChartStyle& Style() = 0;
    virtual Platform& GetPlatform() = 0;
};

} // namespace brevant
