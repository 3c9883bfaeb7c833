#pragma once
// Places the widgets of a dialog template on a window, turning dialog units into pixels
// through the dialog's font as the desktop does.

#include "dialog_templates.h"

#include <QFont>
#include <QHash>
#include <QList>
#include <QSize>

class QButtonGroup;
class QWidget;

namespace brevant {

class Platform;

struct BuiltDialog {
    // Every control by id. A spin answers with the spin box of its entry.
    QHash<int, QWidget*> byId;
    // One exclusive group per run of radio buttons that starts with kGroupStart.
    QList<QButtonGroup*> radioGroups;
    QFont font;
    QSize size; // the template's size in pixels
};

// The font a template names, with the desktop-only faces substituted.
QFont TemplateFont(const DialogTemplate& dialog);

// Creates every control of `dialog` as a child of `window`, in template order (which is
// tab and stacking order), sets the window's font, and returns the controls.
BuiltDialog BuildDialog(QWidget* window, const DialogTemplate& dialog, Platform& platform);

} // namespace brevant
