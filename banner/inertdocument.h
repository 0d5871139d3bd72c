#pragma once

#include <QTextDocument>

namespace tarvell {

// A QTextDocument that reads nothing while it takes in HTML. A stock QTextDocument opens the
// local files a page names for style sheets, @import and pictures (a page linking /dev/zero
// eats all memory) and decodes data: URLs; the hidden page is only ever turned into text.
class InertDocument : public QTextDocument
{
    Q_OBJECT
public:
    explicit InertDocument(QObject *parent = nullptr);

    // What a reader sees of the page: entities decoded, markup, scripts and styles dropped.
    static QString plainTextOf(const QString &html);
    // The page with every table element (table, tr, td, ...) renamed to div.
    static QString withoutTables(const QString &html);

protected:
    QVariant loadResource(int type, const QUrl &name) override;
};

} // namespace tarvell
