#pragma once
// The analysis page shown over the chart area in place of the charts (F4): margin of
// safety, operating leverage and the sensitivity table for the current figures.

#include "bep_model.h"

#include <QString>
#include <QTextEdit>

namespace brevant {

class Platform;

// A read-only text document of headings, figure lists and tables, so that wrapping,
// scrolling and the sizes of the columns are the text layout's.
class AnalysisPage : public QTextEdit {
    Q_OBJECT
public:
    AnalysisPage(Platform& platform, QWidget* parent);

    // Writes the page anew for these figures; cheap enough to follow every change.
    void ShowFigures(const BepInputs& in);
    // Everything the page says, a line per paragraph or table row, cells separated by tabs.
    QString Text() const;

protected:
    // Ctrl+C copies the sensitivity table as tab-separated text.
    void keyPressEvent(QKeyEvent* event) override;

private:
    Platform& platform_;
    BepInputs inputs_;
};

} // namespace brevant
