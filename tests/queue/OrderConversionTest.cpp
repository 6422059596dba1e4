// The conversion's arithmetic and choices, read back from the saved sales order.

#include "QueueWindowFixture.h"

#include "Module1.h"
#include "SpreadGrid.h"

#include <QDate>

namespace {

class OrderConversionTest : public QueueWindowTest
{
protected:
    // Drops the order, lists it and converts it in one pass; the order's number, "" when unsaved.
    QString convert(const QString &name, const QStringList &lines, const QString &custNo)
    {
        dropOrder(name, lines, custNo);
        scan();
        pass();
        QString key = custNo;
        DoubleQuotes(key);
        return suite->scalar("SELECT invno FROM so WHERE CustNo='" + key + "' ORDER BY invno DESC").toString();
    }
    QVariant so(const QString &invno, const QString &column) const
    {
        return suite->scalar("SELECT " + column + " FROM so WHERE invno='" + invno + "'");
    }
    QVariant line(const QString &invno, int index, const QString &column) const
    {
        return suite->scalar("SELECT " + column + " FROM sodetail WHERE invno='" + invno + "' ORDER BY autonum LIMIT 1 OFFSET "
                             + QString::number(index));
    }
};

struct Totals
{
    const char *title;
    const char *custNo;
    QStringList lines;
    double amount, tax, dc, tdcpercent, total;
};

} // namespace

TEST_F(OrderConversionTest, TaxDiscountAndTotals)
{
    // GC25 is not taxable (25.00), MUG600 is taxable (7.25); neither has a price rule.
    const Totals cases[] = {
        {"no tax rate: no tax even on taxable lines", "C1001", {"MUG600\t4", "GC25\t1"}, 54.00, 0, 0, 0, 54.00},
        {"tax on the taxable lines only, rounded to cents", "C1002", {"GC25\t2", "MUG600\t4"}, 79.00, 2.39, 0, 0, 81.39},
        {"discount on the subtotal, no tax rate", "C1003", {"MUG600\t10"}, 72.50, 0, 7.25, 10, 65.25},
        {"tax and discount, each rounded half up", "C1004", {"GC25\t4", "MUG600\t2"}, 114.50, 1.02, 5.73, 5, 109.79},
        {"fractional quantity", "C1001", {"MUG600\t2.5"}, 18.13, 0, 0, 0, 18.13},
    };
    int n = 0;
    for (const Totals &c : cases) {
        const QString invno = convert(QStringLiteral("A%1T1A.ord").arg(++n), c.lines, c.custNo);
        ASSERT_FALSE(invno.isEmpty()) << c.title << ": " << queueText(6, 1).toStdString();
        EXPECT_DOUBLE_EQ(so(invno, "amount").toDouble(), c.amount) << c.title;
        EXPECT_DOUBLE_EQ(so(invno, "tax").toDouble(), c.tax) << c.title;
        EXPECT_DOUBLE_EQ(so(invno, "dc").toDouble(), c.dc) << c.title;
        EXPECT_DOUBLE_EQ(so(invno, "tdcpercent").toDouble(), c.tdcpercent) << c.title;
        EXPECT_DOUBLE_EQ(so(invno, "total").toDouble(), c.total) << c.title;
        EXPECT_DOUBLE_EQ(so(invno, "balance").toDouble(), c.total) << c.title;
        // The order's amount is the sum of its lines.
        EXPECT_DOUBLE_EQ(suite->scalar("SELECT SUM(extended) FROM sodetail WHERE invno='" + invno + "'").toDouble(),
                         c.amount)
            << c.title;
    }
}

TEST_F(OrderConversionTest, PricedLinesCarryDiscountAndCommission)
{
    // TEES, method 0: 12 of AB-M is level 2, 5 % off 12.50 with commission 5.
    const QString invno = convert("A1T2A.ord", {"AB-M\t12"}, "C1001");
    ASSERT_FALSE(invno.isEmpty()) << queueText(6, 1).toStdString();
    EXPECT_DOUBLE_EQ(line(invno, 0, "unit").toDouble(), 11.875);
    EXPECT_DOUBLE_EQ(line(invno, 0, "extended").toDouble(), 142.50);
    EXPECT_DOUBLE_EQ(line(invno, 0, "DcPercent").toDouble(), 5);
    EXPECT_DOUBLE_EQ(line(invno, 0, "dcamount").toDouble(), 0.62);
    EXPECT_DOUBLE_EQ(line(invno, 0, "commrate").toDouble(), 5);
    EXPECT_EQ(line(invno, 0, "applytax").toInt(), 1);
    EXPECT_EQ(line(invno, 0, "Commission").toInt(), 1);
    EXPECT_EQ(line(invno, 0, "itype").toString(), "nm");
    EXPECT_DOUBLE_EQ(so(invno, "Commission").toDouble(), 5); // salesperson S01

    // The terminal's page shows the same line.
    SpreadGrid *page = window->fGrid[1];
    ASSERT_EQ(page->maxRows(), 1);
    EXPECT_EQ(page->text(1, 1), "AB-M");
    EXPECT_EQ(page->text(6, 1), "12");
    EXPECT_EQ(page->text(10, 1), "11.875");
    EXPECT_EQ(page->text(11, 1), "142.50");
    EXPECT_EQ(page->text(12, 1), "Y");
    EXPECT_EQ(page->text(18, 1), "nm");
}

TEST_F(OrderConversionTest, LinesOrderedWithQuantityZeroTakeNoLineNumber)
{
    const QString invno = convert("A1T1A.ord", {"MUG600\t0", "GC25\t1", "MUG600\t0", "GC25\t2", "POLO200\t1"}, "C1001");
    ASSERT_FALSE(invno.isEmpty()) << queueText(6, 1).toStdString();
    EXPECT_EQ(window->fGrid[0]->maxRows(), 5);
    // The save leaves out the empty lines; the others keep the numbers the conversion gave them.
    ASSERT_EQ(suite->count("SELECT * FROM sodetail WHERE invno='" + invno + "'"), 3);
    QList<int> numbers;
    for (int i = 0; i < 3; ++i)
        numbers << line(invno, i, "linenum").toInt();
    EXPECT_EQ(numbers, (QList<int>{1, 2, 3}));
    EXPECT_EQ(line(invno, 2, "itype").toString(), "m");
}

TEST_F(OrderConversionTest, ShipToChoiceAndUserId)
{
    struct ShipTo
    {
        const char *title;
        const char *custNo;
        const char *name, *address1, *city;
    };
    const ShipTo cases[] = {
        {"leading blank marks the bill-to address", "C1001", "Harbor Street Boutique", "214 Harbor Street", "Port Lindon"},
        {"named ship-to", "C1003", "Warehouse", "400 Depot Street", "Asheton"},
        {"ship-to name with a quote", "C1004", "O'Hara Distribution Center", "77 Industrial Way", "Mesa Verde"},
        {"marker without the blank is a ship-to name, not found", "C1005", "Same As Bill To", "", ""},
        {"ship-to naming no address", "C1006", " None", "", ""},
    };
    int n = 0;
    for (const ShipTo &c : cases) {
        ++n;
        const QString invno = convert(QStringLiteral("B%1T%1A.ord").arg(n), {"GC25\t1"}, c.custNo);
        ASSERT_FALSE(invno.isEmpty()) << c.title;
        EXPECT_EQ(so(invno, "sadressname").toString(), c.name) << c.title;
        EXPECT_EQ(so(invno, "sAddress1").toString(), c.address1) << c.title;
        EXPECT_EQ(so(invno, "sCity").toString(), c.city) << c.title;
        EXPECT_EQ(so(invno, "userid").toString(), QStringLiteral("RF%1").arg(n)) << c.title;
        EXPECT_EQ(so(invno, "badressname").toString(), suite->scalar(QStringLiteral("SELECT uname FROM customer WHERE uid='%1'").arg(c.custNo)).toString());
    }
    const QString last = convert("B6T6A.ord", {"GC25\t1"}, "C1001");
    EXPECT_EQ(so(last, "userid").toString(), "RF6");
    EXPECT_EQ(so(last, "inputdate").toString().left(10), QDate::currentDate().toString(Qt::ISODate));
    EXPECT_EQ(so(last, "housefactor").toString(), "H");
    EXPECT_EQ(so(last, "ordstatus").toInt(), 0);
}

TEST_F(OrderConversionTest, QuotesInCustomerAndItemNumbersAreDoubled)
{
    suite->exec("INSERT INTO employee (uid, uname, commission) VALUES ('S''9', 'Quote Person', 7);"
                "INSERT INTO customer (uid, uname, shipto, salesperson, pricelevel, taxrate, DcPercent) "
                "VALUES ('O''NEIL', 'O''Neil Shop', ' Same As Bill To', 'S''9', '1', 0, 0);"
                "INSERT INTO item (uid, uname, itemtype, salesum, salesfactor, price, cost, taxable, commission) "
                "VALUES ('AB''C', 'Quoted Item', 0, 'EA', 1, 3.00, 1.00, 0, 0);");
    const QString invno = convert("A1T1A.ord", {"AB'C\t2"}, "O'NEIL");
    ASSERT_FALSE(invno.isEmpty()) << queueText(6, 1).toStdString();
    EXPECT_DOUBLE_EQ(so(invno, "total").toDouble(), 6.00);
    EXPECT_DOUBLE_EQ(so(invno, "Commission").toDouble(), 7);
    EXPECT_EQ(line(invno, 0, "itemno").toString(), "AB'C");
}

TEST_F(OrderConversionTest, FailuresLeaveTheOrderQueuedWithItsReason)
{
    struct Failure
    {
        const char *title;
        QStringList lines;
        const char *custNo;
        const char *status;
    };
    const Failure cases[] = {
        {"unknown customer", {"GC25\t1"}, "C9999", "** SKIPPED ** Error: customer # C9999 not found"},
        {"unknown item in the middle", {"GC25\t1", "ZZ-999\t3", "MUG600\t1"}, "C1001",
         "** SKIPPED ** Error: item \"ZZ-999\" (record 2) not found"},
        {"empty order file", {}, "C1001", "** SKIPPED ** Error: the order file holds no items"},
    };
    for (const Failure &c : cases) {
        window->fQue->setMaxRows(0);
        dropOrder("A1T1A.ord", c.lines, c.custNo);
        if (c.lines.isEmpty())
            writeQueueFile("A1T1A.ord", {});
        scan();
        pass();
        ASSERT_EQ(queueRows(), 1) << c.title;
        EXPECT_EQ(queueText(6, 1), c.status) << c.title;
        EXPECT_EQ(orderCount(), 0) << c.title;
        EXPECT_TRUE(queueFiles().contains("A1T1A.ord")) << c.title;
    }
    // The lines read before the unknown item stay on the terminal page.
    dropOrder("A1T1A.ord", {"GC25\t1", "ZZ-999\t3"}, "C1001");
    scan();
    pass();
    EXPECT_EQ(window->fGrid[0]->maxRows(), 1);
    EXPECT_EQ(window->fGrid[0]->text(1, 1), "GC25");
}

TEST_F(OrderConversionTest, FailedSaveShowsErrorOnTheTerminalPage)
{
    suite->exec("DROP TABLE sodetail");
    dropOrder("A1T3A.ord", {"GC25\t1"}, "C1002");
    scan();
    pass();
    EXPECT_EQ(window->lblInvNo[2]->text(), "**ERROR**");
    EXPECT_EQ(window->lblCustName[2]->text(), "Maple Lane Apparel");
    EXPECT_EQ(window->lblOrderTotal[2]->text(), "");
    ASSERT_EQ(queueRows(), 1);
    EXPECT_TRUE(queueText(6, 1).startsWith("** SKIPPED ** Error :")) << queueText(6, 1).toStdString();
    EXPECT_EQ(orderCount(), 0);
    // The number was not used up by the failed save.
    EXPECT_EQ(suite->scalar("SELECT nnextno FROM no_setup WHERE sourcename='no_salesorder'").toInt(), 1001);
}
