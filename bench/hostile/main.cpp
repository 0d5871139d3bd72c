// The banner against a site that sends without end or without measure, and against sites whose
// caching headers make every answer new or confirm it every time: what the banner's thread
// spends, how much memory the process ever held, whether the rotation goes on, and how many
// bytes go into the cache folder per hour of ticks.
//
// Usage: bench_hostile [--seconds N] [--interval-ms N] [case ...]
// Each case runs in a process of its own (the peak memory is the process's), against a server
// in a second process, so that neither's work counts for the other.

#include "banner/banner.h"
#include "banner/tests/fakehttpserver.h"
#include "bench/common/gapmeter.h"

#include <QBuffer>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <ctime>

using namespace std::chrono_literals;
using tarvell::Banner;
using tarvell::bench::GapMeter;
using tarvell::test::FakeHttpServer;
using Route = FakeHttpServer::Route;

namespace {

const char *const Cases[] = {"benign",          "giant-chunk",         "endless-headers",
                             "header-line-1mb", "set-cookie-20000",    "chunk-line-endless",
                             "etag-changing",   "no-cache-stable-etag"};

QByteArray picture(int number)
{
    QImage image(468, 60, QImage::Format_RGB32);
    image.fill(QColor::fromHsv(number * 100, 200, 230));
    for (int x = 0; x < 468; x += 3)
        image.setPixel(x, (x * 7 * number) % 60, qRgb(x * 31 % 256, 0, 0));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 90);
    return bytes;
}

Route routeFor(const QByteArray &name, int number)
{
    const QByteArray ok = "HTTP/1.1 200 OK\r\nContent-Type: image/jpeg\r\n";
    const QByteArray body = picture(number);
    if (name == "giant-chunk")
        return FakeHttpServer::endless(
            ok + "Transfer-Encoding: chunked\r\n\r\nfffffffffffffff0\r\n", QByteArray(4096, 'x'));
    if (name == "endless-headers")
        return FakeHttpServer::endless(ok, "X-Filler: more and more\r\n");
    if (name == "chunk-line-endless")
        return FakeHttpServer::endless(ok + "Transfer-Encoding: chunked\r\n\r\n1", "0");
    if (name == "header-line-1mb")
        return FakeHttpServer::raw(ok + "X-Filler: " + QByteArray(1024 * 1024, 'a') +
                                   "\r\nContent-Length: " + QByteArray::number(body.size()) +
                                   "\r\n\r\n" + body);
    if (name == "set-cookie-20000") {
        QByteArray cookies;
        for (int cookie = 0; cookie < 20000; ++cookie)
            cookies += "Set-Cookie: c" + QByteArray::number(cookie) + "=1\r\n";
        return FakeHttpServer::raw(ok + cookies + "Content-Length: " +
                                   QByteArray::number(body.size()) + "\r\n\r\n" + body);
    }
    if (name == "etag-changing") {
        Route route = FakeHttpServer::cached(body, "Cache-Control: no-cache", "\"a\"");
        route.etagChangesEveryAnswer = true;
        return route;
    }
    if (name == "no-cache-stable-etag")
        return FakeHttpServer::cached(body, "Cache-Control: no-cache", "\"a\"");
    return FakeHttpServer::answer(body);
}

int serve(const QByteArray &name)
{
    FakeHttpServer server;
    for (int number = 1; number <= 3; ++number)
        server.setRoute("/zintu/" + QByteArray::number(number) + ".jpg", routeFor(name, number));
    server.setRoute("/zintu/zintu.htm",
                    FakeHttpServer::answer("http://maker.example/", "text/html"));
    if (!server.listen())
        return 1;
    std::printf("%u\n", unsigned(server.port()));
    std::fflush(stdout);
    return QCoreApplication::exec();
}

qint64 statusKb(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

double threadCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// Bytes of every file version that appeared in the folder: a file seen with a new size or time
// counts whole, as it was written whole.
class FolderWrites : public QObject
{
public:
    explicit FolderWrites(const QString &folder) : m_folder(folder)
    {
        connect(&m_timer, &QTimer::timeout, this, [this] { scan(); });
        m_timer.start(10);
    }
    void scan()
    {
        const QFileInfoList files = QDir(m_folder).entryInfoList(QDir::Files);
        for (const QFileInfo &file : files) {
            const auto version =
                std::make_pair(file.size(), file.lastModified().toMSecsSinceEpoch());
            if (m_seen.value(file.fileName()) != version) {
                m_seen.insert(file.fileName(), version);
                m_bytes += file.size();
                ++m_writes;
            }
        }
    }
    qint64 bytes() const { return m_bytes; }
    int writes() const { return m_writes; }

private:
    QString m_folder;
    QTimer m_timer;
    QHash<QString, std::pair<qint64, qint64>> m_seen;
    qint64 m_bytes = 0;
    int m_writes = 0;
};

int measure(const QByteArray &name, int seconds, int intervalMs)
{
    QProcess server;
    server.start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--serve"), QString::fromLatin1(name)});
    if (!server.waitForReadyRead(10000))
        return 1;
    const QByteArray port = server.readLine().trimmed();
    QTemporaryDir cacheDir;
    Banner banner(QStringLiteral("127.0.0.1:") + QString::fromLatin1(port));
    banner.setCacheDirectory(cacheDir.path());
    FolderWrites writes(cacheDir.path());
    int shown = 0;
    int empty = 0;
    QObject::connect(&banner, &Banner::pictureChanged, &banner,
                     [&](const QImage &image) { image.isNull() ? ++empty : ++shown; });
    QEventLoop loop;
    QTimer ticker;
    ticker.setInterval(intervalMs);
    QObject::connect(&ticker, &QTimer::timeout, &banner, &Banner::tick);
    QTimer::singleShot(std::chrono::seconds(seconds), &loop, &QEventLoop::quit);
    const double cpuBefore = threadCpuSeconds();
    const GapMeter::Run run = GapMeter::measure(loop, [&] {
        banner.load();
        ticker.start();
    });
    writes.scan();
    const double cpu = threadCpuSeconds() - cpuBefore;
    const double ticks = run.seconds * 1000.0 / intervalMs;
    // Per hour of the window's own 1300 ms ticks.
    const double perHour = ticks > 0 ? double(writes.bytes()) / ticks * (3600.0 / 1.3) : 0;
    std::printf("%-22s %5.1fs ticks=%4.0f shown=%4d empty=%4d cpu=%6.2fs peak_rss=%6lld kB "
                "gap=%6.1fms cache_writes=%d cache_bytes=%lld bytes_per_hour=%.0f\n",
                name.constData(), run.seconds, ticks, shown, empty, cpu, statusKb("VmHWM:"),
                run.longestGapMs, writes.writes(), writes.bytes(), perHour);
    server.kill();
    server.waitForFinished();
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addOption(
        {QStringLiteral("serve"), QStringLiteral("Serve a case."), QStringLiteral("case")});
    parser.addOption({QStringLiteral("seconds"), QStringLiteral("Seconds per case."),
                      QStringLiteral("N"), QStringLiteral("20")});
    parser.addOption({QStringLiteral("interval-ms"), QStringLiteral("Tick interval."),
                      QStringLiteral("N"), QStringLiteral("1300")});
    parser.addPositionalArgument(QStringLiteral("case"), QStringLiteral("Cases to run."));
    parser.process(app);
    if (parser.isSet(QStringLiteral("serve")))
        return serve(parser.value(QStringLiteral("serve")).toLatin1());

    const int seconds = parser.value(QStringLiteral("seconds")).toInt();
    const int interval = parser.value(QStringLiteral("interval-ms")).toInt();
    QStringList cases = parser.positionalArguments();
    if (cases.size() == 1)
        return measure(cases.front().toLatin1(), seconds, interval);
    if (cases.isEmpty())
        for (const char *name : Cases)
            cases << QString::fromLatin1(name);
    // One process per case, for a peak memory of its own.
    for (const QString &name : std::as_const(cases)) {
        QProcess one;
        one.setProcessChannelMode(QProcess::ForwardedChannels);
        one.start(QCoreApplication::applicationFilePath(),
                  {QStringLiteral("--seconds"), QString::number(seconds),
                   QStringLiteral("--interval-ms"), QString::number(interval), name});
        one.waitForFinished(-1);
    }
    return 0;
}
