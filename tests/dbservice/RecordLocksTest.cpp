#include "ServerFixture.h"

namespace {

const QDateTime Now(QDate(2026, 12, 7), QTime(10, 31, 0));

class RecordLocksTest : public ServerTest
{
protected:
    void SetUp() override
    {
        ServerTest::SetUp();
        server().setClock([] { return Now; });
    }
    void lockedBy(const QString &user, const QString &time)
    {
        suite.exec("INSERT INTO locktable (lockid, tablename, fieldname, uidvalue, formname, computername, "
                   "UserName, lockedtime) VALUES ('so000042', 'so', 'Sales Order No.', '000042', "
                   "'Sales Order Entry', 'PC1', " + user + ", '" + time + "');");
    }
    QString take(const QString &user, const QString &key = "000042")
    {
        return server().Sets_LockWithoutOpenConn("so", "Sales Order No.", "Sales Order Entry", key, 1, "PC2", user);
    }
    QString release(const QString &table, const QString &key)
    {
        return server().Sets_LockWithoutOpenConn(table, "", "", key, 2, "", "");
    }
    QString lockRow() const
    {
        return contents({"locktable"}).section('\n', 1, 1);
    }
};

TEST_F(RecordLocksTest, TakingAFreeRecordWritesTheLockRow)
{
    EXPECT_EQ(take("ANN"), "");
    EXPECT_EQ(lockRow(), "so000042|so|Sales Order No.|000042|Sales Order Entry|PC2|ANN|2026-12-07 10:31:00|");
}

TEST_F(RecordLocksTest, AnotherUsersFreshLockRefusesWithItsHolder)
{
    lockedBy("'JOE'", "2026-12-07 10:21:00");
    const QString before = contents({"locktable"});
    EXPECT_EQ(take("ANN"), "Sales Order No. is being used in the Sales Order Entry by User 'JOE'");
    EXPECT_EQ(contents({"locktable"}), before);
}

TEST_F(RecordLocksTest, StalenessCountsMinuteBoundaries)
{
    struct Case
    {
        const char *lockedTime;
        bool passes;
    };
    // At 10:31:00, 10:00:59 lies 31 minute boundaries back; 10:01:00 and 10:01:59 lie 30 back.
    const Case cases[] = {
        {"2026-12-07 10:00:59", true},
        {"2026-12-07 10:01:00", false},
        {"2026-12-07 10:01:59", false},
        {"2026-12-06 10:45:00", true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.lockedTime);
        suite.exec("DELETE FROM locktable;");
        lockedBy("'JOE'", c.lockedTime);
        if (c.passes) {
            EXPECT_EQ(take("ANN"), "");
            EXPECT_TRUE(lockRow().endsWith("|PC2|ANN|2026-12-07 10:31:00|")) << lockRow().toStdString();
        } else {
            EXPECT_EQ(take("ANN"), "Sales Order No. is being used in the Sales Order Entry by User 'JOE'");
        }
    }
}

TEST_F(RecordLocksTest, TheSameUserRefreshesTheLock)
{
    lockedBy("'ANN'", "2026-12-07 10:30:00");
    EXPECT_EQ(take("ANN"), "");
    EXPECT_EQ(suite.count("SELECT * FROM locktable"), 1);
    EXPECT_TRUE(lockRow().endsWith("|PC2|ANN|2026-12-07 10:31:00|")) << lockRow().toStdString();
    // The holder is compared exactly: another spelling is another user.
    EXPECT_EQ(take("ann"), "Sales Order No. is being used in the Sales Order Entry by User 'ANN'");
}

TEST_F(RecordLocksTest, LockWithoutUserNameIsHeldByAnEmptyName)
{
    lockedBy("NULL", "2026-12-07 10:30:00");
    EXPECT_EQ(take("ANN"), "Sales Order No. is being used in the Sales Order Entry by User ''");
}

TEST_F(RecordLocksTest, ReleaseRemovesEveryRowOfTheRecordAndNothingElse)
{
    lockedBy("'JOE'", "2026-12-07 10:00:00");
    lockedBy("'JOE'", "2026-12-07 10:00:00"); // a duplicate from a race
    suite.exec("INSERT INTO locktable (tablename, uidvalue, UserName) VALUES ('so', '000043', 'JOE'),"
               " ('customer', '000042', 'JOE');");
    EXPECT_EQ(release("so", "000042"), "");
    EXPECT_EQ(suite.count("SELECT * FROM locktable WHERE tablename='so' AND uidvalue='000042'"), 0);
    EXPECT_EQ(suite.count("SELECT * FROM locktable"), 2);

    const QString before = contents({"locktable"});
    EXPECT_EQ(release("so", "000099"), "");
    EXPECT_EQ(release("so", "x' OR '1'='1"), ""); // quoted, not a condition
    EXPECT_EQ(contents({"locktable"}), before);
}

TEST_F(RecordLocksTest, QuotesInTheKeyAreStoredAsTyped)
{
    EXPECT_EQ(take("ANN", "O'BRIEN"), "");
    EXPECT_EQ(suite.scalar("SELECT lockid FROM locktable").toString(), "soO'BRIEN");
    EXPECT_EQ(take("JOE", "O'BRIEN"), "Sales Order No. is being used in the Sales Order Entry by User 'ANN'");
}

} // namespace
