#include "support/large_screen.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace brevant::test {

namespace {

std::string& ConfigPath()
{
    static std::string path;
    return path;
}

void RemoveConfig() { std::remove(ConfigPath().c_str()); }

} // namespace

bool UseLargeOffscreenScreen()
{
    return UseOffscreenScreens(R"([{"name": "desktop", "x": 0, "y": 0, "width": 1920,)"
                               R"( "height": 1200, "logicalDpi": 96, "logicalBaseDpi": 96,)"
                               R"( "dpr": 1.0}])");
}

bool UseOffscreenScreens(const char* screensJson)
{
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && std::string(platform).rfind("offscreen", 0) != 0)
        return true; // a real display: leave it alone
    const char* tmp = std::getenv("TMPDIR");
    ConfigPath() = std::string(tmp && *tmp ? tmp : "/tmp") + "/brevant-screen-" +
                   std::to_string(getpid()) + ".json";
    FILE* f = std::fopen(ConfigPath().c_str(), "w");
    if (!f)
        return true;
    std::fprintf(f, "{\"screens\": %s}", screensJson);
    std::fclose(f);
    std::atexit(RemoveConfig);
    setenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + ConfigPath()).c_str(), 1);
    return true;
}

} // namespace brevant::test
