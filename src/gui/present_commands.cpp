#include "present_commands.h"

#include <QAction>
#include <QEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QStyleHints>

namespace brevant {

namespace {

// Swallows every button release on the menu until the pointer has moved further from the
// opening point than a double click may stray.
class UnmovedReleaseFilter final : public QObject {
public:
    explicit UnmovedReleaseFilter(QPoint origin)
        : origin_(origin), slop_(QGuiApplication::styleHints()->mouseDoubleClickDistance())
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if (type != QEvent::MouseMove && type != QEvent::MouseButtonRelease)
            return QObject::eventFilter(watched, event);
        const QPoint at = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
        moved_ = moved_ || (at - origin_).manhattanLength() > slop_;
        return type == QEvent::MouseButtonRelease && !moved_;
    }

private:
    QPoint origin_;
    int slop_;
    bool moved_ = false;
};

} // namespace

int PresentKeyCommand(int key, Qt::KeyboardModifiers modifiers)
{
    constexpr Qt::KeyboardModifiers kHeld =
        Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier | Qt::MetaModifier;
    if (modifiers & kHeld)
        return 0;
    const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
    for (const PresentKey& entry : kPresentKeyTable) {
        if (entry.key != key)
            continue;
        // The arrows and Delete also sit on the keypad; only +/- must come from it.
        if (entry.keypad && !keypad)
            continue;
        return entry.command;
    }
    return 0;
}

int WheelStep(QPoint angleDelta)
{
    const int y = angleDelta.y();
    return y > 0 ? 1 : y < 0 ? -1 : 0;
}

std::unique_ptr<QMenu> CreatePresentContextMenu(QWidget* parent, bool alwaysShow,
                                                bool thousandYen)
{
    auto menu = std::make_unique<QMenu>(parent);
    for (const PresentMenuItem& item : kPresentContextMenu) {
        if (item.id == 0) {
            menu->addSeparator();
            continue;
        }
        QString text = QString::fromUtf8(item.text);
        // QMenu right-aligns what follows a tab in its shortcut column.
        if (*item.shortcut)
            text += QLatin1Char('\t') + QString::fromUtf8(item.shortcut);
        QAction* action = menu->addAction(text);
        action->setData(item.id);
        if (item.id == ID_ALWAYS_SHOW_MENU || item.id == ID_THOUSAND_YEN) {
            action->setCheckable(true);
            action->setChecked(item.id == ID_ALWAYS_SHOW_MENU ? alwaysShow : thousandYen);
        }
    }
    return menu;
}

QPoint CentredMenuPosition(QPoint globalClick, int menuWidth)
{
    return QPoint(globalClick.x() - menuWidth / 2, globalClick.y());
}

int ExecCentredMenu(QMenu& menu, QPoint globalClick)
{
    UnmovedReleaseFilter filter(globalClick);
    menu.installEventFilter(&filter);
    const QAction* chosen = menu.exec(CentredMenuPosition(globalClick, menu.sizeHint().width()));
    menu.removeEventFilter(&filter);
    return chosen ? chosen->data().toInt() : 0;
}

} // namespace brevant
