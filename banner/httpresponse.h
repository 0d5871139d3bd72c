#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <utility>

namespace tarvell {

// An HTTP/1.x answer read as its bytes come, with no socket: fed whatever the server sends, in
// pieces of any size, it either ends whole or fails. Every limit holds whatever comes, so the
// work and memory it takes grow with what it was fed and never beyond the limits.
class HttpResponse
{
public:
    // Longest status, header or trailer line, without its line end.
    static constexpr qsizetype MaxLineBytes = 8 * 1024;
    // All header lines of an answer together, interim (1xx) answers included.
    static constexpr int MaxHeaderLines = 100;
    // All heads of an answer together, line ends included; trailers have their own as much.
    static constexpr qsizetype MaxHeadBytes = 32 * 1024;
    // A chunk's size line, with any extensions.
    static constexpr qsizetype MaxChunkLineBytes = 1024;

    enum class State { Head, Body, Done, Failed };

    using Header = std::pair<QByteArray, QByteArray>;

    // A body larger than maxBody fails, and fails as soon as its size shows.
    explicit HttpResponse(qint64 maxBody);

    // Takes the next bytes the server sent. Once Done or Failed, more bytes change nothing.
    State feed(QByteArrayView bytes);
    // The connection ended: a body that runs until the close is then whole, anything else
    // unfinished fails.
    State finish();

    State state() const { return m_state; }
    // Whether the final answer's head is complete (status and headers known).
    bool hasHead() const { return m_state == State::Body || m_state == State::Done; }
    int status() const { return m_status; }
    // Header names in lower case, values without surrounding white space, in the order sent.
    const QList<Header> &headers() const { return m_headers; }
    // The first value of a header, empty when absent.
    QByteArray header(QByteArrayView lowerCaseName) const;
    // All values of a header, list items of repeated headers and of comma lists alike.
    QList<QByteArray> headerList(QByteArrayView lowerCaseName) const;
    // The body as far as it has come; whole once Done.
    const QByteArray &body() const { return m_body; }

private:
    enum class Step {
        StatusLine,
        HeaderLine,
        LengthBody,
        CloseBody,
        ChunkSize,
        ChunkData,
        ChunkEnd,
        TrailerLine
    };

    // Consumes bytes up to and including the next line end, or all of them when there is none;
    // returns the consumed count, or -1 for a line that breaks its limit. A complete line is
    // left in m_line and flagged in m_lineDone.
    qsizetype takeLine(QByteArrayView bytes, qsizetype limit);
    bool onLine();
    bool onStatusLine();
    bool onHeaderLine(bool trailer);
    bool onHeadEnd();
    bool onChunkSizeDigits(QByteArrayView line);
    bool appendBody(QByteArrayView bytes);
    State fail();

    qint64 m_maxBody;
    State m_state = State::Head;
    Step m_step = Step::StatusLine;
    QByteArray m_line;
    bool m_lineDone = false;
    qsizetype m_headBytes = 0;
    int m_headerLines = 0;
    qsizetype m_trailerBytes = 0;
    int m_trailerLines = 0;
    int m_status = 0;
    QList<Header> m_headers;
    // Bytes of the body (LengthBody) or of the chunk (ChunkData) still to come.
    qint64 m_remaining = 0;
    QByteArray m_body;
};

} // namespace tarvell
