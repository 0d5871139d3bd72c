// The banner over time against a local copy of the maker's site: what it asks of the site per
// hour of real ticks for three kinds of caching headers, what it shows from a slow and a hung
// host, and whether memory or file descriptors creep up over thousands of fast ticks. The
// longest stall of the event loop is noted throughout, with the CPU time the loop's thread
// spent in its longest busy stretch.
//
// Usage: bench_soak [--rate-seconds N] [--ticks N] [--interval-ms N] [--warm-up N]

#include "banner/banner.h"
#include "bench/common/gapmeter.h"
#include "bench/common/serverthread.h"
#include "soakserver.h"

#include <QBuffer>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QNetworkProxy>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <functional>
#include <optional>

using namespace std::chrono_literals;
using tarvell::Banner;
using tarvell::bench::GapMeter;
using tarvell::bench::SoakServer;

namespace {

// The window's own interval; the rates per hour are measured at it.
constexpr auto RealTick = 1300ms;

using SoakHost = tarvell::bench::ServerThread<SoakServer>;

// Three 468 x 60 JPEGs of a few dozen KiB, as a real banner's are.
QList<QByteArray> makePictures()
{
    QList<QByteArray> pictures;
    for (int number = 1; number <= 3; ++number) {
        QImage picture(468, 60, QImage::Format_RGB32);
        QPainter painter(&picture);
        QLinearGradient gradient(0, 0, 468, 60);
        gradient.setColorAt(0, QColor::fromHsv(number * 100, 200, 230));
        gradient.setColorAt(1, QColor::fromHsv((number * 100 + 60) % 360, 160, 90));
        painter.fillRect(picture.rect(), gradient);
        for (int x = 0; x < 468; x += 3)
            painter.fillRect(x, (x * 7 * number) % 60, 2, 2, QColor::fromRgb(x * 31 % 256, 0, 0));
        painter.end();
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        picture.save(&buffer, "JPEG", 90);
        pictures.append(bytes);
    }
    return pictures;
}

qint64 residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

qsizetype openFds()
{
    return QDir(QStringLiteral("/proc/self/fd"))
        .entryList(QDir::NoDotAndDotDot | QDir::System)
        .size();
}

// Every banner starts from an empty cache of its own, wherever the build under test keeps it.
void freshCacheFolder(const QTemporaryDir &root, const char *name)
{
    qputenv("XDG_CACHE_HOME", QFile::encodeName(root.filePath(QString::fromLatin1(name))));
}

struct RateRun
{
    SoakServer::Counts firstTurn;
    SoakServer::Counts total;
    double firstTurnSeconds = 0;
    double seconds = 0;
    int shown = 0;
    int empty = 0;
    double firstShownSeconds = -1;
    double firstEmptySeconds = -1;
    GapMeter::Run loop;
};

// Runs a banner at the window's interval for the given time.
RateRun runAtRealInterval(const SoakHost &server, std::chrono::milliseconds duration)
{
    Banner banner(server.host());
    RateRun run;
    QElapsedTimer clock;
    QEventLoop loop;
    QTimer ticker;
    ticker.setInterval(RealTick);
    QObject::connect(&ticker, &QTimer::timeout, &banner, &Banner::tick);
    QObject::connect(&banner, &Banner::pictureChanged, &loop, [&](const QImage &picture) {
        const double at = double(clock.nsecsElapsed()) / 1e9;
        if (picture.isNull()) {
            ++run.empty;
            if (run.firstEmptySeconds < 0)
                run.firstEmptySeconds = at;
        } else {
            ++run.shown;
            if (run.firstShownSeconds < 0)
                run.firstShownSeconds = at;
        }
        // The first turn fills the cache; what follows is the steady state.
        if (run.shown + run.empty == 3) {
            run.firstTurn = server->counts();
            run.firstTurnSeconds = at;
        }
    });
    QTimer::singleShot(duration, &loop, &QEventLoop::quit);

    run.loop = GapMeter::measure(loop, [&] {
        clock.start();
        banner.load();
        ticker.start();
    });
    run.total = server->counts();
    return run;
}

// The first turn once, and the rest as it went on for the remainder of an hour.
double perHour(qint64 first, qint64 total, const RateRun &run)
{
    const double steadySeconds = run.loop.seconds - run.firstTurnSeconds;
    if (run.firstTurnSeconds <= 0 || steadySeconds <= 0)
        return double(total) * 3600 / run.loop.seconds;
    return double(first) + double(total - first) * (3600 - run.firstTurnSeconds) / steadySeconds;
}

struct SoakRun
{
    qint64 rssStartKb = 0;
    qint64 rssWarmKb = 0;
    qint64 rssEndKb = 0;
    qsizetype fdsStart = 0;
    qsizetype fdsWarm = 0;
    qsizetype fdsEnd = 0;
    int ticks = 0;
    int shown = 0;
    int empty = 0;
    SoakServer::Counts counts;
    GapMeter::Run loop;
};

// Drives the banner's tick from a fast timer: a benchmark's setting, not the window's.
SoakRun soak(const SoakHost &server, int ticks, int warmUp, std::chrono::milliseconds interval)
{
    SoakRun run;
    run.rssStartKb = residentKb();
    run.fdsStart = openFds();
    Banner banner(server.host());
    QEventLoop loop;
    QTimer ticker;
    ticker.setInterval(interval);
    QObject::connect(&ticker, &QTimer::timeout, &loop, [&] {
        if (run.ticks == warmUp) {
            run.rssWarmKb = residentKb();
            run.fdsWarm = openFds();
        }
        if (run.ticks == ticks) {
            ticker.stop();
            // The last fetch may still be on its way; let it end before counting.
            QTimer::singleShot(500ms, &loop, &QEventLoop::quit);
            return;
        }
        ++run.ticks;
        banner.tick();
    });
    QObject::connect(&banner, &Banner::pictureChanged, &loop,
                     [&](const QImage &picture) { ++(picture.isNull() ? run.empty : run.shown); });

    run.loop = GapMeter::measure(loop, [&] {
        banner.load();
        ticker.start();
    });
    run.counts = server->counts();
    run.rssEndKb = residentKb();
    run.fdsEnd = openFds();
    return run;
}

const char *caseName(SoakServer::Caching caching)
{
    switch (caching) {
    case SoakServer::Caching::Fresh:
        return "fresh (max-age=3600)";
    case SoakServer::Caching::NoCache:
        return "no-cache + validators";
    case SoakServer::Caching::None:
        return "no cache headers";
    }
    return "";
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("The banner against a local site: requests per hour, slow and hung hosts, "
                       "and a soak of many fast ticks."));
    parser.addHelpOption();
    const QCommandLineOption rateOption(
        QStringLiteral("rate-seconds"),
        QStringLiteral("Length of each run at the real 1300 ms interval (default 40)."),
        QStringLiteral("N"), QStringLiteral("40"));
    const QCommandLineOption ticksOption(QStringLiteral("ticks"),
                                         QStringLiteral("Ticks of each soak run (default 5000)."),
                                         QStringLiteral("N"), QStringLiteral("5000"));
    const QCommandLineOption intervalOption(
        QStringLiteral("interval-ms"), QStringLiteral("Tick interval of the soak (default 10)."),
        QStringLiteral("N"), QStringLiteral("10"));
    const QCommandLineOption warmUpOption(
        QStringLiteral("warm-up"),
        QStringLiteral("Soak ticks before the start figures are taken (default 500)."),
        QStringLiteral("N"), QStringLiteral("500"));
    parser.addOptions({rateOption, ticksOption, intervalOption, warmUpOption});
    parser.process(app);
    const auto rateDuration = std::chrono::seconds(qMax(5, parser.value(rateOption).toInt()));
    const int ticks = qMax(1, parser.value(ticksOption).toInt());
    const auto interval = std::chrono::milliseconds(qMax(1, parser.value(intervalOption).toInt()));
    const int warmUp = qBound(0, parser.value(warmUpOption).toInt(), ticks - 1);

    QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
    QTemporaryDir cacheRoot;
    if (!cacheRoot.isValid())
        return 1;
    const QList<QByteArray> pictures = makePictures();
    using Caching = SoakServer::Caching;
    const Caching cases[] = {Caching::Fresh, Caching::NoCache, Caching::None};

    std::printf("Pictures: %lld, %lld and %lld bytes\n\n", qint64(pictures[0].size()),
                qint64(pictures[1].size()), qint64(pictures[2].size()));
    std::printf("== %lld s at the window's %lld ms ticks; per hour = first turn + the rest "
                "carried on to an hour ==\n",
                qint64(rateDuration.count()), qint64(RealTick.count()));
    std::printf("%-24s %6s %9s %9s %9s %10s %10s %10s %9s %7s\n", "server", "changes", "requests",
                "full", "304", "req/h", "full/h", "KB/h", "stall ms", "CPU ms");
    for (const Caching caching : cases) {
        freshCacheFolder(cacheRoot, caseName(caching));
        SoakHost server(new SoakServer(caching, pictures));
        const RateRun run = runAtRealInterval(server, rateDuration);
        std::printf("%-24s %6d %9lld %9lld %9lld %10.0f %10.0f %10.0f %9.1f %7.1f\n",
                    caseName(caching), run.shown + run.empty, run.total.requests,
                    run.total.fullAnswers, run.total.notModified,
                    perHour(run.firstTurn.requests, run.total.requests, run),
                    perHour(run.firstTurn.fullAnswers, run.total.fullAnswers, run),
                    perHour(run.firstTurn.bytes, run.total.bytes, run) / 1024,
                    run.loop.longestGapMs, run.loop.longestBusyMs);
        std::fflush(stdout);
    }

    std::printf("\n== slow and hung hosts, %lld s at %lld ms ticks ==\n",
                qint64(rateDuration.count()), qint64(RealTick.count()));
    {
        freshCacheFolder(cacheRoot, "slow");
        SoakHost server(new SoakServer(Caching::None, pictures, 2200ms));
        const RateRun run = runAtRealInterval(server, rateDuration);
        std::printf("pictures taking 2.2 s: %d shown, %d empty, first shown after %.2f s, "
                    "%lld requests, stall %.1f ms (CPU %.1f ms)\n",
                    run.shown, run.empty, run.firstShownSeconds, run.total.requests,
                    run.loop.longestGapMs, run.loop.longestBusyMs);
    }
    {
        freshCacheFolder(cacheRoot, "hung");
        SoakHost server(new SoakServer(Caching::None, pictures, 0ms, true));
        const RateRun run = runAtRealInterval(server, rateDuration);
        std::printf("pictures never answered: %d shown, %d empty, banner first empty after "
                    "%.2f s (first tick at 1.30 s; -1: never), %lld requests, "
                    "stall %.1f ms (CPU %.1f ms)\n",
                    run.shown, run.empty, run.firstEmptySeconds, run.total.requests,
                    run.loop.longestGapMs, run.loop.longestBusyMs);
    }
    std::fflush(stdout);

    std::printf("\n== soak: %d ticks every %lld ms; start figures after %d ticks ==\n", ticks,
                qint64(interval.count()), warmUp);
    std::printf("%-24s %7s %7s %8s %8s %8s %10s %10s %10s %8s %9s %7s\n", "server", "shown",
                "empty", "requests", "full", "304", "RSS0 kB", "RSSw kB", "RSSend kB", "fds",
                "stall ms", "CPU ms");
    for (const Caching caching : cases) {
        freshCacheFolder(cacheRoot, caseName(caching));
        SoakHost server(new SoakServer(caching, pictures));
        const SoakRun run = soak(server, ticks, warmUp, interval);
        std::printf(
            "%-24s %7d %7d %8lld %8lld %8lld %10lld %10lld %10lld %3lld/%lld/%lld %9.1f %7.1f\n",
            caseName(caching), run.shown, run.empty, run.counts.requests, run.counts.fullAnswers,
            run.counts.notModified, run.rssStartKb, run.rssWarmKb, run.rssEndKb,
            qint64(run.fdsStart), qint64(run.fdsWarm), qint64(run.fdsEnd), run.loop.longestGapMs,
            run.loop.longestBusyMs);
        std::fflush(stdout);
    }
    return 0;
}
