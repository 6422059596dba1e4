// The conversion's arithmetic and choices, on the converter alone: no window, no database.

#include "queue/FakeOrderLookups.h"
#include "queue/OrderConverter.h"
#include "queue/SalesOrderRecords.h"

#include <gtest/gtest.h>

namespace {

const QDateTime At(QDate(2024, 3, 5), QTime(14, 7, 9, 450));

SalesOrderDraft draft(const QStringList &lines, const Recordset &customer, OrderLookups &lookups,
                      int terminal = 1, bool tradeShow = false)
{
    return DraftSalesOrder(ParseOrderRecords(lines.join("\r\n").toLatin1()), customer, lookups,
                           {"C1001", terminal, At, tradeShow});
}

struct Records
{
    Recordset header, detail;
    explicit Records(const SalesOrderDraft &draft)
    {
        EXPECT_TRUE(mf_CreateNewFieldSoHeader(header) && mf_CreateNewFieldSoDetail(detail));
        header.open();
        detail.open();
        WriteSalesOrderRecords(draft, header, detail);
        header.moveFirst();
    }
    // One detail field down the lines: "1,2,3".
    QString column(const char *field)
    {
        QStringList values;
        for (detail.moveFirst(); !detail.eof(); detail.moveNext())
            values << detail.text(field);
        return values.join(',');
    }
};

} // namespace

TEST(OrderConverter, TaxDiscountAndTotals)
{
    // GC25 (25.00) is not taxable, MUG600 (7.25) is.
    const struct
    {
        double taxRate, dcPercent;
        QStringList lines;
        double amount, tax, dc, total;
    } cases[] = {
        {0, 0, {"MUG600\t4", "GC25\t1"}, 54.00, 0, 0, 54.00},          // no tax rate: no tax
        {8.25, 0, {"GC25\t2", "MUG600\t4"}, 79.00, 2.39, 0, 81.39},    // 8.25 % of 29.00
        {0, 10, {"MUG600\t10"}, 72.50, 0, 7.25, 65.25},                // 10 % discount
        {7, 5, {"GC25\t4", "MUG600\t2"}, 114.50, 1.02, 5.73, 109.79},  // 1.015 and 5.725 round up
        {0, 0, {"MUG600\t2.5"}, 18.13, 0, 0, 18.13},                   // the line is rounded to cents
        {8.25, 0, {"MUG600\t-2", "GC25\t1"}, 10.50, -1.20, 0, 9.30},   // a return
    };
    FakeOrderLookups lookups;
    for (const auto &c : cases) {
        const SalesOrderDraft order =
            draft(c.lines, customerRow({{"taxrate", c.taxRate}, {"DcPercent", c.dcPercent}}), lookups);
        ASSERT_EQ(order.failure, "");
        Records rs(order);
        const std::string at = c.lines.join(' ').toStdString();
        EXPECT_DOUBLE_EQ(rs.header.number("amount"), c.amount) << at;
        EXPECT_DOUBLE_EQ(rs.header.number("tax"), c.tax) << at;
        EXPECT_DOUBLE_EQ(rs.header.number("dc"), c.dc) << at;
        EXPECT_DOUBLE_EQ(rs.header.number("tdcpercent"), c.dcPercent) << at;
        EXPECT_DOUBLE_EQ(rs.header.number("total"), c.total) << at;
        EXPECT_DOUBLE_EQ(rs.header.number("balance"), c.total) << at;
        double sum = 0;
        for (rs.detail.moveFirst(); !rs.detail.eof(); rs.detail.moveNext())
            sum += rs.detail.number("extended");
        EXPECT_DOUBLE_EQ(sum, c.amount) << at;
    }
}

TEST(OrderConverter, LinesAndHeaderRecords)
{
    FakeOrderLookups lookups;
    lookups.commissions.insert("S1", 7.5);
    const SalesOrderDraft order =
        draft({"MUG600\t0", "GC25\t1", "MUG600\t0", "GC25\t2", "POLO200\t1"}, customerRow(), lookups, 6, true);
    ASSERT_EQ(order.failure, "");
    Records rs(order);
    // A line ordered with quantity 0 shares the previous line's number (0 when it is the first).
    EXPECT_EQ(rs.column("linenum"), "0,1,1,2,3");
    EXPECT_EQ(rs.column("itype"), "nm,nm,nm,nm,m");
    EXPECT_EQ(rs.column("applytax"), "1,0,1,0,1");
    EXPECT_EQ(rs.column("Commission"), "0,0,0,0,1");
    EXPECT_EQ(rs.column("invno"), "Auto No.,Auto No.,Auto No.,Auto No.,Auto No.");

    EXPECT_EQ(rs.header.text("userid"), "RF6");
    EXPECT_EQ(rs.header.value("invdate").toDate(), At.date());
    EXPECT_EQ(rs.header.value("inputtime").toTime(), QTime(14, 7, 9));
    EXPECT_TRUE(rs.header.value("addedinshow").toBool());
    EXPECT_DOUBLE_EQ(rs.header.number("Commission"), 7.5);
    EXPECT_EQ(rs.header.text("terms") + rs.header.text("shipvia"), "NET30UPS");
    for (const char *unset : {"paydate", "ref", "versionstamp", "baddress2"})
        EXPECT_TRUE(rs.header.isNull(unset)) << unset;
}

TEST(OrderConverter, ShipToChoice)
{
    FakeOrderLookups lookups;
    lookups.shipTos.insert("Warehouse", {"400 Depot Street", "Dock 3", "Asheton", "NC", "28803", "USA"});
    const struct
    {
        const char *shipTo, *name, *address1, *city;
    } cases[] = {
        {" Same As Bill To", "Harbor Street Boutique", "214 Harbor Street", "Port Lindon"},
        {"Warehouse", "Warehouse", "400 Depot Street", "Asheton"},
        {"Same As Bill To", "Same As Bill To", "", ""}, // without the leading blank: a ship-to name, not found
    };
    for (const auto &c : cases) {
        Records rs(draft({"GC25\t1"}, customerRow({{"shipto", c.shipTo}}), lookups));
        EXPECT_EQ(rs.header.text("sadressname"), c.name);
        EXPECT_EQ(rs.header.text("saddress1"), c.address1) << c.shipTo;
        EXPECT_EQ(rs.header.text("scity"), c.city) << c.shipTo;
    }
}
