// Brevant: a break-even-point simulator. Without arguments it opens the simulator window,
// and with one scenario file the window opens on it; with a subcommand it runs headless on
// the same renderer and output code.

#include "command_line.h"
#include "ctarnel_app.h"

int main(int argc, char* argv[])
{
    if (argc < 2)
        return brevant::RunSimulatorWindow(argc, argv);
    if (argc == 2 && brevant::IsScenarioArgument(argv[1]))
        return brevant::RunSimulatorWindow(argc, argv, argv[1]);
    return brevant::RunCommandLine(argc, argv);
}
