// The main window's context menu on the charts: the commands that act on what is drawn
// there, each shown with the key that does the same in the window.

#include "ctarnel_dlg.h"

#include "current_output.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>

namespace brevant {

void CTarnelDlg::CreateChartCommands()
{
    // The keys are the window's own (the buttons' access keys, F4) and stay the ones that
    // act; the actions only show them, so no key has two owners.
    const auto command = [this](const char16_t* text, const QKeySequence& key, auto slot) {
        auto* action = new QAction(QString::fromUtf16(text), this);
        action->setShortcut(key);
        action->setShortcutContext(Qt::WidgetShortcut);
        action->setShortcutVisibleInContextMenu(true);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    copyAction_ = command(u"Clipboardへ(&C)", QKeySequence(Qt::ALT | Qt::Key_C),
                          [this] { CopyChartsToClipboard(*this); });
    saveAction_ = command(u"現状出力(&N)...", QKeySequence(Qt::ALT | Qt::Key_N),
                          [this] { SaveCurrentCharts(*this); });
    analysisAction_ = command(u"損益分岐点分析(&A)", QKeySequence(Qt::Key_F4),
                              [this] { ToggleHelpPage(kAnalysisPage); });
}

std::unique_ptr<QMenu> CTarnelDlg::CreateChartMenu()
{
    auto menu = std::make_unique<QMenu>(this);
    // In menu order; null is a separator.
    const QList<QAction*> commands = {
        UndoAction(), RedoAction(), nullptr,
        copyAction_, saveAction_, nullptr, analysisAction_,
    };
    for (QAction* action : commands) {
        if (action)
            menu->addAction(action);
        else
            menu->addSeparator();
    }
    return menu;
}

void CTarnelDlg::contextMenuEvent(QContextMenuEvent* event)
{
    // Only over the charts themselves. While the left button drags or highlights, the right
    // button keeps doing nothing: a menu would take the release and leave the drag running.
    const bool leftHeld = (QGuiApplication::mouseButtons() & Qt::LeftButton) != 0;
    if (helpShown_ || !chartArea_.contains(event->pos()) || drag_.dragging() ||
        drag_.highlightMode || leftHeld) {
        QDialog::contextMenuEvent(event);
        return;
    }
    const std::unique_ptr<QMenu> menu = CreateChartMenu();
    menu->exec(event->globalPos());
}

} // namespace brevant
