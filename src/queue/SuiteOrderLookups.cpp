#include "queue/SuiteOrderLookups.h"

#include "module1/Module1.h"
#include "dbservice/PriceDetailLine.h"
#include "sqlaccess/Recordset.h"
#include "dbservice/clsServer.h"

#include <stdexcept>

namespace {

QString quotedForSql(QString text)
{
    DoubleQuotes(text);
    return text;
}

// The query operations answer a database failure with the blank record set.
bool isBlankRecordset(const Recordset &rs)
{
    return rs.fieldCount() == 1 && rs.field(0).name == QLatin1String("blankfield");
}

// The rows of a query that answered; the conversion's error when the database did not.
Recordset answered(Recordset rows, const QString &what, const clsServer &server)
{
    if (isBlankRecordset(rows))
        throw std::runtime_error(QStringLiteral("Error: %1 could not be looked up (database error %2)")
                                     .arg(what, server.lastErrorText())
                                     .toStdString());
    return rows;
}

QString itemStatement(const QString &itemNo)
{
    return "select uid,uname,itemrow,itemcol,salesum,price,taxable,commission,itemtype,salesfactor,pricecode "
           "from item where uid='"
         + quotedForSql(itemNo) + "'";
}

} // namespace

std::optional<Recordset> SuiteOrderLookups::customer(const QString &custNo)
{
    Recordset customer = answered(m_server.Get_sqlResult("select * from customer where uid='" + quotedForSql(custNo) + "'"),
                                  "customer # " + custNo, m_server);
    if (customer.isEmpty())
        return std::nullopt;
    customer.moveFirst();
    return customer;
}

void SuiteOrderLookups::prefetch(const QList<OrderRecord> &records, const QString &custNo,
                                 const QString &custPriceLevel)
{
    // An embedded database answers without a round trip: there the small statements line by line
    // cost less than the combined ones.
    if (!m_server.usesOdbc())
        return;
    QStringList itemNos;
    QStringList statements;
    for (const OrderRecord &record : records) {
        if (record.itemNo.isEmpty() || itemNos.contains(record.itemNo) || m_items.contains(record.itemNo))
            continue;
        itemNos << record.itemNo;
        statements << itemStatement(record.itemNo);
    }
    const QList<Recordset> items = m_server.Get_sqlResults(statements);
    if (items.size() != itemNos.size())
        return;
    QList<OrderPriceLookups::ItemVariant> variants;
    for (qsizetype i = 0; i < items.size(); ++i) {
        m_items.insert(itemNos[i], items[i]);
        if (const std::optional<OrderItem> found = itemOf(items[i]))
            variants.append({found->uid, found->itemrow, found->itemcol});
    }
    m_prices.prefetch(variants, custNo, custPriceLevel);
}

std::optional<OrderItem> SuiteOrderLookups::item(const QString &itemNo)
{
    const auto fetched = m_items.constFind(itemNo);
    return itemOf(fetched != m_items.constEnd()
                      ? *fetched
                      : answered(m_server.Get_sqlResult(itemStatement(itemNo)), "item " + itemNo, m_server));
}

std::optional<OrderItem> SuiteOrderLookups::itemOf(Recordset item)
{
    if (item.isEmpty())
        return std::nullopt;
    item.moveFirst();
    OrderItem result;
    result.uid = item.text(QStringLiteral("uid"));
    result.uname = item.text(QStringLiteral("uname"));
    result.itemrow = item.text(QStringLiteral("itemrow"));
    result.itemcol = item.text(QStringLiteral("itemcol"));
    result.salesum = item.text(QStringLiteral("salesum"));
    result.salesfactor = item.text(QStringLiteral("salesfactor"));
    result.pricecode = item.text(QStringLiteral("pricecode"));
    result.taxable = ValueOrZero(item.value(QStringLiteral("taxable")));
    result.commission = ValueOrZero(item.value(QStringLiteral("commission")));
    result.itemtype = ValueOrZero(item.value(QStringLiteral("itemtype")));
    return result;
}

LinePrice SuiteOrderLookups::price(const OrderItem &item, const QString &quantity, const QString &custNo,
                                   const QString &priceLevel)
{
    LinePrice result;
    m_server.clearLastError();
    result.unit =
        PriceDetailLine(m_prices, item.uid, item.itemrow, item.itemcol, quantity, QStringLiteral("0"), item.pricecode,
                        custNo, priceLevel, result.dcPercent, result.dcAmount, result.commRate);
    // A line priced at 0 because the database did not answer would be saved wrong.
    if (const QString error = m_server.lastErrorText(); !error.isEmpty())
        throw std::runtime_error(
            QStringLiteral("Error: item %1 could not be priced (database error %2)").arg(item.uid, error).toStdString());
    return result;
}

std::optional<ShipToAddress> SuiteOrderLookups::shipTo(const QString &custUid, const QString &shipToName)
{
    Recordset address = answered(m_server.Get_Selected_ShippingAddress(custUid, shipToName),
                                 QStringLiteral("ship-to \"%1\" of customer # %2").arg(shipToName, custUid), m_server);
    if (address.isEmpty())
        return std::nullopt;
    address.moveFirst();
    auto field = [&address](const char *name) { return NullToEmpty(address.value(QString::fromLatin1(name))); };
    return ShipToAddress{field("address1"), field("address2"), field("city"),
                         field("State"),    field("zip"),      field("country")};
}

double SuiteOrderLookups::commission(const QString &salesperson)
{
    Recordset employee = answered(
        m_server.Get_sqlResult("select commission from employee where uid='" + quotedForSql(salesperson) + "'"),
        "salesperson " + salesperson, m_server);
    if (employee.isEmpty())
        return 0;
    employee.moveFirst();
    return ValueOrZero(employee.value(QStringLiteral("commission")));
}
