#pragma once
// A colour picker button: it shows its colour as a swatch and opens a palette of five
// columns of colours with an entry for further colours (the desktop's colour dialog).

#include "chart_style.h"

#include <QPushButton>

#include <span>

class QMenu;
class QToolButton;

namespace brevant {

class Platform;

class ColorButton : public QPushButton {
    Q_OBJECT
public:
    explicit ColorButton(Platform& platform, QWidget* parent = nullptr);

    ColorRef color() const { return color_; }
    // Shows the colour without telling anybody; used when the program sets it.
    void setColor(ColorRef color);

    // The palette, in reading order (five to a row).
    static std::span<const ColorRef> PaletteColors();
    static constexpr int kPaletteColumns = 5;

    // The pop-up palette; created on first use. Its swatches are tool buttons named after
    // their colour ("#rrggbb"), the further-colours entry is its last action.
    QMenu* paletteMenu();
    QList<QToolButton*> swatches();
    QAction* moreColorsAction();

Q_SIGNALS:
    // The user picked a colour (from the palette or the colour dialog).
    void colorPicked(brevant::ColorRef color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void showPalette();
    void pick(ColorRef color);
    void chooseMore();

    Platform& platform_;
    ColorRef color_ = 0;
    QMenu* menu_ = nullptr;
    QAction* more_ = nullptr;
    QList<QToolButton*> swatches_;
};

} // namespace brevant
