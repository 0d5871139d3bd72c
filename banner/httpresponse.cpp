#include "banner/httpresponse.h"

#include <algorithm>

namespace tarvell {

namespace {

bool isTokenChar(char c)
{
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
        return true;
    return QByteArrayView("!#$%&'*+-.^_`|~").contains(c);
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

int hexValue(char c)
{
    if (isDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

QByteArrayView trimmed(QByteArrayView text)
{
    while (!text.isEmpty() && (text.front() == ' ' || text.front() == '\t'))
        text = text.sliced(1);
    while (!text.isEmpty() && (text.back() == ' ' || text.back() == '\t'))
        text.chop(1);
    return text;
}

// A plain decimal, as Content-Length must be; -1 for anything else or more than any cap.
qint64 plainDecimal(QByteArrayView text)
{
    // 18 digits cannot overflow a qint64.
    if (text.isEmpty() || text.size() > 18)
        return -1;
    qint64 value = 0;
    for (const char c : text) {
        if (!isDigit(c))
            return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

} // namespace

HttpResponse::HttpResponse(qint64 maxBody) : m_maxBody(maxBody) {}

QByteArray HttpResponse::header(QByteArrayView lowerCaseName) const
{
    for (const auto &[name, value] : m_headers) {
        if (name == lowerCaseName)
            return value;
    }
    return {};
}

QList<QByteArray> HttpResponse::headerList(QByteArrayView lowerCaseName) const
{
    QList<QByteArray> items;
    for (const auto &[name, value] : m_headers) {
        if (name != lowerCaseName)
            continue;
        for (const QByteArray &item : value.split(',')) {
            const QByteArrayView bare = trimmed(item);
            if (!bare.isEmpty())
                items.append(bare.toByteArray());
        }
    }
    return items;
}

HttpResponse::State HttpResponse::feed(QByteArrayView bytes)
{
    while (!bytes.isEmpty() && (m_state == State::Head || m_state == State::Body)) {
        qsizetype used = 0;
        switch (m_step) {
        case Step::StatusLine:
        case Step::HeaderLine:
            used = takeLine(bytes, MaxLineBytes);
            m_headBytes += used;
            if (used < 0 || m_headBytes > MaxHeadBytes)
                return fail();
            break;
        case Step::TrailerLine:
            used = takeLine(bytes, MaxLineBytes);
            m_trailerBytes += used;
            if (used < 0 || m_trailerBytes > MaxHeadBytes)
                return fail();
            break;
        case Step::ChunkSize:
            used = takeLine(bytes, MaxChunkLineBytes);
            break;
        case Step::ChunkEnd:
            used = takeLine(bytes, 0);
            break;
        case Step::LengthBody:
        case Step::ChunkData:
            used = qsizetype(std::min<qint64>(m_remaining, bytes.size()));
            if (!appendBody(bytes.first(used)))
                return fail();
            m_remaining -= used;
            if (m_remaining == 0 && m_step == Step::ChunkData)
                m_step = Step::ChunkEnd;
            else if (m_remaining == 0)
                m_state = State::Done;
            break;
        case Step::CloseBody:
            used = bytes.size();
            if (!appendBody(bytes))
                return fail();
            break;
        }
        if (used < 0)
            return fail();
        bytes = bytes.sliced(used);
        if (m_lineDone) {
            m_lineDone = false;
            const bool ok = onLine();
            m_line.resize(0);
            if (!ok)
                return fail();
        }
    }
    return m_state;
}

HttpResponse::State HttpResponse::finish()
{
    if (m_state == State::Body && m_step == Step::CloseBody)
        m_state = State::Done;
    else if (m_state != State::Done)
        fail();
    return m_state;
}

qsizetype HttpResponse::takeLine(QByteArrayView bytes, qsizetype limit)
{
    const qsizetype newline = bytes.indexOf('\n');
    const qsizetype content = newline < 0 ? bytes.size() : newline;
    // One byte more for the CR of a CRLF.
    if (m_line.size() + content > limit + 1)
        return -1;
    m_line.append(bytes.first(content));
    if (newline < 0)
        return content;
    if (m_line.endsWith('\r'))
        m_line.chop(1);
    // A bare CR or a NUL inside a line is how requests and answers are smuggled.
    if (m_line.size() > limit || m_line.contains('\r') || m_line.contains('\0'))
        return -1;
    m_lineDone = true;
    return newline + 1;
}

bool HttpResponse::onLine()
{
    switch (m_step) {
    case Step::StatusLine:
        return onStatusLine();
    case Step::HeaderLine:
        if (m_line.isEmpty())
            return onHeadEnd();
        return onHeaderLine(false);
    case Step::TrailerLine:
        if (m_line.isEmpty()) {
            m_state = State::Done;
            return true;
        }
        return onHeaderLine(true);
    case Step::ChunkSize:
        return onChunkSizeDigits(m_line);
    case Step::ChunkEnd:
        m_step = Step::ChunkSize;
        return m_line.isEmpty();
    default:
        return false;
    }
}

bool HttpResponse::onStatusLine()
{
    // "HTTP/1.1 200 OK"; the reason phrase may be missing, and says nothing anyway.
    const QByteArrayView line(m_line);
    if (line.size() < 12 || !(line.startsWith("HTTP/1.1 ") || line.startsWith("HTTP/1.0 ")) ||
        !isDigit(line[9]) || !isDigit(line[10]) || !isDigit(line[11]) ||
        (line.size() > 12 && line[12] != ' '))
        return false;
    m_status = (line[9] - '0') * 100 + (line[10] - '0') * 10 + (line[11] - '0');
    if (m_status < 100 || m_status > 599)
        return false;
    m_step = Step::HeaderLine;
    return true;
}

bool HttpResponse::onHeaderLine(bool trailer)
{
    int &lines = trailer ? m_trailerLines : m_headerLines;
    if (++lines > MaxHeaderLines)
        return false;
    const qsizetype colon = m_line.indexOf(':');
    // No folded lines (which start with white space), no empty or odd names.
    if (colon <= 0 || !std::all_of(m_line.cbegin(), m_line.cbegin() + colon, isTokenChar))
        return false;
    if (trailer)
        return true;
    const QByteArrayView value = trimmed(QByteArrayView(m_line).sliced(colon + 1));
    if (std::any_of(value.begin(), value.end(), [](char c) { return c != '\t' && uchar(c) < 32; }))
        return false;
    m_headers.append({m_line.left(colon).toLower(), value.toByteArray()});
    return true;
}

bool HttpResponse::onHeadEnd()
{
    if (m_status < 200) {
        // An interim answer: its head counted towards the limits, and the real one follows.
        // 101 would switch to another protocol, which was never asked for.
        if (m_status == 101)
            return false;
        m_headers.clear();
        m_step = Step::StatusLine;
        return true;
    }
    const QList<QByteArray> codings = headerList("transfer-encoding");
    qint64 length = -1;
    for (const auto &[name, value] : std::as_const(m_headers)) {
        if (name != "content-length")
            continue;
        const qint64 announced = plainDecimal(value);
        if (announced < 0 || (length >= 0 && announced != length))
            return false;
        length = announced;
    }
    m_state = State::Body;
    if (m_status == 204 || m_status == 304) {
        m_state = State::Done;
        return true;
    }
    if (!codings.isEmpty()) {
        // Only chunked, and never along with a length: either way the framing is in doubt.
        if (codings.size() != 1 || codings.front().compare("chunked", Qt::CaseInsensitive) != 0 ||
            length >= 0)
            return false;
        m_step = Step::ChunkSize;
        return true;
    }
    if (length > m_maxBody)
        return false;
    if (length >= 0) {
        m_remaining = length;
        m_step = Step::LengthBody;
        if (length == 0)
            m_state = State::Done;
        return true;
    }
    m_step = Step::CloseBody;
    return true;
}

bool HttpResponse::onChunkSizeDigits(QByteArrayView line)
{
    qint64 size = 0;
    qsizetype digits = 0;
    const qint64 room = m_maxBody - m_body.size();
    for (; digits < line.size(); ++digits) {
        const int value = hexValue(line[digits]);
        if (value < 0)
            break;
        size = size * 16 + value;
        // Checked digit by digit: a size beyond the room left fails before it can overflow.
        if (size > room)
            return false;
    }
    if (digits == 0)
        return false;
    // Extensions follow a semicolon and are ignored.
    const QByteArrayView rest = trimmed(line.sliced(digits));
    if (!rest.isEmpty() && rest.front() != ';')
        return false;
    if (size == 0) {
        m_step = Step::TrailerLine;
        return true;
    }
    m_remaining = size;
    m_step = Step::ChunkData;
    return true;
}

bool HttpResponse::appendBody(QByteArrayView bytes)
{
    if (m_body.size() + bytes.size() > m_maxBody)
        return false;
    m_body.append(bytes);
    return true;
}

HttpResponse::State HttpResponse::fail()
{
    m_state = State::Failed;
    m_body.clear();
    m_line.clear();
    return m_state;
}

} // namespace tarvell
