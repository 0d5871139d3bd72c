// The banner over https, run by tls-namespace.sh: the site has moved to https, as most sites
// have, and answers plain http with a permanent redirect there. A certificate from the CA the
// system trusts gives the pictures and the link; one from a CA nobody trusts gives nothing.
#include "banner/banner.h"
#include "fakehttpserver.h"
#include "testpictures.h"
#include "urlrecorder.h"

#include <QDir>
#include <QFile>
#include <QNetworkProxy>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

using tarvell::Banner;
using tarvell::test::FakeHttpServer;
using tarvell::test::TestPictures;
using tarvell::test::UrlRecorder;

namespace {

const QColor PictureColours[] = {Qt::red, Qt::green, Qt::blue};
const QString Link = QStringLiteral("http://link.example/");

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class TestBannerHttps : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void redirectToHttpsIsFollowedOnlyToATrustedCertificate_data();
    void redirectToHttpsIsFollowedOnlyToATrustedCertificate();
};

void TestBannerHttps::initTestCase()
{
    if (qEnvironmentVariableIsEmpty("TARVELL_TEST_HTTPS_SITE"))
        QFAIL("run through tls-namespace.sh, which makes the CA and the https servers");
    QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
    QStandardPaths::setTestModeEnabled(true);

    const QDir site(qEnvironmentVariable("TARVELL_TEST_HTTPS_SITE"));
    QVERIFY(site.mkpath(QStringLiteral("zintu")));
    QVERIFY(writeFile(site.filePath(QStringLiteral("zintu/zintu.htm")), Link.toUtf8()));
    for (int number = 1; number <= 3; ++number)
        QVERIFY(writeFile(site.filePath(QStringLiteral("zintu/%1.jpg").arg(number)),
                          TestPictures::encoded(PictureColours[number - 1])));
}

void TestBannerHttps::redirectToHttpsIsFollowedOnlyToATrustedCertificate_data()
{
    QTest::addColumn<QString>("httpsHost");
    QTest::addColumn<bool>("trusted");

    QTest::newRow("certificate from the trusted CA")
        << qEnvironmentVariable("TARVELL_TEST_HTTPS_TRUSTED") << true;
    QTest::newRow("certificate from an unknown CA")
        << qEnvironmentVariable("TARVELL_TEST_HTTPS_UNTRUSTED") << false;
}

void TestBannerHttps::redirectToHttpsIsFollowedOnlyToATrustedCertificate()
{
    QFETCH(QString, httpsHost);
    QFETCH(bool, trusted);

    // The plain-http site sends every address of the banner on to the same path over https.
    FakeHttpServer server;
    QVERIFY(server.listen());
    const QByteArray target = "https://" + httpsHost.toUtf8();
    server.setRoute("/zintu/zintu.htm", FakeHttpServer::redirect(target + "/zintu/zintu.htm"));
    for (int number = 1; number <= 3; ++number) {
        const QByteArray path = "/zintu/" + QByteArray::number(number) + ".jpg";
        FakeHttpServer::Route moved = FakeHttpServer::redirect(target + path);
        moved.status = 301;
        server.setRoute(path, moved);
    }

    UrlRecorder recorder({QStringLiteral("http"), QStringLiteral("https")});
    Banner banner(server.host());
    banner.setCacheDirectory(QString());
    QSignalSpy shown(&banner, &Banner::pictureChanged);
    banner.load();
    for (const QColor &colour : PictureColours) {
        banner.tick();
        QVERIFY(shown.wait(15000));
        const QImage picture = shown.takeFirst().at(0).value<QImage>();
        if (trusted)
            QVERIFY(TestPictures::isPlain(picture, colour));
        else
            QVERIFY(picture.isNull());
    }
    QCOMPARE(server.requestedPaths().size(), 4);

    // The page has had as long as three pictures to arrive.
    if (trusted)
        QTRY_COMPARE_WITH_TIMEOUT(banner.pageText(), Link, 15000);
    else
        QCOMPARE(banner.pageText(), QString());
    banner.bannerClicked();
    QCOMPARE(recorder.opened(), trusted ? QList<QUrl>{QUrl(Link)} : QList<QUrl>());
}

QTEST_MAIN(TestBannerHttps)
#include "tst_bannerhttps.moc"
