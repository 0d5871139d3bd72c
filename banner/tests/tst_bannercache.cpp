// The banner's HTTP cache, against the loopback server: what is stored, when it is asked for
// again, and that a broken cache only means fetching from the network.
#include "banner/banner.h"
#include "fakehttpserver.h"
#include "testpictures.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QNetworkProxy>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using tarvell::Banner;
using tarvell::test::FakeHttpServer;
using tarvell::test::TestPictures;

namespace {

const QByteArray Picture1 = "/zintu/1.jpg";
const QByteArray LastMonday = "Mon, 07 Dec 2026 10:00:00 GMT";

// Ticks the banner once and returns the picture it shows.
QImage showNext(Banner &banner)
{
    QSignalSpy shown(&banner, &Banner::pictureChanged);
    banner.tick();
    if (!shown.wait(5000))
        return {};
    return shown.at(0).at(0).value<QImage>();
}

} // namespace

class TestBannerCache : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void storedPictureIsUsedAsTheServerSays_data();
    void storedPictureIsUsedAsTheServerSays();
    void onlyTheBannersOwnAddressesAreStored();
    void brokenCacheOnlyMeansFetching_data();
    void brokenCacheOnlyMeansFetching();
};

void TestBannerCache::initTestCase()
{
    // Every banner here gets a folder of its own; should one not, the user's cache stays apart.
    QStandardPaths::setTestModeEnabled(true);
    QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
}

void TestBannerCache::storedPictureIsUsedAsTheServerSays_data()
{
    QTest::addColumn<QByteArray>("cacheHeader");
    QTest::addColumn<QByteArray>("etag");
    QTest::addColumn<QByteArray>("lastModified");
    // Whether the server sends a new ETag with every answer.
    QTest::addColumn<bool>("etagChanges");
    // Whether picture 1 comes again from a new banner, as after a restart of the program,
    // once the first banner has shown it twice.
    QTest::addColumn<bool>("restart");
    // Whether the server has another picture 1 by the time it comes again.
    QTest::addColumn<bool>("changed");
    QTest::addColumn<int>("requests");
    QTest::addColumn<int>("notModified");
    QTest::addColumn<QColor>("colourAgain");
    // Answers in the cache folder at the end: only those that can serve a later request.
    QTest::addColumn<int>("stored");

    const QColor before = Qt::red;
    const QColor after = Qt::green;
    const QByteArray hour = "Cache-Control: max-age=3600";
    const QByteArray noCache = "Cache-Control: no-cache";
    const QByteArray a = "\"a\"";
    QTest::newRow("fresh: no request")
        << hour << a << LastMonday << false << false << false << 1 << 0 << before << 3;
    QTest::newRow("fresh, after a restart: no request")
        << hour << a << LastMonday << false << true << false << 1 << 0 << before << 3;
    QTest::newRow("fresh and changed: the stored one until it is stale")
        << hour << a << QByteArray() << false << false << true << 1 << 0 << before << 3;
    // A validator goes to disk once a 304 has confirmed it.
    QTest::newRow("no-cache, ETag: 304")
        << noCache << a << QByteArray() << false << false << false << 2 << 1 << before << 1;
    QTest::newRow("no-cache, ETag, after a restart: 304 again")
        << noCache << a << QByteArray() << false << true << false << 3 << 2 << before << 1;
    QTest::newRow("no-cache, Last-Modified, after a restart: 304")
        << noCache << QByteArray() << LastMonday << false << true << false << 3 << 2 << before << 1;
    QTest::newRow("expired, ETag: 304")
        << QByteArray("Expires: Thu, 01 Jan 1998 00:00:00 GMT") << a << QByteArray() << false
        << false << false << 2 << 1 << before << 1;
    QTest::newRow("no-cache, changed: the new one")
        << noCache << a << QByteArray() << false << false << true << 2 << 0 << after << 0;
    QTest::newRow("no validators: fetched in full")
        << QByteArray() << QByteArray() << QByteArray() << false << false << false << 2 << 0
        << before << 0;
    QTest::newRow("no-store: fetched in full")
        << QByteArray("Cache-Control: no-store") << a << QByteArray() << false << true << false << 3
        << 0 << before << 0;
    QTest::newRow("ETag new with every answer: fetched in full, nothing stored")
        << noCache << a << QByteArray() << true << true << false << 3 << 0 << before << 0;
    QTest::newRow("Vary: *: fetched in full, nothing stored")
        << QByteArray("Vary: *") << a << LastMonday << false << true << false << 3 << 0 << before
        << 0;
}

void TestBannerCache::storedPictureIsUsedAsTheServerSays()
{
    QFETCH(QByteArray, cacheHeader);
    QFETCH(QByteArray, etag);
    QFETCH(QByteArray, lastModified);
    QFETCH(bool, etagChanges);
    QFETCH(bool, restart);
    QFETCH(bool, changed);
    QFETCH(int, requests);
    QFETCH(int, notModified);
    QFETCH(QColor, colourAgain);
    QFETCH(int, stored);

    QTemporaryDir cacheDir;
    QVERIFY(cacheDir.isValid());
    FakeHttpServer server;
    QVERIFY(server.listen());
    const QColor colours[] = {Qt::red, Qt::white, Qt::blue};
    for (int number = 1; number <= 3; ++number) {
        FakeHttpServer::Route route = FakeHttpServer::cached(
            TestPictures::encoded(colours[number - 1]), cacheHeader, etag, lastModified);
        route.etagChangesEveryAnswer = etagChanges;
        server.setRoute("/zintu/" + QByteArray::number(number) + ".jpg", route);
    }

    auto banner = std::make_unique<Banner>(server.host());
    banner->setCacheDirectory(cacheDir.path());
    const QImage first = showNext(*banner);
    QVERIFY(TestPictures::isPlain(first, Qt::red));
    if (changed)
        server.setRoute(Picture1, FakeHttpServer::cached(TestPictures::encoded(Qt::green),
                                                         cacheHeader, etag + "2", QByteArray()));

    QImage again;
    for (int tick = 2; tick <= 4; ++tick)
        again = showNext(*banner);
    if (restart) {
        banner = std::make_unique<Banner>(server.host());
        banner->setCacheDirectory(cacheDir.path());
        again = showNext(*banner);
    }
    QVERIFY(TestPictures::isPlain(again, colourAgain));
    QCOMPARE(server.requestedPaths().count(Picture1), requests);
    QCOMPARE(server.notModifiedCount(), notModified);
    // The same bytes are not decoded a second time.
    if (!restart && !changed)
        QCOMPARE(again.cacheKey(), first.cacheKey());
    QCOMPARE(QDir(cacheDir.path()).entryList(QDir::Files).size(), stored);
}

void TestBannerCache::onlyTheBannersOwnAddressesAreStored()
{
    QTemporaryDir cacheDir;
    QVERIFY(cacheDir.isValid());
    FakeHttpServer server;
    QVERIFY(server.listen());
    server.setRoute(Picture1, FakeHttpServer::redirect("/elsewhere.jpg"));
    server.setRoute("/elsewhere.jpg",
                    FakeHttpServer::cached(TestPictures::encoded(Qt::red),
                                           "Cache-Control: max-age=3600", "\"a\""));

    for (int restart = 0; restart < 2; ++restart) {
        Banner banner(server.host());
        banner.setCacheDirectory(cacheDir.path());
        QVERIFY(TestPictures::isPlain(showNext(banner), Qt::red));
    }
    QCOMPARE(server.requestedPaths().count("/elsewhere.jpg"), 2);
}

void TestBannerCache::brokenCacheOnlyMeansFetching_data()
{
    QTest::addColumn<QString>("damage");
    QTest::newRow("random bytes in every stored answer") << QStringLiteral("random");
    QTest::newRow("stored answers cut short in their header") << QStringLiteral("cut");
    QTest::newRow("a file where the folder should be") << QStringLiteral("file");
}

void TestBannerCache::brokenCacheOnlyMeansFetching()
{
    QFETCH(QString, damage);
    QTemporaryDir base;
    QVERIFY(base.isValid());
    const QString cacheDir = base.filePath(QStringLiteral("cache"));
    FakeHttpServer server;
    QVERIFY(server.listen());
    server.setRoute(Picture1,
                    FakeHttpServer::cached(TestPictures::encoded(Qt::red),
                                           "Cache-Control: max-age=3600", "\"a\"", LastMonday));

    if (damage == u"file") {
        QFile file(cacheDir);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("not a folder") > 0);
    } else {
        {
            Banner banner(server.host());
            banner.setCacheDirectory(cacheDir);
            QVERIFY(TestPictures::isPlain(showNext(banner), Qt::red));
        }
        int damaged = 0;
        // Whatever files the cache keeps, however it names and places them.
        QDirIterator stored(cacheDir, QDir::Files, QDirIterator::Subdirectories);
        while (stored.hasNext()) {
            QFile file(stored.next());
            const qint64 size = file.size();
            QVERIFY(file.open(QIODevice::ReadWrite));
            if (damage == u"random") {
                QByteArray noise(size, Qt::Uninitialized);
                QRandomGenerator::global()->fillRange(reinterpret_cast<quint32 *>(noise.data()),
                                                      noise.size() / 4);
                QCOMPARE(file.write(noise), size);
            } else {
                QVERIFY(file.resize(16));
            }
            ++damaged;
        }
        QCOMPARE(damaged, 1);
    }

    Banner banner(server.host());
    banner.setCacheDirectory(cacheDir);
    QVERIFY(TestPictures::isPlain(showNext(banner), Qt::red));
    QCOMPARE(server.requestedPaths().count(Picture1), damage == u"file" ? 1 : 2);
}

QTEST_MAIN(TestBannerCache)
#include "tst_bannercache.moc"
