// What the service does with a conversion: the terminal page it reports, the queue status, the done list,
// the look-ups in the suite database. The arithmetic is the converter's (OrderConverterTest).

#include "queue/QueueServiceFixture.h"


#include <QFile>
#include <sys/stat.h>

namespace {

class OrderConversionTest : public QueueServiceTest
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

TEST_F(OrderConversionTest, UnreadQuantitiesAreNamedInTheDoneListAndTheLog)
{
    testing::internal::CaptureStderr();
    const QString invno = convert("A1T1A.ord", {"GC25\t12x", "MUG600\t2"}, "C1001");
    const std::string log = testing::internal::GetCapturedStderr();
    ASSERT_EQ(invno, "SO001001") << que(6, 1).toStdString();
    EXPECT_EQ(done(6, 1), "record 1: quantity \"12x\" read as 0; Processed");
    EXPECT_NE(log.find("A1T1A.ord (sales order SO001001): record 1: quantity \"12x\" read as 0"), std::string::npos)
        << log;
    ASSERT_EQ(page(1).lines.size(), 2);
    EXPECT_EQ(page(1).lines[0].ordered, 0);
    EXPECT_EQ(page(1).lines[1].extended, Currency::fromRaw(145000));
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
        {{"GC25\t0", "MUG600\tx"}, "C1001",
         "** SKIPPED ** Error: no line of the order has a quantity other than 0 (record 2: quantity \"x\" read as 0)"},
    };
    for (const auto &c : cases) {
        service->removeQueuedOrder("A1T1A.ord"); // the earlier case's order leaves the queue
        EXPECT_EQ(convert("A1T1A.ord", c.lines, c.custNo), "");
        ASSERT_EQ(queRows(), 1);
        EXPECT_EQ(que(6, 1), c.status);
        EXPECT_TRUE(files("OrdQueue").contains("A1T1A.ord"));
    }
    // The lines read before the unknown item stay on the terminal page.
    EXPECT_EQ(page(1).lines.size(), 1);

    // A save that fails: the reason in the queue, "**ERROR**" on the terminal page.
    suite->exec("DROP TABLE sodetail");
    EXPECT_EQ(convert("A1T3A.ord", {"GC25\t1"}, "C1002"), "");
    EXPECT_TRUE(que(6, 2).startsWith("** SKIPPED ** Error :")) << que(6, 2).toStdString();
    EXPECT_EQ(page(3).invNo, "**ERROR**");
    EXPECT_EQ(page(3).billToName, "Maple Lane Apparel");
}

TEST_F(OrderConversionTest, OddOrderAndInfoFilesAreNamedNeverReadNorWaitedFor)
{
    const QString fifo = suite->root() + "/fifo";
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString queue = suite->queueDir() + "/";
    ASSERT_TRUE(QFile::link(fifo, queue + "A1T1A.ord")); // a link to a FIFO named as an order
    suite->writeFile("admodule/OrdQueue/A1T1Ainfo.crd", "[Customer]\r\nNumber=C1001\r\n");
    ASSERT_EQ(::mkfifo(QFile::encodeName(queue + "A1T1B.ord").constData(), 0600), 0); // a FIFO itself
    suite->writeFile("admodule/OrdQueue/A1T1Binfo.crd", "[Customer]\r\nNumber=C1001\r\n");
    dropOrder("A1T1C.ord", {"GC25\t1"}, QString());
    ASSERT_EQ(::mkfifo(QFile::encodeName(queue + "A1T1Cinfo.crd").constData(), 0600), 0);
    dropOrder("A1T1D.ord", {"GC25\t1"}, QString());
    suite->writeFile("admodule/OrdQueue/A1T1Dinfo.crd", "[Customer]\r\nNumber=C1001\r\n" + QByteArray(2 << 20, ';'));

    EXPECT_EQ(convert("A1T2A.ord", {"GC25\t1"}, "C1002"), "SO001001");
    ASSERT_EQ(queRows(), 4);
    const char *const reasons[] = {
        "** SKIPPED ** Error: the order file is a link to a FIFO, not a plain file; it is not read",
        "** SKIPPED ** Error: the order file is a FIFO, not a plain file; it is not read",
        "** SKIPPED ** Error: the info file is a FIFO, not a plain file; it is not read",
        "** SKIPPED ** Error: the info file is 2097178 bytes, more than an info file may hold (1048576)",
    };
    for (int row = 1; row <= 4; ++row)
        EXPECT_EQ(que(6, row), reasons[row - 1]);
}

