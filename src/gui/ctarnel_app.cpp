#include "ctarnel_app.h"

#include "ini_profile_store.h"
#include "ctarnel_dlg.h"
#include "dropped_files.h"
#include "qt_platform.h"
#include "scenario_file.h"

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>

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

bool CTarnelApp::InitInstance(const Scenario* start, const QString& path)
{
    elements_.Reset();
    std::unique_ptr<CTarnelDlg> owned =
        start ? std::make_unique<CTarnelDlg>(platform_, store_, elements_, *start, path)
              : std::make_unique<CTarnelDlg>(platform_, store_, elements_);
    CTarnelDlg& dialog = *owned;
    if (qEnvironmentVariableIsSet("BREVANT_EXIT_AT_FIRST_PAINT"))
        dialog.installEventFilter(new FirstPaintReporter(&dialog));
    dialog.exec();
    return false;
}

int RunSimulatorWindow(int argc, char** argv, const char* scenarioPath)
{
    QApplication app(argc, argv);
    SetUpApplication();

    QtPlatform platform;
    IniProfileStore store;
    std::optional<Scenario> start;
    const QString path = scenarioPath ? QFile::decodeName(scenarioPath) : QString();
    if (scenarioPath)
        start = LoadScenarioFile(path, platform);
    CTarnelApp application(platform, store);
    application.InitInstance(start ? &*start : nullptr, path);
    return 0;
}

bool IsScenarioArgument(const char* argument)
{
    return argument[0] != '-' && IsScenarioFileName(QFile::decodeName(argument));
}

} // namespace brevant
