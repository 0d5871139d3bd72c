#include "banner/banner.h"
#include "fakehttpserver.h"
#include "testpictures.h"

#include <QFile>
#include <QNetworkProxy>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace std::chrono_literals;
using tarvell::Banner;
using tarvell::test::FakeHttpServer;
using tarvell::test::TestPictures;

// Cut short so that the silent and dripping hosts do not hold the run up; production waits
// longer, by the same rules.
constexpr auto TestInactivity = 400ms;
constexpr auto TestDeadline = 1500ms;

class TestBannerFailures : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void badPictureLeavesBannerEmptyAndRotationGoesOn_data();
    void badPictureLeavesBannerEmptyAndRotationGoesOn();
    void redirectsAreFollowedAFewTimesOnly_data();
    void redirectsAreFollowedAFewTimesOnly();
    void everyFramingOfAGoodPictureIsShown_data();
    void everyFramingOfAGoodPictureIsShown();

private:
    QTemporaryDir m_dir;
};

void TestBannerFailures::initTestCase()
{
    QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_dir.isValid());
}

void TestBannerFailures::badPictureLeavesBannerEmptyAndRotationGoesOn_data()
{
    using Route = FakeHttpServer::Route;
    QTest::addColumn<Route>("route");
    QTest::addColumn<bool>("refused");
    // At most this many requests for picture 1; 0 for no bound worth checking.
    QTest::addColumn<int>("maxRequests");

    // Every body below that could be mistaken for a picture is a good one, so that a rule
    // that lapses shows up as a picture where there must be none.
    const QByteArray good = TestPictures::encoded(Qt::red);

    QTest::newRow("connection refused") << Route() << true << 0;
    QTest::newRow("accepts and never answers") << FakeHttpServer::neverAnswer() << false << 0;
    // Each byte comes well within the inactivity timeout; only the deadline ends it.
    QTest::newRow("slow drip") << FakeHttpServer::drip(good, 100ms) << false << 0;
    QTest::newRow("404 with a picture")
        << FakeHttpServer::answer(good, "image/jpeg", 404) << false << 0;
    QTest::newRow("500 with a picture")
        << FakeHttpServer::answer(good, "image/jpeg", 500) << false << 0;
    QTest::newRow("body that is no picture")
        << FakeHttpServer::answer("<html>Not here</html>", "image/jpeg") << false << 0;
    QTest::newRow("PNG where a JPEG belongs")
        << FakeHttpServer::answer(TestPictures::encoded(Qt::red, TestPictures::BannerSize, "PNG"))
        << false << 0;

    // A decoder stops at the end of the JPEG; the padding is there to break the size cap.
    const QByteArray oversized = good + QByteArray(2 * 1024 * 1024, '\0');
    QTest::newRow("oversized body, announced") << FakeHttpServer::answer(oversized) << false << 0;
    Route unannounced = FakeHttpServer::answer(oversized);
    unannounced.announceLength = false;
    QTest::newRow("oversized body, unannounced") << unannounced << false << 0;

    QByteArray noise(4096, Qt::Uninitialized);
    QRandomGenerator::global()->fillRange(reinterpret_cast<quint32 *>(noise.data()),
                                          noise.size() / 4);
    QTest::newRow("random bytes") << FakeHttpServer::answer(noise) << false << 0;

    // Qt checks the size a GIF's first frame announces, yet decodes its whole logical screen.
    QByteArray tallScreen = TestPictures::gif({Qt::red}, QSize(12, 3));
    tallScreen[8] = char(0x03);
    tallScreen[9] = char(0x2C);
    QTest::newRow("GIF frame within bounds, its screen 12 x 11267")
        << FakeHttpServer::answer(tallScreen) << false << 0;

    // Within every size bound, yet asking the decoder for seconds of work: refused before it
    // starts, as a decode that long would hold the rotation up.
    QTest::newRow("progressive JPEG of 5000 scans")
        << FakeHttpServer::answer(
               TestPictures::progressiveJpeg(Qt::red, TestPictures::BannerSize, 5000))
        << false << 0;
    // Few enough scans, but too many for its size.
    QTest::newRow("progressive JPEG 2048 x 1024 of 20 scans")
        << FakeHttpServer::answer(TestPictures::progressiveJpeg(Qt::red, QSize(2048, 1024), 20))
        << false << 0;
    QTest::newRow("GIF whose codes make 100 M pixels in a 468 x 60 frame")
        << FakeHttpServer::answer(TestPictures::expandingGif(TestPictures::BannerSize, 100000000))
        << false << 0;
    QTest::newRow("GIF whose frame holds 1.3 M clear codes")
        << FakeHttpServer::answer(TestPictures::clearingGif(TestPictures::BannerSize, 1300000))
        << false << 0;

    for (const char *format : {"JPEG", "BMP", "GIF"}) {
        const QByteArray name = QByteArray("decompression bomb, ") + format;
        QTest::newRow(name + ", 60000 x 60000")
            << FakeHttpServer::answer(TestPictures::announcing(format, 60000, 60000)) << false << 0;
        // Small enough to pass Qt's own allocation limit: only the banner's bound refuses it.
        QTest::newRow(name + ", 5000 x 5000")
            << FakeHttpServer::answer(TestPictures::announcing(format, 5000, 5000)) << false << 0;
    }

    Route compressed = FakeHttpServer::answer(qCompress(good).mid(4));
    compressed.headers.append(std::pair<QByteArray, QByteArray>("Content-Encoding", "deflate"));
    QTest::newRow("compressed body that was not asked for") << compressed << false << 0;

    // Qt may send a request again when the server closes the connection under it; a loop that
    // nothing stopped would make hundreds of requests before the deadline.
    QTest::newRow("redirect loop") << FakeHttpServer::redirect("/zintu/1.jpg") << false << 8;
    const QString localPicture = m_dir.filePath(QStringLiteral("local.jpg"));
    QFile file(localPicture);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(good) == good.size());
    file.close();
    QTest::newRow("redirect to file://")
        << FakeHttpServer::redirect(QUrl::fromLocalFile(localPicture).toEncoded()) << false << 0;
    QTest::newRow("redirect to a custom scheme")
        << FakeHttpServer::redirect("tarvell-test://picture.jpg") << false << 0;

    // Servers that never stop sending: each is cut off by a limit of the answer's framing,
    // long before the deadline, and the next tick's fetch runs as usual.
    const QByteArray ok = "HTTP/1.1 200 OK\r\nContent-Type: image/jpeg\r\n";
    QTest::newRow("chunk size fffffffffffffff0, then endless data")
        << FakeHttpServer::endless(
               ok + "Transfer-Encoding: chunked\r\n\r\nfffffffffffffff0\r\n" + good, good)
        << false << 0;
    QTest::newRow("a chunk-size line that never ends")
        << FakeHttpServer::endless(ok + "Transfer-Encoding: chunked\r\n\r\n1", "0") << false << 0;
    QTest::newRow("headers that never end")
        << FakeHttpServer::endless(ok, "X-Filler: more and more\r\n") << false << 0;
    QTest::newRow("one header line of 1 MB")
        << FakeHttpServer::raw(ok + "X-Filler: " + QByteArray(1024 * 1024, 'a') +
                               "\r\nContent-Length: " + QByteArray::number(good.size()) +
                               "\r\n\r\n" + good)
        << false << 0;
    QByteArray cookies;
    for (int cookie = 0; cookie < 20000; ++cookie)
        cookies += "Set-Cookie: c" + QByteArray::number(cookie) + "=1\r\n";
    QTest::newRow("20,000 Set-Cookie headers")
        << FakeHttpServer::raw(ok + cookies + "Content-Length: " + QByteArray::number(good.size()) +
                               "\r\n\r\n" + good)
        << false << 0;
    QTest::newRow("chunk larger than the cap")
        << FakeHttpServer::raw(ok + "Transfer-Encoding: chunked\r\n\r\n80001\r\n" + good) << false
        << 0;
    QTest::newRow("transfer coding other than chunked")
        << FakeHttpServer::raw(ok + "Transfer-Encoding: gzip, chunked\r\n\r\n" +
                               QByteArray::number(good.size(), 16) + "\r\n" + good +
                               "\r\n0\r\n\r\n")
        << false << 0;
}

void TestBannerFailures::badPictureLeavesBannerEmptyAndRotationGoesOn()
{
    using Route = FakeHttpServer::Route;
    QFETCH(Route, route);
    QFETCH(bool, refused);
    QFETCH(int, maxRequests);

    FakeHttpServer server;
    QVERIFY(server.listen());
    server.setRoute("/zintu/1.jpg", route);
    server.setRoute("/zintu/2.jpg", FakeHttpServer::answer(TestPictures::encoded(Qt::green)));

    Banner banner(server.host());
    banner.setFetchTimeouts(TestInactivity, TestDeadline);
    QSignalSpy shown(&banner, &Banner::pictureChanged);

    if (refused)
        server.refuseConnections();
    banner.tick();
    QCOMPARE(banner.BannerNo(), qint16(1));
    QVERIFY(shown.wait(5000));
    QCOMPARE(shown.size(), 1);
    QVERIFY(shown.takeFirst().at(0).value<QImage>().isNull());
    if (maxRequests > 0)
        QVERIFY2(server.requestedPaths().count("/zintu/1.jpg") <= maxRequests,
                 qPrintable(QString::number(server.requestedPaths().count("/zintu/1.jpg"))));

    if (refused)
        QVERIFY(server.acceptConnections());
    banner.tick();
    QCOMPARE(banner.BannerNo(), qint16(2));
    QVERIFY(shown.wait(5000));
    QCOMPARE(shown.size(), 1);
    QVERIFY(TestPictures::isPlain(shown.takeFirst().at(0).value<QImage>(), Qt::green));
}

void TestBannerFailures::redirectsAreFollowedAFewTimesOnly_data()
{
    QTest::addColumn<int>("hops");
    QTest::addColumn<bool>("shown");
    QTest::newRow("one redirect") << 1 << true;
    QTest::newRow("three redirects") << 3 << true;
    QTest::newRow("four redirects") << 4 << false;
    QTest::newRow("ten redirects") << 10 << false;
}

void TestBannerFailures::redirectsAreFollowedAFewTimesOnly()
{
    QFETCH(int, hops);
    QFETCH(bool, shown);

    FakeHttpServer server;
    QVERIFY(server.listen());
    // /zintu/1.jpg -> /hop/1 -> ... -> /hop/<hops>, which holds the picture.
    QByteArray path = "/zintu/1.jpg";
    for (int hop = 1; hop <= hops; ++hop) {
        const QByteArray next = "/hop/" + QByteArray::number(hop);
        server.setRoute(path, FakeHttpServer::redirect(next));
        path = next;
    }
    server.setRoute(path, FakeHttpServer::answer(TestPictures::encoded(Qt::green)));

    Banner banner(server.host());
    banner.setFetchTimeouts(TestInactivity, TestDeadline);
    QSignalSpy pictures(&banner, &Banner::pictureChanged);
    banner.tick();
    QVERIFY(pictures.wait(5000));
    const QImage picture = pictures.takeFirst().at(0).value<QImage>();
    if (shown)
        QVERIFY(TestPictures::isPlain(picture, Qt::green));
    else
        QVERIFY(picture.isNull());
}

void TestBannerFailures::everyFramingOfAGoodPictureIsShown_data()
{
    // The other side of the rows above: the limits refuse no answer a sound server sends.
    QTest::addColumn<QByteArray>("answer");
    const QByteArray good = TestPictures::encoded(Qt::green);
    const QByteArray ok = "HTTP/1.1 200 OK\r\nContent-Type: image/jpeg\r\n";
    const qsizetype half = good.size() / 2;
    QTest::newRow("chunked, with an extension and a trailer")
        << ok + "Transfer-Encoding: chunked\r\n\r\n" + QByteArray::number(half, 16) +
               ";part=1\r\n" + good.left(half) + "\r\n" +
               QByteArray::number(good.size() - half, 16) + "\r\n" + good.mid(half) +
               "\r\n0\r\nX-Checksum: none\r\n\r\n";
    QTest::newRow("until the close") << ok + "\r\n" + good;
    QTest::newRow("HTTP/1.0 after 100 Continue")
        << "HTTP/1.1 100 Continue\r\n\r\nHTTP/1.0 200 OK\r\nContent-Length: " +
               QByteArray::number(good.size()) + "\r\n\r\n" + good;
}

void TestBannerFailures::everyFramingOfAGoodPictureIsShown()
{
    QFETCH(QByteArray, answer);
    FakeHttpServer server;
    QVERIFY(server.listen());
    server.setRoute("/zintu/1.jpg", FakeHttpServer::raw(answer));
    Banner banner(server.host());
    banner.setFetchTimeouts(TestInactivity, TestDeadline);
    QSignalSpy pictures(&banner, &Banner::pictureChanged);
    banner.tick();
    QVERIFY(pictures.wait(5000));
    QVERIFY(TestPictures::isPlain(pictures.takeFirst().at(0).value<QImage>(), Qt::green));
}

QTEST_MAIN(TestBannerFailures)
#include "tst_bannerfailures.moc"
