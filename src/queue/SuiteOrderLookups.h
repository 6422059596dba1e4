#pragma once

#include "queue/OrderConverter.h"

class clsServer;

// The conversion's questions answered from the suite's database through the database service.
// Codes are put into the statements with their quotes doubled.
class SuiteOrderLookups : public OrderLookups
{
public:
    explicit SuiteOrderLookups(clsServer &server) : m_server(server) {}

    // The customer's row (all columns, current); none when the customer is not on file.
    std::optional<Recordset> customer(const QString &custNo);

    std::optional<OrderItem> item(const QString &itemNo) override;
    LinePrice price(const OrderItem &item, const QString &quantity, const QString &custNo,
                    const QString &priceLevel) override;
    std::optional<ShipToAddress> shipTo(const QString &custUid, const QString &shipToName) override;
    double commission(const QString &salesperson) override;

private:
    clsServer &m_server;
};
