#pragma once
// The application object: starts the program and runs the main window modally.

#include "chart_geometry.h"

namespace brevant {

class Platform;
class ProfileStore;

class CTarnelApp {
public:
    CTarnelApp(Platform& platform, ProfileStore& store);

    // Resets the movable-element table and runs the main window until it closes (its
    // settings are then saved). Returns false: the program ends with the window.
    bool InitInstance();

    MovableElementTable& elements() { return elements_; }

private:
    Platform& platform_;
    ProfileStore& store_;
    MovableElementTable elements_;
};

// The simulator window as a program: the application, the real platform and the user's
// profile store. Returns the process exit status.
int RunSimulatorWindow(int argc, char** argv);

} // namespace brevant
