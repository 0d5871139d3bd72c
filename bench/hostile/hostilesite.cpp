// The maker's site as the hostile-site benchmark serves it, one case at a time: a benign site,
// link pages of table cells in the spellings a parser may or may not take for cells, and sites
// that send without end or without measure.

#include "bench/hostile/hostilesite.h"

#include "banner/fetchlimits.h"
#include "banner/tests/fakehttpserver.h"
#include "banner/tests/testpictures.h"

#include <QBuffer>
#include <QColor>
#include <QCoreApplication>
#include <QImage>

#include <cstdio>

using tarvell::test::FakeHttpServer;
using tarvell::test::TestPictures;
using Route = FakeHttpServer::Route;

namespace tarvell::bench {

namespace {

// A link page of table rows after one cell that spans far.
struct TablePage
{
    const char *name;
    const char *first;
    const char *row;
    // 0: as many as the page's size cap holds.
    int rows;
};

// The spellings of a cell that once made a grid of Qt's, and the widest span in the largest page
// the banner reads.
constexpr TablePage TablePages[] = {
    {"page-space", "< table>< tr>< td colspan=20000>a", "< tr>< td>b", 300},
    {"page-tab", "<\ttable><\ttr><\ttd colspan=20000>a", "<\ttr><\ttd>b", 300},
    {"page-quoted", "<\"table\"><\"tr\"><\"td\" colspan=20000>a", "<\"tr\"><\"td\">b", 300},
    {"page-reference", "<table><tr><t&#100; colspan=20000>a", "<tr><t&#100;>b", 300},
    {"page-plain", "<table><tr><td colspan=20000>a", "<tr><td>b", 300},
    {"page-wide", "<table><tr><td colspan=99999 rowspan=99999>a", "<tr><td>b", 0},
};

// After the benign site and the table pages, in this order.
const char *const OtherCases[] = {
    "page-giant-chunk", "giant-chunk",        "progressive-scans", "progressive-changing",
    "gif-expanding",    "gif-clearing",       "endless-headers",   "header-line-1mb",
    "set-cookie-20000", "chunk-line-endless", "etag-changing",     "no-cache-stable-etag"};

QByteArray picture(int number)
{
    QImage image(TestPictures::BannerSize, QImage::Format_RGB32);
    image.fill(QColor::fromHsv(number * 100, 200, 230));
    for (int x = 0; x < image.width(); x += 3)
        image.setPixel(x, (x * 7 * number) % image.height(), qRgb(x * 31 % 256, 0, 0));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 90);
    return bytes;
}

// A progressive JPEG of as many scans as a fetched picture can hold: each makes the decoder go
// over every coefficient once more.
QByteArray mostScans(const QColor &colour)
{
    const QByteArray ten = TestPictures::progressiveJpeg(colour);
    const qsizetype perScan =
        TestPictures::progressiveJpeg(colour, TestPictures::BannerSize, 11).size() - ten.size();
    const qint64 room = tarvell::FetchLimits::forPicture().maxBytes - ten.size();
    return TestPictures::progressiveJpeg(colour, TestPictures::BannerSize,
                                         10 + int(room / perScan));
}

QByteArray tableRows(const TablePage &page)
{
    const QByteArray first(page.first);
    const QByteArray row(page.row);
    const qint64 rows =
        page.rows > 0 ? page.rows
                      : (tarvell::FetchLimits::forPage().maxBytes - first.size()) / row.size();
    return first + row.repeated(rows);
}

// A chunk of almost 2^64 bytes announced, then data without end.
Route giantChunk(const QByteArray &contentType)
{
    return FakeHttpServer::endless("HTTP/1.1 200 OK\r\nContent-Type: " + contentType +
                                       "\r\nTransfer-Encoding: chunked\r\n\r\nfffffffffffffff0\r\n",
                                   QByteArray(4096, 'x'));
}

Route pageRoute(const QByteArray &name)
{
    for (const TablePage &page : TablePages)
        if (name == page.name)
            return FakeHttpServer::answer(tableRows(page), "text/html");
    if (name == "page-giant-chunk")
        return giantChunk("text/html");
    return FakeHttpServer::answer("http://maker.example/", "text/html");
}

Route pictureRoute(const QByteArray &name, int number)
{
    const QByteArray ok = "HTTP/1.1 200 OK\r\nContent-Type: image/jpeg\r\n";
    const QByteArray body = picture(number);
    const QByteArray length = "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n";
    if (name == "giant-chunk")
        return giantChunk("image/jpeg");
    if (name == "progressive-scans" || name == "progressive-changing")
        return FakeHttpServer::answer(mostScans(QColor::fromHsv(number * 100, 200, 230)));
    if (name == "gif-expanding")
        return FakeHttpServer::answer(
            TestPictures::expandingGif(TestPictures::BannerSize, 700000000), "image/gif");
    if (name == "gif-clearing")
        return FakeHttpServer::answer(TestPictures::clearingGif(TestPictures::BannerSize, 1300000),
                                      "image/gif");
    if (name == "endless-headers")
        return FakeHttpServer::endless(ok, "X-Filler: more and more\r\n");
    if (name == "chunk-line-endless")
        return FakeHttpServer::endless(ok + "Transfer-Encoding: chunked\r\n\r\n1", "0");
    if (name == "header-line-1mb")
        return FakeHttpServer::raw(ok + "X-Filler: " + QByteArray(1024 * 1024, 'a') + "\r\n" +
                                   length + body);
    if (name == "set-cookie-20000") {
        QByteArray cookies;
        for (int cookie = 0; cookie < 20000; ++cookie)
            cookies += "Set-Cookie: c" + QByteArray::number(cookie) + "=1\r\n";
        return FakeHttpServer::raw(ok + cookies + length + body);
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

} // namespace

QStringList hostileCases()
{
    QStringList cases{QStringLiteral("benign")};
    for (const TablePage &page : TablePages)
        cases << QString::fromLatin1(page.name);
    for (const char *name : OtherCases)
        cases << QString::fromLatin1(name);
    return cases;
}

int serveHostileSite(const QByteArray &name)
{
    FakeHttpServer server;
    for (int number = 1; number <= 3; ++number)
        server.setRoute("/zintu/" + QByteArray::number(number) + ".jpg",
                        pictureRoute(name, number));
    server.setRoute("/zintu/zintu.htm", pageRoute(name));
    if (name == "progressive-changing") {
        // Every answer a picture of its own, so that nothing decoded before can stand in for it.
        QObject::connect(&server, &FakeHttpServer::requested, &server,
                         [&server, answers = 0](const QByteArray &path) mutable {
                             if (path.endsWith(".jpg"))
                                 server.setRoute(
                                     path, FakeHttpServer::answer(mostScans(
                                               QColor::fromHsv(++answers * 37 % 360, 200, 230))));
                         });
    }
    if (!server.listen())
        return 1;
    std::printf("%u\n", unsigned(server.port()));
    std::fflush(stdout);
    return QCoreApplication::exec();
}

} // namespace tarvell::bench
