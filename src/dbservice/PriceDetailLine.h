#pragma once

#include "runtime/Currency.h"

#include <QString>

class clsServer;

// Prices one order line by the suite's price codes read through `server`: returns the net unit price
// and, through the last three arguments, the discount percent, the discount amount per unit
// against the list price, and the commission rate. 0 when the item variant is unknown, the level
// cannot be chosen or a figure is missing; the list price when no price code applies.
// Arguments 5 and 6 are part of the calling convention and not read. After a database failure
// the figures mean nothing and server.lastErrorText() says why; it is left as it was when the
// line needed no look-up.
double PriceDetailLine(clsServer &server, const QString &itemNo, const QString &rowText, const QString &colText,
                       const QString &quantity, const QString &unused5, const QString &unused6,
                       const QString &custNo, const QString &custPriceLevel, double &dcPercent,
                       Currency &dcAmount, double &commRate);
