#include "banner/inertdocument.h"

#include <QVariant>

#include <algorithm>
#include <iterator>

namespace tarvell {

InertDocument::InertDocument(QObject *parent) : QTextDocument(parent) {}

QString InertDocument::plainTextOf(const QString &html)
{
    InertDocument document;
    document.setHtml(withoutTables(html));
    return document.toPlainText();
}

QString InertDocument::withoutTables(const QString &html)
{
    // Importing a table makes Qt build the full grid of cells that rowspan and colspan claim:
    // a few KiB of them take seconds and hundreds of MiB. Text needs none of the grid, only
    // the line breaks between cells, so table elements are taken as plain blocks. Scanned by
    // hand rather than with a regular expression: this runs on a worker thread, and on MinGW
    // the expression's per-thread JIT stack makes the process hang when it exits.
    static constexpr QLatin1StringView tableTags[] = {
        QLatin1StringView("table"), QLatin1StringView("caption"), QLatin1StringView("colgroup"),
        QLatin1StringView("col"),   QLatin1StringView("thead"),   QLatin1StringView("tbody"),
        QLatin1StringView("tfoot"), QLatin1StringView("tr"),      QLatin1StringView("td"),
        QLatin1StringView("th")};
    const auto isNameChar = [](QChar c) {
        return c.isLetterOrNumber() || c.isMark() || c == u'_' || c == u'-';
    };
    QString flat;
    flat.reserve(html.size());
    qsizetype copied = 0;
    for (qsizetype at = html.indexOf(u'<'); at >= 0; at = html.indexOf(u'<', at + 1)) {
        qsizetype name = at + 1;
        if (name < html.size() && html.at(name) == u'/')
            ++name;
        qsizetype end = name;
        while (end < html.size() && isNameChar(html.at(end)))
            ++end;
        const QStringView tag = QStringView(html).mid(name, end - name);
        const bool isTable =
            std::any_of(std::begin(tableTags), std::end(tableTags), [tag](QLatin1StringView table) {
                return tag.compare(table, Qt::CaseInsensitive) == 0;
            });
        if (!isTable)
            continue;
        flat += QStringView(html).mid(copied, name - copied);
        flat += QLatin1StringView("div");
        copied = end;
    }
    flat += QStringView(html).mid(copied);
    return flat;
}

QVariant InertDocument::loadResource(int, const QUrl &)
{
    return {};
}

} // namespace tarvell
