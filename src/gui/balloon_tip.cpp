#include "balloon_tip.h"

#include <QGuiApplication>
#include <QPainterPath>
#include <QRegion>
#include <QScreen>

#include <algorithm>

namespace brevant {

BalloonTip::BalloonTip(QWidget* owner)
    : QLabel(owner, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    showTimer_.setSingleShot(true);
    popTimer_.setSingleShot(true);
    connect(&showTimer_, &QTimer::timeout, this, [this] { ShowNow(); });
    connect(&popTimer_, &QTimer::timeout, this, [this] {
        HideTip();
        popped_ = true;
    });
    ApplyStyle();
}

void BalloonTip::SetDelays(int initialMs, int autoPopMs, int reshowMs)
{
    initialMs_ = initialMs;
    reshowMs_ = reshowMs;
    popTimer_.setInterval(autoPopMs);
}

void BalloonTip::SetColours(const QColor& background, const QColor& text)
{
    background_ = background;
    foreground_ = text;
    ApplyStyle();
}

void BalloonTip::SetMaxTipWidth(int pixels) { setMaximumWidth(pixels); }

void BalloonTip::ApplyStyle()
{
    setStyleSheet(QStringLiteral("QLabel { background-color: %1; color: %2; border: 1px solid %2;"
                                 " border-radius: 6px; padding: 5px 9px; }")
                      .arg(background_.name(), foreground_.name()));
}

void BalloonTip::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    // Rounded corners by a mask: needs no compositing window manager.
    QPainterPath outline;
    outline.addRoundedRect(QRectF(rect()), 6, 6);
    setMask(QRegion(outline.toFillPolygon().toPolygon()));
}

void BalloonTip::Activate(bool on)
{
    active_ = on;
    popped_ = false;
    if (!on)
        HideTip();
}

void BalloonTip::SetTipText(const QString& text)
{
    HideTip();
    popped_ = false;
    setText(text);
    adjustSize();
}

void BalloonTip::RelayMove(QPoint globalPos)
{
    lastPos_ = globalPos;
    if (!active_ || popped_ || text().isEmpty() || isVisible())
        return;
    // The pointer must rest: every move starts the wait again.
    showTimer_.start(shownOnce_ ? reshowMs_ : initialMs_);
}

void BalloonTip::HideTip()
{
    showTimer_.stop();
    popTimer_.stop();
    hide();
}

void BalloonTip::ShowNow()
{
    if (!active_ || text().isEmpty())
        return;
    adjustSize();
    const QScreen* screen = QGuiApplication::screenAt(lastPos_);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QRect bounds = screen ? screen->geometry() : QRect(lastPos_, QSize(1, 1));
    // Clear of what it points at, never past the screen's sides.
    QPoint at;
    if (anchor_.isValid()) {
        at = QPoint(anchor_.center().x() - width() / 2, anchor_.top() - height() - 6);
        if (at.y() < bounds.top())
            at.setY(anchor_.bottom() + 6);
    } else {
        at = QPoint(lastPos_.x() - width() / 2, lastPos_.y() + 22);
        if (at.y() + height() > bounds.bottom())
            at.setY(lastPos_.y() - height() - 8);
    }
    at.setX(std::clamp(at.x(), bounds.left(), std::max(bounds.left(), bounds.right() - width())));
    move(at);
    show();
    raise();
    shownOnce_ = true;
    popTimer_.start();
}

} // namespace brevant
