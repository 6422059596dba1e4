#include "dbservice/clsServer.h"


Recordset clsServer::Get_A_PriceInfo(const QString &tmpItemNO, const QString &tmpRowText,
                                     const QString &tmpColText)
{
    m_lastError.clear();
    try {
        checkConnection();
        QString statement = "SELECT price,pricecode,cost FROM item where uid = '" + quoted(tmpItemNO) + "'";
        if (!tmpRowText.isEmpty() || !tmpColText.isEmpty())
            statement += " and itemrow='" + quoted(tmpRowText) + "' and itemcol='" + quoted(tmpColText) + "'";
        return openSnapshot(statement);
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
        const QString customer = quoted(tmpCustNo);
        const QString item = quoted(tmpItemNO);
        Recordset rule = openSnapshot(
            "SELECT top 1 * FROM pricecode where (uid = ' All Items' or uid='" + item + "' or uid='"
            + quoted(tmpItemPriceGroup) + "' ) and (uname = ' All Customers' or uname='" + customer
            + "' or uname='" + quoted(tmpCustPriceGroup) + "' ) order by priority ");
        if (rule.isEmpty())
            return rule;
        rule.moveFirst();
        if (rule.isNull(QStringLiteral("method")) || rule.number(QStringLiteral("method")) != 10)
            return rule;
        // The last-price rule: the price of the customer's newest invoice line for the item.
        return openSnapshot(
            "SELECT top 1 soinvdetail.unit,soinvdetail.commrate,10 as [method] FROM soinv inner join "
            "soinvdetail on soinv.invno=soinvdetail.invno where soinv.custno='" + customer
            + "' and soinvdetail.itemno='" + item + "' order by soinv.invdate desc");
    } catch (const std::exception &e) {
        rememberFailure(e);
        return Get_Blank_Recordset();
    }
}
