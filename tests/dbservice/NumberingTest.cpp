#include "dbservice/ServerFixture.h"

namespace {

using NumberingTest = ServerTest;

TEST_P(NumberingTest, NumberIsPrefixAndPaddedCounterAndTheCounterAdvances)
{
    ASSERT_EQ(server().Get_ConnStatus(), ""); // runs inside the save, on its open connection
    const struct
    {
        const char *row, *number;
        double next; // 0: an error, the row unchanged
        bool textCounter = false;
    } cases[] = {
        {"'SO', 6, 42", "SO000042", 43},
        {"NULL, 5, 7", "00007", 8},
        {"'SO', 2, 123", "SO123", 124},
        {"'N', 0, 9", "N9", 10},
        {"'SO', 6, '42 A'", "SO000042", 43, true}, // a text counter: its leading number
        {"'SO', NULL, 42", "Error :", 0},
        {"'SO', 6, NULL", "Error :", 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.row);
        if (c.textCounter && !onSqlite())
            continue; // a server's integer column holds no text
        suite().exec(QString("DELETE FROM no_setup; INSERT INTO no_setup VALUES ('no_salesorder', %1);").arg(c.row));
        const QString before = contents({"no_setup"});
        const QString number = server().Gets_NextNoWhenSaved("no_salesorder");
        EXPECT_TRUE(c.next ? number == c.number : number.startsWith(c.number)) << number.toStdString();
        if (c.next)
            EXPECT_EQ(suite().scalar("SELECT nnextno FROM no_setup").toDouble(), c.next);
        else
            EXPECT_EQ(contents({"no_setup"}), before);
    }
    // No row for the kind (the quote does not break the statement): nothing, nothing changed.
    EXPECT_EQ(server().Gets_NextNoWhenSaved("no_sales'order"), "");
}

RF_TEST_ALL_BACKENDS(NumberingTest);

} // namespace
