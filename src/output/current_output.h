#pragma once
// The two commands that take the charts on screen out of the program as they are:
// saving them to a file of the user's choosing, and copying them to the clipboard.

#include <QString>

namespace brevant {

class ChartHost;
struct ChartStyle;

// The file name offered by the save dialog: the last non-empty chart title, or "無題".
QString ProposedFileName(const ChartStyle& style);

// Button 1003: asks for a file, confirms an overwrite, writes the charts in the type the
// chosen extension names, and offers to open the folder.
void SaveCurrentCharts(ChartHost& host);

// Button 1043: places a copy of the charts on the clipboard and says so.
void CopyChartsToClipboard(ChartHost& host);

} // namespace brevant
