#include "banner/bannercache.h"
#include "banner/networkaccess.h"
#include "banner/pictureloader.h"
#include "testpictures.h"

#include <QAbstractSocket>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using tarvell::NetworkAccess;
using tarvell::PictureLoader;
using tarvell::test::TestPictures;

class TestPictureLoader : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void localFile_data();
    void localFile();
    void newerLoadDropsTheDecodingUnderWay();

private:
    QString write(const QString &name, const QByteArray &bytes);

    QTemporaryDir m_dir;
};

void TestPictureLoader::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

QString TestPictureLoader::write(const QString &name, const QByteArray &bytes)
{
    const QString path = m_dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return path;
}

void TestPictureLoader::localFile_data()
{
    QTest::addColumn<QString>("strFileName");
    // The colour the picture must show; invalid for no picture.
    QTest::addColumn<QColor>("colour");

    const QString jpeg = write(QStringLiteral("banner.jpg"), TestPictures::encoded(Qt::blue));
    QTest::newRow("JPEG file") << jpeg << QColor(Qt::blue);
    QTest::newRow("file: address") << QUrl::fromLocalFile(jpeg).toString() << QColor(Qt::blue);
    // The content decides, not the name: only JPEG, GIF and BMP make a picture.
    QTest::newRow("GIF file named .jpg")
        << write(QStringLiteral("banner.gif.jpg"),
                 TestPictures::encoded(Qt::green, TestPictures::BannerSize, "GIF"))
        << QColor(Qt::green);
    QTest::newRow("PNG file") << write(QStringLiteral("banner.png"),
                                       TestPictures::encoded(Qt::green, TestPictures::BannerSize,
                                                             "PNG"))
                              << QColor();
    QTest::newRow("name with a space and a colon")
        << write(QStringLiteral("my banner:1.jpg"), TestPictures::encoded(Qt::red))
        << QColor(Qt::red);
    QTest::newRow("missing file") << m_dir.filePath(QStringLiteral("missing.jpg")) << QColor();
    QTest::newRow("text file") << write(QStringLiteral("notes.jpg"), "just some words") << QColor();
    QTest::newRow("empty file") << write(QStringLiteral("empty.jpg"), QByteArray()) << QColor();
    QTest::newRow("directory") << m_dir.path() << QColor();
    QTest::newRow("header announcing 60000 x 60000")
        << write(QStringLiteral("bomb.jpg"), TestPictures::announcing("JPEG", 60000, 60000))
        << QColor();
    // Within the allocation limit, but no banner is that wide.
    QTest::newRow("header announcing 5000 x 10")
        << write(QStringLiteral("wide.jpg"), TestPictures::announcing("JPEG", 5000, 10))
        << QColor();
    QTest::newRow("empty name") << QString() << QColor();
}

void TestPictureLoader::localFile()
{
    QFETCH(QString, strFileName);
    QFETCH(QColor, colour);

    NetworkAccess network;
    PictureLoader loader(&network);
    QSignalSpy loaded(&loader, &PictureLoader::pictureLoaded);
    loader.LoadPicture(strFileName);

    // A local file answers once decoded aside, with no network involved; a missing one too.
    QVERIFY(loader.isLoading());
    QVERIFY(loaded.wait(5000));
    QCOMPARE(loaded.size(), 1);
    QVERIFY(!loader.isLoading());
    const QImage picture = loaded.at(0).at(0).value<QImage>();
    if (colour.isValid())
        QVERIFY(TestPictures::isPlain(picture, colour));
    else
        QVERIFY(picture.isNull());
    QVERIFY(network.findChildren<tarvell::BannerCache *>().isEmpty());
    QVERIFY(network.findChildren<QAbstractSocket *>().isEmpty());
}

void TestPictureLoader::newerLoadDropsTheDecodingUnderWay()
{
    const QString first = write(QStringLiteral("first.jpg"), TestPictures::encoded(Qt::red));
    const QString second = write(QStringLiteral("second.jpg"), TestPictures::encoded(Qt::blue));
    NetworkAccess network;
    PictureLoader loader(&network);
    QSignalSpy loaded(&loader, &PictureLoader::pictureLoaded);
    loader.LoadPicture(first);
    loader.LoadPicture(second);

    // One thread decodes in order: had the first come, it would have come before the second.
    QVERIFY(loaded.wait(5000));
    QCOMPARE(loaded.size(), 1);
    QVERIFY(TestPictures::isPlain(loaded.at(0).at(0).value<QImage>(), Qt::blue));
}

QTEST_MAIN(TestPictureLoader)
#include "tst_pictureloader.moc"
