#include "color_button.h"

#include "platform.h"

#include <QGridLayout>
#include <QMenu>
#include <QPainter>
#include <QStyleOption>
#include <QStylePainter>
#include <QToolButton>
#include <QWidgetAction>

#include <array>

namespace brevant {

namespace {

// Five columns: greys, reds and browns, greens, blues, purples and pinks, then pale tones.
// The chart's default colours are all here, so each can be picked again by hand.
constexpr std::array<ColorRef, 35> kPalette = {
    Rgb(0, 0, 0),       Rgb(64, 64, 64),     Rgb(128, 128, 128), Rgb(191, 191, 191), Rgb(255, 255, 255),
    Rgb(128, 0, 0),     Rgb(255, 0, 0),      Rgb(255, 128, 0),   Rgb(128, 64, 0),    Rgb(255, 255, 0),
    Rgb(0, 64, 0),      Rgb(0, 128, 0),      Rgb(0, 255, 0),     Rgb(128, 128, 0),   Rgb(0, 128, 128),
    Rgb(0, 0, 128),     Rgb(0, 0, 255),      Rgb(0, 128, 255),   Rgb(0, 255, 255),   Rgb(128, 192, 255),
    Rgb(128, 0, 128),   Rgb(255, 0, 255),    Rgb(128, 0, 255),   Rgb(255, 128, 192), Rgb(255, 192, 192),
    Rgb(206, 206, 206), Rgb(251, 248, 234),  Rgb(255, 255, 192), Rgb(192, 255, 192), Rgb(192, 255, 255),
    Rgb(192, 192, 255), Rgb(255, 224, 192),  Rgb(210, 180, 140), Rgb(47, 79, 79),    Rgb(96, 0, 0),
};

QColor ToQColor(ColorRef c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }

QIcon SwatchIcon(ColorRef c, int side)
{
    QPixmap pixmap(side, side);
    pixmap.fill(ToQColor(c));
    QPainter p(&pixmap);
    p.setPen(QColor(96, 96, 96));
    p.drawRect(0, 0, side - 1, side - 1);
    return QIcon(pixmap);
}

} // namespace

ColorButton::ColorButton(Platform& platform, QWidget* parent)
    : QPushButton(parent), platform_(platform)
{
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this, &ColorButton::showPalette);
}

void ColorButton::setColor(ColorRef color)
{
    color_ = color & 0xFFFFFF;
    for (QToolButton* b : std::as_const(swatches_))
        b->setChecked(b->property("colorRef").toUInt() == color_);
    update();
}

std::span<const ColorRef> ColorButton::PaletteColors() { return kPalette; }

QMenu* ColorButton::paletteMenu()
{
    if (menu_)
        return menu_;
    menu_ = new QMenu(this);
    menu_->setFont(font());
    auto* grid = new QWidget(menu_);
    auto* layout = new QGridLayout(grid);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(2);
    const int side = fontMetrics().height();
    for (size_t i = 0; i < kPalette.size(); ++i) {
        const ColorRef c = kPalette[i];
        auto* b = new QToolButton(grid);
        b->setObjectName(ToQColor(c).name());
        b->setProperty("colorRef", uint(c));
        b->setIcon(SwatchIcon(c, side));
        b->setIconSize(QSize(side, side));
        b->setAutoRaise(true);
        b->setCheckable(true);
        b->setChecked(c == color_);
        connect(b, &QToolButton::clicked, this, [this, c] {
            menu_->close();
            pick(c);
        });
        layout->addWidget(b, int(i) / kPaletteColumns, int(i) % kPaletteColumns);
        swatches_.append(b);
    }
    auto* gridAction = new QWidgetAction(menu_);
    gridAction->setDefaultWidget(grid);
    menu_->addAction(gridAction);
    menu_->addSeparator();
    more_ = menu_->addAction(QStringLiteral("その他の色(&M)..."));
    connect(more_, &QAction::triggered, this, &ColorButton::chooseMore);
    return menu_;
}

QList<QToolButton*> ColorButton::swatches()
{
    paletteMenu();
    return swatches_;
}

QAction* ColorButton::moreColorsAction()
{
    paletteMenu();
    return more_;
}

void ColorButton::showPalette()
{
    QMenu* menu = paletteMenu();
    for (QToolButton* b : std::as_const(swatches_))
        b->setChecked(b->property("colorRef").toUInt() == color_);
    menu->popup(mapToGlobal(QPoint(0, height())));
}

void ColorButton::pick(ColorRef color)
{
    setColor(color);
    Q_EMIT colorPicked(color_);
}

void ColorButton::chooseMore()
{
    if (const auto chosen = platform_.ChooseColor(color_))
        pick(*chosen);
}

void ColorButton::paintEvent(QPaintEvent*)
{
    QStylePainter p(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    option.icon = QIcon();
    p.drawControl(QStyle::CE_PushButtonBevel, option);

    const QRect content = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    const int arrow = std::max(6, content.height() / 2);
    QRect swatch = content.adjusted(1, 1, -(arrow + 3), -1);
    if (swatch.width() < 4)
        swatch = content.adjusted(1, 1, -1, -1);
    p.fillRect(swatch, isEnabled() ? ToQColor(color_) : palette().color(QPalette::Button));
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                             QPalette::ButtonText));
    p.drawRect(swatch.adjusted(0, 0, -1, -1));

    QStyleOption arrowOption;
    arrowOption.initFrom(this);
    arrowOption.rect = QRect(swatch.right() + 2, content.center().y() - arrow / 2, arrow, arrow);
    p.drawPrimitive(QStyle::PE_IndicatorArrowDown, arrowOption);
}

} // namespace brevant
