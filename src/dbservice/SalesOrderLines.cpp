#include "dbservice/clsServer.h"

#include "dbservice/RecordCopy.h"
#include "runtime/VbFormat.h"

#include <QHash>
#include <exception>

namespace {

const QString Qord = QStringLiteral("qord");
const QString Qshp = QStringLiteral("qshp");
const QString Qbord = QStringLiteral("qbord");
const QString AutoNum = QStringLiteral("autonum");
const QString Invno = QStringLiteral("invno");
const QString Qremain = QStringLiteral("qremain");
const QString OnSoUpdate =
    QStringLiteral("UPDATE item SET onso = COALESCE(onso, 0) + ? WHERE uid = ? and itemrow = ? and itemcol = ?");

// Line fields copied into the same-named `sodetail` columns, in the order they are written.
const char *const QuantityColumns[] = {"itemno", "Description", "qord", "qshp", "qbord"};
const char *const PriceColumns[] = {"um", "unit", "extended", "applytax", "DcPercent", "dcamount",
                                    "dcamtentered", "Commission", "commrate", "itype", "actualqty",
                                    "scalefactor"};
const char *const DateColumns[] = {"invdate", "shpdate", "CancelDate", "rowtext", "coltext", "linenum"};

bool isZero(const Recordset &rs, const QString &field)
{
    return !rs.isNull(field) && rs.number(field) == 0.0;
}

// A line ordering, shipping and back-ordering nothing.
bool isEmptyLine(const Recordset &line)
{
    return isZero(line, Qord) && isZero(line, Qshp) && isZero(line, Qbord);
}

QString lineKey(const QString &orderNo, qint64 counter)
{
    return orderNo + vb::formatNumber(double(counter), QStringLiteral("0000"));
}

QString itemNotFound(const QString &item, const QString &row, const QString &col)
{
    return "Item No : " + item + " Item Row : " + row + " Item Col : " + col
         + " not found! Check this item then try again!";
}

QString itemRowStatement(const QString &item, const QString &row, const QString &col)
{
    return "SELECT uid,itemrow,itemcol,stock,onso FROM item WHERE uid='" + item + "' and itemrow='" + row
         + "' and itemcol='" + col + "'";
}

// The columns of a line's sodetail row, in the order they are written.
const QStringList &lineColumns()
{
    static const QStringList columns = [] {
        QStringList all{QStringLiteral("invno")};
        for (const char *column : QuantityColumns)
            all << QLatin1String(column);
        all << QStringLiteral("qremain");
        for (const char *column : PriceColumns)
            all << QLatin1String(column);
        all << AutoNum;
        for (const char *column : DateColumns)
            all << QLatin1String(column);
        return all;
    }();
    return columns;
}

// A code as the look-up of a line compares it: null reads as the empty text, which a bound value
// must be too (a null QString binds as NULL).
QString codeOf(const Recordset &line, const QString &field)
{
    const QString text = line.text(field);
    return text.isNull() ? QStringLiteral("") : text;
}

// A line of a new order as the statements of the whole order take it.
struct NewLine
{
    QString item, row, col; // the item variant as the line names it
    double change = 0;      // what it adds to the variant's quantity on sales order
    QVariantList values;    // its sodetail row, in lineColumns() order
};

// One statement adds to the quantity on sales order of `count` item variants, each its own
// quantity: per row the same relative update as a line's own statement would make.
QString stockStatement(qsizetype count)
{
    const QString match = QStringLiteral("(uid = ? AND itemrow = ? AND itemcol = ?)");
    QString cases;
    for (qsizetype i = 0; i < count; ++i)
        cases += QStringLiteral(" WHEN uid = ? AND itemrow = ? AND itemcol = ? THEN COALESCE(onso, 0) + ?");
    return QStringLiteral("UPDATE item SET onso = CASE%1 ELSE onso END WHERE %2")
        .arg(cases, QStringList(count, match).join(QStringLiteral(" OR ")));
}

// The lines' item variants in rounds that each name a variant once at most, so that one
// statement per round adds every line, in the order of the lines. Variants are told apart as
// the backends compare codes, or more finely: a letter in another case may be the same one.
QList<QList<qsizetype>> stockRounds(const QList<NewLine> &lines)
{
    QList<QList<qsizetype>> rounds;
    QHash<QString, qsizetype> seen;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const NewLine &line = lines[i];
        const QString key = (line.item + QChar(0x1f) + line.row + QChar(0x1f) + line.col).toCaseFolded();
        const qsizetype round = seen[key]++;
        if (round == rounds.size())
            rounds.append(QList<qsizetype>());
        rounds[round].append(i);
    }
    return rounds;
}

} // namespace

QString clsServer::writeNewOrderLines(const QString &orderNo, Recordset &rsDetail, int newOrderType)
{
    const QString &quantityField = newOrderType != 0 ? Qbord : Qord;

    // Every line as the statements need it. A line that cannot be read ends the order where the
    // line-by-line save would have stopped: after the lines before it, and after its own stock
    // change when only its row's values could not be read.
    const QStringList &columns = lineColumns();
    QList<int> fieldOf; // per column the line's field, -1 for the order number and the line key
    QList<NewLine> lines;
    std::exception_ptr stopped;
    bool stoppedAfterStock = false;
    if (!rsDetail.isEmpty())
        rsDetail.moveFirst();
    for (; !rsDetail.eof(); rsDetail.moveNext()) {
        NewLine line;
        try {
            if (isEmptyLine(rsDetail))
                continue;
            rsDetail.text(AutoNum);
            line.item = codeOf(rsDetail, QStringLiteral("itemno"));
            line.row = codeOf(rsDetail, QStringLiteral("rowtext"));
            line.col = codeOf(rsDetail, QStringLiteral("coltext"));
            line.change = rsDetail.number(quantityField);
        } catch (const std::exception &) {
            stopped = std::current_exception();
            break;
        }
        try {
            // The line's fields under the columns' names (qremain is the counted quantity), found
            // by name once: a missing one fails the first line, as reading it by name would.
            if (fieldOf.isEmpty())
                for (const QString &column : columns) {
                    const QString field = column == Qremain ? quantityField : column;
                    if (column != Invno && column != AutoNum && rsDetail.fieldIndex(field) < 0)
                        rsDetail.value(field);
                    fieldOf << (column == Invno || column == AutoNum ? -1 : rsDetail.fieldIndex(field));
                }
            line.values.reserve(columns.size());
            for (qsizetype c = 0; c < columns.size(); ++c) {
                if (fieldOf[c] >= 0)
                    line.values << rsDetail.value(fieldOf[c]);
                else if (columns[c] == Invno)
                    line.values << orderNo;
                else
                    line.values << lineKey(orderNo, lines.size());
            }
        } catch (const std::exception &) {
            stopped = std::current_exception();
            stoppedAfterStock = true;
            lines.append(line);
            break;
        }
        lines.append(line);
    }

    // The stock first: a line whose item variant is missing fails the order with its own text.
    bool missing = false;
    for (const QList<qsizetype> &round : stockRounds(lines)) {
        QVariantList values;
        for (const qsizetype i : round)
            values << lines[i].item << lines[i].row << lines[i].col << lines[i].change;
        for (const qsizetype i : round)
            values << lines[i].item << lines[i].row << lines[i].col;
        if (execute(stockStatement(round.size()), values) < round.size()) {
            missing = true;
            break;
        }
    }
    qsizetype saved = stoppedAfterStock ? lines.size() - 1 : lines.size();
    QString result;
    if (missing) {
        // The first line whose variant is not there: the lines before it are written as the
        // line-by-line save would have written them, so a failure of theirs comes first.
        qsizetype first = 0;
        while (first < lines.size()
               && !openSnapshot(
                       itemRowStatement(quoted(lines[first].item), quoted(lines[first].row), quoted(lines[first].col)))
                       .isEmpty())
            ++first;
        if (first == lines.size())
            throw DbError(DbError::RowChanged, QStringLiteral("An item of the order was changed by another program "
                                                              "while the order was saved"));
        result = itemNotFound(quoted(lines[first].item), quoted(lines[first].row), quoted(lines[first].col));
        saved = qMin(saved, first);
        stopped = nullptr;
    }
    QList<QVariantList> rows;
    for (qsizetype i = 0; i < saved; ++i)
        rows << lines[i].values;
    m_connection.insertRows(QStringLiteral("sodetail"), columns, rows);
    if (stopped)
        std::rethrow_exception(stopped);
    return result;
}

QString clsServer::writeLinesAndStock(const QString &orderNo, quint8 argdbFlag, Recordset &rsDetail,
                                      qint32 &argLastAutoNo, int oldOrderType, int newOrderType)
{
    const bool newOrder = argdbFlag == 1;
    // SQLite and PostgreSQL take a new order's lines in one statement and their stock in one per
    // round; the other servers line by line, as the suite's own programs write them.
    const SqlBackend backend = m_connection.backend();
    if (newOrder && (backend == SqlBackend::Sqlite || backend == SqlBackend::PostgreSql))
        return writeNewOrderLines(orderNo, rsDetail, newOrderType);
    // Back orders count on sales order for the order types other than 0.
    const QString &quantityField = newOrderType != 0 ? Qbord : Qord;

    Recordset lines;
    qint64 counter = 0;
    if (newOrder)
        lines = m_connection.openNewRows(QStringLiteral("sodetail"));
    if (!rsDetail.isEmpty())
        rsDetail.moveFirst();

    for (; !rsDetail.eof(); rsDetail.moveNext()) {
        if (newOrder && isEmptyLine(rsDetail))
            continue;

        const QString autonum = rsDetail.text(AutoNum);
        if (newOrder) {
            lines.addNew();
        } else if (autonum.isEmpty()) {
            lines = m_connection.openNewRows(QStringLiteral("sodetail"));
            lines.addNew();
        } else {
            lines = openUpdatable("SELECT * FROM sodetail WHERE autonum='" + quoted(autonum) + "'");
            if (lines.isEmpty())
                throw DbError(DbError::NoCurrentRow,
                              "The line " + autonum + " of the order is no longer in the database.");
            lines.moveFirst();
        }

        const QString item = quoted(rsDetail.text(QStringLiteral("itemno")));
        const QString row = quoted(rsDetail.text(QStringLiteral("rowtext")));
        const QString col = quoted(rsDetail.text(QStringLiteral("coltext")));
        Recordset stock = openSnapshot(itemRowStatement(item, row, col));
        if (stock.bof() && stock.eof())
            return itemNotFound(item, row, col);
        stock.moveFirst();

        const bool existingLine = !autonum.isEmpty() && argdbFlag == 2;
        double change = rsDetail.number(quantityField);
        if (existingLine)
            change -= lines.number(oldOrderType != 0 ? Qbord : Qord);
        // One relative update of the row found: what another program adds to the same item
        // meanwhile is kept, not overwritten with a figure read before it.
        if (execute(OnSoUpdate, {change, stock.value(QStringLiteral("uid")), stock.value(QStringLiteral("itemrow")),
                                 stock.value(QStringLiteral("itemcol"))})
            == 0)
            throw DbError(DbError::RowChanged, "The item " + item + " was deleted while the order was saved.");

        if (isEmptyLine(rsDetail)) {
            if (autonum.isEmpty())
                lines.cancelUpdate();
            else
                lines.deleteCurrent();
            lines.close();
            continue;
        }

        lines.setValue(QStringLiteral("invno"), orderNo);
        copyColumns(lines, rsDetail, QuantityColumns);
        lines.setValue(QStringLiteral("qremain"), rsDetail.value(quantityField));
        copyColumns(lines, rsDetail, PriceColumns);
        if (newOrder)
            lines.setValue(AutoNum, lineKey(orderNo, counter));
        else if (!autonum.isEmpty())
            lines.setValue(AutoNum, autonum);
        else
            lines.setValue(AutoNum, lineKey(orderNo, ++argLastAutoNo));
        copyColumns(lines, rsDetail, DateColumns);
        lines.update();

        if (newOrder)
            ++counter;
        else
            lines.close();
    }
    return {};
}
