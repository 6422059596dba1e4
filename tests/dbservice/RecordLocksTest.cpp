#include "dbservice/ServerFixture.h"

namespace {

class RecordLocksTest : public ServerTest
{
protected:
    void SetUp() override
    {
        ServerTest::SetUp();
        if (IsSkipped())
            return;
        server().setClock([] { return QDateTime(QDate(2026, 12, 7), QTime(10, 31, 0)); });
    }
    void lockedBy(const QString &user, const QString &time, QString key = "000042")
    {
        key.replace("'", "''");
        suite().exec("INSERT INTO locktable VALUES ('so" + key + "', 'so', 'Sales Order No.', '" + key
                   + "', 'Sales Order Entry', 'PC1', " + user + ", '2026-12-07 " + time + "');");
    }
    QString take(const QString &user, const QString &key = "000042")
    {
        return server().Sets_LockWithoutOpenConn("so", "Sales Order No.", "Sales Order Entry", key, 1, "PC2", user);
    }
    QString rows() const { return contents({"locktable"}).section('\n', 1); }
};

const QString TakenByAnn = "so000042|so|Sales Order No.|000042|Sales Order Entry|PC2|ANN|2026-12-07 10:31:00|\n";

TEST_P(RecordLocksTest, TakingAFreeRecordWritesTheLockRow)
{
    EXPECT_EQ(take("ANN"), "");
    EXPECT_EQ(rows(), TakenByAnn);
}

TEST_P(RecordLocksTest, AnotherUsersLockRefusesUntilItIsStaleByMinuteBoundaries)
{
    const struct
    {
        const char *user, *lockedTime, *result;
    } cases[] = {
        {"'JOE'", "10:21:00", "Sales Order No. is being used in the Sales Order Entry by User 'JOE'"},
        {"'JOE'", "10:01:00", "Sales Order No. is being used in the Sales Order Entry by User 'JOE'"}, // 30 minutes
        {"'JOE'", "10:00:59", ""},                                                                  // 31 minutes
        {"NULL", "10:30:00", "Sales Order No. is being used in the Sales Order Entry by User ''"},
        {"'ann'", "10:30:00", "Sales Order No. is being used in the Sales Order Entry by User 'ann'"},
        {"'ANN'", "10:30:00", ""}, // the holder itself refreshes its lock
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.user) + " " + c.lockedTime);
        suite().exec("DELETE FROM locktable;");
        lockedBy(c.user, c.lockedTime);
        const QString before = rows();
        EXPECT_EQ(take("ANN"), c.result);
        EXPECT_EQ(rows(), QString(c.result).isEmpty() ? TakenByAnn : before);
    }
}

TEST_P(RecordLocksTest, ReleaseRemovesEveryRowOfTheRecordAndNothingElse)
{
    lockedBy("'JOE'", "10:00:00");
    lockedBy("'JOE'", "10:00:00"); // a duplicate left by a race
    lockedBy("'JOE'", "10:00:00", "000043");
    lockedBy("'JOE'", "10:30:00", "O'BRIEN");
    EXPECT_EQ(server().Sets_LockWithoutOpenConn("so", "", "", "000042", 2, "", ""), "");
    EXPECT_EQ(suite().count("SELECT * FROM locktable"), 2);

    const QString before = rows();
    EXPECT_EQ(server().Sets_LockWithoutOpenConn("so", "", "", "x' OR '1'='1", 2, "", ""), "");
    EXPECT_EQ(rows(), before);
    EXPECT_EQ(take("ANN", "O'BRIEN"), "Sales Order No. is being used in the Sales Order Entry by User 'JOE'");
}

RF_TEST_ALL_BACKENDS(RecordLocksTest);

} // namespace
