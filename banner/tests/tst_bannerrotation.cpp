#include "banner/banner.h"
#include "banner/bannercache.h"
#include "fakehttpserver.h"
#include "mappedlibraries.h"
#include "testpictures.h"

#include <QAbstractSocket>
#include <QNetworkProxy>
#include <QSignalSpy>
#include <QtNetwork/qtnetwork-config.h>
#if QT_CONFIG(ssl)
#include <QSslSocket>
#endif
#include <QStandardPaths>
#include <QTest>

using namespace std::chrono_literals;
using tarvell::Banner;
using tarvell::test::FakeHttpServer;
using tarvell::test::TestPictures;
using tarvell::test::tlsLibrariesMapped;

namespace {

const QColor PictureColours[] = {Qt::red, Qt::green, Qt::blue};

QByteArray picturePath(int number)
{
    return "/zintu/" + QByteArray::number(number) + ".jpg";
}

void serveThreePictures(FakeHttpServer &server)
{
    for (int number = 1; number <= 3; ++number)
        server.setRoute(picturePath(number),
                        FakeHttpServer::answer(TestPictures::encoded(PictureColours[number - 1])));
}

} // namespace

class TestBannerRotation : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void sevenTicksRotateThroughThreePictures();
    void picturesOfOtherSizesComeAsTheyAre_data();
    void picturesOfOtherSizesComeAsTheyAre();
    void picturesAreToldByTheirContent_data();
    void picturesAreToldByTheirContent();
    void slowPicturesComeLateAndInOrder();
    void hungHostEmptiesTheBannerAtTheDeadline();
    void nothingHappensBeforeLoad();
    void plainHttpLoadsNoTlsLibrary();

private:
    // Before any fetch: what the libraries the test links bring in by themselves.
    QStringList m_tlsAtStart;
};

void TestBannerRotation::initTestCase()
{
    m_tlsAtStart = tlsLibrariesMapped();
    // Whatever proxy the environment names, the tests talk to their own server only.
    QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
    QStandardPaths::setTestModeEnabled(true);
}

void TestBannerRotation::sevenTicksRotateThroughThreePictures()
{
    FakeHttpServer server;
    QVERIFY(server.listen());
    serveThreePictures(server);
    server.setRoute("/zintu/zintu.htm",
                    FakeHttpServer::answer("http://maker.example/", "text/html"));

    Banner banner(server.host());
    QSignalSpy shown(&banner, &Banner::pictureChanged);
    QSignalSpy requested(&server, &FakeHttpServer::requested);
    banner.load();
    QVERIFY(requested.wait(5000));
    QCOMPARE(requested.takeFirst().at(0).toByteArray(), QByteArray("/zintu/zintu.htm"));

    const int expectedPicture[] = {1, 2, 3, 1, 2, 3, 1};
    const qint16 expectedBannerNo[] = {1, 2, 0, 1, 2, 0, 1};
    for (int i = 0; i < 7; ++i) {
        banner.tick();
        QCOMPARE(banner.BannerNo(), expectedBannerNo[i]);
        QVERIFY2(shown.wait(5000), qPrintable(QStringLiteral("tick %1").arg(i + 1)));
        QCOMPARE(shown.size(), 1);
        const QImage picture = shown.takeFirst().at(0).value<QImage>();
        QVERIFY2(TestPictures::isPlain(picture, PictureColours[expectedPicture[i] - 1]),
                 qPrintable(QStringLiteral("tick %1").arg(i + 1)));
        QCOMPARE(picture.size(), TestPictures::BannerSize);
    }
    QList<QByteArray> pictureRequests = server.requestedPaths();
    pictureRequests.removeAll("/zintu/zintu.htm");
    QCOMPARE(pictureRequests,
             (QList<QByteArray>{picturePath(1), picturePath(2), picturePath(3), picturePath(1),
                                picturePath(2), picturePath(3), picturePath(1)}));
    // The page is read into text off the window's thread, so it may still be on its way.
    QTRY_COMPARE_WITH_TIMEOUT(banner.pageText(), QStringLiteral("http://maker.example/"), 5000);
}

void TestBannerRotation::picturesOfOtherSizesComeAsTheyAre_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("smaller than the banner") << QSize(100, 20);
    QTest::newRow("taller than the banner") << QSize(468, 300);
    QTest::newRow("wider than the banner") << QSize(1200, 60);
}

void TestBannerRotation::picturesOfOtherSizesComeAsTheyAre()
{
    QFETCH(QSize, size);
    FakeHttpServer server;
    QVERIFY(server.listen());
    server.setRoute(picturePath(1),
                    FakeHttpServer::answer(TestPictures::encoded(Qt::yellow, size)));

    Banner banner(server.host());
    QSignalSpy shown(&banner, &Banner::pictureChanged);
    banner.tick();
    QVERIFY(shown.wait(5000));
    const QImage picture = shown.takeFirst().at(0).value<QImage>();
    QCOMPARE(picture.size(), size);
    QVERIFY(TestPictures::isPlain(picture, Qt::yellow));
}

void TestBannerRotation::picturesAreToldByTheirContent_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QColor>("colour");
    // Whatever the name and the Content-Type say, the bytes decide.
    QTest::newRow("JPEG") << TestPictures::encoded(Qt::red) << QColor(Qt::red);
    QTest::newRow("progressive JPEG")
        << TestPictures::progressiveJpeg(Qt::cyan) << QColor(Qt::cyan);
    QTest::newRow("BMP") << TestPictures::encoded(Qt::blue, TestPictures::BannerSize, "BMP")
                         << QColor(Qt::blue);
    QTest::newRow("GIF") << TestPictures::encoded(Qt::magenta, TestPictures::BannerSize, "GIF")
                         << QColor(Qt::magenta);
    QTest::newRow("animated GIF: its first frame")
        << TestPictures::gif({Qt::green, Qt::red, Qt::blue}) << QColor(Qt::green);
}

void TestBannerRotation::picturesAreToldByTheirContent()
{
    QFETCH(QByteArray, body);
    QFETCH(QColor, colour);
    FakeHttpServer server;
    QVERIFY(server.listen());
    server.setRoute(picturePath(1), FakeHttpServer::answer(body, "image/png"));

    Banner banner(server.host());
    QSignalSpy shown(&banner, &Banner::pictureChanged);
    banner.tick();
    QVERIFY(shown.wait(5000));
    const QImage picture = shown.takeFirst().at(0).value<QImage>();
    QCOMPARE(picture.size(), TestPictures::BannerSize);
    QVERIFY(TestPictures::isPlain(picture, colour));
}

void TestBannerRotation::slowPicturesComeLateAndInOrder()
{
    FakeHttpServer server;
    QVERIFY(server.listen());
    serveThreePictures(server);
    // Longer than the ticks that come meanwhile, and shorter than any timeout.
    FakeHttpServer::Route slow = FakeHttpServer::answer(TestPictures::encoded(Qt::red));
    slow.delay = 300ms;
    server.setRoute(picturePath(1), slow);

    Banner banner(server.host());
    QSignalSpy shown(&banner, &Banner::pictureChanged);
    QSignalSpy requested(&server, &FakeHttpServer::requested);
    banner.tick();
    QVERIFY(requested.wait(5000));
    // Two ticks while picture 1 is on its way: they wait for it, and count as one.
    banner.tick();
    banner.tick();
    QCOMPARE(banner.BannerNo(), qint16(1));
    QTRY_COMPARE_WITH_TIMEOUT(shown.size(), 2, 5000);
    QVERIFY(TestPictures::isPlain(shown.at(0).at(0).value<QImage>(), Qt::red));
    QVERIFY(TestPictures::isPlain(shown.at(1).at(0).value<QImage>(), Qt::green));
    QCOMPARE(banner.BannerNo(), qint16(2));

    // Nothing else is waiting; the next tick goes on with picture 3.
    QTest::qWait(200);
    QCOMPARE(shown.size(), 2);
    banner.tick();
    QVERIFY(shown.wait(5000));
    QVERIFY(TestPictures::isPlain(shown.at(2).at(0).value<QImage>(), Qt::blue));
    QCOMPARE(server.requestedPaths(),
             (QList<QByteArray>{picturePath(1), picturePath(2), picturePath(3)}));
}

void TestBannerRotation::hungHostEmptiesTheBannerAtTheDeadline()
{
    FakeHttpServer server;
    QVERIFY(server.listen());
    serveThreePictures(server);
    server.setRoute(picturePath(1), FakeHttpServer::neverAnswer());

    Banner banner(server.host());
    // Only the deadline can end the silent request.
    banner.setFetchTimeouts(60s, 800ms);
    QSignalSpy shown(&banner, &Banner::pictureChanged);
    QSignalSpy requested(&server, &FakeHttpServer::requested);
    banner.tick();
    QVERIFY(requested.wait(5000));
    QCOMPARE(server.requestsInFlight(), 1);
    banner.tick();
    QVERIFY(shown.wait(5000));
    QVERIFY(shown.at(0).at(0).value<QImage>().isNull());
    // The tick that waited runs at once, and the silent connection is let go.
    QTRY_COMPARE_WITH_TIMEOUT(shown.size(), 2, 5000);
    QVERIFY(TestPictures::isPlain(shown.at(1).at(0).value<QImage>(), Qt::green));
    QTRY_COMPARE_WITH_TIMEOUT(server.requestsInFlight(), 0, 5000);
}

void TestBannerRotation::nothingHappensBeforeLoad()
{
    FakeHttpServer server;
    QVERIFY(server.listen());
    serveThreePictures(server);

    Banner banner(server.host());
    QTest::qWait(200);
    // Neither the cache nor a connection is set up before the first fetch.
    QVERIFY(banner.findChildren<tarvell::BannerCache *>().isEmpty());
    QVERIFY(banner.findChildren<QAbstractSocket *>().isEmpty());
    QCOMPARE(server.connectionCount(), 0);
    QCOMPARE(banner.pageText(), QString());
    QCOMPARE(banner.BannerNo(), qint16(0));

    QSignalSpy requested(&server, &FakeHttpServer::requested);
    banner.load();
    QVERIFY(requested.wait(5000));
    QCOMPARE(server.connectionCount(), 1);
}

void TestBannerRotation::plainHttpLoadsNoTlsLibrary()
{
    FakeHttpServer server;
    QVERIFY(server.listen());
    serveThreePictures(server);
    server.setRoute("/zintu/zintu.htm",
                    FakeHttpServer::answer("http://maker.example/", "text/html"));
    // A redirect on the way must not bring it in either.
    server.setRoute("/moved.jpg", FakeHttpServer::answer(TestPictures::encoded(Qt::red)));
    server.setRoute(picturePath(2), FakeHttpServer::redirect("/moved.jpg"));

    Banner banner(server.host());
    QSignalSpy shown(&banner, &Banner::pictureChanged);
    banner.load();
    banner.tick();
    QVERIFY(shown.wait(5000));
    QVERIFY(!shown.takeFirst().at(0).value<QImage>().isNull());
    banner.tick();
    QVERIFY(shown.wait(5000));
    QVERIFY(TestPictures::isPlain(shown.takeFirst().at(0).value<QImage>(), Qt::red));
    QTRY_COMPARE_WITH_TIMEOUT(banner.pageText(), QStringLiteral("http://maker.example/"), 5000);

    QCOMPARE(tlsLibrariesMapped(), m_tlsAtStart);
    // The look into the process's mappings must be able to see Qt's TLS backend come in.
#if QT_CONFIG(ssl)
    if (QSslSocket::supportsSsl())
        QVERIFY(tlsLibrariesMapped() != m_tlsAtStart);
#endif
}

QTEST_MAIN(TestBannerRotation)
#include "tst_bannerrotation.moc"
