// The window's events reach the banner: the load event after the first frame, the timer's
// ticks, and the two clicks. A local server stands in for the maker's site.
#include "ui/form1.h"
#include "ui/picturebox.h"

#include <QDesktopServices>
#include <QLabel>
#include <QLibraryInfo>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

using namespace tarvell;

// Records the URLs the desktop was asked to open, for every scheme we care about.
class OpenedUrls : public QObject
{
    Q_OBJECT
public:
    OpenedUrls()
    {
        for (const char *scheme : {"http", "https", "file"})
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "open");
    }
    ~OpenedUrls() override
    {
        for (const char *scheme : {"http", "https", "file"})
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }
    QList<QUrl> urls;

public Q_SLOTS:
    void open(const QUrl &url) { urls << url; }
};

// Accepts connections on 127.0.0.1, keeps the first line of every request, serves `page` at
// the banner page's path and 404 for everything else.
class RequestLog : public QObject
{
    Q_OBJECT
public:
    RequestLog()
    {
        m_server.listen(QHostAddress::LocalHost);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                socket->setParent(this);
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
                    if (!socket->canReadLine())
                        return;
                    const QString line = QString::fromLatin1(socket->readLine()).trimmed();
                    lines << line;
                    const bool isPage = line.startsWith("GET /zintu/zintu.htm ") && !page.isEmpty();
                    const QByteArray body = isPage ? page : QByteArray();
                    socket->write((isPage ? "HTTP/1.1 200 OK\r\n" : "HTTP/1.1 404 Not Found\r\n") +
                                  QByteArray("Content-Type: text/html\r\nContent-Length: ") +
                                  QByteArray::number(body.size()) +
                                  "\r\nConnection: close\r\n\r\n" + body);
                    socket->disconnectFromHost();
                });
            }
        });
    }
    QString host() const { return QStringLiteral("127.0.0.1:%1").arg(m_server.serverPort()); }
    QStringList lines;
    QByteArray page;

private:
    QTcpServer m_server;
};

class TestWiring : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // First: once a window has loaded the banner module, it stays loaded.
    void withoutItsModuleTheBannerStaysStill();
    void pageIsRequestedOnlyOnceTheWindowIsShown();
    void timerTicksRotateTheBanner();
    void creditsClickOpensTheHomeAddress();
    void bannerClickWithoutAPageOpensNothing();
    void bannerClickOpensThePageLink();
};

void TestWiring::withoutItsModuleTheBannerStaysStill()
{
    // Only Qt's own plugins, as on a machine where the module is missing.
    const QStringList paths = QCoreApplication::libraryPaths();
    QCoreApplication::setLibraryPaths({QLibraryInfo::path(QLibraryInfo::PluginsPath)});
    const auto restore = qScopeGuard([&paths] { QCoreApplication::setLibraryPaths(paths); });
    OpenedUrls opened;
    RequestLog log;
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("banner module .* could not be loaded"));
    Form1 form(log.host());
    QSignalSpy ticks(form.findChild<QTimer *>("Timer1"), &QTimer::timeout);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(ticks.wait(5000));
    QTest::mouseClick(form.findChild<QWidget *>("Picture1"), Qt::LeftButton);
    QTest::mouseClick(form.findChild<QLabel *>("Label1"), Qt::LeftButton);

    QCOMPARE(form.banner(), nullptr);
    QCOMPARE(form.findChild<PictureBox *>("Picture1")->picture(), QImage(":/banner.bmp"));
    QVERIFY(log.lines.isEmpty());
    QVERIFY(opened.urls.isEmpty());
}

void TestWiring::pageIsRequestedOnlyOnceTheWindowIsShown()
{
    RequestLog log;
    Form1 form(log.host());
    QTest::qWait(200);
    QVERIFY(log.lines.isEmpty());
    // The banner module is loaded only once there is a frame on screen.
    QCOMPARE(form.banner(), nullptr);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTRY_COMPARE_WITH_TIMEOUT(log.lines.value(0), QStringLiteral("GET /zintu/zintu.htm HTTP/1.1"),
                              5000);
}

void TestWiring::timerTicksRotateTheBanner()
{
    RequestLog log;
    Form1 form(log.host());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    // The first tick comes 1300 ms after creation and asks for picture 1.
    QTRY_COMPARE_WITH_TIMEOUT(form.banner() ? form.banner()->BannerNo() : -1, 1, 5000);
    QTRY_VERIFY_WITH_TIMEOUT(log.lines.contains("GET /zintu/1.jpg HTTP/1.1"), 5000);
    // A picture that cannot be had leaves the banner empty.
    const auto *banner = form.findChild<PictureBox *>("Picture1");
    QTRY_VERIFY_WITH_TIMEOUT(banner->picture().isNull(), 5000);
}

void TestWiring::creditsClickOpensTheHomeAddress()
{
    OpenedUrls opened;
    Form1 form(QStringLiteral("127.0.0.1:9"));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    // The load event, right after the first frame, brings the banner in.
    QTRY_VERIFY(form.banner());
    QTest::mouseClick(form.findChild<QLabel *>("Label1"), Qt::LeftButton);
    QCOMPARE(opened.urls, QList<QUrl>{QUrl(QStringLiteral("http://127.0.0.1:9"))});
}

void TestWiring::bannerClickWithoutAPageOpensNothing()
{
    OpenedUrls opened;
    Form1 form(QStringLiteral("127.0.0.1:9"));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    // The load event, right after the first frame, brings the banner in.
    QTRY_VERIFY(form.banner());
    QTest::mouseClick(form.findChild<QWidget *>("Picture1"), Qt::LeftButton);
    QTest::keyClick(form.findChild<QWidget *>("Picture1"), Qt::Key_Space);
    QVERIFY(opened.urls.isEmpty());
}

void TestWiring::bannerClickOpensThePageLink()
{
    OpenedUrls opened;
    RequestLog log;
    log.page = "<html><body><p>http://127.0.0.1:1/landing</p></body></html>";
    Form1 form(log.host());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTRY_VERIFY_WITH_TIMEOUT(form.banner() && !form.banner()->pageText().isEmpty(), 5000);
    QTest::mouseClick(form.findChild<QWidget *>("Picture1"), Qt::LeftButton);
    QCOMPARE(opened.urls, QList<QUrl>{QUrl(QStringLiteral("http://127.0.0.1:1/landing"))});
}

QTEST_MAIN(TestWiring)
#include "tst_wiring.moc"
