#include "dbservice/OrderPriceLookups.h"

#include "dbservice/PriceStatements.h"
#include "dbservice/clsServer.h"

#include <QSet>

namespace {

// The statements not answered yet, each once.
QStringList unasked(const QStringList &statements, const QHash<QString, Recordset> &answered)
{
    QStringList ask;
    QSet<QString> seen;
    for (const QString &statement : statements)
        if (!answered.contains(statement) && !seen.contains(statement)) {
            seen.insert(statement);
            ask << statement;
        }
    return ask;
}

} // namespace

bool OrderPriceLookups::prefetch(const QList<ItemVariant> &variants, const QString &custNo,
                                 const QString &custPriceGroup)
{
    QStringList priceInfo;
    for (const ItemVariant &variant : variants)
        priceInfo << PriceInfoStatement(variant.itemNo, variant.rowText, variant.colText);
    priceInfo = unasked(priceInfo, m_priceInfo);
    const QList<Recordset> items = m_server.Get_sqlResults(priceInfo);
    if (items.size() != priceInfo.size())
        return false;

    // The price code of every variant that is there, by its item number and price group.
    QHash<QString, QString> itemNoOf; // price code statement -> item number
    QStringList priceCodes;
    for (qsizetype i = 0; i < items.size(); ++i)
        m_priceInfo.insert(priceInfo[i], items[i]);
    for (const ItemVariant &variant : variants) {
        Recordset item = m_priceInfo.value(PriceInfoStatement(variant.itemNo, variant.rowText, variant.colText));
        if (item.isEmpty())
            continue;
        item.moveFirst();
        const QString statement =
            PriceCodeStatement(custNo, custPriceGroup, variant.itemNo, item.text(QStringLiteral("pricecode")));
        itemNoOf.insert(statement, variant.itemNo);
        priceCodes << statement;
    }
    priceCodes = unasked(priceCodes, m_priceCode);
    const QList<Recordset> rules = m_server.Get_sqlResults(priceCodes);
    if (rules.size() != priceCodes.size())
        return false;

    // Rules of the last-price method are answered by the customer's newest invoice line instead.
    QStringList lastPriceOf; // per rule: its last-price statement, or "" when it needs none
    QStringList lastPrices;
    for (qsizetype i = 0; i < rules.size(); ++i) {
        Recordset rule = rules[i];
        QString lastPrice;
        try {
            if (!rule.isEmpty()) {
                rule.moveFirst();
                if (AsksForLastPrice(rule))
                    lastPrice = LastPriceStatement(custNo, itemNoOf.value(priceCodes[i]));
            }
        } catch (const std::exception &) {
            lastPriceOf << QString(); // a method that is no number: asked line by line, where it fails
            continue;
        }
        if (lastPrice.isEmpty())
            m_priceCode.insert(priceCodes[i], rule);
        else
            lastPrices << lastPrice;
        lastPriceOf << lastPrice;
    }
    const QList<Recordset> invoices = m_server.Get_sqlResults(lastPrices);
    if (invoices.size() != lastPrices.size())
        return false;
    for (qsizetype i = 0, invoice = 0; i < rules.size(); ++i)
        if (!lastPriceOf[i].isEmpty())
            m_priceCode.insert(priceCodes[i], invoices[invoice++]);
    return true;
}

Recordset OrderPriceLookups::priceInfo(const QString &itemNo, const QString &rowText, const QString &colText)
{
    const auto found = m_priceInfo.constFind(PriceInfoStatement(itemNo, rowText, colText));
    return found != m_priceInfo.constEnd() ? *found : m_server.Get_A_PriceInfo(itemNo, rowText, colText);
}

Recordset OrderPriceLookups::priceCode(const QString &custNo, const QString &custPriceGroup, const QString &itemNo,
                                       const QString &itemPriceGroup)
{
    const auto found = m_priceCode.constFind(PriceCodeStatement(custNo, custPriceGroup, itemNo, itemPriceGroup));
    return found != m_priceCode.constEnd() ? *found
                                           : m_server.Get_PriceCodeInfo(custNo, custPriceGroup, itemNo, itemPriceGroup);
}
