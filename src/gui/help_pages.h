#pragma once
// The three help pages shown over the chart area in place of the charts.

#include <QString>

namespace brevant {

enum HelpPageKind : int {
    kHelpGeneral = 0,
    kHelpBatch = 1,
    kHelpPresentation = 2,
};

// The whole text of one page, every line ended by CR LF; an unknown kind gives "".
QString HelpPageText(int kind);

} // namespace brevant
