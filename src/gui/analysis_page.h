#pragma once
// The analysis page shown over the chart area in place of the charts (F4): margin of
// safety, operating leverage and the sensitivity table for the current figures.

#include "bep_model.h"

#include <QAbstractScrollArea>
#include <QColor>
#include <QFont>
#include <QLine>
#include <QRect>
#include <QString>
#include <vector>

namespace brevant {

class Platform;

class AnalysisPage : public QAbstractScrollArea {
    Q_OBJECT
public:
    AnalysisPage(Platform& platform, QWidget* parent);

    // Lays the page out for these figures; cheap enough to follow every change.
    void ShowFigures(const BepInputs& in);
    // Everything the page says, a line per row, cells separated by tabs.
    QString Text() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    // Ctrl+C copies the sensitivity table as tab-separated text.
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct Piece {
        QRect rect;
        QString text;
        int flags = 0;
        QColor colour;
        QFont font;
        int row = 0;
    };
    void Layout();

    Platform& platform_;
    BepInputs inputs_;
    std::vector<Piece> pieces_;
    std::vector<QLine> rules_;
    QRect headerBand_;
    QSize content_;
};

} // namespace brevant
