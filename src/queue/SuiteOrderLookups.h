#pragma once

#include "dbservice/OrderPriceLookups.h"
#include "queue/OrderConverter.h"
#include "sqlaccess/Recordset.h"

#include <QHash>

class clsServer;

// The conversion's questions answered from the suite's database through the database service.
// Codes are put into the statements with their quotes doubled.
class SuiteOrderLookups : public OrderLookups
{
public:
    explicit SuiteOrderLookups(clsServer &server)
        : m_server(server)
        , m_prices(server)
    {
    }

    // The customer's row (all columns, current); none when the customer is not on file.
    std::optional<Recordset> customer(const QString &custNo);
    // Fetches what converting `records` for the customer will ask line by line (each item, its
    // price row and price code) in a few statements for the whole order, on a database server,
    // where each statement is a round trip: item() and price() then answer from what was fetched,
    // with the rows their own statements give. Fails silently: what was not fetched is asked line
    // by line.
    // `custNo` as the queue lists it, `custPriceLevel` the customer's pricelevel.
    void prefetch(const QList<OrderRecord> &records, const QString &custNo, const QString &custPriceLevel);

    std::optional<OrderItem> item(const QString &itemNo) override;
    LinePrice price(const OrderItem &item, const QString &quantity, const QString &custNo,
                    const QString &priceLevel) override;
    std::optional<ShipToAddress> shipTo(const QString &custUid, const QString &shipToName) override;
    double commission(const QString &salesperson) override;

private:
    // The conversion's item from the rows of the item look-up: their first row; none without rows.
    static std::optional<OrderItem> itemOf(Recordset item);

    clsServer &m_server;
    OrderPriceLookups m_prices;
    QHash<QString, Recordset> m_items; // fetched item rows, by item number as the order names it
};
