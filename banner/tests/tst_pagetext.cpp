#include "banner/hiddenpage.h"
#include "banner/inertdocument.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>

using tarvell::HiddenPage;
using tarvell::InertDocument;

namespace {

bool firstCharacterIsBold(QTextDocument &document)
{
    QTextCursor cursor(&document);
    cursor.movePosition(QTextCursor::NextCharacter);
    return cursor.charFormat().fontWeight() >= QFont::Bold;
}

} // namespace

class TestPageText : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void readerSeesThePageText_data();
    void readerSeesThePageText();
    void localResourcesAreNeverRead_data();
    void localResourcesAreNeverRead();

private:
    QTemporaryDir m_dir;
};

void TestPageText::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

void TestPageText::readerSeesThePageText_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QByteArray>("contentType");
    QTest::addColumn<QString>("text");

    const QByteArray html = "text/html";
    QTest::newRow("entities decoded")
        << QByteArray("a&amp;b&lt;c&#x4e2d;&nbsp;d") << html << QStringLiteral("a&b<c\u4e2d d");
    QTest::newRow("markup dropped")
        << QByteArray("<html><body><p><b>bold</b> <a href='x'>link</a></p></body></html>") << html
        << QStringLiteral("bold link");
    QTest::newRow("script and style dropped")
        << QByteArray("<style>p { color: red }</style><script>var a = 'hidden';</script>shown")
        << html << QStringLiteral("shown");
    QTest::newRow("title not part of the text")
        << QByteArray("<html><head><title>Maker</title></head><body>body</body></html>") << html
        << QStringLiteral("body");
    QTest::newRow("table cells on lines of their own")
        << QByteArray("<table><tr><td>http://a.example/</td><td>x</td></tr>"
                      "<TR><TD colspan=99999 rowspan=99999>y</TD></TR></table>")
        << html << QStringLiteral("http://a.example/\nx\ny");
    QTest::newRow("table tags told from look-alikes")
        << QByteArray("<Table><tR><Th>a</Th><td-x>b</td-x><tdx>c</tdx></tR>"
                      "<COLGROUP><col span=9></COLGROUP><tr><td>d</td></tr></Table>")
        << html << QStringLiteral("abc\nd");
    // 中文 in GBK, spelled out: not every build of Qt has an encoder for it.
    const QByteArray gbk("\xd6\xd0\xce\xc4");
    QTest::newRow("charset from the header")
        << gbk << QByteArray("text/html; charset=GBK") << QStringLiteral("\u4e2d\u6587");
    QTest::newRow("charset from the page")
        << QByteArray("<html><head><meta charset=\"gbk\"></head><body>") + gbk + "</body></html>"
        << html << QStringLiteral("\u4e2d\u6587");
    QTest::newRow("UTF-8 when nothing is declared")
        << QStringLiteral("\u4e2d\u6587").toUtf8() << QByteArray()
        << QStringLiteral("\u4e2d\u6587");
    QTest::newRow("unknown charset falls back")
        << QByteArray("plain") << QByteArray("text/html; charset=no-such-charset")
        << QStringLiteral("plain");
    QTest::newRow("plain text kept as it is")
        << QByteArray(" a <b>  c\n") << QByteArray("text/plain; charset=utf-8")
        << QStringLiteral(" a <b>  c\n");
}

void TestPageText::readerSeesThePageText()
{
    QFETCH(QByteArray, body);
    QFETCH(QByteArray, contentType);
    QFETCH(QString, text);
    QCOMPARE(HiddenPage::readableText(body, contentType), text);
}

void TestPageText::localResourcesAreNeverRead_data()
{
    QTest::addColumn<QString>("html");

    const QString styleSheet = m_dir.filePath(QStringLiteral("bold.css"));
    QFile css(styleSheet);
    QVERIFY(css.open(QIODevice::WriteOnly) && css.write("p { font-weight: bold }") > 0);
    css.close();
    const QString url = QUrl::fromLocalFile(styleSheet).toString();

    QTest::newRow("style sheet link")
        << QStringLiteral("<html><head><link rel=stylesheet type=\"text/css\" href=\"%1\">"
                          "</head><body><p>text</p></body></html>")
               .arg(url);
    QTest::newRow("@import") << QStringLiteral("<html><head><style>@import url(\"%1\");</style>"
                                               "</head><body><p>text</p></body></html>")
                                    .arg(url);
    QTest::newRow("data: style sheet")
        << QStringLiteral("<html><head><link rel=stylesheet type=\"text/css\" "
                          "href=\"data:text/css,p%20%7B%20font-weight%3A%20bold%20%7D\">"
                          "</head><body><p>text</p></body></html>");
}

void TestPageText::localResourcesAreNeverRead()
{
    QFETCH(QString, html);

    // A stock document does read the style sheet: the page is a fair test of the inert one.
    QTextDocument stock;
    stock.setHtml(html);
    QVERIFY(firstCharacterIsBold(stock));

    InertDocument inert;
    inert.setHtml(html);
    QVERIFY(!firstCharacterIsBold(inert));
    QCOMPARE(inert.toPlainText(), QStringLiteral("text"));
}

QTEST_MAIN(TestPageText)
#include "tst_pagetext.moc"
