#pragma once

#include "runtime/Currency.h"
#include "queue/OrderFile.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <optional>
#include <utility>

class Recordset;

// The conversion of a terminal order into the draft of a sales order, without a window: the
// lines priced by the suite's price codes, subtotal, tax, discount and total, the header fields.
// What it needs of the suite's database comes through OrderLookups; the station answers from
// the database service (SuiteOrderLookups), tests from memory.

// An item as the conversion reads it.
struct OrderItem
{
    QString uid, uname, itemrow, itemcol, salesum, salesfactor, pricecode;
    double taxable = 0;    // 1: taxable
    double commission = 0; // 1: subject to commission
    double itemtype = 0;   // 2: a matrix item
};

// The price look-up's answer for one line: net unit price, the discount percent, the discount
// amount per unit, the commission rate (percent).
struct LinePrice
{
    double unit = 0;
    double dcPercent = 0;
    Currency dcAmount;
    double commRate = 0;
};

struct ShipToAddress
{
    QString address1, address2, city, state, zip, country;
};

// Every question throws std::exception with an operator-readable text when the database cannot
// answer; the conversion then fails with that text.
class OrderLookups
{
public:
    virtual ~OrderLookups() = default;
    // None when the item is not on file.
    virtual std::optional<OrderItem> item(const QString &itemNo) = 0;
    // `quantity` as the terminal page shows it; `custNo` as the queue lists it.
    virtual LinePrice price(const OrderItem &item, const QString &quantity, const QString &custNo,
                            const QString &priceLevel) = 0;
    // The customer's ship-to of that name; none when there is no such ship-to.
    virtual std::optional<ShipToAddress> shipTo(const QString &custUid, const QString &shipToName) = 0;
    // The salesperson's commission rate; 0 when the salesperson is not on file.
    virtual double commission(const QString &salesperson) = 0;
};

// One line of the draft: a row of the terminal page and a row of the detail record. Numbers are
// as the page shows them (15 significant digits); money is rounded to cents as the suite does.
struct DraftLine
{
    QString itemNo, description, color, size, um, salesFactor;
    QString itemType; // "m" for a matrix item, else "nm"
    double ordered = 0;
    double unit = 0;
    Currency extended;
    bool taxable = false;
    double dcPercent = 0;
    Currency dcAmount;
    bool subjectToCommission = false;
    double commRate = 0;
    qint64 lineNumber = 0; // a line ordered with quantity 0 shares the previous line's number
};

struct SalesOrderDraft
{
    QList<DraftLine> lines; // the lines read, also those before a failure
    Currency subtotal;      // sum of the lines' extended prices
    Currency tax;           // of the taxable lines, when the customer has a tax rate
    Currency dc;            // the customer's discount
    Currency total;         // subtotal + tax - dc
    // The header row's fields as the conversion sets them; the others stay null.
    QList<std::pair<QString, QVariant>> header;
    // Records whose quantity was not a number, for the operator (UnreadQuantityNote).
    QStringList notes;
    QString failure; // not empty: the order cannot be saved, and why
    QDate date;      // of the order and its lines
};

struct OrderContext
{
    QString custNo;     // as the queue lists it (the price look-up is asked with it)
    int terminal = 1;   // 1 to 6
    QDateTime at;       // the dates and the input time of the order
    bool tradeShow = false;
};

// "" when the records make an order; otherwise why not: an empty order file, or one none of
// whose lines would be saved (every quantity 0 or unreadable).
QString OrderRefusal(const QList<OrderRecord> &records);

// Converts the records for `customer` (the current row of a customer record set, all columns).
// `lineRead` is told each line as soon as it is priced, so a window can show it at once.
SalesOrderDraft DraftSalesOrder(const QList<OrderRecord> &records, const Recordset &customer,
                                OrderLookups &lookups, const OrderContext &context,
                                const std::function<void(const DraftLine &)> &lineRead = {});

// Adds the draft's header row and one detail row per line to the opened header and detail
// record sets (mf_CreateNewFieldSoHeader / mf_CreateNewFieldSoDetail). Throws DbError.
void WriteSalesOrderRecords(const SalesOrderDraft &draft, Recordset &rsHeader, Recordset &rsDetail);
