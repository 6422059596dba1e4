#pragma once

#include "runtime/Currency.h"

#include <QString>

class clsServer;
class Recordset;

// Where PriceDetailLine reads what it prices by: the answers clsServer::Get_A_PriceInfo and
// Get_PriceCodeInfo give, asked line by line or fetched for a whole order (OrderPriceLookups).
class PriceLookups
{
public:
    virtual ~PriceLookups() = default;
    virtual Recordset priceInfo(const QString &itemNo, const QString &rowText, const QString &colText) = 0;
    virtual Recordset priceCode(const QString &custNo, const QString &custPriceGroup, const QString &itemNo,
                                const QString &itemPriceGroup) = 0;
};

// Prices one order line by the suite's price codes: returns the net unit price and, through the
// last three arguments, the discount percent, the discount amount per unit against the list
// price, and the commission rate. 0 when the item variant is unknown, the level cannot be chosen
// or a figure is missing; the list price when no price code applies. Arguments 5 and 6 are part
// of the calling convention and not read.
double PriceDetailLine(PriceLookups &lookups, const QString &itemNo, const QString &rowText, const QString &colText,
                       const QString &quantity, const QString &unused5, const QString &unused6, const QString &custNo,
                       const QString &custPriceLevel, double &dcPercent, Currency &dcAmount, double &commRate);
// The same with the look-ups asked of `server` line by line. After a database failure the figures
// mean nothing and server.lastErrorText() says why; it is left as it was when the line needed no
// look-up.
double PriceDetailLine(clsServer &server, const QString &itemNo, const QString &rowText, const QString &colText,
                       const QString &quantity, const QString &unused5, const QString &unused6,
                       const QString &custNo, const QString &custPriceLevel, double &dcPercent,
                       Currency &dcAmount, double &commRate);
