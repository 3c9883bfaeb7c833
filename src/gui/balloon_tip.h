#pragma once
// One tooltip for a whole window, driven by hand: the window sets its text, activates it
// and relays every pointer move; the tip appears after the pointer has rested for the
// initial delay and goes away by itself after the auto-pop delay.

#include <QColor>
#include <QRect>
#include <QLabel>
#include <QPoint>
#include <QTimer>

namespace brevant {

class BalloonTip : public QLabel {
    Q_OBJECT
public:
    explicit BalloonTip(QWidget* owner);

    void SetDelays(int initialMs, int autoPopMs, int reshowMs);
    void SetColours(const QColor& background, const QColor& text);
    void SetMaxTipWidth(int pixels);

    // An inactive tip never shows; deactivating hides it.
    void Activate(bool on);
    // New text; a tip on screen is hidden.
    void SetTipText(const QString& text);
    QString TipText() const { return text(); }
    // What the tip points at (global coordinates): it opens above that area, or below it
    // when there is no room. Without one it opens below the pointer.
    void SetAnchor(const QRect& globalArea) { anchor_ = globalArea; }
    // A pointer move over the owner, in global coordinates.
    void RelayMove(QPoint globalPos);
    void HideTip();

private:
    void ShowNow();
    void ApplyStyle();
    void resizeEvent(QResizeEvent* event) override;

    QTimer showTimer_;
    QTimer popTimer_;
    QColor background_ = QColor(255, 255, 225);
    QColor foreground_ = Qt::black;
    QPoint lastPos_;
    QRect anchor_;
    int initialMs_ = 500;
    int reshowMs_ = 100;
    bool active_ = false;
    bool shownOnce_ = false;
    bool popped_ = false;
};

} // namespace brevant
