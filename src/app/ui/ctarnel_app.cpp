#include "app/ui/ctarnel_app.h"

#include "app/profile_store.h"
#include "app/ui/ctarnel_dlg.h"
#include "platform/qt_platform.h"
#include "res/string_table.h"

#include <QApplication>

#include <clocale>

namespace brevant {

CTarnelApp::CTarnelApp(Platform& platform, ProfileStore& store)
    : platform_(platform), store_(store)
{
}

bool CTarnelApp::InitInstance()
{
    elements_.Reset();
    CTarnelDlg dialog(platform_, store_, elements_);
    dialog.exec();
    return false;
}

int RunSimulatorWindow(int argc, char** argv)
{
    QApplication app(argc, argv);
    // Numbers are read and written with a full stop whatever the user's locale says.
    std::setlocale(LC_NUMERIC, "C");
    QCoreApplication::setOrganizationName(QStringLiteral("Velmora"));
    QCoreApplication::setApplicationName(AppName());
    QCoreApplication::setApplicationVersion(QStringLiteral(BREVANT_VERSION));

    QtPlatform platform;
    IniProfileStore store;
    CTarnelApp application(platform, store);
    application.InitInstance();
    return 0;
}

} // namespace brevant
