// The window's events reach the banner: the load event after the first frame, the timer's
// ticks, and the two clicks. A local server stands in for the maker's site.
#include "banner/tests/fakehttpserver.h"
#include "banner/tests/urlrecorder.h"
#include "ui/form1.h"
#include "ui/picturebox.h"

#include <QLabel>
#include <QLibraryInfo>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace tarvell;
using tarvell::test::FakeHttpServer;
using tarvell::test::UrlRecorder;

namespace {

// Every scheme the desktop could be asked to open that we care about.
const QStringList OpenedSchemes = {QStringLiteral("http"), QStringLiteral("https"),
                                   QStringLiteral("file")};

} // namespace

class TestWiring : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // First: once a window has loaded the banner module, it stays loaded.
    void withoutItsModuleTheBannerStaysStillAndTheCreditsStillOpen();
    void pageIsRequestedOnlyOnceTheWindowIsShown();
    void timerTicksRotateTheBanner();
    void creditsClickOpensTheHomeAddress();
    void bannerClickWithoutAPageOpensNothing();
    void bannerClickOpensThePageLink();
};

void TestWiring::withoutItsModuleTheBannerStaysStillAndTheCreditsStillOpen()
{
    // Only Qt's own plugins, as on a machine where the module is missing.
    const QStringList paths = QCoreApplication::libraryPaths();
    QCoreApplication::setLibraryPaths({QLibraryInfo::path(QLibraryInfo::PluginsPath)});
    const auto restore = qScopeGuard([&paths] { QCoreApplication::setLibraryPaths(paths); });
    UrlRecorder opened(OpenedSchemes);
    FakeHttpServer server;
    QVERIFY(server.listen());
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("banner module .* could not be loaded"));
    Form1 form(server.host());
    QSignalSpy ticks(form.findChild<QTimer *>("Timer1"), &QTimer::timeout);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(ticks.wait(5000));
    QTest::mouseClick(form.findChild<QWidget *>("Picture1"), Qt::LeftButton);
    QTest::mouseClick(form.findChild<QLabel *>("Label1"), Qt::LeftButton);

    QCOMPARE(form.banner(), nullptr);
    QCOMPARE(form.findChild<PictureBox *>("Picture1")->picture(), QImage(":/banner.bmp"));
    QVERIFY(server.requestLines().isEmpty());
    // The banner's click has no link to open; the credits line's address needs no network.
    QCOMPARE(opened.opened(), QList<QUrl>{QUrl(QStringLiteral("http://") + server.host())});
}

void TestWiring::pageIsRequestedOnlyOnceTheWindowIsShown()
{
    FakeHttpServer server;
    QVERIFY(server.listen());
    Form1 form(server.host());
    QTest::qWait(200);
    QVERIFY(server.requestLines().isEmpty());
    // The banner module is loaded only once there is a frame on screen.
    QCOMPARE(form.banner(), nullptr);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTRY_COMPARE_WITH_TIMEOUT(server.requestLines().value(0),
                              QByteArray("GET /zintu/zintu.htm HTTP/1.1"), 5000);
}

void TestWiring::timerTicksRotateTheBanner()
{
    FakeHttpServer server;
    QVERIFY(server.listen());
    Form1 form(server.host());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    // The first tick comes 1300 ms after creation and asks for picture 1.
    QTRY_COMPARE_WITH_TIMEOUT(form.banner() ? form.banner()->BannerNo() : -1, 1, 5000);
    QTRY_VERIFY_WITH_TIMEOUT(server.requestLines().contains("GET /zintu/1.jpg HTTP/1.1"), 5000);
    // A picture that cannot be had leaves the banner empty.
    const auto *banner = form.findChild<PictureBox *>("Picture1");
    QTRY_VERIFY_WITH_TIMEOUT(banner->picture().isNull(), 5000);
}

void TestWiring::creditsClickOpensTheHomeAddress()
{
    UrlRecorder opened(OpenedSchemes);
    Form1 form(QStringLiteral("127.0.0.1:9"));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    // The load event, right after the first frame, brings the banner in.
    QTRY_VERIFY(form.banner());
    QTest::mouseClick(form.findChild<QLabel *>("Label1"), Qt::LeftButton);
    QCOMPARE(opened.opened(), QList<QUrl>{QUrl(QStringLiteral("http://127.0.0.1:9"))});
}

void TestWiring::bannerClickWithoutAPageOpensNothing()
{
    UrlRecorder opened(OpenedSchemes);
    Form1 form(QStringLiteral("127.0.0.1:9"));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    // The load event, right after the first frame, brings the banner in.
    QTRY_VERIFY(form.banner());
    QTest::mouseClick(form.findChild<QWidget *>("Picture1"), Qt::LeftButton);
    QTest::keyClick(form.findChild<QWidget *>("Picture1"), Qt::Key_Space);
    QVERIFY(opened.opened().isEmpty());
}

void TestWiring::bannerClickOpensThePageLink()
{
    UrlRecorder opened(OpenedSchemes);
    FakeHttpServer server;
    QVERIFY(server.listen());
    server.setRoute(
        "/zintu/zintu.htm",
        FakeHttpServer::answer("<html><body><p>http://127.0.0.1:1/landing</p></body></html>",
                               "text/html"));
    Form1 form(server.host());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTRY_VERIFY_WITH_TIMEOUT(form.banner() && !form.banner()->pageText().isEmpty(), 5000);
    QTest::mouseClick(form.findChild<QWidget *>("Picture1"), Qt::LeftButton);
    QCOMPARE(opened.opened(), QList<QUrl>{QUrl(QStringLiteral("http://127.0.0.1:1/landing"))});
}

QTEST_MAIN(TestWiring)
#include "tst_wiring.moc"
