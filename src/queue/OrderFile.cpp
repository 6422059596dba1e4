#include "queue/OrderFile.h"

#include "queue/QueuedFileRead.h"

#include "runtime/VbFormat.h"


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
        result.read = OrderRecord::Quantity::NoTab;
        return result;
    }
    result.itemNo = record.left(tab);
    result.quantityText = record.mid(tab + 1);
    const std::optional<double> quantity = vb::parseNumber(result.quantityText);
    result.quantity = quantity.value_or(0.0);
    if (!quantity)
        result.read = OrderRecord::Quantity::NotANumber;
    return result;
}

} // namespace

QList<OrderRecord> ParseOrderRecords(const QByteArray &content, qsizetype maxRecords)
{
    QList<OrderRecord> records;
    const QByteArray bom("\xEF\xBB\xBF");
    const bool utf8 = content.startsWith(bom);
    const qsizetype size = content.size();
    qsizetype at = utf8 ? bom.size() : 0;
    while (at < size && (maxRecords < 0 || records.size() <= maxRecords)) {
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
        records.append(splitRecord(utf8 ? QString::fromUtf8(record) : QString::fromLatin1(record)));
    }
    return records;
}

QString UnreadQuantityNote(const OrderRecord &record, int recordNo)
{
    // An empty record fails the order on its own.
    if (record.isEmpty())
        return {};
    switch (record.read) {
    case OrderRecord::Quantity::Number:
        return {};
    case OrderRecord::Quantity::NoTab:
        return QStringLiteral("record %1: no TAB, quantity read as 0").arg(recordNo);
    case OrderRecord::Quantity::NotANumber:
        break;
    }
    // Ten thousand digits help nobody in a log line.
    constexpr qsizetype shown = 20;
    const QString text = record.quantityText.size() > shown ? record.quantityText.left(shown) + QStringLiteral("...")
                                                            : record.quantityText;
    return QStringLiteral("record %1: quantity \"%2\" read as 0").arg(recordNo).arg(text);
}

OrderFileContent ReadOrderFile(const QString &path, const FileStamp &listed)
{
    OrderFileContent result;
    QueuedFileRead read = ReadQueuedFile(path, QStringLiteral("order file"), MaxOrderFileBytes, listed);
    result.refusal = read.refusal;
    result.changed = read.changed;
    if (!read.refusal.isEmpty() || read.changed)
        return result;
    const QByteArray &content = read.content;
    result.records = ParseOrderRecords(content, MaxOrderRecords);
    result.content = content;
    if (result.records.size() > MaxOrderRecords) {
        result.records.clear();
        result.refusal = QStringLiteral("Error: the order file holds more than %1 records").arg(MaxOrderRecords);
        return result;
    }
    for (qsizetype i = 0; i < result.records.size(); ++i) {
        const OrderRecord &record = result.records[i];
        if (record.itemNo.contains(QChar(0)) || record.quantityText.contains(QChar(0))) {
            result.records.clear();
            result.refusal = QStringLiteral("Error: the order file is damaged: record %1 holds a NUL byte").arg(i + 1);
            return result;
        }
    }
    return result;
}
