#pragma once
// The command line: the headless subcommands "render", "batch" and "calc" on the same
// renderer and output code as the window, on a chart host without a window. They read the
// saved settings and never write them.

namespace brevant {

// Entry from main() with at least one argument: a subcommand, --help or --version.
// Makes the application (on the offscreen platform when there is no display) only for a
// subcommand.
int RunCommandLine(int argc, char* argv[]);

} // namespace brevant
