// Holds the window's event loop to account while the banner works against hosts that never
// answer or drip: the longest time between two turns of the loop, over a run of 1300 ms ticks,
// for our banner and for a synchronous fetch on the loop's thread.
//
// Usage: bench_eventloop_gap [--seconds N] [--sync-wait-ms N]

#include "banner/banner.h"
#include "banner/tests/mappedlibraries.h"
#include "bench/common/gapmeter.h"
#include "bench/common/serverthread.h"
#include "blockingfetch.h"
#include "stallingserver.h"

#include <QCommandLineParser>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QImage>
#include <QNetworkProxy>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <functional>

using namespace std::chrono_literals;
using tarvell::Banner;
using tarvell::bench::BlockingFetch;
using tarvell::bench::GapMeter;
using tarvell::bench::ServerThread;
using tarvell::bench::StallingServer;
using tarvell::test::tlsLibrariesMapped;

namespace {

constexpr auto TickInterval = 1300ms;
constexpr auto DripInterval = 100ms;

struct Figures
{
    double longestGapMs = 0;
    qint64 turns = 0;
    int ticks = 0;
};

// Runs the event loop for the given time with a tick every 1300 ms, as the window does.
Figures measure(std::chrono::milliseconds duration, const std::function<void()> &onStart,
                const std::function<void()> &onTick)
{
    QEventLoop loop;
    QTimer ticker;
    ticker.setInterval(TickInterval);
    Figures figures;
    QObject::connect(&ticker, &QTimer::timeout, &loop, [&] {
        ++figures.ticks;
        onTick();
    });
    QTimer::singleShot(duration, &loop, &QEventLoop::quit);

    const GapMeter::Run run = GapMeter::measure(loop, [&] {
        onStart();
        ticker.start();
    });
    figures.longestGapMs = run.longestGapMs;
    figures.turns = run.turns;
    return figures;
}

Figures runOurs(StallingServer::Mode mode, std::chrono::milliseconds duration)
{
    ServerThread<StallingServer> server(new StallingServer(mode, DripInterval));
    Banner banner(server.host());
    return measure(duration, [&] { banner.load(); }, [&] { banner.tick(); });
}

Figures runSynchronous(StallingServer::Mode mode, std::chrono::milliseconds duration, int waitMs)
{
    ServerThread<StallingServer> server(new StallingServer(mode, DripInterval));
    const QDeadlineTimer stopAt(duration);
    int pictureNo = 0;
    return measure(
        duration, [] {},
        [&] {
            pictureNo = pictureNo % 3 + 1;
            const QByteArray path = "/zintu/" + QByteArray::number(pictureNo) + ".jpg";
            const QByteArray answer = BlockingFetch::get(QStringLiteral("127.0.0.1"), server.port(),
                                                         path, waitMs, stopAt);
            const qsizetype bodyAt = answer.indexOf("\r\n\r\n");
            if (bodyAt >= 0)
                QImage::fromData(answer.mid(bodyAt + 4), "JPEG");
        });
}

void printRow(const char *scenario, const Figures &ours, const Figures *synchronous)
{
    std::printf("%-30s %12.1f %10d", scenario, ours.longestGapMs, ours.ticks);
    if (synchronous)
        std::printf(" %20.1f %10d\n", synchronous->longestGapMs, synchronous->ticks);
    else
        std::printf(" %20s %10s\n", "-", "-");
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QStringList tlsAtStart = tlsLibrariesMapped();
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Longest gap between event-loop turns while the banner meets stalling hosts."));
    parser.addHelpOption();
    const QCommandLineOption secondsOption(QStringLiteral("seconds"),
                                           QStringLiteral("Length of each run (default 30)."),
                                           QStringLiteral("N"), QStringLiteral("30"));
    const QCommandLineOption waitOption(
        QStringLiteral("sync-wait-ms"),
        QStringLiteral("Timeout of each blocking wait of the synchronous fetch (default 30000, "
                       "Qt's default for waitFor*)."),
        QStringLiteral("N"), QStringLiteral("30000"));
    parser.addOption(secondsOption);
    parser.addOption(waitOption);
    parser.process(app);
    const int seconds = qMax(1, parser.value(secondsOption).toInt());
    const int waitMs = qMax(1, parser.value(waitOption).toInt());
    const std::chrono::milliseconds duration = std::chrono::seconds(seconds);

    // The stalling hosts are on this machine; no proxy is to stand between.
    QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);

    std::printf("Longest gap between event-loop turns, %d s of %lld ms ticks per run "
                "(synchronous waits: %d ms)\n\n",
                seconds, qint64(TickInterval.count()), waitMs);
    std::printf("%-30s %12s %10s %20s %10s\n", "host", "ours (ms)", "ticks", "synchronous (ms)",
                "ticks");
    using Mode = StallingServer::Mode;
    {
        const Figures ours = runOurs(Mode::NeverAnswer, duration);
        const Figures sync = runSynchronous(Mode::NeverAnswer, duration, waitMs);
        printRow("never answers", ours, &sync);
    }
    {
        const Figures ours = runOurs(Mode::Drip, duration);
        const Figures sync = runSynchronous(Mode::Drip, duration, waitMs);
        printRow("drips 1 byte / 100 ms", ours, &sync);
    }
    printRow("hostile page, silent pictures", runOurs(Mode::HostilePage, duration), nullptr);

    QStringList added = tlsLibrariesMapped();
    for (const QString &file : tlsAtStart)
        added.removeAll(file);
    std::printf("\nTLS libraries the plain http runs mapped: %s\n",
                added.isEmpty() ? "none" : qPrintable(added.join(u", ")));
    return 0;
}
