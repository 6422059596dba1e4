#include "ServerFixture.h"

namespace {

class NumberingTest : public ServerTest
{
protected:
    void SetUp() override
    {
        ServerTest::SetUp();
        ASSERT_EQ(server().Get_ConnStatus(), ""); // the numbering runs on an open connection
    }
    void setupRow(const QString &values)
    {
        suite.exec("DELETE FROM no_setup; INSERT INTO no_setup (sourcename, nprefix, ndigit, nnextno) VALUES "
                   + values + ";");
    }
    QString next() { return server().Gets_NextNoWhenSaved("no_salesorder"); }
    QVariant stored() const { return suite.scalar("SELECT nnextno FROM no_setup"); }
};

TEST_F(NumberingTest, NumberIsPrefixAndPaddedCounterAndTheCounterAdvances)
{
    struct Case
    {
        const char *row;
        const char *number;
        double next;
    };
    const Case cases[] = {
        {"('no_salesorder', 'SO', 6, 42)", "SO000042", 43},
        {"('no_salesorder', NULL, 5, 7)", "00007", 8},
        {"('no_salesorder', 'SO', 2, 123)", "SO123", 124},
        {"('no_salesorder', 'N', 0, 9)", "N9", 10},
        {"('no_salesorder', 'SO', 6, '42 A')", "SO000042", 43}, // a text counter: its leading number
        {"('no_salesorder', 'SO', 6, '')", "SO000000", 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.row);
        setupRow(c.row);
        EXPECT_EQ(next(), c.number);
        EXPECT_DOUBLE_EQ(stored().toDouble(), c.next);
    }
}

TEST_F(NumberingTest, MissingKindGivesNothingAndChangesNothing)
{
    suite.exec("INSERT INTO no_setup VALUES ('no_invoice', 'IN', 6, 5);");
    EXPECT_EQ(server().Gets_NextNoWhenSaved("no_salesorder"), "");
    EXPECT_EQ(server().Gets_NextNoWhenSaved("no_sales'order"), ""); // the quote does not break the statement
    EXPECT_EQ(stored().toInt(), 5);
}

TEST_F(NumberingTest, NullFiguresAreErrorsThatLeaveTheCounter)
{
    for (const char *row : {"('no_salesorder', 'SO', NULL, 42)", "('no_salesorder', 'SO', 6, NULL)"}) {
        SCOPED_TRACE(row);
        setupRow(row);
        const QString before = contents({"no_setup"});
        EXPECT_TRUE(next().startsWith("Error :"));
        EXPECT_EQ(contents({"no_setup"}), before);
    }
}

} // namespace
