// The answer parser alone: its limits at the bound and one past it, the framings it takes, and
// that how the bytes are split never changes the outcome.
#include "banner/httpresponse.h"

#include <QTest>

using tarvell::HttpResponse;

class TestHttpResponse : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void parse_data();
    void parse();
};

namespace {

constexpr qint64 Cap = 1000;

QByteArray ok(const QByteArray &headers, const QByteArray &rest = {})
{
    return "HTTP/1.1 200 OK\r\n" + headers + "\r\n" + rest;
}

QByteArray lengthOf(qsizetype size)
{
    return "Content-Length: " + QByteArray::number(size) + "\r\n";
}

QByteArray headerLines(int count)
{
    QByteArray lines;
    for (int line = 0; line < count; ++line)
        lines += "X-N: " + QByteArray::number(line) + "\r\n";
    return lines;
}

} // namespace

void TestHttpResponse::parse_data()
{
    QTest::addColumn<QByteArray>("input");
    // The body of a whole answer; a null array for one that must fail.
    QTest::addColumn<QByteArray>("body");

    const QByteArray fail;
    const QByteArray hello = "hello";
    const QByteArray chunked = "Transfer-Encoding: chunked\r\n";
    const qsizetype headerRoom = HttpResponse::MaxLineBytes - 3;

    QTest::newRow("Content-Length") << ok(lengthOf(5), hello + "ignored") << hello;
    QTest::newRow("HTTP/1.0, until the close")
        << "HTTP/1.0 200 OK\r\n\r\nhello" + QByteArray() << hello;
    QTest::newRow("bare LF line ends, no reason") << QByteArray("HTTP/1.1 200\n\nhello") << hello;
    QTest::newRow("HTTP/2 status line") << QByteArray("HTTP/2 200 OK\r\n\r\nhello") << fail;
    QTest::newRow("status line with 2 digits") << QByteArray("HTTP/1.1 20 OK\r\n\r\nhi") << fail;
    QTest::newRow("bare CR inside a header") << ok("X-A: b\rc\r\n", hello) << fail;

    QTest::newRow("header line at the bound")
        << ok("X: " + QByteArray(headerRoom, 'a') + "\r\n" + lengthOf(5), hello) << hello;
    QTest::newRow("header line one past the bound")
        << ok("X: " + QByteArray(headerRoom + 1, 'a') + "\r\n" + lengthOf(5), hello) << fail;
    QTest::newRow("header lines at the bound")
        << ok(headerLines(HttpResponse::MaxHeaderLines - 1) + lengthOf(5), hello) << hello;
    QTest::newRow("header lines one past the bound")
        << ok(headerLines(HttpResponse::MaxHeaderLines) + lengthOf(5), hello) << fail;
    QByteArray bigHead;
    for (int line = 0; line < 5; ++line)
        bigHead += "X: " + QByteArray(7000, 'a') + "\r\n";
    QTest::newRow("head block over its bound") << ok(bigHead + lengthOf(5), hello) << fail;
    QTest::newRow("folded header") << ok("X-A: b\r\n c\r\n" + lengthOf(5), hello) << fail;
    QTest::newRow("space before the colon") << ok("X-A : b\r\n" + lengthOf(5), hello) << fail;

    QTest::newRow("100 Continue first")
        << "HTTP/1.1 100 Continue\r\n\r\n" + ok(lengthOf(5), hello) << hello;
    QTest::newRow("101 Switching Protocols")
        << "HTTP/1.1 101 Switching Protocols\r\n\r\n" + ok(lengthOf(5), hello) << fail;
    QTest::newRow("interim heads count towards the header lines")
        << "HTTP/1.1 103 Early Hints\r\n" + headerLines(60) + "\r\n" +
               ok(headerLines(60) + lengthOf(5), hello)
        << fail;

    QTest::newRow("Content-Length twice, agreeing")
        << ok(lengthOf(5) + lengthOf(5), hello) << hello;
    QTest::newRow("Content-Length twice, conflicting")
        << ok(lengthOf(5) + lengthOf(6), hello) << fail;
    QTest::newRow("Content-Length as a list") << ok("Content-Length: 5, 5\r\n", hello) << fail;
    QTest::newRow("Content-Length with a sign") << ok("Content-Length: +5\r\n", hello) << fail;
    QTest::newRow("Content-Length at the cap")
        << ok(lengthOf(Cap), QByteArray(Cap, 'x')) << QByteArray(Cap, 'x');
    QTest::newRow("Content-Length one past the cap") << ok(lengthOf(Cap + 1)) << fail;
    QTest::newRow("Content-Length of 20 digits")
        << ok("Content-Length: 18446744073709551621\r\n", hello) << fail;
    QTest::newRow("cut short before the length") << ok(lengthOf(6), hello) << fail;
    QTest::newRow("until the close, one past the cap") << ok({}, QByteArray(Cap + 1, 'x')) << fail;
    QTest::newRow("head never ends") << QByteArray("HTTP/1.1 200 OK\r\nX: y\r\n") << fail;

    QTest::newRow("chunked, with extensions and trailers")
        << ok(chunked, "2;name=value\r\nhe\r\n3 ; x\r\nllo\r\n0\r\nX-Trailer: t\r\n\r\n") << hello;
    QTest::newRow("chunked, upper-case hex")
        << ok(chunked, "A\r\n0123456789\r\n0\r\n\r\n") << QByteArray("0123456789");
    QTest::newRow("chunked, cut short") << ok(chunked, "5\r\nhello\r\n") << fail;
    QTest::newRow("chunk without its CRLF") << ok(chunked, "5\r\nhelloX\r\n0\r\n\r\n") << fail;
    QTest::newRow("chunk size not hex") << ok(chunked, "g\r\n") << fail;
    QTest::newRow("chunks up to the cap")
        << ok(chunked, "1f4\r\n" + QByteArray(500, 'x') + "\r\n1f4\r\n" + QByteArray(500, 'y') +
                           "\r\n0\r\n\r\n")
        << QByteArray(500, 'x') + QByteArray(500, 'y');
    QTest::newRow("chunks one past the cap")
        << ok(chunked, "1f4\r\n" + QByteArray(500, 'x') + "\r\n1f5\r\n") << fail;
    QTest::newRow("chunk size that overflows 64 bits")
        << ok(chunked, "10000000000000000005\r\nhello\r\n0\r\n\r\n") << fail;
    QTest::newRow("chunk-size line at the bound")
        << ok(chunked, "5;" + QByteArray(HttpResponse::MaxChunkLineBytes - 2, 'e') +
                           "\r\nhello\r\n0\r\n\r\n")
        << hello;
    QTest::newRow("chunk-size line one past the bound")
        << ok(chunked, "5;" + QByteArray(HttpResponse::MaxChunkLineBytes - 1, 'e') +
                           "\r\nhello\r\n0\r\n\r\n")
        << fail;
    QTest::newRow("trailers over their bound")
        << ok(chunked, "0\r\n" + headerLines(HttpResponse::MaxHeaderLines + 1) + "\r\n") << fail;
    QTest::newRow("chunked along with a length")
        << ok(chunked + lengthOf(5), "5\r\nhello\r\n0\r\n\r\n") << fail;
    QTest::newRow("transfer coding other than chunked")
        << ok("Transfer-Encoding: gzip, chunked\r\n", "5\r\nhello\r\n0\r\n\r\n") << fail;
    QTest::newRow("transfer coding identity")
        << ok("Transfer-Encoding: identity\r\n", hello) << fail;
}

void TestHttpResponse::parse()
{
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, body);

    // All at once, then a byte at a time: the outcome must not depend on the split.
    for (const qsizetype step : {input.size(), qsizetype(1)}) {
        HttpResponse response(Cap);
        for (qsizetype at = 0; at < input.size(); at += step)
            response.feed(QByteArrayView(input).sliced(at, qMin(step, input.size() - at)));
        const HttpResponse::State state = response.finish();
        QCOMPARE(state == HttpResponse::State::Done, !body.isNull());
        QCOMPARE(response.body(), body.isNull() ? QByteArray() : body);
        QVERIFY(response.body().size() <= Cap);
    }
}

QTEST_MAIN(TestHttpResponse)
#include "tst_httpresponse.moc"
