#include "dbservice/clsServer.h"

#include "dbservice/RecordCopy.h"
#include "runtime/VbFormat.h"

namespace {

const QString Qord = QStringLiteral("qord");
const QString Qshp = QStringLiteral("qshp");
const QString Qbord = QStringLiteral("qbord");
const QString AutoNum = QStringLiteral("autonum");
const QString NewRowStatement = QStringLiteral("SELECT * FROM sodetail WHERE 1=2");
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

} // namespace

QString clsServer::writeLinesAndStock(const QString &orderNo, quint8 argdbFlag, Recordset &rsDetail,
                                      qint32 &argLastAutoNo, int oldOrderType, int newOrderType)
{
    const bool newOrder = argdbFlag == 1;
    // Back orders count on sales order for the order types other than 0.
    const QString &quantityField = newOrderType != 0 ? Qbord : Qord;

    Recordset lines;
    qint64 counter = 0;
    if (newOrder)
        lines = openUpdatable(NewRowStatement);
    if (!rsDetail.isEmpty())
        rsDetail.moveFirst();

    for (; !rsDetail.eof(); rsDetail.moveNext()) {
        if (newOrder && isEmptyLine(rsDetail))
            continue;

        const QString autonum = rsDetail.text(AutoNum);
        if (newOrder) {
            lines.addNew();
        } else if (autonum.isEmpty()) {
            lines = openUpdatable(NewRowStatement);
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
        Recordset stock = openSnapshot("SELECT uid,itemrow,itemcol,stock,onso FROM item WHERE uid='" + item
                                       + "' and itemrow='" + row + "' and itemcol='" + col + "'");
        if (stock.bof() && stock.eof())
            return "Item No : " + item + " Item Row : " + row + " Item Col : " + col
                   + " not found! Check this item then try again!";
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
