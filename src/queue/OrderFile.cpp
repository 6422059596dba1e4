#include "OrderFile.h"

#include "VbFormat.h"

#include <QFile>
#include <stdexcept>

namespace {

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

OrderRecord splitRecord(const QString &record)
{
    OrderRecord result;
    const qsizetype tab = record.indexOf(QLatin1Char('\t'));
    if (tab < 0) {
        result.itemNo = record;
        return result;
    }
    result.itemNo = record.left(tab);
    result.quantity = vb::parseNumber(record.mid(tab + 1)).value_or(0.0);
    return result;
}

} // namespace

QList<OrderRecord> ParseOrderRecords(const QByteArray &content)
{
    QList<OrderRecord> records;
    const qsizetype size = content.size();
    qsizetype at = 0;
    while (at < size) {
        QByteArray record;
        if (content[at] == '"') {
            const qsizetype close = content.indexOf('"', at + 1);
            const qsizetype end = close < 0 ? size : close;
            record = content.mid(at + 1, end - at - 1);
            at = end + 1;
            // Whatever follows the closing quote up to the separator is not part of the record.
            while (at < size && content[at] != ',' && !isLineEnd(content[at]))
                ++at;
        } else {
            const qsizetype start = at;
            while (at < size && content[at] != ',' && !isLineEnd(content[at]))
                ++at;
            record = content.mid(start, at - start);
        }
        // One separator: a comma, or a line end (CR LF counts as one).
        if (at < size) {
            if (content[at] == '\r' && at + 1 < size && content[at + 1] == '\n')
                ++at;
            ++at;
        }
        records.append(splitRecord(QString::fromLatin1(record)));
    }
    return records;
}

QByteArray ReadOrderFileContent(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error(QStringLiteral("Cannot open the order file %1: %2")
                                     .arg(path, file.errorString())
                                     .toStdString());
    const QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw std::runtime_error(QStringLiteral("Cannot read the order file %1: %2")
                                     .arg(path, file.errorString())
                                     .toStdString());
    return content;
}

QList<OrderRecord> ReadOrderFile(const QString &path)
{
    return ParseOrderRecords(ReadOrderFileContent(path));
}
