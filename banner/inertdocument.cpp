#include "banner/inertdocument.h"

#include <QRegularExpression>
#include <QVariant>

namespace tarvell {

InertDocument::InertDocument(QObject *parent) : QTextDocument(parent) {}

QString InertDocument::plainTextOf(const QString &html)
{
    // Importing a table makes Qt build the full grid of cells that rowspan and colspan claim:
    // a few KiB of them take seconds and hundreds of MiB. Text needs none of the grid, only
    // the line breaks between cells, so table elements are taken as plain blocks.
    const QRegularExpression tableTag(
        QStringLiteral("<(/?)(?:table|caption|colgroup|col|thead|tbody|tfoot|tr|td|th)(?![\\w-])"),
        QRegularExpression::CaseInsensitiveOption);
    QString flat = html;
    flat.replace(tableTag, QStringLiteral("<\\1div"));

    InertDocument document;
    document.setHtml(flat);
    return document.toPlainText();
}

QVariant InertDocument::loadResource(int, const QUrl &)
{
    return {};
}

} // namespace tarvell
