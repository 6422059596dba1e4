// The polling cycle: what the scan lists, what a pass converts, waits for or skips, and what
// stops, restarts and shutdowns during a pass do.

#include "queue/QueueWindowFixture.h"

#include "module1/Module1.h"
#include "widgets/SpreadGrid.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <cstdio>

TEST_F(QueueWindowTest, ScanListsEachOrderFileOnce)
{
    dropOrder("T3A0001.ord", {"GC25\t1"}, "C1003");
    dropOrder("abc.ord", {"GC25\t1"}, QString());
    suite->writeFile("admodule/OrdQueue/notes.txt", "not an order");
    window->txtDefQty->setText("3");
    window->Timer1_Timer();
    dropOrder("t3a0001.ORD", {"GC25\t1"}, "C1003"); // the same order in other letter case
    window->txtDefQty->setText("abc");
    dropOrder("Z1T4A.ord", {"GC25\t1"}, "C1004");
    window->Timer1_Timer();
    ASSERT_EQ(queRows(), 3);
    const QStringList expected[] = {{"", "abc.ord", "", "", "", ""},
                                    {"3", "T3A0001.ord", "C1003", "Customer C1003", "3", ""},
                                    {"4", "Z1T4A.ord", "C1004", "Customer C1004", "", ""}};
    for (int row = 1; row <= 3; ++row)
        for (int col = 1; col <= 6; ++col)
            EXPECT_EQ(que(col, row), expected[row - 1][col - 1]) << row << "," << col;
}

TEST_F(QueueWindowTest, LateOrRewrittenInfoFileIsReadOnALaterPass)
{
    dropOrder("A1T2A.ord", {"GC25\t1"}, QString());
    scanAndPass();
    window->Timer2_Timer();
    // The conversion writes its reason each time: one prefix, however many passes.
    EXPECT_EQ(que(6, 1), "** SKIPPED ** Error:Customer # Required");

    // Written after the last scan, it may still be growing: the pass waits for the next scan.
    const auto writeInfo = [this](const QByteArray &custNo) {
        suite->writeFile("admodule/OrdQueue/A1T2Ainfo.crd", "[Customer]\r\nNumber=" + custNo + "\r\n");
    };
    writeInfo("C10");
    window->Timer2_Timer();
    EXPECT_EQ(que(6, 1), "Waiting: the info file is still being written");
    scanAndPass();
    EXPECT_EQ(que(6, 1), "** SKIPPED ** Error: customer # C10 not found");
    writeInfo("C1002"); // rewritten after it was read
    scanAndPass();
    EXPECT_EQ(suite->scalar("SELECT CustNo FROM so").toString(), "C1002");
    EXPECT_EQ(orders(), 1);
}

TEST_F(QueueWindowTest, OrderFileStillBeingWrittenWaitsForTheNextScan)
{
    dropOrder("A1T1A.ord", {"GC25\t1"});
    window->Timer1_Timer();
    QFile file(suite->queueDir() + "/A1T1A.ord");
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("MUG600\t2\r\n");
    file.close();
    window->Timer2_Timer();
    EXPECT_EQ(que(6, 1), "Waiting: the order file is still being written");
    EXPECT_EQ(orders(), 0);
    scanAndPass();
    EXPECT_EQ(suite->count("SELECT * FROM sodetail"), 2);
}

TEST_F(QueueWindowTest, AnOrderFileWrittenInPlaceWaitsForItsWriterToClose)
{
    dropOrder("A1T1A.ord", {}); // the info file, and an order file the terminal has only begun
    QFile order(suite->queueDir() + "/A1T1A.ord");
    ASSERT_TRUE(order.open(QIODevice::WriteOnly) && order.write("GC25\t1\r\n") > 0 && order.flush());
    // The writer pauses; by its time the file looks long finished.
    ASSERT_TRUE(order.setFileTime(QDateTime::currentDateTime().addSecs(-600), QFileDevice::FileModificationTime));
    scanAndPass();
    EXPECT_EQ(que(6, 1), "Waiting: the order file is still being written");
    ASSERT_TRUE(order.write("MUG600\t2\r\n") > 0);
    order.close();
    scanAndPass();
    EXPECT_EQ(suite->count("SELECT * FROM sodetail"), 2);
}

TEST_F(QueueWindowTest, ACompleteOrderFileIsPickedUpWithoutWaitingForTheTimers)
{
    window->setImmediatePickup(true);
    dropOrder("A1T1A.ord", {"GC25\t1"}); // written in place and closed
    suite->writeFile("admodule/OrdQueue/A1T2Ainfo.crd", "[Customer]\r\nNumber=C1002\r\n");
    suite->writeFile("admodule/OrdQueue/A1T2A.tmp", "GC25\t2\r\n");
    ASSERT_TRUE(QFile::rename(suite->queueDir() + "/A1T2A.tmp", suite->queueDir() + "/A1T2A.ord"));
    // The timers wait a day: only the folder's events can start the passes.
    const QDeadlineTimer deadline(60000);
    while (orders() < 2 && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
    EXPECT_EQ(orders(), 2);
    EXPECT_EQ(files("OrdQueue"), QStringList());
}

TEST_F(QueueWindowTest, ADatabaseFileReplacedUnderTheStationIsOpenedAnew)
{
    dropOrder("A1T1A.ord", {"GC25\t1"});
    scanAndPass();
    // Restored from a copy: another file now has the database's name.
    const QString copy = suite->databasePath() + ".copy";
    suite->exec("VACUUM INTO '" + copy + "'");
    ASSERT_TRUE(::rename(QFile::encodeName(copy).constData(), QFile::encodeName(suite->databasePath()).constData()) == 0);
    dropOrder("A1T2A.ord", {"GC25\t2"}, "C1002");
    scanAndPass();
    EXPECT_EQ(suite->scalar("SELECT group_concat(invno) FROM so").toString(), "SO001001,SO001002");
}

TEST_F(QueueWindowTest, StopDuringAPassFinishesTheCurrentOrderOnly)
{
    for (const char *name : {"A1T1A.ord", "A1T1B.ord", "A1T1C.ord"})
        dropOrder(name, {"GC25\t1", "MUG600\t1"});
    window->Timer1_Timer();
    DuringConversion stop(window.get(), 0, [this] { window->btnRun->click(); });
    window->Timer2_Timer();
    ASSERT_TRUE(stop.happened());
    EXPECT_EQ(orders(), 1);
    EXPECT_EQ(queRows(), 2);
    EXPECT_EQ(que(6, 1) + que(6, 2), "");
    EXPECT_EQ(window->statusMsgPanel->text(), "STOPPED");
    EXPECT_FALSE(window->Timer1->isActive() || window->Timer2->isActive());

    window->btnRun->click();
    EXPECT_EQ(window->statusMsgPanel->text(), "RUNNING ..");
    window->Timer2_Timer();
    EXPECT_EQ(orders(), 3);
}

TEST_F(QueueWindowTest, QuickStopAndStartDuringAPassNeverStartsASecondPass)
{
    for (const char *name : {"A1T1A.ord", "A1T1B.ord", "A1T1C.ord"})
        dropOrder(name, {"GC25\t1", "MUG600\t1"});
    window->Timer1_Timer();
    DuringConversion restart(window.get(), 0, [this] {
        window->btnRun->click();
        window->btnRun->click();
        // The timers run again and fire while the first pass is still converting.
        window->Timer2_Timer();
        window->Timer1_Timer();
    });
    window->Timer2_Timer();
    ASSERT_TRUE(restart.happened());
    EXPECT_EQ(orders(), 3);
    EXPECT_EQ(suite->count("SELECT * FROM sodetail"), 6);
    EXPECT_EQ(queRows(), 0);
}

TEST_F(QueueWindowTest, ShutdownOrCloseDuringAPassWaitsForTheCurrentOrder)
{
    const std::function<void()> ways[] = {
        [this] { window->requestShutdown(); }, // SIGTERM
        [this] {
            window->btnRun->click(); // stopped, so the close check lets the window close
            window->btnExit->click();
        }};
    for (const auto &way : ways) {
        TearDown();
        SetUp();
        for (const char *name : {"A1T1A.ord", "A1T1B.ord"})
            dropOrder(name, {"GC25\t1", "MUG600\t1"});
        window->Timer1_Timer();
        DuringConversion during(window.get(), 0, [&] {
            way();
            EXPECT_NE(gServer, nullptr) << "the database service must outlive the order";
        });
        window->Timer2_Timer();
        ASSERT_TRUE(during.happened());
        EXPECT_EQ(orders(), 1);
        EXPECT_EQ(gServer, nullptr) << "the program ends once the pass is over";
    }
}

TEST_F(QueueWindowTest, QueueAndArchiveFoldersAreFoundInAnyLetterCase)
{
    QDir program(suite->programDir());
    ASSERT_TRUE(program.rename("OrdQueue", "ORDQUEUE") && program.rename("ordsaved", "OrdSaved"));
    window->readiness().setSettleMs(0); // the watch follows the folder only from the next scan
    suite->writeFile("admodule/ORDQUEUE/A1T4Ainfo.crd", "[Customer]\r\nNumber=C1004\r\n");
    suite->writeFile("admodule/ORDQUEUE/A1T4A.ord", "GC25\t1\r\n");
    scanAndPass();
    EXPECT_EQ(files("OrdSaved"), (QStringList{"A1T4A.txt", "A1T4Ainfo.txt"}));
}

TEST_F(QueueWindowTest, AQueueFolderThatVanishesShowsInTheStatusUntilItIsBack)
{
    const QString queue = suite->queueDir();
    ASSERT_TRUE(QDir().rename(queue, queue + ".away"));
    testing::internal::CaptureStderr();
    window->Timer1_Timer();
    window->Timer1_Timer();
    EXPECT_EQ(window->statusMsgPanel->text(), "QUEUE FOLDER MISSING: " + queue);
    ASSERT_TRUE(QDir().rename(queue + ".away", queue));
    window->Timer1_Timer();
    const QString log = QString::fromStdString(testing::internal::GetCapturedStderr());
    EXPECT_EQ(window->statusMsgPanel->text(), "RUNNING ..");
    EXPECT_EQ(log.count("The queue folder " + queue + " is missing"), 1) << log.toStdString();
    EXPECT_TRUE(log.contains("The queue folder " + queue + " is back"));
}
