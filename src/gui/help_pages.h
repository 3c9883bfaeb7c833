#pragma once
// The three help pages shown over the chart area in place of the charts.

#include <QString>

class QTextDocument;

namespace brevant {

enum HelpPageKind : int {
    kHelpGeneral = 0,
    kHelpBatch = 1,
    kHelpPresentation = 2,
};

// The whole text of one page, every line ended by CR LF; an unknown kind gives "".
QString HelpPageText(int kind);

// The outline file at path (a resource or a file on disk, in the format of res/help/)
// laid out as a page. A file that cannot be read, an include that cannot, an unknown
// directive, an empty heading or text with no heading above it gives "" and a warning.
QString HelpOutlineText(const QString& path);

// Gives every paragraph that starts with spaces a hanging indent as deep as those spaces,
// so a long body line that wraps continues under its own first word and the page keeps
// its outline. The text itself is not changed.
void ApplyHangingIndents(QTextDocument& document);

} // namespace brevant
