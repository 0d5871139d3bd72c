#include "bench/startup/firstframe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>

#include <time.h>

namespace tarvell::bench {

namespace {

[[noreturn]] void usage(const char *program, bool takesHost)
{
    std::fprintf(stderr, "usage: %s %s[--linger-ms N]\n", program,
                 takesHost ? "[--host HOST[:PORT]] " : "");
    std::exit(2);
}

// The wall clock, as `date +%s%N` reads it when the script launches the program.
long long realtimeNs()
{
    using namespace std::chrono;
    return duration_cast<nanoseconds>(system_clock::now().time_since_epoch()).count();
}

// CPU time of every thread of the process so far: unlike the wall clock, hardly moved by other
// work on the machine.
long long cpuNs()
{
    timespec spent{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &spent);
    return static_cast<long long>(spent.tv_sec) * 1000000000LL + spent.tv_nsec;
}

// Resident set size in kB, as the kernel counts it; -1 if it cannot be read.
long long residentKb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtoll(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

} // namespace

StartupOptions parseOptions(int argc, char *argv[], bool takesHost)
{
    // A closed port on loopback: the banner runs, and every request is refused at once.
    StartupOptions options{QStringLiteral("127.0.0.1:9"), 0};
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg(argv[i]);
        if (i + 1 >= argc)
            usage(argv[0], takesHost);
        const std::string_view value(argv[++i]);
        if (arg == "--linger-ms") {
            const auto [end, error] =
                std::from_chars(value.data(), value.data() + value.size(), options.lingerMs);
            if (error != std::errc() || end != value.data() + value.size() || options.lingerMs < 0)
                usage(argv[0], takesHost);
        } else if (arg == "--host" && takesHost && !value.empty()) {
            options.host =
                QString::fromLocal8Bit(value.data(), static_cast<qsizetype>(value.size()));
        } else {
            usage(argv[0], takesHost);
        }
    }
    return options;
}

FirstFrameReport::FirstFrameReport(QWidget *window, int lingerMs)
    : m_window(window), m_lingerMs(lingerMs)
{
    window->installEventFilter(this);
}

bool FirstFrameReport::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window && event->type() == QEvent::Paint && !m_painted) {
        m_painted = true;
        // The paint is about to happen and its flush follows within the same pass; a posted
        // call runs only once both are done.
        QTimer::singleShot(0, this, &FirstFrameReport::reportFrame);
    }
    return QObject::eventFilter(watched, event);
}

void FirstFrameReport::reportFrame()
{
    const long long frameNs = realtimeNs();
    std::printf("frame_ns=%lld cpu_ns=%lld rss_kb=%lld\n", frameNs, cpuNs(), residentKb());
    std::fflush(stdout);
    if (m_lingerMs == 0) {
        QCoreApplication::quit();
        return;
    }
    QTimer::singleShot(m_lingerMs, this, &FirstFrameReport::reportSettled);
}

void FirstFrameReport::reportSettled()
{
    std::printf("rss_settled_kb=%lld\n", residentKb());
    std::fflush(stdout);
    QCoreApplication::quit();
}

} // namespace tarvell::bench
