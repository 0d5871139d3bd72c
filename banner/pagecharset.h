#pragma once

#include <QByteArrayView>
#include <QString>

namespace tarvell {

// Decodes a fetched page the way a browser picks its encoding, the same on every system: the
// byte order mark, then the Content-Type header's charset, then a <meta> in the first KiB,
// else UTF-8. Labels are read by the web's own table, so "gb2312" is GBK and "latin1" is
// windows-1252, and a label no browser knows is passed over.
class PageCharset
{
public:
    static QString decode(QByteArrayView body, QByteArrayView contentType);
};

} // namespace tarvell
