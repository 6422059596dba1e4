#include "dbservice/PriceStatements.h"
#include "dbservice/clsServer.h"

#include "runtime/SharedRoutines.h"

namespace {

QString quotedCode(QString text)
{
    DoubleQuotes(text);
    return text;
}

} // namespace

QString PriceInfoStatement(const QString &itemNo, const QString &rowText, const QString &colText)
{
    QString statement = "SELECT price,pricecode,cost FROM item where uid = '" + quotedCode(itemNo) + "'";
    if (!rowText.isEmpty() || !colText.isEmpty())
        statement += " and itemrow='" + quotedCode(rowText) + "' and itemcol='" + quotedCode(colText) + "'";
    return statement;
}

QString PriceCodeStatement(const QString &custNo, const QString &custPriceGroup, const QString &itemNo,
                           const QString &itemPriceGroup)
{
    return "SELECT top 1 * FROM pricecode where (uid = ' All Items' or uid='" + quotedCode(itemNo) + "' or uid='"
         + quotedCode(itemPriceGroup) + "' ) and (uname = ' All Customers' or uname='" + quotedCode(custNo)
         + "' or uname='" + quotedCode(custPriceGroup) + "' ) order by priority ";
}

QString LastPriceStatement(const QString &custNo, const QString &itemNo)
{
    return "SELECT top 1 soinvdetail.unit,soinvdetail.commrate,10 as [method] FROM soinv inner join "
           "soinvdetail on soinv.invno=soinvdetail.invno where soinv.custno='"
         + quotedCode(custNo) + "' and soinvdetail.itemno='" + quotedCode(itemNo) + "' order by soinv.invdate desc";
}

bool AsksForLastPrice(const Recordset &rule)
{
    return !rule.isNull(QStringLiteral("method")) && rule.number(QStringLiteral("method")) == 10;
}

Recordset clsServer::Get_A_PriceInfo(const QString &tmpItemNO, const QString &tmpRowText,
                                     const QString &tmpColText)
{
    m_lastError.clear();
    try {
        checkConnection();
        return openSnapshot(PriceInfoStatement(tmpItemNO, tmpRowText, tmpColText));
    } catch (const std::exception &e) {
        rememberFailure(e);
        return Get_Blank_Recordset();
    }
}

Recordset clsServer::Get_PriceCodeInfo(const QString &tmpCustNo, const QString &tmpCustPriceGroup,
                                       const QString &tmpItemNO, const QString &tmpItemPriceGroup)
{
    m_lastError.clear();
    try {
        checkConnection();
        Recordset rule = openSnapshot(PriceCodeStatement(tmpCustNo, tmpCustPriceGroup, tmpItemNO, tmpItemPriceGroup));
        if (rule.isEmpty())
            return rule;
        rule.moveFirst();
        if (!AsksForLastPrice(rule))
            return rule;
        // The last-price rule: the price of the customer's newest invoice line for the item.
        return openSnapshot(LastPriceStatement(tmpCustNo, tmpItemNO));
    } catch (const std::exception &e) {
        rememberFailure(e);
        return Get_Blank_Recordset();
    }
}
