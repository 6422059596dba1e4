#include "pageengine/PageTable.h"

namespace PageTable {

std::optional<QVector<Column>> parseFormat(const QString &format)
{
    QString text = format.trimmed();
    if (text.endsWith(QLatin1Char(';')))
        text.chop(1);
    if (text.trimmed().isEmpty())
        return std::nullopt;

    QVector<Column> columns;
    for (const QString &part : text.split(QLatin1Char('|'))) {
        QString spec = part.trimmed();
        Column column;
        if (spec.startsWith(QLatin1Char('<'))) {
            spec.remove(0, 1);
        } else if (spec.startsWith(QLatin1Char('^'))) {
            column.align = Align::Centre;
            spec.remove(0, 1);
        } else if (spec.startsWith(QLatin1Char('>'))) {
            column.align = Align::Right;
            spec.remove(0, 1);
        }
        bool ok = false;
        column.width = spec.trimmed().toDouble(&ok); // QString::toDouble reads the C locale
        if (!ok || column.width < 0)
            return std::nullopt;
        columns << column;
    }
    return columns;
}

Rows parseRows(const QString &text)
{
    QStringList rows = text.split(QLatin1Char(';'));
    if (rows.last().isEmpty())
        rows.removeLast();
    Rows result;
    result.reserve(rows.size());
    for (const QString &row : rows)
        result << row.split(QLatin1Char('|'));
    return result;
}

} // namespace PageTable
