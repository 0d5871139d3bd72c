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

QTEST_MAIN(TestBannerFailures)
#include "tst_bannerfailures.moc"
