#pragma once

#include "sqlaccess/Recordset.h"

#include <QString>

// The statements of the price look-ups (clsServer::Get_A_PriceInfo, Get_PriceCodeInfo), asked
// line by line or for a whole order at once. Codes are put in with their quotes doubled.

// The item variant's list price, price group and cost; the first variant of the item when the
// row and column texts are both "".
QString PriceInfoStatement(const QString &itemNo, const QString &rowText, const QString &colText);
// The one price code that applies to the customer and the item, by priority.
QString PriceCodeStatement(const QString &custNo, const QString &custPriceGroup, const QString &itemNo,
                           const QString &itemPriceGroup);
// The price of the customer's newest invoice line for the item, for the last-price method 10.
QString LastPriceStatement(const QString &custNo, const QString &itemNo);
// Whether the price code set's rule is the last-price method, answered by LastPriceStatement
// instead. Throws DbError for a method that is no number.
bool AsksForLastPrice(const Recordset &rule);
