// The polling cycle: what the scan lists, what a pass converts, waits for or skips, and how
// stops, restarts and shutdowns during a pass behave.

#include "QueueWindowFixture.h"

#include "Module1.h"
#include "SpreadGrid.h"

#include <QDir>
#include <QFile>

TEST_F(QueueWindowTest, ScanListsEachOrderFileOnceWithTerminalCustomerAndPrintQty)
{
    dropOrder("T3A0001.ord", {"GC25\t1"}, "C1003");
    dropOrder("abc.ord", {"GC25\t1"}, QString());
    writeQueueFile("A1T5Cinfo.crd", "[Customer]\r\nNumber=C1005\r\n");
    writeQueueFile("notes.txt", "not an order");
    window->txtDefQty->setText("3");
    scan();
    scan();
    ASSERT_EQ(queueRows(), 2);
    // Sorted by name without regard to case.
    EXPECT_EQ(queueText(2, 1), "abc.ord");
    EXPECT_EQ(queueText(1, 1), "");
    EXPECT_EQ(queueText(3, 1), "");
    EXPECT_EQ(queueText(5, 1), "");
    EXPECT_EQ(queueText(2, 2), "T3A0001.ord");
    EXPECT_EQ(queueText(1, 2), "3");
    EXPECT_EQ(queueText(3, 2), "C1003");
    EXPECT_EQ(queueText(4, 2), "Customer C1003");
    EXPECT_EQ(queueText(5, 2), "3");
    EXPECT_EQ(queueText(6, 2), "");

    // The same name in other letter case is the same order.
    dropOrder("t3a0001.ORD", {"GC25\t1"}, "C1003");
    scan();
    EXPECT_EQ(queueRows(), 2);
}

TEST_F(QueueWindowTest, PrintColumnIsEmptyWhenThePrintQuantityIsNotAboveZero)
{
    const char *quantities[] = {"0", "abc", "-1", ""};
    int n = 0;
    for (const char *qty : quantities) {
        window->txtDefQty->setText(qty);
        dropOrder(QStringLiteral("A%1T1A.ord").arg(++n), {"GC25\t1"});
        scan();
        EXPECT_EQ(queueText(5, n), "") << qty;
        EXPECT_EQ(queueText(3, n), "C1001") << qty;
    }
}

TEST_F(QueueWindowTest, FailedRowsStayQueuedWithOneSkippedPrefixAndTheirLatestReason)
{
    dropOrder("A1T6B.ord", {"GC25\t1"}, QString());
    dropOrder("A1T1A.ord", {"GC25\t1"});
    scan();
    pass();
    ASSERT_EQ(queueRows(), 1);
    EXPECT_EQ(queueText(6, 1), "** SKIPPED ** Error:Customer # Required");
    pass();
    EXPECT_EQ(queueText(6, 1), "** SKIPPED ** Error:Customer # Required");
    EXPECT_EQ(orderCount(), 1);
}

TEST_F(QueueWindowTest, LateInfoFileIsReadOnALaterPass)
{
    dropOrder("A1T2A.ord", {"GC25\t1"}, QString());
    scan();
    pass();
    EXPECT_EQ(queueText(6, 1), "** SKIPPED ** Error:Customer # Required");

    // Written after the last scan: it may still be growing, so the pass waits for the next scan.
    writeQueueFile("A1T2Ainfo.crd", "[Customer]\r\nNumber=C1002\r\nName=Maple Lane Apparel\r\n");
    pass();
    EXPECT_EQ(queueText(6, 1), "Waiting: the info file is still being written");
    EXPECT_EQ(orderCount(), 0);

    scan();
    pass();
    EXPECT_EQ(queueRows(), 0);
    EXPECT_EQ(suite->scalar("SELECT CustNo FROM so").toString(), "C1002");
    EXPECT_EQ(doneText(3, 1), "C1002");
    EXPECT_EQ(doneText(4, 1), "Maple Lane Apparel");
    EXPECT_EQ(doneText(5, 1), "2");
}

TEST_F(QueueWindowTest, InfoFileRewrittenAfterListingIsReadAgain)
{
    writeQueueFile("A1T2Ainfo.crd", "[Customer]\r\nNumber=C10");
    writeQueueFile("A1T2A.ord", "GC25\t1\r\n");
    scan();
    writeQueueFile("A1T2Ainfo.crd", "[Customer]\r\nNumber=C1002\r\nName=Maple Lane Apparel\r\n");
    scan();
    pass();
    EXPECT_EQ(suite->scalar("SELECT CustNo FROM so").toString(), "C1002");
}

TEST_F(QueueWindowTest, OrderFileStillBeingWrittenWaitsForTheNextScan)
{
    dropOrder("A1T1A.ord", {"GC25\t1"});
    scan();
    QFile file(suite->queueDir() + "/A1T1A.ord");
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("MUG600\t2\r\n");
    file.close();

    pass();
    ASSERT_EQ(queueRows(), 1);
    EXPECT_EQ(queueText(6, 1), "Waiting: the order file is still being written");
    EXPECT_EQ(orderCount(), 0);

    scan();
    pass();
    EXPECT_EQ(queueRows(), 0);
    EXPECT_EQ(suite->count("SELECT * FROM sodetail"), 2);
}

TEST_F(QueueWindowTest, StopDuringAPassFinishesTheCurrentOrderOnly)
{
    for (const char *name : {"A1T1A.ord", "A1T1B.ord", "A1T1C.ord"})
        dropOrder(name, {"GC25\t1", "MUG600\t1"});
    scan();
    DuringConversion stop(window.get(), 0, [this] { window->btnRun->click(); });
    pass();
    ASSERT_TRUE(stop.happened());
    EXPECT_EQ(orderCount(), 1);
    ASSERT_EQ(queueRows(), 2);
    EXPECT_EQ(queueText(6, 1), "");
    EXPECT_EQ(queueText(6, 2), "");
    EXPECT_EQ(window->statusMsgPanel->text(), "STOPPED");
    EXPECT_FALSE(window->Timer1->isActive());
    EXPECT_FALSE(window->Timer2->isActive());

    // A stopped station's timer handlers do nothing.
    scan();
    EXPECT_FALSE(window->Timer1->isActive());

    window->btnRun->click();
    EXPECT_EQ(window->statusMsgPanel->text(), "RUNNING ..");
    EXPECT_TRUE(window->Timer2->isActive());
    pass();
    EXPECT_EQ(orderCount(), 3);
    EXPECT_EQ(queueRows(), 0);
}

TEST_F(QueueWindowTest, QuickStopAndStartDuringAPassNeverStartsASecondPass)
{
    for (const char *name : {"A1T1A.ord", "A1T1B.ord", "A1T1C.ord"})
        dropOrder(name, {"GC25\t1", "MUG600\t1"});
    scan();
    DuringConversion restart(window.get(), 0, [this] {
        window->btnRun->click();
        window->btnRun->click();
        // The timers are running again: both fire while the first pass is still converting.
        window->Timer2_Timer();
        window->Timer1_Timer();
    });
    pass();
    ASSERT_TRUE(restart.happened());
    EXPECT_EQ(orderCount(), 3);
    EXPECT_EQ(suite->count("SELECT * FROM sodetail"), 6);
    EXPECT_EQ(queueRows(), 0);
    EXPECT_EQ(doneRows(), 3);
    EXPECT_TRUE(window->Timer2->isActive());
}

TEST_F(QueueWindowTest, ShutdownDuringAPassEndsAfterTheCurrentOrder)
{
    for (const char *name : {"A1T1A.ord", "A1T1B.ord"})
        dropOrder(name, {"GC25\t1", "MUG600\t1"});
    scan();
    DuringConversion shutdown(window.get(), 0, [this] {
        window->requestShutdown();
        // Still converting: the database service must outlive the order.
        EXPECT_NE(gServer, nullptr);
    });
    pass();
    ASSERT_TRUE(shutdown.happened());
    EXPECT_EQ(orderCount(), 1);
    EXPECT_EQ(queueRows(), 1);
    EXPECT_EQ(gServer, nullptr) << "the program ends once the pass is over";
}

TEST_F(QueueWindowTest, ClosingWhileStoppedButStillConvertingWaitsForTheOrder)
{
    for (const char *name : {"A1T1A.ord", "A1T1B.ord"})
        dropOrder(name, {"GC25\t1", "MUG600\t1"});
    scan();
    DuringConversion closeNow(window.get(), 0, [this] {
        window->btnRun->click(); // stopped: the close check lets the window close
        window->btnExit->click();
        EXPECT_NE(gServer, nullptr);
    });
    pass();
    ASSERT_TRUE(closeNow.happened());
    EXPECT_EQ(orderCount(), 1);
    EXPECT_EQ(gServer, nullptr);
}

TEST_F(QueueWindowTest, QueueAndArchiveFoldersAreFoundInAnyLetterCase)
{
    QDir program(suite->programDir());
    ASSERT_TRUE(program.rename("OrdQueue", "ORDQUEUE"));
    ASSERT_TRUE(program.rename("ordsaved", "OrdSaved"));
    suite->writeFile("admodule/ORDQUEUE/A1T4A.ord", "GC25\t1\r\n");
    suite->writeFile("admodule/ORDQUEUE/A1T4Ainfo.crd", "[Customer]\r\nNumber=C1004\r\n");
    scan();
    pass();
    EXPECT_EQ(orderCount(), 1);
    EXPECT_EQ(QDir(suite->programDir() + "/OrdSaved").entryList(QDir::Files),
              (QStringList{"A1T4A.txt", "A1T4Ainfo.txt"}));
    EXPECT_FALSE(QDir(suite->programDir() + "/ordsaved").exists());
}
