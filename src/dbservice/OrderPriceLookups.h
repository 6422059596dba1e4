#pragma once

#include "dbservice/PriceDetailLine.h"
#include "sqlaccess/Recordset.h"

#include <QHash>
#include <QList>
#include <QString>

class clsServer;

// The price look-ups of a whole order fetched at once: what Get_A_PriceInfo and Get_PriceCodeInfo
// answer for each line, in one statement per kind of question (item prices, price codes, last
// invoice prices) instead of two or three statements per line. Each answer holds the rows the
// line's own statement would give. A question not fetched is asked of the server as it comes.
class OrderPriceLookups : public PriceLookups
{
public:
    explicit OrderPriceLookups(clsServer &server)
        : m_server(server)
    {
    }

    struct ItemVariant
    {
        QString itemNo, rowText, colText;
    };
    // Fetches the answers for the variants of one order and its customer. False when the
    // database did not answer (the server's lastErrorText() says why): what was not fetched is
    // then asked line by line, which meets the same failure and reports it as it always has.
    bool prefetch(const QList<ItemVariant> &variants, const QString &custNo, const QString &custPriceGroup);

    Recordset priceInfo(const QString &itemNo, const QString &rowText, const QString &colText) override;
    Recordset priceCode(const QString &custNo, const QString &custPriceGroup, const QString &itemNo,
                        const QString &itemPriceGroup) override;

private:
    clsServer &m_server;
    QHash<QString, Recordset> m_priceInfo; // by PriceInfoStatement
    QHash<QString, Recordset> m_priceCode; // by PriceCodeStatement
};
