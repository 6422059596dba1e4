// The conversion's arithmetic and choices, read back from the saved sales order.

#include "QueueWindowFixture.h"

#include "SpreadGrid.h"

namespace {

class OrderConversionTest : public QueueWindowTest
{
protected:
    // Converts one order; the new order's number, "" when it was not saved.
    QString convert(const QString &name, const QStringList &lines, const QString &custNo)
    {
        const int before = orders();
        dropOrder(name, lines, custNo);
        scanAndPass();
        return orders() > before ? suite->scalar("SELECT MAX(invno) FROM so").toString() : QString();
    }
    QVariant so(const QString &invno, const QString &column) const
    {
        return suite->scalar("SELECT " + column + " FROM so WHERE invno='" + invno + "'");
    }
};

} // namespace

TEST_F(OrderConversionTest, TaxDiscountAndTotals)
{
    // GC25 (25.00) is not taxable, MUG600 (7.25) is; neither has a price rule.
    const struct
    {
        const char *custNo;
        QStringList lines;
        double amount, tax, dc, tdcpercent, total;
    } cases[] = {
        {"C1001", {"MUG600\t4", "GC25\t1"}, 54.00, 0, 0, 0, 54.00},          // no tax rate: no tax
        {"C1002", {"GC25\t2", "MUG600\t4"}, 79.00, 2.39, 0, 0, 81.39},       // 8.25 % of 29.00
        {"C1003", {"MUG600\t10"}, 72.50, 0, 7.25, 10, 65.25},               // 10 % discount
        {"C1004", {"GC25\t4", "MUG600\t2"}, 114.50, 1.02, 5.73, 5, 109.79}, // 1.015 and 5.725 round up
        {"C1001", {"MUG600\t2.5"}, 18.13, 0, 0, 0, 18.13},                  // the line is rounded to cents
    };
    int n = 0;
    for (const auto &c : cases) {
        const QString invno = convert(QStringLiteral("A%1T1A.ord").arg(++n), c.lines, c.custNo);
        ASSERT_FALSE(invno.isEmpty()) << c.custNo << ": " << que(6, 1).toStdString();
        EXPECT_DOUBLE_EQ(so(invno, "amount").toDouble(), c.amount) << invno.toStdString();
        EXPECT_DOUBLE_EQ(so(invno, "tax").toDouble(), c.tax) << invno.toStdString();
        EXPECT_DOUBLE_EQ(so(invno, "dc").toDouble(), c.dc) << invno.toStdString();
        EXPECT_DOUBLE_EQ(so(invno, "tdcpercent").toDouble(), c.tdcpercent) << invno.toStdString();
        EXPECT_DOUBLE_EQ(so(invno, "total").toDouble(), c.total) << invno.toStdString();
        EXPECT_DOUBLE_EQ(so(invno, "balance").toDouble(), c.total) << invno.toStdString();
        EXPECT_DOUBLE_EQ(suite->scalar("SELECT SUM(extended) FROM sodetail WHERE invno='" + invno + "'").toDouble(),
                         c.amount);
    }
    EXPECT_EQ(window->fGrid[0]->text(11, 1), "18.13");
    EXPECT_EQ(window->fGrid[0]->text(12, 1), "Y");
}

TEST_F(OrderConversionTest, LinesOrderedWithQuantityZeroTakeNoLineNumber)
{
    const QString invno = convert("A1T1A.ord", {"MUG600\t0", "GC25\t1", "MUG600\t0", "GC25\t2", "POLO200\t1"}, "C1001");
    ASSERT_FALSE(invno.isEmpty()) << que(6, 1).toStdString();
    // The save leaves the empty lines out; the others keep the numbers they were given.
    EXPECT_EQ(suite->scalar("SELECT group_concat(linenum || itype) FROM (SELECT * FROM sodetail ORDER BY autonum)")
                  .toString(),
              "1nm,2nm,3m");
}

TEST_F(OrderConversionTest, ShipToChoiceAndUserId)
{
    const struct
    {
        const char *custNo, *shipName, *address1;
    } cases[] = {
        {"C1001", "Harbor Street Boutique", "214 Harbor Street"}, // " Same As Bill To": the bill-to address
        {"C1003", "Warehouse", "400 Depot Street"},
        {"C1004", "O'Hara Distribution Center", "77 Industrial Way"},
        {"C1005", "Same As Bill To", ""}, // without the leading blank it is a ship-to name, not found
        {"C1006", " None", ""},
        {"C1007", "Store 12", "44 Lakeview Avenue"},
    };
    int terminal = 0;
    for (const auto &c : cases) {
        ++terminal;
        const QString invno = convert(QStringLiteral("B1T%1A.ord").arg(terminal), {"GC25\t1"}, c.custNo);
        ASSERT_FALSE(invno.isEmpty()) << c.custNo;
        EXPECT_EQ(so(invno, "sadressname").toString(), c.shipName);
        EXPECT_EQ(so(invno, "sAddress1").toString(), c.address1) << c.custNo;
        EXPECT_EQ(so(invno, "userid").toString(), QStringLiteral("RF%1").arg(terminal));
    }
}

TEST_F(OrderConversionTest, QuotesInCustomerItemAndSalespersonCodesAreDoubled)
{
    suite->exec("INSERT INTO employee (uid, commission) VALUES ('S''9', 7);"
                "INSERT INTO customer (uid, uname, shipto, salesperson, pricelevel, taxrate, DcPercent) "
                "VALUES ('O''NEIL', 'O''Neil Shop', ' Same As Bill To', 'S''9', '1', 0, 0);"
                "INSERT INTO item (uid, uname, itemtype, salesum, price, taxable, commission) "
                "VALUES ('AB''C', 'Quoted Item', 0, 'EA', 3.00, 0, 0);");
    const QString invno = convert("A1T1A.ord", {"AB'C\t2"}, "O'NEIL");
    ASSERT_FALSE(invno.isEmpty()) << que(6, 1).toStdString();
    EXPECT_DOUBLE_EQ(so(invno, "total").toDouble(), 6.00);
    EXPECT_DOUBLE_EQ(so(invno, "Commission").toDouble(), 7);
}

TEST_F(OrderConversionTest, FailuresLeaveTheOrderQueuedWithItsReason)
{
    const struct
    {
        QStringList lines;
        const char *custNo, *status;
    } cases[] = {
        {{"GC25\t1"}, "C9999", "** SKIPPED ** Error: customer # C9999 not found"},
        {{"GC25\t1", "ZZ-999\t3"}, "C1001", "** SKIPPED ** Error: item \"ZZ-999\" (record 2) not found"},
        {{}, "C1001", "** SKIPPED ** Error: the order file holds no items"},
    };
    for (const auto &c : cases) {
        window->fQue->setMaxRows(0);
        EXPECT_EQ(convert("A1T1A.ord", c.lines, c.custNo), "");
        ASSERT_EQ(queRows(), 1);
        EXPECT_EQ(que(6, 1), c.status);
        EXPECT_TRUE(files("OrdQueue").contains("A1T1A.ord"));
    }
    // The lines read before the unknown item stay on the terminal page.
    EXPECT_EQ(window->fGrid[0]->maxRows(), 1);

    // A save that fails: the reason in the queue, "**ERROR**" on the terminal page.
    suite->exec("DROP TABLE sodetail");
    EXPECT_EQ(convert("A1T3A.ord", {"GC25\t1"}, "C1002"), "");
    EXPECT_TRUE(que(6, 2).startsWith("** SKIPPED ** Error :")) << que(6, 2).toStdString();
    EXPECT_EQ(window->lblInvNo[2]->text(), "**ERROR**");
    EXPECT_EQ(window->lblCustName[2]->text(), "Maple Lane Apparel");
}
