#include "ServerFixture.h"

namespace {

class ListAndBrowseTest : public ServerTest
{
protected:
    void SetUp() override
    {
        ServerTest::SetUp();
        suite.exec(R"(
INSERT INTO customer (uid, uname) VALUES
  ('C1', 'Adams'), ('C2', 'O''Brien'), ('C3', 'O''Brien'), ('C4', 'Zed'), ('C5', 'Baker'), ('C6', '');
INSERT INTO so (invno, invdate, tdcpercent) VALUES
  ('A', '2003-12-30', 5), ('B', '2003-12-31', 12.5), ('C', '2003-12-31', 12.5), ('D', '2004-01-02', 20);
)");
    }

    // The rows after (startId, startDesc) in the order of `descField` and the key.
    QStringList listAfter(QString startId, const QString &startDesc, const QString &table,
                          const QString &key, const QString &descField, const QString &sql = {})
    {
        Recordset rs = server().Get_ListData(startId, startDesc, "SELECT", table, "", "order by " + descField + ", " + key,
                                             "asc", key, ">", descField, ">", key, sql);
        QStringList keys;
        for (; !rs.eof(); rs.moveNext())
            keys << rs.text(key);
        return keys;
    }
    QString browseAfter(QString startId, const QString &startDesc)
    {
        return server().Get_BrowseData(startId, startDesc, "SELECT", "so", "", "order by invdate, invno", "asc",
                                       "invno", ">", "invdate", ">", "ignored", "");
    }
};

TEST_F(ListAndBrowseTest, KeyOnlyStartGivesTheSingleConditionForm)
{
    QString id = "C2";
    Recordset rs = server().Get_ListData(id, "", "SELECT TOP 2", "customer", "", "order by uid", "asc", "uid", ">",
                                         "uname", ">", "uid,uname", "");
    EXPECT_EQ(server().lastStatement(), "SELECT TOP 2 uid,uname FROM customer where uid > 'C2'  order by uid asc");
    EXPECT_EQ(rs.recordCount(), 2);
    EXPECT_EQ(rs.text("uid"), "C3");
}

TEST_F(ListAndBrowseTest, TextDescriptionsAreQuotedAndDoubled)
{
    EXPECT_EQ(listAfter("C2", "O'Brien", "customer", "uid", "uname"), QStringList({"C3", "C4"}));
    EXPECT_EQ(server().lastStatement(), "SELECT uid FROM customer where (uid > 'C2' and uname='O''Brien' ) or "
                                        "(uname > 'O''Brien' ) order by uname, uid asc");
    // A single blank stands for the empty description.
    EXPECT_EQ(listAfter("C0", " ", "customer", "uid", "uname").first(), "C6");
    EXPECT_TRUE(server().lastStatement().contains("uname='' )"));
}

TEST_F(ListAndBrowseTest, DateAndNumberDescriptions)
{
    EXPECT_EQ(listAfter("B", "^d12/31/2003", "so", "invno", "invdate"), QStringList({"C", "D"}));
    EXPECT_TRUE(server().lastStatement().contains("invdate=#12/31/2003# ) or (invdate > #12/31/2003# )"));
    EXPECT_EQ(listAfter("B", "^c12.5", "so", "invno", "tdcpercent"), QStringList({"C", "D"}));
    EXPECT_TRUE(server().lastStatement().contains("tdcpercent=12.5 ) or (tdcpercent > 12.5 )"));
}

TEST_F(ListAndBrowseTest, OwnStatementRunsUnchangedAndTheStartKeyIsStillDoubled)
{
    QString id = "O'X";
    Recordset rs = server().Get_ListData(id, "", "", "", "", "", "", "", "", "", "", "",
                                         "SELECT invno FROM so WHERE invno='A'");
    EXPECT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(id, "O''X");
}

TEST_F(ListAndBrowseTest, BrowseGivesTheFirstKeyOrNothing)
{
    EXPECT_EQ(browseAfter("B", "^d12/31/2003"), "C");
    EXPECT_EQ(server().lastStatement().left(22), "SELECT invno FROM so w");
    EXPECT_EQ(browseAfter("D", "^d1/2/2004"), "");
}

TEST_F(ListAndBrowseTest, FailuresGiveTheBlankSetOrNothing)
{
    QString id = "1";
    Recordset rs = server().Get_ListData(id, "", "SELECT", "nosuch", "", "", "", "uid", ">", "", "", "uid", "");
    ASSERT_EQ(rs.fieldCount(), 1);
    EXPECT_EQ(rs.field(0).name, "blankfield");
    EXPECT_EQ(browseAfter("B", "^dnot a date"), "");
    EXPECT_EQ(browseAfter("B", "^c1O"), "");
}

} // namespace
