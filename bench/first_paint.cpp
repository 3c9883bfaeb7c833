// Time from starting the program to its first painted window, offscreen: the program is
// started with BREVANT_EXIT_AT_FIRST_PAINT set, says "painted" when the first paint of
// its window has finished, and leaves. A private settings folder keeps the user's apart.
//
//   first_paint BREVANT [RUNS]     one line per run, then the median

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

extern char** environ;

namespace {

// Milliseconds until the child said "painted", or a negative value when it did not.
double RunOnce(const char* program)
{
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    char* const argv[] = {const_cast<char*>(program), nullptr};

    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (spawned != 0) {
        close(pipeFds[0]);
        return -1;
    }
    std::string said;
    char buffer[256];
    ssize_t n = 0;
    double ms = -1;
    while ((n = read(pipeFds[0], buffer, sizeof buffer)) > 0) {
        said.append(buffer, size_t(n));
        if (said.find("painted") != std::string::npos) {
            ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() -
                                                           start)
                     .count();
            break;
        }
    }
    close(pipeFds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    return ms;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: first_paint BREVANT [RUNS]\n");
        return 2;
    }
    const int runs = argc > 2 ? std::max(std::atoi(argv[2]), 1) : 10;
    char home[] = "/tmp/brevant-first-paint-XXXXXX";
    if (!mkdtemp(home))
        return 1;
    setenv("XDG_CONFIG_HOME", home, 1);
    setenv("BREVANT_EXIT_AT_FIRST_PAINT", "1", 1);
    if (!getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);

    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const double ms = RunOnce(argv[1]);
        if (ms < 0) {
            std::fprintf(stderr, "first_paint: %s did not report its first paint\n", argv[1]);
            return 1;
        }
        std::printf("run %d: %.1f ms\n", i + 1, ms);
        times.push_back(ms);
    }
    std::sort(times.begin(), times.end());
    const size_t n = times.size();
    const double median = n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
    std::printf("first paint median %.1f ms over %zu runs\n", median, n);
    rmdir((std::string(home) + "/Velmora").c_str());
    rmdir(home);
    return 0;
}
