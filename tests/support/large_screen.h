#pragma once
// The offscreen platform's screen is 800 pixels wide, smaller than the main window's
// template. A GUI test file calls this from a static initializer, before the test main
// creates the application, to get a desktop-sized screen instead.

namespace brevant::test {

// Points the offscreen platform at a configuration with one 1920x1200 screen at 96 dpi.
// Returns true so it can initialise a static.
bool UseLargeOffscreenScreen();

// The same with the screens of `screensJson`, the JSON array of the offscreen platform's
// configuration (name, x, y, width, height, logicalDpi, …).
bool UseOffscreenScreens(const char* screensJson);

} // namespace brevant::test
