#include "banner/pagecharset.h"

#include "banner/systemcodec.h"

#include <QList>
#include <QStringDecoder>

#include <algorithm>
#include <optional>

namespace tarvell {

namespace {

struct Encoding
{
    const char *name;
    // Every label a browser reads as this encoding, lower case, separated by single spaces.
    const char *labels;
};

// The web's labels of each encoding, as browsers read them. Many are not the names a
// converter library goes by ("latin1" is windows-1252, "gb2312" is GBK), so a page is always
// decoded by the encoding's own name.
constexpr Encoding kEncodings[] = {
    {"UTF-8", "unicode-1-1-utf-8 unicode11utf8 unicode20utf8 utf-8 utf8 x-unicode20utf8"},
    {"IBM866", "866 cp866 csibm866 ibm866"},
    {"ISO-8859-2", "csisolatin2 iso-8859-2 iso-ir-101 iso8859-2 iso88592 iso_8859-2 "
                   "iso_8859-2:1987 l2 latin2"},
    {"ISO-8859-3", "csisolatin3 iso-8859-3 iso-ir-109 iso8859-3 iso88593 iso_8859-3 "
                   "iso_8859-3:1988 l3 latin3"},
    {"ISO-8859-4", "csisolatin4 iso-8859-4 iso-ir-110 iso8859-4 iso88594 iso_8859-4 "
                   "iso_8859-4:1988 l4 latin4"},
    {"ISO-8859-5", "csisolatincyrillic cyrillic iso-8859-5 iso-ir-144 iso8859-5 iso88595 "
                   "iso_8859-5 iso_8859-5:1988"},
    {"ISO-8859-6", "arabic asmo-708 csiso88596e csiso88596i csisolatinarabic ecma-114 "
                   "iso-8859-6 iso-8859-6-e iso-8859-6-i iso-ir-127 iso8859-6 iso88596 "
                   "iso_8859-6 iso_8859-6:1987"},
    {"ISO-8859-7", "csisolatingreek ecma-118 elot_928 greek greek8 iso-8859-7 iso-ir-126 "
                   "iso8859-7 iso88597 iso_8859-7 iso_8859-7:1987 sun_eu_greek"},
    {"ISO-8859-8", "csiso88598e csisolatinhebrew hebrew iso-8859-8 iso-8859-8-e iso-ir-138 "
                   "iso8859-8 iso88598 iso_8859-8 iso_8859-8:1988 visual"},
    {"ISO-8859-8-I", "csiso88598i iso-8859-8-i logical"},
    {"ISO-8859-10", "csisolatin6 iso-8859-10 iso-ir-157 iso8859-10 iso885910 l6 latin6"},
    {"ISO-8859-13", "iso-8859-13 iso8859-13 iso885913"},
    {"ISO-8859-14", "iso-8859-14 iso8859-14 iso885914"},
    {"ISO-8859-15", "csisolatin9 iso-8859-15 iso8859-15 iso885915 iso_8859-15 l9"},
    {"ISO-8859-16", "iso-8859-16"},
    {"KOI8-R", "cskoi8r koi koi8 koi8-r koi8_r"},
    {"KOI8-U", "koi8-ru koi8-u"},
    {"macintosh", "csmacintosh mac macintosh x-mac-roman"},
    {"windows-874", "dos-874 iso-8859-11 iso8859-11 iso885911 tis-620 windows-874"},
    {"windows-1250", "cp1250 windows-1250 x-cp1250"},
    {"windows-1251", "cp1251 windows-1251 x-cp1251"},
    {"windows-1252", "ansi_x3.4-1968 ascii cp1252 cp819 csisolatin1 ibm819 iso-8859-1 "
                     "iso-ir-100 iso8859-1 iso88591 iso_8859-1 iso_8859-1:1987 l1 latin1 "
                     "us-ascii windows-1252 x-cp1252"},
    {"windows-1253", "cp1253 windows-1253 x-cp1253"},
    {"windows-1254", "cp1254 csisolatin5 iso-8859-9 iso-ir-148 iso8859-9 iso88599 iso_8859-9 "
                     "iso_8859-9:1989 l5 latin5 windows-1254 x-cp1254"},
    {"windows-1255", "cp1255 windows-1255 x-cp1255"},
    {"windows-1256", "cp1256 windows-1256 x-cp1256"},
    {"windows-1257", "cp1257 windows-1257 x-cp1257"},
    {"windows-1258", "cp1258 windows-1258 x-cp1258"},
    {"x-mac-cyrillic", "x-mac-cyrillic x-mac-ukrainian"},
    {"GBK", "chinese csgb2312 csiso58gb231280 gb2312 gb_2312 gb_2312-80 gbk iso-ir-58 x-gbk"},
    {"gb18030", "gb18030"},
    {"Big5", "big5 big5-hkscs cn-big5 csbig5 x-x-big5"},
    {"EUC-JP", "cseucpkdfmtjapanese euc-jp x-euc-jp"},
    {"ISO-2022-JP", "csiso2022jp iso-2022-jp"},
    {"Shift_JIS", "csshiftjis ms932 ms_kanji shift-jis shift_jis sjis windows-31j x-sjis"},
    {"EUC-KR", "cseuckr csksc56011987 euc-kr iso-ir-149 korean ks_c_5601-1987 ks_c_5601-1989 "
               "ksc5601 ksc_5601 windows-949"},
    {"replacement", "csiso2022kr hz-gb-2312 iso-2022-cn iso-2022-cn-ext iso-2022-kr replacement"},
    {"UTF-16BE", "unicodefffe utf-16be"},
    {"UTF-16LE", "csunicode iso-10646-ucs-2 ucs-2 unicode unicodefeff utf-16 utf-16le"},
    {"x-user-defined", "x-user-defined"},
};

constexpr QByteArrayView kUtf8("UTF-8");

bool isAsciiWhitespace(char c)
{
    return c == '\t' || c == '\n' || c == '\f' || c == '\r' || c == ' ';
}

char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c + ('a' - 'A')) : c;
}

// The encoding a label names, or nothing for a label no browser knows.
std::optional<QByteArrayView> encodingForLabel(QByteArrayView label)
{
    while (!label.isEmpty() && isAsciiWhitespace(label.front()))
        label = label.sliced(1);
    while (!label.isEmpty() && isAsciiWhitespace(label.back()))
        label.chop(1);
    if (label.isEmpty())
        return std::nullopt;
    for (const Encoding &encoding : kEncodings) {
        const QByteArrayView labels(encoding.labels);
        for (qsizetype from = 0; from <= labels.size();) {
            qsizetype end = labels.indexOf(' ', from);
            if (end < 0)
                end = labels.size();
            const QByteArrayView known = labels.sliced(from, end - from);
            if (known.size() == label.size() &&
                std::equal(known.begin(), known.end(), label.begin(),
                           [](char k, char c) { return k == asciiLower(c); }))
                return QByteArrayView(encoding.name);
            from = end + 1;
        }
    }
    return std::nullopt;
}

QByteArrayView headerParameter(QByteArrayView header, QByteArrayView name)
{
    qsizetype at = header.indexOf(';');
    while (at >= 0) {
        qsizetype end = header.indexOf(';', at + 1);
        const QByteArrayView part =
            header.sliced(at + 1, (end < 0 ? header.size() : end) - at - 1).trimmed();
        at = end;
        const qsizetype equals = part.indexOf('=');
        if (equals > 0 && part.first(equals).trimmed().compare(name, Qt::CaseInsensitive) == 0) {
            QByteArrayView value = part.sliced(equals + 1).trimmed();
            if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"'))
                value = value.sliced(1, value.size() - 2);
            return value;
        }
    }
    return {};
}

// The charset in a <meta>'s content="text/html; charset=...", read as browsers read it.
std::optional<QByteArrayView> encodingFromContent(QByteArrayView content)
{
    qsizetype at = 0;
    for (;;) {
        const qsizetype found = content.indexOf("charset", at);
        if (found < 0)
            return std::nullopt;
        at = found + 7;
        while (at < content.size() && isAsciiWhitespace(content.at(at)))
            ++at;
        if (at < content.size() && content.at(at) == '=')
            break;
    }
    ++at;
    while (at < content.size() && isAsciiWhitespace(content.at(at)))
        ++at;
    if (at == content.size())
        return std::nullopt;
    const char quote = content.at(at);
    if (quote == '"' || quote == '\'') {
        const qsizetype close = content.indexOf(quote, at + 1);
        if (close < 0)
            return std::nullopt;
        return encodingForLabel(content.sliced(at + 1, close - at - 1));
    }
    qsizetype end = at;
    while (end < content.size() && !isAsciiWhitespace(content.at(end)) && content.at(end) != ';')
        ++end;
    return encodingForLabel(content.sliced(at, end - at));
}

// The encoding that the first KiB of a page declares in a <meta>, found the way a browser
// prescans the bytes before parsing: comments and other tags (with their attributes, which may
// hold a "<meta") are stepped over, not searched.
class Prescan
{
public:
    explicit Prescan(QByteArrayView bytes)
        : m_bytes(bytes.first(std::min<qsizetype>(bytes.size(), 1024)))
    {}

    std::optional<QByteArrayView> run()
    {
        for (; m_at < m_bytes.size(); ++m_at) {
            const QByteArrayView rest = m_bytes.sliced(m_at);
            if (rest.startsWith("<!--")) {
                const qsizetype end = m_bytes.indexOf("-->", m_at + 2);
                if (end < 0)
                    return std::nullopt;
                m_at = end + 2;
            } else if (rest.size() > 5 && startsWithMeta(rest) &&
                       (isAsciiWhitespace(rest.at(5)) || rest.at(5) == '/')) {
                m_at += 6;
                if (const std::optional<QByteArrayView> found = meta())
                    return found;
                if (m_ended)
                    return std::nullopt;
            } else if (rest.size() > 1 &&
                       (isAsciiLetter(rest.at(1)) ||
                        (rest.size() > 2 && rest.at(1) == '/' && isAsciiLetter(rest.at(2))))) {
                while (m_at < m_bytes.size() && !isAsciiWhitespace(m_bytes.at(m_at)) &&
                       m_bytes.at(m_at) != '>')
                    ++m_at;
                while (attribute()) {
                }
                if (m_ended)
                    return std::nullopt;
            } else if (rest.startsWith("<!") || rest.startsWith("</") || rest.startsWith("<?")) {
                const qsizetype end = m_bytes.indexOf('>', m_at + 1);
                if (end < 0)
                    return std::nullopt;
                m_at = end;
            }
        }
        return std::nullopt;
    }

private:
    struct Attribute
    {
        QByteArray name;
        QByteArray value;
    };

    static bool isAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

    static bool startsWithMeta(QByteArrayView rest)
    {
        return rest.first(5).compare(QByteArrayView("<meta"), Qt::CaseInsensitive) == 0;
    }

    // The attributes of one <meta>; an encoding when they declare one.
    std::optional<QByteArrayView> meta()
    {
        QList<QByteArray> seen;
        bool gotPragma = false;
        std::optional<bool> needPragma;
        // Unset, or the outcome of the first declaration (which may be a label no one knows).
        std::optional<std::optional<QByteArrayView>> charset;
        while (const std::optional<Attribute> attr = attribute()) {
            if (seen.contains(attr->name))
                continue;
            seen.append(attr->name);
            if (attr->name == "http-equiv") {
                gotPragma = gotPragma || attr->value == "content-type";
            } else if (attr->name == "content") {
                const std::optional<QByteArrayView> found = encodingFromContent(attr->value);
                if (found && !charset) {
                    charset.emplace(found);
                    needPragma = true;
                }
            } else if (attr->name == "charset") {
                charset.emplace(encodingForLabel(attr->value));
                needPragma = false;
            }
        }
        if (m_ended || !needPragma || (*needPragma && !gotPragma) || !charset || !*charset)
            return std::nullopt;
        const QByteArrayView encoding = **charset;
        if (encoding == "UTF-16BE" || encoding == "UTF-16LE")
            return kUtf8;
        if (encoding == "x-user-defined")
            return QByteArrayView("windows-1252");
        return encoding;
    }

    bool atEnd()
    {
        m_ended = m_ended || m_at >= m_bytes.size();
        return m_ended;
    }

    // One attribute of a tag, its name and value lower-cased; nothing at the tag's end (or the
    // input's, which ends the prescan).
    std::optional<Attribute> attribute()
    {
        while (!atEnd() && (isAsciiWhitespace(m_bytes.at(m_at)) || m_bytes.at(m_at) == '/'))
            ++m_at;
        if (atEnd() || m_bytes.at(m_at) == '>')
            return std::nullopt;
        Attribute attr;
        for (;; ++m_at) {
            if (atEnd())
                return std::nullopt;
            const char c = m_bytes.at(m_at);
            if (c == '=' && !attr.name.isEmpty()) {
                ++m_at;
                return value(std::move(attr));
            }
            if (isAsciiWhitespace(c))
                break;
            if (c == '/' || c == '>')
                return attr;
            attr.name.append(asciiLower(c));
        }
        while (!atEnd() && isAsciiWhitespace(m_bytes.at(m_at)))
            ++m_at;
        if (atEnd())
            return std::nullopt;
        if (m_bytes.at(m_at) != '=')
            return attr;
        ++m_at;
        return value(std::move(attr));
    }

    std::optional<Attribute> value(Attribute attr)
    {
        while (!atEnd() && isAsciiWhitespace(m_bytes.at(m_at)))
            ++m_at;
        if (atEnd())
            return std::nullopt;
        const char first = m_bytes.at(m_at);
        if (first == '"' || first == '\'') {
            for (++m_at; !atEnd(); ++m_at) {
                if (m_bytes.at(m_at) == first) {
                    ++m_at;
                    return attr;
                }
                attr.value.append(asciiLower(m_bytes.at(m_at)));
            }
            return std::nullopt;
        }
        if (first == '>')
            return attr;
        for (; !atEnd(); ++m_at) {
            const char c = m_bytes.at(m_at);
            if (isAsciiWhitespace(c) || c == '>')
                return attr;
            attr.value.append(asciiLower(c));
        }
        return std::nullopt;
    }

    QByteArrayView m_bytes;
    qsizetype m_at = 0;
    // The input ran out inside a tag: nothing after it can declare anything.
    bool m_ended = false;
};

QString decodeAs(QByteArrayView encoding, QByteArrayView bytes)
{
    if (encoding == kUtf8)
        return QStringDecoder(QStringDecoder::Utf8)(bytes);
    if (encoding == "UTF-16LE")
        return QStringDecoder(QStringDecoder::Utf16LE)(bytes);
    if (encoding == "UTF-16BE")
        return QStringDecoder(QStringDecoder::Utf16BE)(bytes);
    // Encodings a browser refuses to decode (their escapes could pass markup off as text): the
    // page is one replacement character.
    if (encoding == "replacement")
        return bytes.isEmpty() ? QString() : QString(QChar::ReplacementCharacter);
    // Bytes past ASCII go to a private-use block, one character each.
    if (encoding == "x-user-defined") {
        QString text(bytes.size(), Qt::Uninitialized);
        std::transform(bytes.begin(), bytes.end(), text.begin(), [](char c) {
            const auto byte = static_cast<unsigned char>(c);
            return QChar(byte < 0x80 ? char16_t(byte) : char16_t(0xf780 + byte - 0x80));
        });
        return text;
    }
    // A browser decodes GBK as gb18030, which it extends.
    if (encoding == "GBK")
        encoding = "gb18030";
    QStringDecoder decoder(encoding.toByteArray().constData());
    if (decoder.isValid())
        return decoder(bytes);
    if (std::optional<QString> text = decodeWithSystemCodec(bytes, encoding))
        return *text;
    return QStringDecoder(QStringDecoder::Utf8)(bytes);
}

} // namespace

QString PageCharset::decode(QByteArrayView body, QByteArrayView contentType)
{
    if (body.startsWith("\xef\xbb\xbf"))
        return decodeAs(kUtf8, body.sliced(3));
    if (body.startsWith("\xfe\xff"))
        return decodeAs("UTF-16BE", body.sliced(2));
    if (body.startsWith("\xff\xfe"))
        return decodeAs("UTF-16LE", body.sliced(2));
    std::optional<QByteArrayView> encoding =
        encodingForLabel(headerParameter(contentType, "charset"));
    if (!encoding)
        encoding = Prescan(body).run();
    return decodeAs(encoding.value_or(kUtf8), body);
}

} // namespace tarvell
