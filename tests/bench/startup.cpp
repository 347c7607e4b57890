// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up figures under an X server without a window manager: the time from exec()
// to the first top-level window being mapped, and the peak resident memory, of each
// program given, runs interleaved. Prints medians with min and max.
//   bench_startup <runs> <program>...
#include "Spread.h"

#include <X11/Xlib.h>
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct Run {
    double ms;
    long rssKiB;
};

Run startOnce(Display *display, const char *program)
{
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execl(program, program, static_cast<char *>(nullptr));
        _exit(127);
    }
    double ms = -1;
    XEvent event;
    while (ms < 0) {
        while (ms < 0 && XPending(display) > 0) {
            XNextEvent(display, &event);
            if (event.type == MapNotify && !event.xmap.override_redirect)
                ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() -
                                                               start)
                         .count();
        }
        int status = 0;
        if (ms < 0 && waitpid(pid, &status, WNOHANG) == pid) {
            std::fprintf(stderr, "%s ended before showing a window\n", program);
            std::exit(1);
        }
        if (ms < 0)
            usleep(100);
    }
    // Let the window finish its first paint before measuring memory.
    usleep(300 * 1000);
    kill(pid, SIGTERM);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    return {ms, usage.ru_maxrss};
}

const char *baseName(const char *path)
{
    const char *slash = std::strrchr(path, '/');
    return slash ? slash + 1 : path;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <runs> <program>...\n", argv[0]);
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "no X display\n");
        return 1;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);

    const int programs = argc - 2;
    std::vector<std::vector<double>> times(programs);
    std::vector<std::vector<long>> rss(programs);
    for (int i = -1; i < runs; ++i) { // the first round only warms the file cache
        for (int p = 0; p < programs; ++p) {
            const Run run = startOnce(display, argv[p + 2]);
            if (i >= 0) {
                times[p].push_back(run.ms);
                rss[p].push_back(run.rssKiB);
            }
        }
    }
    using mirthkey::bench::spreadOf;
    for (int p = 0; p < programs; ++p) {
        const auto t = spreadOf(times[p]);
        std::printf("start-up, exec to window mapped, %s: median %.1f ms (min %.1f, max %.1f), "
                    "n=%zu\n",
                    baseName(argv[p + 2]), t.median, t.min, t.max, t.n);
    }
    for (int p = 0; p < programs; ++p) {
        const auto r = spreadOf(rss[p]);
        std::printf("peak RSS, %s: median %.1f MiB (min %.1f, max %.1f), n=%zu\n",
                    baseName(argv[p + 2]), r.median / 1024.0, r.min / 1024.0, r.max / 1024.0, r.n);
    }
    if (programs == 2) {
        std::printf("start-up ratio %s / %s: %.2fx\n", baseName(argv[2]), baseName(argv[3]),
                    spreadOf(times[0]).median / spreadOf(times[1]).median);
        std::printf("peak RSS ratio %s / %s: %.2fx\n", baseName(argv[2]), baseName(argv[3]),
                    spreadOf(rss[0]).median / spreadOf(rss[1]).median);
    }
    XCloseDisplay(display);
    return 0;
}
