#include "banner/fetchlimits.h"
#include "banner/hiddenpage.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using tarvell::HiddenPage;

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
        << html << QStringLiteral("http://a.example/\tx\ny");
    QTest::newRow("table tags told from look-alikes")
        << QByteArray("<Table><tR><Th>a</Th><td-x>b</td-x><tdx>c</tdx></tR>"
                      "<COLGROUP><col span=9></COLGROUP><tr><td>d</td></tr></Table>")
        << html << QStringLiteral("bc\na\nd");
    QTest::newRow("lines as a browser copies them")
        << QByteArray("<div> a  \n b </div><p>c<br> d</p><pre> e\n  f</pre><ul><li>g<li>h</ul>")
        << html << QStringLiteral("a b\n\nc\nd\n\n e\n  f\ng\nh");
    QTest::newRow("hidden content dropped")
        << QByteArray("<p hidden>x</p><!-- y -->z<noscript>w</noscript><template>v</template>")
        << html << QStringLiteral("z");
    QTest::newRow("table in a cell")
        << QByteArray("<table><tr><td>a<table><tr><td>b</td><td>c</td></tr></table></td>"
                      "<td>d</td></tr></table>")
        << html << QStringLiteral("a\nb\tc\n\td");
    QTest::newRow("caption and row groups")
        << QByteArray("<table><caption>cap</caption><thead><tr><th>h</th></tr></thead>"
                      "<tbody><tr><td>x</td></tr></tbody></table>")
        << html << QStringLiteral("cap\nh\nx");
    QTest::newRow("text misplaced in a table goes before it")
        << QByteArray("<table>x<tr><td>y</td></tr></table>") << html << QStringLiteral("x\ny");
    QTest::newRow("blocks inside inline elements")
        << QByteArray("<span>a<div>b</div>c</span>\n<span>d</span> <i>e</i>") << html
        << QStringLiteral("a\nb\nc d e");
    QTest::newRow("first line break of pre dropped")
        << QByteArray("<pre>\nx\ty</pre>") << html << QStringLiteral("x\ty");
    QTest::newRow("SVG shows text but not scripts")
        << QByteArray("<svg><script>s</script><title>n</title><text>t</text></svg>") << html
        << QStringLiteral("t");
    QTest::newRow("nesting thousands deep")
        << QByteArray("<div>").repeated(3000) + "http://a.example/" << html
        << QStringLiteral("http://a.example/");
    // Spellings that once made a table of Qt's grid: a browser's parser takes a tag only where
    // a letter follows "<", and knows no character reference in a tag's name.
    const auto rows = [](const char *first, const char *row, int count) {
        return QByteArray(first) + QByteArray(row).repeated(count);
    };
    QTest::newRow("space after <")
        << rows("< table>< tr>< td colspan=20000>a", "< tr>< td>b", 300) << html
        << QString::fromLatin1(rows("< table>< tr>< td colspan=20000>a", "< tr>< td>b", 300));
    QTest::newRow("tab after <")
        << rows("<\ttable><\ttr><\ttd colspan=20000>a", "<\ttr><\ttd>b", 300) << html
        << QString::fromLatin1(rows("< table>< tr>< td colspan=20000>a", "< tr>< td>b", 300));
    QTest::newRow("quoted tag names")
        << rows("<\"table\"><\"tr\"><\"td\" colspan=20000>a", "<\"tr\"><\"td\">b", 300) << html
        << QString::fromLatin1(
               rows("<\"table\"><\"tr\"><\"td\" colspan=20000>a", "<\"tr\"><\"td\">b", 300));
    // An unknown element in a row goes before the table; the rows are left empty.
    QTest::newRow("reference in a tag name")
        << rows("<table><tr><t&#100; colspan=20000>a", "<tr><t&#100;>b", 300) << html
        << QStringLiteral("a") + QStringLiteral("b").repeated(300) + QString(301, u'\n');
    QTest::newRow("real cells spanning far")
        << rows("<table><tr><td colspan=20000>a", "<tr><td>b", 300) << html
        << QStringLiteral("a") + QStringLiteral("\nb").repeated(300);
    const QByteArray widest =
        rows("<table><tr><td colspan=99999 rowspan=99999>a", "<tr><td>b", 1400);
    QVERIFY(widest.size() <= tarvell::FetchLimits::forPage().maxBytes);
    QTest::newRow("widest span within the size cap")
        << widest << html << QStringLiteral("a") + QStringLiteral("\nb").repeated(1400);
    // 中文 in GBK, spelled out: not every build of Qt has an encoder for it.
    const QByteArray gbk("\xd6\xd0\xce\xc4");
    QTest::newRow("charset from the header")
        << gbk << QByteArray("text/html; charset=GBK") << QStringLiteral("\u4e2d\u6587");
    QTest::newRow("charset from the page")
        << QByteArray("<html><head><meta charset=\"gbk\"></head><body>") + gbk + "</body></html>"
        << html << QStringLiteral("\u4e2d\u6587");
    QTest::newRow("meta charset after a line break")
        << QByteArray("<meta\ncharset=\"gbk\">") + gbk << html << QStringLiteral("\u4e2d\u6587");
    QTest::newRow("meta content type")
        << QByteArray("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gbk\">") + gbk
        << html << QStringLiteral("\u4e2d\u6587");
    QTest::newRow("meta content without the pragma")
        << QByteArray("<meta content=\"text/html; charset=gbk\">\xc3\xa9") << html
        << QStringLiteral("\u00e9");
    QTest::newRow("label alias") << QByteArray("<meta charset=chinese>") + gbk << html
                                 << QStringLiteral("\u4e2d\u6587");
    QTest::newRow("latin1 is windows-1252")
        << QByteArray("\x80") << QByteArray("text/html; charset=latin1")
        << QStringLiteral("\u20ac");
    QTest::newRow("byte order mark beats the header")
        << QByteArray("\xef\xbb\xbf\xe4\xb8\xad") << QByteArray("text/html; charset=gbk")
        << QStringLiteral("\u4e2d");
    QTest::newRow("UTF-16 byte order mark")
        << QByteArray("\xff\xfe\x2d\x4e", 4) << QByteArray("text/html; charset=gbk")
        << QStringLiteral("\u4e2d");
    QTest::newRow("header beats meta")
        << QByteArray("<meta charset=utf-8>") + gbk << QByteArray("text/html; charset=GBK")
        << QStringLiteral("\u4e2d\u6587");
    QTest::newRow("unknown header label falls through to meta")
        << QByteArray("<meta charset=gbk>") + gbk << QByteArray("text/html; charset=no-such")
        << QStringLiteral("\u4e2d\u6587");
    QTest::newRow("meta inside a comment or attribute is not read")
        << QByteArray("<!-- <meta charset=gbk> --><a title=\"<meta charset=gbk>\">\xc3\xa9</a>")
        << html << QStringLiteral("\u00e9");
    QTest::newRow("meta after the first KiB ignored")
        << QByteArray(1024, ' ') + "<meta charset=gbk>\xc3\xa9" << html << QStringLiteral("\u00e9");
    QTest::newRow("meta charset overrides its content")
        << QByteArray("<meta content=\"text/html; charset=utf-8\" http-equiv=content-type "
                      "charset=gbk>") +
               gbk
        << html << QStringLiteral("\u4e2d\u6587");
    QTest::newRow("meta attribute repeated") << QByteArray("<meta charset=gbk charset=utf-8>") + gbk
                                             << html << QStringLiteral("\u4e2d\u6587");
    QTest::newRow("meta with a slash")
        << QByteArray("<meta/charset=gbk>") + gbk << html << QStringLiteral("\u4e2d\u6587");
    QTest::newRow("label trimmed and case-blind")
        << QByteArray("<meta charset=\" GbK\t\">") + gbk << html << QStringLiteral("\u4e2d\u6587");
    QTest::newRow("no meta without a space after it")
        << QByteArray("<metacharset=gbk>\xc3\xa9") << html << QStringLiteral("\u00e9");
    QTest::newRow("unmatched quote in meta content")
        << QByteArray("<meta http-equiv=content-type content='text/html; charset=\"gbk'>\xc3\xa9")
        << html << QStringLiteral("\u00e9");
    QTest::newRow("meta cut off by the first KiB's end")
        << QByteArray(1010, ' ') + "<meta charset=gbk>\xc3\xa9" << html << QStringLiteral("\u00e9");
    QTest::newRow("meta UTF-16 read as UTF-8")
        << QByteArray("<meta charset=utf-16le>\xc3\xa9") << html << QStringLiteral("\u00e9");
    QTest::newRow("meta x-user-defined read as windows-1252")
        << QByteArray("<meta charset=x-user-defined>\x80") << html << QStringLiteral("\u20ac");
    QTest::newRow("header x-user-defined")
        << QByteArray("a\x80") << QByteArray("text/html; charset=x-user-defined")
        << QStringLiteral("a\uf780");
    QTest::newRow("header quoted")
        << gbk << QByteArray("text/html; charset=\"gbk\"") << QStringLiteral("\u4e2d\u6587");
    QTest::newRow("encoding no browser decodes")
        << QByteArray("<meta charset=utf-8>abc") << QByteArray("text/html; charset=iso-2022-kr")
        << QStringLiteral("\ufffd");
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
    // Nothing a page names is opened: its text is all that is made of it.
    QCOMPARE(HiddenPage::readableText(html.toUtf8(), "text/html"), QStringLiteral("text"));
}

QTEST_MAIN(TestPageText)
#include "tst_pagetext.moc"
