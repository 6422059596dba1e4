// The automatic print list and the copies handed to the print window.

#include "queue/QueueServiceFixture.h"

#include "module1/PrintStation.h"
#include "runtime/PrivateProfile.h"

#include <QDir>
#include <QFile>
#include <limits>

namespace {

class FakePrintStation : public PrintStation
{
public:
    void showAfresh(QWidget *) override {}
    void closeWindow() override {}
    void setRange(const QString &from, const QString &to) override { calls << "range " + from + "-" + to; }
    QString Print_So(int iPreview, const QString &argFrom, const QString &argTo) override
    {
        calls << QStringLiteral("print %1 %2-%3").arg(iPreview).arg(argFrom, argTo);
        return failure;
    }
    QStringList calls;
    QString failure;
};

class PrintHandOffTest : public QueueServiceTest
{
protected:
    void SetUp() override
    {
        QueueServiceTest::SetUp();
        service->setPrintStation(&station);
    }
    void TearDown() override
    {
        service->setPrintStation(nullptr);
        QueueServiceTest::TearDown();
    }
    QString printList() const
    {
        return PrivateProfile::readString("AutoSoPrint", "List", "<none>", suite->programDir() + "/tolvaprt.ini",
                                          std::numeric_limits<int>::max());
    }
    // The hand-off of one order; its done row's "Print Status".
    QString handOff(const QString &soNo, const QString &printText, const QString &copies)
    {
        const int row = service->done()->append(DoneOrder{});
        service->AutoPrintOrder(soNo, printText, copies.toInt(), row);
        return done(6, row + 1);
    }
    FakePrintStation station;
};

} // namespace

TEST_F(PrintHandOffTest, PrintListEntriesAndCopies)
{
    EXPECT_EQ(handOff("1005", "2", "2"), "Processed");
    EXPECT_EQ(handOff("1006", "1", "0"), "Processed"); // print quantity 0: listed, not printed
    EXPECT_EQ(printList(), "1005|2|1006|1|");
    EXPECT_EQ(handOff("1007", "", "1"), "");           // no "Print?": printed, not listed
    EXPECT_EQ(printList(), "1005|2|1006|1|");
    EXPECT_EQ(station.calls, (QStringList{"range 1005-1005", "print 0 1005-1005", "print 0 1005-1005",
                                          "range 1006-1006", "range 1007-1007", "print 0 1007-1007"}));
    service->setPrintStation(nullptr);
    EXPECT_EQ(handOff("1008", "1", "1"), "Processed");
}

TEST_F(PrintHandOffTest, ALongPrintListKeepsEveryEntry)
{
    QString expected;
    for (int n = 1001; n <= 1040; ++n) {
        handOff(QStringLiteral("SO00%1").arg(n), "2", "0");
        expected += QStringLiteral("SO00%1|2|").arg(n);
    }
    ASSERT_GT(expected.size(), 255);
    EXPECT_EQ(printList(), expected);
}

TEST_F(PrintHandOffTest, FailuresAreShownNotReportedAsProcessed)
{
    station.failure = "Printer \"Office\" is out of paper";
    EXPECT_EQ(handOff("1005", "3", "3"), "Processed; print failed: Printer \"Office\" is out of paper");
    EXPECT_EQ(station.calls.size(), 2) << "one failed copy is enough";

    const QString list = suite->programDir() + "/tolvaprt.ini";
    ASSERT_TRUE(QFile::remove(list) && QDir(list).mkpath(".")); // a folder: cannot be written
    EXPECT_TRUE(handOff("1006", "1", "0").startsWith("print list not written: "));
}

TEST_F(PrintHandOffTest, ConvertedOrdersArePrintedUnderTheirNewNumber)
{
    service->setDefaultPrintQty("1");
    dropOrder("A1T1A.ord", {"GC25\t1"});
    scanAndPass();
    EXPECT_EQ(printList(), "SO001001|1|");
    EXPECT_EQ(station.calls, (QStringList{"range SO001001-SO001001", "print 0 SO001001-SO001001"}));
}

// The hand-off follows the archiving: an order whose files were still queued at a restart was
// never printed, unless an earlier hand-off printed it and only the archiving failed.
TEST_F(PrintHandOffTest, AnOrderSavedBeforeARestartIsPrintedOnceWhenItsArchivingIsFinished)
{
    for (const bool printedBefore : {false, true}) {
        SCOPED_TRACE(printedBefore);
        ASSERT_TRUE(QDir(suite->archiveDir()).removeRecursively());
        suite->writeFile("admodule/ordsaved", "a file where the archive folder should be");
        station.calls.clear();
        station.failure = printedBefore ? "" : "printer off";
        service->setDefaultPrintQty("1");
        const QString soNo = printedBefore ? "SO001002" : "SO001001";
        dropOrder("A1T1A.ord", {"GC25\t1"});
        scanAndPass();
        EXPECT_EQ(station.calls.size(), 2);
        if (printedBefore) // the fake station marks nothing
            suite->exec("UPDATE so SET ordstatus = 1 WHERE invno = '" + soNo + "'");

        startService();
        service->setPrintStation(&station);
        service->setDefaultPrintQty("1");
        service->readiness().setSettleMs(0);
        station.calls.clear();
        station.failure.clear();
        ASSERT_TRUE(QFile::remove(suite->archiveDir()));
        scanAndPass();
        EXPECT_EQ(orders(), printedBefore ? 2 : 1);
        EXPECT_EQ(done(6, 1), printedBefore ? "saved before a restart; archived now"
                                            : "saved before a restart; archived now; Processed");
        const QStringList printed{"range " + soNo + "-" + soNo, "print 0 " + soNo + "-" + soNo};
        EXPECT_EQ(station.calls, printedBefore ? QStringList() : printed);
    }
    EXPECT_EQ(printList(), "SO001001|1|SO001002|1|") << "listed once each";
}

TEST_F(PrintHandOffTest, ArchivingFinishedInTheSameRunClearsTheFailureAndPrintsNothingAgain)
{
    ASSERT_TRUE(QDir(suite->archiveDir()).removeRecursively());
    suite->writeFile("admodule/ordsaved", "a file where the archive folder should be");
    service->setDefaultPrintQty("1");
    dropOrder("A1T1A.ord", {"GC25\t1"});
    scanAndPass();
    ASSERT_TRUE(done(6, 1).startsWith("archive failed: "));
    ASSERT_TRUE(QFile::remove(suite->archiveDir()));
    scanAndPass();
    EXPECT_EQ(queRows(), 0);
    EXPECT_EQ(done(6, 1), "archived on a later pass; Processed");
    EXPECT_EQ(station.calls.size(), 2);
}
