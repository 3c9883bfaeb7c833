#pragma once
// Turning the presentation window's keys and wheel into commands, and its context menu.

#include "present_tables.h"

#include <QMenu>
#include <QPoint>

#include <memory>

class QWidget;

namespace brevant {

// The command of key table 154 for a key press, or 0 when the table has none.
int PresentKeyCommand(int key, Qt::KeyboardModifiers modifiers);

// One wheel notch as a step: +1 rotated away from the user, -1 towards, 0 for none.
int WheelStep(QPoint angleDelta);

// Menu 156 with its check marks: item 116 while the menu is always shown, item 118 while
// amounts are in thousands of yen. Each action carries its command id as data.
std::unique_ptr<QMenu> CreatePresentContextMenu(QWidget* parent, bool alwaysShow,
                                                bool thousandYen);

// Where a menu of the given width opens so that it is centred on the click point.
QPoint CentredMenuPosition(QPoint globalClick, int menuWidth);

// Runs the menu centred on the click point and returns the command of the chosen item, or
// 0. A button release before the pointer has left the opening point chooses nothing: the
// menu opens with an item under the pointer, and the second half of a double click or a
// second click made to close the menu must not pick that item.
int ExecCentredMenu(QMenu& menu, QPoint globalClick);

} // namespace brevant
