#pragma once
// The application object: starts the program and runs the main window modally.

#include "chart_geometry.h"

#include <QString>

namespace brevant {

class Platform;
class ProfileStore;
struct Scenario;

class CTarnelApp {
public:
    CTarnelApp(Platform& platform, ProfileStore& store);

    // Resets the movable-element table and runs the main window until it closes (its
    // settings are then saved), on the scenario `start` when there is one, read from the
    // file `path`, which becomes the window's file. Returns false: the program ends with
    // the window.
    bool InitInstance(const Scenario* start = nullptr, const QString& path = QString());

    MovableElementTable& elements() { return elements_; }

private:
    Platform& platform_;
    ProfileStore& store_;
    MovableElementTable elements_;
};

// The simulator window as a program: the application, the real platform and the user's
// profile store. With `scenarioPath`, the window opens on that scenario file; a file that
// cannot be read or is no scenario is told, and the window opens on the saved settings.
// Returns the process exit status.
int RunSimulatorWindow(int argc, char** argv, const char* scenarioPath = nullptr);

// Whether the one argument of `brevant FILE` names a scenario file for the window (it ends
// in ".brevant", in any case, and is no option).
bool IsScenarioArgument(const char* argument);

} // namespace brevant
