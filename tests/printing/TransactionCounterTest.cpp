#include "support/TempSuite.h"
#include "printing/TransactionCounter.h"

#include <gtest/gtest.h>
#include <set>
#include <thread>

namespace {

const QDate Today(2026, 12, 4);

Connection open(const TempSuite &suite)
{
    Connection db;
    db.openSqliteFile(suite.databasePath());
    return db;
}

TEST(TransactionCounter, CountsWithinTheDayAndRestartsOnAnyOther)
{
    const struct { const char *row; const char *number; } cases[] = {
        {"('2026-12-04', 2)", "12042026-0003"},
        {"('2026-12-04 08:15:00', 9)", "12042026-0010"},
        {"('2026-12-03', 41)", "12042026-0001"}, // a day change
        {"('not a date', 5)", "12042026-0001"},
        {"(NULL, NULL)", "12042026-0001"},
        {nullptr, "12042026-0001"}, // no row: one is added
    };
    for (const auto &c : cases) {
        TempSuite suite;
        if (c.row)
            suite.exec(QString("INSERT INTO config (trdate, trno) VALUES %1;").arg(c.row));
        EXPECT_EQ(TransactionCounter::next(open(suite), Today), c.number) << c.row;
        EXPECT_EQ(suite.scalar("SELECT count(*) || ' ' || date(trdate) || ' ' || trno FROM config").toString(),
                  QString("1 2026-12-04 %1").arg(QString(c.number).right(4).toInt()))
            << c.row;
    }
}

TEST(TransactionCounter, AddsTheRowForTheDayOnlyWhenThereIsNone)
{
    TempSuite suite;
    TransactionCounter::ensureRow(open(suite), Today);
    suite.exec("UPDATE config SET trno = 3;");
    TransactionCounter::ensureRow(open(suite), Today.addDays(1));
    EXPECT_EQ(suite.scalar("SELECT count(*) || ' ' || trdate || ' ' || trno FROM config").toString(), "1 2026-12-04 3");
}

TEST(TransactionCounter, TwoStationsNumberingAtOnceGetDifferentNumbers)
{
    TempSuite suite;
    suite.exec("INSERT INTO config (trdate, trno) VALUES ('2026-12-04', 0);");
    constexpr int Each = 25;
    QStringList numbers[2];
    std::thread stations[2];
    for (int s = 0; s < 2; ++s) {
        stations[s] = std::thread([&suite, &numbers, s] {
            const Connection db = open(suite); // a connection of this thread's own
            for (int i = 0; i < Each; ++i)
                numbers[s] << TransactionCounter::next(db, Today);
        });
    }
    for (std::thread &station : stations)
        station.join();
    const QStringList all = numbers[0] + numbers[1];
    EXPECT_EQ(std::set<QString>(all.begin(), all.end()).size(), size_t(2 * Each));
    EXPECT_EQ(suite.scalar("SELECT trno FROM config").toInt(), 2 * Each);
}

} // namespace
