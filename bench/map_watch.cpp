// Starts a program and watches the X server for its window being mapped.
//   map_watch <title> <program> [args...]
//     prints "<milliseconds from start to the window mapped> <VmHWM in kB once mapped>
//     <milliseconds on a CPU until then>"; the last is what a loaded machine changes least.
//   map_watch --idle <seconds> <title> <program> [args...]
//     waits until the window is mapped and two seconds more, then prints the share
//     of one core (in per cent) that the program's threads used over <seconds>.
// The program is killed afterwards, so that it saves nothing.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <algorithm>
#include <fstream>
#include <map>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

double nowMs()
{
    timespec ts {};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

bool hasTitle(Display* display, Window window, const std::string& title)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, XA_WM_NAME, 0, 256, False, AnyPropertyType, &type, &format,
            &count, &after, &data)
            != Success
        || !data)
        return false;
    const bool same = format == 8 && std::string(reinterpret_cast<char*>(data), count) == title;
    XFree(data);
    return same;
}

long statusKb(pid_t pid, const char* key)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind(key, 0) == 0)
            return std::strtol(line.c_str() + std::strlen(key), nullptr, 10);
    }
    return -1;
}

// Nanoseconds on a CPU of each thread of the process.
std::map<std::string, unsigned long long> threadCpuNs(pid_t pid)
{
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    std::map<std::string, unsigned long long> times;
    if (DIR* dir = opendir(tasks.c_str())) {
        while (dirent* entry = readdir(dir)) {
            if (entry->d_name[0] == '.')
                continue;
            std::ifstream stat(tasks + "/" + entry->d_name + "/schedstat");
            unsigned long long ns = 0;
            if (stat >> ns)
                times[entry->d_name] = ns;
        }
        closedir(dir);
    }
    return times;
}

unsigned long long cpuNs(pid_t pid)
{
    unsigned long long total = 0;
    for (const auto& [thread, ns] : threadCpuNs(pid))
        total += ns;
    return total;
}

// What the threads used since `before`; a thread that ended meanwhile is not counted.
unsigned long long cpuNsSince(pid_t pid, const std::map<std::string, unsigned long long>& before)
{
    unsigned long long used = 0;
    for (const auto& [thread, ns] : threadCpuNs(pid)) {
        const auto earlier = before.find(thread);
        used += ns - (earlier == before.end() ? 0 : std::min(ns, earlier->second));
    }
    return used;
}

pid_t child = 0;

void giveUp(int)
{
    kill(child, SIGKILL);
    _exit(1);
}

int usage()
{
    std::fprintf(stderr, "usage: map_watch [--idle seconds] <title> <program> [args...]\n");
    return 2;
}

} // namespace

int main(int argc, char* argv[])
{
    int arg = 1;
    int idleSeconds = 0;
    if (argc > 2 && std::strcmp(argv[1], "--idle") == 0) {
        idleSeconds = std::atoi(argv[2]);
        arg = 3;
    }
    if (argc - arg < 2)
        return usage();
    const std::string title = argv[arg];
    char** command = argv + arg + 1;

    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "map_watch: no X display\n");
        return 1;
    }
    const Window root = DefaultRootWindow(display);
    // New top-level windows announce themselves on the root; each is then watched
    // for its own mapping, wherever the window manager reparents it.
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    const double start = nowMs();
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(command[0], command);
        _exit(127);
    }
    // Never wait for ever: a window that is not mapped within a minute counts as a failure.
    child = pid;
    std::signal(SIGALRM, giveUp);
    alarm(60);
    double mappedMs = -1;
    while (mappedMs < 0) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == CreateNotify) {
            const Window window = event.xcreatewindow.window;
            XSelectInput(display, window, StructureNotifyMask);
            // On a busy machine the window may have been mapped before the watch began.
            XWindowAttributes attributes {};
            if (XGetWindowAttributes(display, window, &attributes) && attributes.map_state != IsUnmapped
                && hasTitle(display, window, title))
                mappedMs = nowMs() - start;
        } else if (event.type == MapNotify && event.xmap.event == event.xmap.window
            && hasTitle(display, event.xmap.window, title)) {
            mappedMs = nowMs() - start;
        }
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            std::fprintf(stderr, "map_watch: %s ended before its window was mapped\n", command[0]);
            return 1;
        }
    }

    alarm(0);
    int result = 0;
    if (idleSeconds > 0) {
        sleep(2);
        const auto before = threadCpuNs(pid);
        const double from = nowMs();
        sleep(static_cast<unsigned>(idleSeconds));
        const double used = static_cast<double>(cpuNsSince(pid, before));
        std::printf("%.4f\n", used / ((nowMs() - from) * 1e6) * 100.0);
    } else {
        std::printf("%.2f %ld %.2f\n", mappedMs, statusKb(pid, "VmHWM:"), cpuNs(pid) / 1e6);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    XCloseDisplay(display);
    return result;
}
