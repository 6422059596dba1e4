// One station per queue across machines: the claim in the database, judged by its beat.

#include "queue/QueueService.h"
#include "support/TempSuite.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <atomic>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <thread>

namespace {

class QueueClaimTest : public ::testing::Test
{
protected:
    // The claim of a station on another machine, on the queue a first start gave its identity.
    void claimElsewhere()
    {
        {
            QueueService first(suite.programDir());
            ASSERT_EQ(first.start(), 0);
        }
        suite.exec("DELETE FROM rfstation");
        suite.exec("INSERT INTO rfstation (queuedir, host, pid, since, beat) VALUES ('" + queueId()
                   + "', 'far-away', 42, '2026-12-07T06:00:00', 0)");
    }
    QString queueId() const
    {
        QFile file(suite.queueDir() + "/.rfqueue");
        return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()).trimmed() : QString();
    }
    // Counts the far-away station's beat up until stopped, as a live station does.
    void beatElsewhere(std::atomic<bool> &stop) const
    {
        sqlite3 *db = nullptr;
        sqlite3_open(suite.databasePath().toUtf8().constData(), &db);
        sqlite3_busy_timeout(db, 5000);
        while (!stop) {
            sqlite3_exec(db, "UPDATE rfstation SET beat = beat + 1 WHERE host = 'far-away'", nullptr, nullptr, nullptr);
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        sqlite3_close(db);
    }
    QString holder() const { return suite.scalar("SELECT host || ' ' || pid FROM rfstation").toString(); }

    TempSuite suite{TempSuite::Data::Demo};
};

} // namespace

TEST_F(QueueClaimTest, ALiveStationElsewhereKeepsTheQueueAndIsNamed)
{
    claimElsewhere();
    std::atomic<bool> stop = false;
    std::thread beating([&] { beatElsewhere(stop); });
    QueueService second(suite.programDir());
    second.setClaimTimes(100, 3000);
    testing::internal::CaptureStderr();
    const int status = second.start();
    const QString log = QString::fromStdString(testing::internal::GetCapturedStderr());
    stop = true;
    beating.join();
    EXPECT_EQ(status, 3);
    EXPECT_TRUE(log.contains("Another station works on the queue folder " + suite.queueDir()
                             + " (process 42 on far-away since 2026-12-07T06:00:00)"))
        << log.toStdString();
    EXPECT_EQ(holder(), "far-away 42");
}

TEST_F(QueueClaimTest, ASilentStationsClaimIsTakenOverAndATakenQueueStopsItsStation)
{
    claimElsewhere();
    QueueService station(suite.programDir());
    station.setClaimTimes(100, 300);
    testing::internal::CaptureStderr();
    ASSERT_EQ(station.start(), 0);
    const QString log = QString::fromStdString(testing::internal::GetCapturedStderr());
    EXPECT_TRUE(log.contains("was taken over from process 42 on far-away")) << log.toStdString();
    EXPECT_NE(holder(), "far-away 42");

    // Its own queue taken from it (it was thought dead elsewhere): it stops with status 3.
    bool finished = false;
    QObject::connect(&station, &QueueService::finished, [&] { finished = true; });
    suite.exec("UPDATE rfstation SET host = 'far-away', pid = 43");
    const QDeadlineTimer deadline(10000);
    while (!finished && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_TRUE(finished);
    EXPECT_EQ(station.exitStatus(), 3);
}
