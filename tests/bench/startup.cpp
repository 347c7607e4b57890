// Start-up figures under an X server without a window manager: the time from exec()
// to the first top-level window being mapped, and the peak resident memory, of each
// program given, runs interleaved. Prints medians with min and max.
//   bench_startup <runs> <program>...
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

template <typename T> T median(std::vector<T> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
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
    for (int p = 0; p < programs; ++p) {
        const auto [tmin, tmax] = std::minmax_element(times[p].begin(), times[p].end());
        std::printf("start-up, exec to window mapped, %s: median %.1f ms (min %.1f, max %.1f), "
                    "n=%d\n",
                    baseName(argv[p + 2]), median(times[p]), *tmin, *tmax, runs);
    }
    for (int p = 0; p < programs; ++p) {
        const auto [rmin, rmax] = std::minmax_element(rss[p].begin(), rss[p].end());
        std::printf("peak RSS, %s: median %.1f MiB (min %.1f, max %.1f), n=%d\n",
                    baseName(argv[p + 2]), median(rss[p]) / 1024.0, *rmin / 1024.0, *rmax / 1024.0,
                    runs);
    }
    if (programs == 2) {
        std::printf("start-up ratio %s / %s: %.2fx\n", baseName(argv[2]), baseName(argv[3]),
                    median(times[0]) / median(times[1]));
        std::printf("peak RSS ratio %s / %s: %.2fx\n", baseName(argv[2]), baseName(argv[3]),
                    double(median(rss[0])) / double(median(rss[1])));
    }
    XCloseDisplay(display);
    return 0;
}
