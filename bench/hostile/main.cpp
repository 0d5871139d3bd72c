// Tarvell against a maker's site that sends without end or without measure, against sites whose
// caching headers make every answer new or confirm it every time, and against a benign site for
// comparison: the program's peak memory and CPU time, the longest stall of its window's event
// loop, whether the banner goes on showing pictures, how many bytes go into the cache folder per
// hour, and how long the program takes to end once its window is closed.
//
// Usage: bench_hostile [--seconds N] [--bare [--interval-ms N]] [case ...]
//
// Each case runs in a process of its own (the peak memory is the process's), against a server in
// a second process, so that neither's work counts for the other. By default the measured process
// is the program as ui/main.cpp makes it: its set-up and its window, which loads the banner
// module after its first frame and ticks it every 1300 ms. With --bare it is the banner module
// alone, ticked by the benchmark's own timer. The module is looked for where the program looks,
// QT_PLUGIN_PATH among those places.

#include "banner/bannersession.h"
#include "bench/common/gapmeter.h"
#include "bench/common/processstats.h"
#include "bench/hostile/hostilesite.h"
#include "ui/application.h"
#include "ui/bannermodule.h"
#include "ui/form1.h"
#include "ui/picturebox.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QEvent>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

using tarvell::bench::GapMeter;
using tarvell::bench::hostileCases;
using tarvell::bench::serveHostileSite;

namespace {

// What a hostile site may cost at most, against the benign one.
constexpr double MaxMemoryRatio = 1.5;
constexpr double MaxExtraCpuSecondsPer30 = 1.0;
constexpr double MaxStallMs = 16;
constexpr double MaxCloseMs = 1000;

// How long a measured process may take beyond its run before it counts as hung.
constexpr int GraceMs = 60000;
// The ticks whose cache writes are one-offs: the first answers, and the first 304s confirming
// them. The cache's rate per hour is taken from the writes after them.
constexpr int FirstTicks = 10;

// How a case is run: for how long, and with the window or the bare banner at an interval.
struct Settings
{
    int seconds = 30;
    std::optional<int> bareIntervalMs;

    int intervalMs() const { return bareIntervalMs.value_or(1300); }
};

// ---- The measured process ----

// Changes of the banner's picture: to another picture, or to an empty banner.
struct PictureChanges
{
    // Nothing yet: a first empty banner counts. A null picture's key is 0.
    qint64 last = -1;
    int shown = 0;
    int empty = 0;

    void see(const QImage &picture)
    {
        const qint64 key = picture.cacheKey();
        if (key == last)
            return;
        last = key;
        picture.isNull() ? ++empty : ++shown;
    }
};

// Sees what the window's banner strip paints.
class PaintedPictures : public QObject
{
public:
    PaintedPictures(tarvell::PictureBox *box, PictureChanges &changes)
        : QObject(box), m_box(box), m_changes(changes)
    {
        m_changes.last = box->picture().cacheKey();
        box->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_box && event->type() == QEvent::Paint)
            m_changes.see(m_box->picture());
        return false;
    }

private:
    tarvell::PictureBox *m_box;
    PictureChanges &m_changes;
};

// Calls back once, when the widget's first paint is done.
class FirstFrame : public QObject
{
public:
    FirstFrame(QWidget *widget, std::function<void()> then)
        : QObject(widget), m_then(std::move(then))
    {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            // Posted now, so it runs once the frame is out and before the window's own load
            // event, which the window posts from the same paint.
            QTimer::singleShot(0, this, m_then);
        }
        return false;
    }

private:
    std::function<void()> m_then;
};

// The measured stretch: from start() to report(), which prints what it cost.
class Measurement
{
public:
    void start()
    {
        m_meter.start();
        m_cpuNs = tarvell::bench::processCpuNs();
        m_mainCpuNs = tarvell::bench::threadCpuNs();
        m_clock.start();
    }

    void report(const PictureChanges &changes, int ticks)
    {
        m_meter.stop();
        std::printf("figures seconds=%.3f shown=%d empty=%d ticks=%d cpu_ms=%.1f main_ms=%.1f "
                    "peak_kb=%lld stall_ms=%.2f busy_ms=%.2f\n",
                    double(m_clock.nsecsElapsed()) / 1e9, changes.shown, changes.empty, ticks,
                    double(tarvell::bench::processCpuNs() - m_cpuNs) / 1e6,
                    double(tarvell::bench::threadCpuNs() - m_mainCpuNs) / 1e6,
                    static_cast<long long>(tarvell::bench::peakResidentKb()),
                    double(m_meter.longestGapNs()) / 1e6, double(m_meter.longestBusyNs()) / 1e6);
        // The system's monotonic clock, which the runner reads too once this process is gone.
        std::printf("closing %lld\n",
                    static_cast<long long>(std::chrono::steady_clock::now().time_since_epoch() /
                                           std::chrono::nanoseconds(1)));
        std::fflush(stdout);
    }

private:
    GapMeter m_meter;
    QElapsedTimer m_clock;
    qint64 m_cpuNs = 0;
    qint64 m_mainCpuNs = 0;
};

int measure(const QString &host, const Settings &settings)
{
    // A cache of its own for every case, never the user's: the test-mode locations.
    QStandardPaths::setTestModeEnabled(true);
    tarvell::setUpApplication();
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    QDir(cache).removeRecursively();
    std::printf("cache %s\n", qPrintable(QDir::toNativeSeparators(cache)));
    std::fflush(stdout);

    // Loaded before the window does it, so that a missing module stops the run instead of
    // leaving a still banner, and its one load is charged to no case.
    tarvell::BannerFactory *factory = tarvell::bannerFactory();
    if (!factory) {
        std::fprintf(stderr, "the banner module was not found: point QT_PLUGIN_PATH at the "
                             "folder it was built in (the build's ui/)\n");
        return 1;
    }

    Measurement measurement;
    PictureChanges changes;
    int ticks = 0;
    if (settings.bareIntervalMs) {
        const std::unique_ptr<tarvell::BannerSession> banner =
            factory->create(host, [&changes](const QImage &picture) { changes.see(picture); });
        QTimer ticker;
        ticker.setInterval(*settings.bareIntervalMs);
        QObject::connect(&ticker, &QTimer::timeout, &ticker, [&] {
            ++ticks;
            banner->tick();
        });
        QTimer::singleShot(std::chrono::seconds(settings.seconds), &ticker, [&] {
            measurement.report(changes, ticks);
            QCoreApplication::quit();
        });
        measurement.start();
        banner->load();
        ticker.start();
        return QCoreApplication::exec();
    }

    tarvell::Form1 form(host);
    auto *strip = form.findChild<tarvell::PictureBox *>(QStringLiteral("Picture1"));
    auto *timer = form.findChild<QTimer *>(QStringLiteral("Timer1"));
    if (!strip || !timer) {
        std::fprintf(stderr, "the window has no Picture1 or no Timer1\n");
        return 1;
    }
    new PaintedPictures(strip, changes);
    new FirstFrame(&form, [&] {
        measurement.start();
        QObject::connect(timer, &QTimer::timeout, &form, [&ticks] { ++ticks; });
        QTimer::singleShot(std::chrono::seconds(settings.seconds), &form, [&] {
            measurement.report(changes, ticks);
            form.close();
        });
    });
    form.centerOnScreen();
    form.show();
    return QCoreApplication::exec();
}

// ---- The runner ----

// Bytes of every file version that appears in a folder and its subfolders: a file seen with a
// new size or time counts whole, as it was written whole.
class FolderWrites
{
public:
    void scan(const QString &folder)
    {
        QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QFileInfo file(it.next());
            const auto version =
                std::make_pair(file.size(), file.lastModified().toMSecsSinceEpoch());
            if (m_seen.value(file.filePath()) != version) {
                m_seen.insert(file.filePath(), version);
                m_bytes += file.size();
                ++m_writes;
            }
        }
    }
    qint64 bytes() const { return m_bytes; }
    int writes() const { return m_writes; }

private:
    QHash<QString, std::pair<qint64, qint64>> m_seen;
    qint64 m_bytes = 0;
    int m_writes = 0;
};

struct Result
{
    QHash<QByteArray, double> figures;
    FolderWrites writes;
    // What the cache had been written once the first ticks were over.
    std::optional<qint64> bytesAfterFirstTicks;
    // From the window's close to the process's end; negative if it never ended.
    double closeMs = -1;
};

qint64 steadyNs()
{
    return std::chrono::steady_clock::now().time_since_epoch() / std::chrono::nanoseconds(1);
}

std::optional<Result> runCase(const QString &name, const Settings &settings)
{
    QProcess server;
    server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    server.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--serve"), name});
    if (!server.waitForReadyRead(30000))
        return std::nullopt;
    const QString host =
        QStringLiteral("127.0.0.1:") + QString::fromLatin1(server.readLine()).trimmed();

    QStringList arguments{QStringLiteral("--measure"), host, QStringLiteral("--seconds"),
                          QString::number(settings.seconds)};
    if (settings.bareIntervalMs)
        arguments << QStringLiteral("--bare") << QStringLiteral("--interval-ms")
                  << QString::number(*settings.bareIntervalMs);
    QProcess measured;
    measured.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    measured.start(QCoreApplication::applicationFilePath(), arguments);
    Result result;
    QString cache;
    qint64 closingNs = 0;
    QElapsedTimer running;
    running.start();
    // The cache is watched from here, so that its scans cost the measured process nothing.
    while (!closingNs && measured.state() != QProcess::NotRunning &&
           running.elapsed() < settings.seconds * 1000 + GraceMs) {
        measured.waitForReadyRead(10);
        while (measured.canReadLine()) {
            const QByteArray line = measured.readLine().trimmed();
            if (line.startsWith("cache "))
                cache = QString::fromLocal8Bit(line.mid(6));
            else if (line.startsWith("closing "))
                closingNs = line.mid(8).toLongLong();
            else if (line.startsWith("figures "))
                for (const QByteArray &field : line.mid(8).split(' '))
                    result.figures.insert(field.left(field.indexOf('=')),
                                          field.mid(field.indexOf('=') + 1).toDouble());
        }
        if (!cache.isEmpty())
            result.writes.scan(cache);
        if (!result.bytesAfterFirstTicks && running.elapsed() > FirstTicks * settings.intervalMs())
            result.bytesAfterFirstTicks = result.writes.bytes();
    }
    if (closingNs && measured.waitForFinished(30000))
        result.closeMs = double(steadyNs() - closingNs) / 1e6;
    if (measured.state() != QProcess::NotRunning) {
        measured.kill();
        measured.waitForFinished();
    }
    server.kill();
    server.waitForFinished();
    if (!cache.isEmpty()) {
        result.writes.scan(cache);
        QDir(cache).removeRecursively();
    }
    if (result.figures.isEmpty())
        return std::nullopt;
    return result;
}

int runAll(const QStringList &cases, const Settings &settings)
{
    std::printf("%-21s %5s %5s %5s %6s %6s %7s %8s %7s %8s %6s %8s %9s  %s\n", "case", "shown",
                "empty", "ticks", "CPU s", "main s", "peak MB", "stall ms", "busy ms", "close ms",
                "writes", "cache KB", "later KB/h", "against benign");
    std::optional<Result> benign;
    for (const QString &name : cases) {
        std::optional<Result> result = runCase(name, settings);
        if (!result) {
            std::printf("%-21s failed\n", qPrintable(name));
            continue;
        }
        const auto &f = result->figures;
        const double ticks = f.value("ticks");
        // Per hour of the window's own 1300 ms ticks, after the first ticks' one-off writes.
        QByteArray laterPerHour = "-";
        if (result->bytesAfterFirstTicks && ticks > FirstTicks)
            laterPerHour =
                QByteArray::number(double(result->writes.bytes() - *result->bytesAfterFirstTicks) /
                                       1024 / (ticks - FirstTicks) * (3600 / 1.3),
                                   'f', 0);
        QByteArrayList verdict;
        if (name == QLatin1String("benign")) {
            benign = result;
        } else if (benign) {
            const auto &b = benign->figures;
            const double memory = f.value("peak_kb") / b.value("peak_kb");
            // CPU per 30 s of run, against the benign site's.
            const double extraCpu =
                (f.value("cpu_ms") / f.value("seconds") - b.value("cpu_ms") / b.value("seconds")) *
                30 / 1000;
            verdict << QByteArray::number(memory, 'f', 2) + "x memory"
                    << (extraCpu >= 0 ? "+" : "") + QByteArray::number(extraCpu, 'f', 2) +
                           " s CPU per 30 s";
            if (memory > MaxMemoryRatio)
                verdict << "OVER memory";
            if (extraCpu > MaxExtraCpuSecondsPer30)
                verdict << "OVER CPU";
        }
        if (f.value("stall_ms") > MaxStallMs)
            verdict << "OVER stall";
        if (result->closeMs < 0 || result->closeMs > MaxCloseMs)
            verdict << "OVER close";
        std::printf("%-21s %5.0f %5.0f %5.0f %6.2f %6.2f %7.1f %8.1f %7.1f %8.1f %6d %8.1f %9s  "
                    "%s\n",
                    qPrintable(name), f.value("shown"), f.value("empty"), ticks,
                    f.value("cpu_ms") / 1000, f.value("main_ms") / 1000, f.value("peak_kb") / 1024,
                    f.value("stall_ms"), f.value("busy_ms"), result->closeMs,
                    result->writes.writes(), double(result->writes.bytes()) / 1024,
                    laterPerHour.constData(), verdict.join(", ").constData());
        std::fflush(stdout);
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    // Only the measured process needs a window system.
    const bool measuring = std::any_of(
        argv + 1, argv + argc, [](const char *arg) { return qstrcmp(arg, "--measure") == 0; });
    const std::unique_ptr<QCoreApplication> app =
        measuring ? std::make_unique<QApplication>(argc, argv)
                  : std::make_unique<QCoreApplication>(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption({QStringLiteral("seconds"), QStringLiteral("Seconds per case."),
                      QStringLiteral("N"), QStringLiteral("30")});
    parser.addOption(
        {QStringLiteral("bare"), QStringLiteral("The banner module alone, without the window.")});
    parser.addOption({QStringLiteral("interval-ms"),
                      QStringLiteral("With --bare: the tick interval (the window's is 1300)."),
                      QStringLiteral("N"), QStringLiteral("1300")});
    // What the runner starts: the site, and the process it measures.
    QCommandLineOption serveOption(QStringLiteral("serve"), QString(), QStringLiteral("case"));
    QCommandLineOption measureOption(QStringLiteral("measure"), QString(), QStringLiteral("host"));
    serveOption.setFlags(QCommandLineOption::HiddenFromHelp);
    measureOption.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(serveOption);
    parser.addOption(measureOption);
    parser.addPositionalArgument(QStringLiteral("case"),
                                 QStringLiteral("Cases to run, by default all: ") +
                                     hostileCases().join(QStringLiteral(", ")));
    parser.process(*app);

    Settings settings;
    settings.seconds = parser.value(QStringLiteral("seconds")).toInt();
    if (parser.isSet(QStringLiteral("bare")))
        settings.bareIntervalMs = parser.value(QStringLiteral("interval-ms")).toInt();
    if (parser.isSet(serveOption))
        return serveHostileSite(parser.value(serveOption).toLatin1());
    if (parser.isSet(measureOption))
        return measure(parser.value(measureOption), settings);

    QStringList cases = parser.positionalArguments();
    const QStringList known = hostileCases();
    for (const QString &name : std::as_const(cases)) {
        if (!known.contains(name)) {
            std::fprintf(stderr, "unknown case %s\n", qPrintable(name));
            return 2;
        }
    }
    if (cases.isEmpty())
        cases = known;
    return runAll(cases, settings);
}
