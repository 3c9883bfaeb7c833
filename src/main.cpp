// Brevant: a break-even-point simulator. Without arguments it opens the simulator window;
// with a subcommand it runs headless on the same renderer and output code.

#include "command_line.h"
#include "ctarnel_app.h"

int main(int argc, char* argv[])
{
    if (argc < 2)
        return brevant::RunSimulatorWindow(argc, argv);
    return brevant::RunCommandLine(argc, argv);
}
