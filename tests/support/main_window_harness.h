#pragma once
// A main window on the offscreen platform with a scripted platform and an in-memory
// profile store; controls are found by their numeric ids.

#include "profile_store.h"
#include "settings.h"
#include "ctarnel_dlg.h"
#include "support/fake_platform.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace brevant::test {

struct MainWindowHarness {
    QTemporaryDir dir;
    FakePlatform platform{dir.path()};
    MemoryProfileStore store;
    std::unique_ptr<CTarnelDlg> window;

    void Store(const char* key, const QVariant& value) { store.Set(kSection, key, value); }
    QVariant Stored(const char* key) const { return store.Get(kSection, key); }

    CTarnelDlg& Open(bool show = true)
    {
        window = std::make_unique<CTarnelDlg>(platform, store);
        if (show) {
            window->show();
            [[maybe_unused]] bool exposed = QTest::qWaitForWindowExposed(window.get());
            // The window's keys act in the active window, as on a desktop.
            window->activateWindow();
            [[maybe_unused]] bool active = QTest::qWaitForWindowActive(window.get());
        }
        return *window;
    }
    // Destroys the window, which saves the settings.
    void Close() { window.reset(); }

    template <typename T = QWidget>
    T* At(int id) const
    {
        return window->control<T>(id);
    }
    QString Text(int id) const { return At<QLineEdit>(id)->text(); }

    // Replaces the text of an entry the way a user does: select all, type.
    void Type(int id, const QString& text)
    {
        QWidget* w = At(id);
        w->setFocus();
        if (auto* spin = qobject_cast<QSpinBox*>(w))
            spin->selectAll();
        else
            At<QLineEdit>(id)->selectAll();
        bool ascii = true;
        for (QChar c : text)
            ascii = ascii && c.unicode() < 0x80;
        if (ascii) {
            QTest::keyClicks(w, text);
        } else {
            // Japanese text arrives through the input method, committed whole.
            QInputMethodEvent commit;
            commit.setCommitString(text);
            QApplication::sendEvent(w, &commit);
        }
    }
};

} // namespace brevant::test
