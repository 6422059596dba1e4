#include "dbservice/ServerFixture.h"

namespace {

class ListAndBrowseTest : public ServerTest
{
protected:
    void SetUp() override
    {
        ServerTest::SetUp();
        if (IsSkipped())
            return;
        suite().exec("INSERT INTO customer (uid, uname) VALUES ('C1', 'Adams'), ('C2', 'O''Brien'), ('C3', 'O''Brien'),"
                   " ('C4', 'Zed'), ('C6', '');"
                   "INSERT INTO so (invno, invdate, tdcpercent) VALUES ('A', '2003-12-30', 5), ('B', '2003-12-31', 12.5),"
                   " ('C', '2003-12-31', 12.5), ('D', '2004-01-02', 20);");
    }
    // The keys after (startId, startDesc) in the order of the description and the key.
    QString listAfter(QString startId, const QString &startDesc, const QString &table, const QString &key,
                      const QString &desc)
    {
        return keysOf(server().Get_ListData(startId, startDesc, "SELECT", table, "", "order by " + desc + ", " + key,
                                            "asc", key, ">", desc, ">", key, ""),
                      key);
    }
    static QString keysOf(Recordset rs, const QString &key)
    {
        QStringList keys;
        for (; !rs.eof(); rs.moveNext())
            keys << rs.text(key);
        return keys.join(' ');
    }
};

TEST_P(ListAndBrowseTest, ListsTheKeysAfterTheStartForEachKindOfDescription)
{
    QString id = "C2";
    EXPECT_EQ(keysOf(server().Get_ListData(id, "", "SELECT TOP 2", "customer", "", "order by uid", "asc", "uid", ">",
                                           "uname", ">", "uid,uname", ""),
                     "uid"),
              "C3 C4");
    EXPECT_EQ(listAfter("C2", "O'Brien", "customer", "uid", "uname"), "C3 C4");
    EXPECT_EQ(listAfter("C0", " ", "customer", "uid", "uname"), "C6 C1 C2 C3 C4"); // a blank: the empty text
    EXPECT_EQ(listAfter("B", "^d12/31/2003", "so", "invno", "invdate"), "C D");
    EXPECT_EQ(listAfter("B", "^c12.5", "so", "invno", "tdcpercent"), "C D");

    id = "O'X";
    EXPECT_EQ(server().Get_ListData(id, "", "", "", "", "", "", "", "", "", "", "", "SELECT * FROM so").recordCount(), 4);
    EXPECT_EQ(id, "O''X"); // doubled for the caller even when its own statement runs
}

TEST_P(ListAndBrowseTest, BrowseGivesTheFirstKeyOrNothing)
{
    auto browseAfter = [this](QString id, const QString &desc) {
        return server().Get_BrowseData(id, desc, "SELECT", "so", "", "order by invdate, invno", "asc", "invno", ">",
                                       "invdate", ">", "ignored", "");
    };
    EXPECT_EQ(browseAfter("B", "^d12/31/2003"), "C");
    EXPECT_EQ(browseAfter("D", "^d1/2/2004"), "");
    EXPECT_EQ(browseAfter("B", "^dnot a date"), "");
    QString id = "1";
    EXPECT_EQ(server().Get_ListData(id, "", "SELECT", "nosuch", "", "", "", "uid", ">", "", "", "uid", "").field(0).name,
              "blankfield");
}

RF_TEST_ALL_BACKENDS(ListAndBrowseTest);

} // namespace
