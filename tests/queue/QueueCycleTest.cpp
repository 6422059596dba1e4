// The polling cycle: what the scan lists, what a pass converts, waits for or skips, and what
// stops, restarts and shutdowns during a pass do.

#include "queue/QueueServiceFixture.h"

#include "module1/Module1.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <cstdio>

TEST_F(QueueServiceTest, ScanListsEachOrderFileOnce)
{
    dropOrder("T3A0001.ord", {"GC25\t1"}, "C1003");
    dropOrder("abc.ord", {"GC25\t1"}, QString());
    suite->writeFile("admodule/OrdQueue/notes.txt", "not an order");
    service->setDefaultPrintQty("3");
    service->Timer1_Timer();
    dropOrder("t3a0001.ORD", {"GC25\t1"}, "C1003"); // the same order in other letter case
    service->setDefaultPrintQty("abc");
    dropOrder("Z1T4A.ord", {"GC25\t1"}, "C1004");
    service->Timer1_Timer();
    ASSERT_EQ(queRows(), 3);
    const QStringList expected[] = {{"", "abc.ord", "", "", "", ""},
                                    {"3", "T3A0001.ord", "C1003", "Customer C1003", "3", ""},
                                    {"4", "Z1T4A.ord", "C1004", "Customer C1004", "", ""}};
    for (int row = 1; row <= 3; ++row)
        for (int col = 1; col <= 6; ++col)
            EXPECT_EQ(que(col, row), expected[row - 1][col - 1]) << row << "," << col;
}

TEST_F(QueueServiceTest, LateOrRewrittenInfoFileIsReadOnALaterPass)
{
    dropOrder("A1T2A.ord", {"GC25\t1"}, QString());
    scanAndPass();
    service->Timer2_Timer();
    // The conversion writes its reason each time: one prefix, however many passes.
    EXPECT_EQ(que(6, 1), "** SKIPPED ** Error:Customer # Required");

    // Written after the last scan, it may still be growing: the pass waits for the next scan.
    const auto writeInfo = [this](const QByteArray &custNo) {
        suite->writeFile("admodule/OrdQueue/A1T2Ainfo.crd", "[Customer]\r\nNumber=" + custNo + "\r\n");
    };
    writeInfo("C10");
    service->Timer2_Timer();
    EXPECT_EQ(que(6, 1), "Waiting: the info file is still being written");
    scanAndPass();
    EXPECT_EQ(que(6, 1), "** SKIPPED ** Error: customer # C10 not found");
    writeInfo("C1002"); // rewritten after it was read
    scanAndPass();
    EXPECT_EQ(suite->scalar("SELECT CustNo FROM so").toString(), "C1002");
    EXPECT_EQ(orders(), 1);
}

TEST_F(QueueServiceTest, OrderFileStillBeingWrittenWaitsForTheNextScan)
{
    dropOrder("A1T1A.ord", {"GC25\t1"});
    service->Timer1_Timer();
    QFile file(suite->queueDir() + "/A1T1A.ord");
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("MUG600\t2\r\n");
    file.close();
    service->Timer2_Timer();
    EXPECT_EQ(que(6, 1), "Waiting: the order file is still being written");
    EXPECT_EQ(orders(), 0);
    scanAndPass();
    EXPECT_EQ(suite->count("SELECT * FROM sodetail"), 2);
}

TEST_F(QueueServiceTest, AnOrderFileWrittenInPlaceWaitsForItsWriterToClose)
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

TEST_F(QueueServiceTest, AFileItsWriterOpenedBeforeTheStationStartedIsNotReadWhileItIsOpen)
{
    dropOrder("A1T1A.ord", {});
    QFile order(suite->queueDir() + "/A1T1A.ord");
    ASSERT_TRUE(order.open(QIODevice::WriteOnly) && order.write("GC25\t1\r\n") > 0 && order.flush());
    ASSERT_TRUE(order.setFileTime(QDateTime::currentDateTime().addSecs(-600), QFileDevice::FileModificationTime));
    startService(); // no event will ever say it was closed: it settles by time
    service->readiness().setSettleMs(0);
    scanAndPass();
    EXPECT_EQ(que(6, 1), "Waiting: the order file is open for writing by another program");
    ASSERT_TRUE(order.write("MUG600\t2\r\n") > 0);
    order.close();
    scanAndPass();
    EXPECT_EQ(suite->count("SELECT * FROM sodetail"), 2);
}

TEST_F(QueueServiceTest, ACompleteOrderFileIsPickedUpWithoutWaitingForTheTimers)
{
    service->setImmediatePickup(true);
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

TEST_F(QueueServiceTest, ADatabaseFileReplacedUnderTheStationIsOpenedAnew)
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

TEST_F(QueueServiceTest, QueueAndArchiveFoldersAreFoundInAnyLetterCase)
{
    QDir program(suite->programDir());
    ASSERT_TRUE(program.rename("OrdQueue", "ORDQUEUE") && program.rename("ordsaved", "OrdSaved"));
    service->readiness().setSettleMs(0); // the watch follows the folder only from the next scan
    suite->writeFile("admodule/ORDQUEUE/A1T4Ainfo.crd", "[Customer]\r\nNumber=C1004\r\n");
    suite->writeFile("admodule/ORDQUEUE/A1T4A.ord", "GC25\t1\r\n");
    scanAndPass();
    EXPECT_EQ(files("OrdSaved"), (QStringList{"A1T4A.txt", "A1T4Ainfo.txt"}));
}

TEST_F(QueueServiceTest, AQueueFolderThatVanishesShowsInTheStatusUntilItIsBack)
{
    const QString queue = suite->queueDir();
    ASSERT_TRUE(QDir().rename(queue, queue + ".away"));
    testing::internal::CaptureStderr();
    service->Timer1_Timer();
    service->Timer1_Timer();
    EXPECT_EQ(service->statusText(), "QUEUE FOLDER MISSING: " + queue);
    ASSERT_TRUE(QDir().rename(queue + ".away", queue));
    service->Timer1_Timer();
    const QString log = QString::fromStdString(testing::internal::GetCapturedStderr());
    EXPECT_EQ(service->statusText(), "RUNNING ..");
    EXPECT_EQ(log.count("The queue folder " + queue + " is missing"), 1) << log.toStdString();
    EXPECT_TRUE(log.contains("The queue folder " + queue + " is back"));
}
