#pragma once

#include <QByteArrayView>
#include <QString>

namespace tarvell {

// The text a browser's "select all, copy" gives of an HTML page: parsed as a browser parses it
// (so a look-alike of a tag is text, and misplaced table parts move where a browser puts them),
// then laid out as lines without any style sheet: blocks on lines of their own, table cells
// apart by tabs, white space collapsed, and nothing of head, scripts or styles. Nothing is
// loaded: a page's style sheets and pictures are only names.
class PageText
{
public:
    static QString of(QByteArrayView utf8);
};

} // namespace tarvell
