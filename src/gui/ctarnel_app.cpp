#include "ctarnel_app.h"

#include "ini_profile_store.h"
#include "ctarnel_dlg.h"
#include "qt_platform.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace brevant {

CTarnelApp::CTarnelApp(Platform& platform, ProfileStore& store)
    : platform_(platform), store_(store)
{
}

namespace {

// Start-up is timed from outside (bench/first_paint): with BREVANT_EXIT_AT_FIRST_PAINT set,
// the program says "painted" once the first paint of the window has finished, and leaves
// at once, writing no settings.
class FirstPaintReporter final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            // Queued, so it runs once this paint has been handled.
            QTimer::singleShot(0, [] {
                std::fputs("painted\n", stdout);
                std::fflush(stdout);
                std::_Exit(0);
            });
        }
        return false;
    }
};

} // namespace

bool CTarnelApp::InitInstance()
{
    elements_.Reset();
    CTarnelDlg dialog(platform_, store_, elements_);
    if (qEnvironmentVariableIsSet("BREVANT_EXIT_AT_FIRST_PAINT"))
        dialog.installEventFilter(new FirstPaintReporter(&dialog));
    dialog.exec();
    return false;
}

int RunSimulatorWindow(int argc, char** argv)
{
    QApplication app(argc, argv);
    SetUpApplication();

    QtPlatform platform;
    IniProfileStore store;
    CTarnelApp application(platform, store);
    application.InitInstance();
    return 0;
}

} // namespace brevant
