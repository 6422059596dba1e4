#include "OrderRecords.h"
#include "ServerFixture.h"

#include <QFile>
#include <sqlite3.h>

namespace {

const QStringList OrderTables = {"so", "sodetail", "item", "no_setup", "locktable"};

class SalesOrderSaveTest : public ServerTest
{
protected:
    void SetUp() override
    {
        ServerTest::SetUp();
        suite.exec("INSERT INTO no_setup (sourcename, nprefix, ndigit, nnextno) VALUES ('no_salesorder', 'SO', 6, 42);"
                   "INSERT INTO item (uid, itemrow, itemcol, price, stock, onso) VALUES"
                   " ('A1', '', '', 10, 100, 0), ('B2', '', '', 5, 50, 1), ('C3', '', '', 7, 20, 0),"
                   " ('POLO', 'BLACK', 'M', 22, 30, 4), ('O''NEIL', 'O''NEIL', 'M', 9, 10, 0);");
    }

    double onso(const QString &item) const
    {
        return suite.scalar("SELECT onso FROM item WHERE uid='" + item + "'").toDouble();
    }
    QString soColumn(const QString &invno, const QString &column) const
    {
        return suite.scalar("SELECT " + column + " FROM so WHERE invno='" + invno + "'").toString();
    }
    QStringList lineKeys(const QString &invno) const
    {
        return suite.scalar("SELECT group_concat(autonum, ',') FROM (SELECT autonum FROM sodetail WHERE invno='"
                            + invno + "' ORDER BY autonum)")
            .toString()
            .split(',', Qt::SkipEmptyParts);
    }

    // A new order of lines A1 x5 and B2 x4, saved as SO000042 with keys ...0000 and ...0001.
    void saveExistingOrder()
    {
        QString number = "Auto No.";
        Recordset header = orderHeader();
        Recordset detail = orderDetail();
        addLine(detail, "A1", 5);
        addLine(detail, "B2", 4);
        ASSERT_EQ(server().Update_SalesOrder(number, 1, header, detail, 0), "");
        ASSERT_EQ(number, "SO000042");
    }

    QString edit(Recordset &detail, qint32 lastAutoNo, int orderType = 0)
    {
        QString number = "SO000042";
        Recordset header = orderHeader();
        header.setValue("ordtype", orderType);
        header.setValue("custpo", "PO-7");
        header.update();
        return server().Update_SalesOrder(number, 2, header, detail, lastAutoNo);
    }
};

TEST_F(SalesOrderSaveTest, NewOrderTakesTheNextNumberAndWritesHeaderLinesAndStock)
{
    QString number = "Auto No.";
    Recordset header = orderHeader("C1");
    Recordset detail = orderDetail();
    addLine(detail, "A1", 5);
    addLine(detail, "B2", 0); // nothing ordered: not written, not counted
    addLine(detail, "POLO", 2, "BLACK", "M");

    EXPECT_EQ(server().Update_SalesOrder(number, 1, header, detail, 0), "");
    EXPECT_EQ(number, "SO000042");
    EXPECT_EQ(suite.scalar("SELECT nnextno FROM no_setup").toInt(), 43);

    EXPECT_EQ(soColumn("SO000042", "CustNo"), "C1");
    EXPECT_EQ(soColumn("SO000042", "orddate"), "2026-12-10"); // the header's ship date
    EXPECT_EQ(soColumn("SO000042", "CancelDate"), "2027-01-06");
    EXPECT_EQ(soColumn("SO000042", "inputtime"), "09:05:07");
    EXPECT_DOUBLE_EQ(suite.scalar("SELECT tax FROM so").toDouble(), 8.25);
    EXPECT_DOUBLE_EQ(suite.scalar("SELECT total FROM so").toDouble(), 108.25);
    EXPECT_TRUE(suite.scalar("SELECT addedinshow FROM so").isNull());

    EXPECT_EQ(lineKeys("SO000042"), QStringList({"SO0000420000", "SO0000420001"}));
    EXPECT_EQ(suite.scalar("SELECT itemno FROM sodetail WHERE autonum='SO0000420001'").toString(), "POLO");
    EXPECT_DOUBLE_EQ(suite.scalar("SELECT qremain FROM sodetail WHERE autonum='SO0000420001'").toDouble(), 2);
    EXPECT_DOUBLE_EQ(onso("A1"), 5);
    EXPECT_DOUBLE_EQ(onso("B2"), 1);
    EXPECT_DOUBLE_EQ(onso("POLO"), 6);
    EXPECT_DOUBLE_EQ(suite.scalar("SELECT stock FROM item WHERE uid='POLO'").toDouble(), 30);
}

TEST_F(SalesOrderSaveTest, TradeShowOrderGetsTheSuffixOnHeaderAndLineKeys)
{
    QString number = "Auto No.";
    Recordset header = orderHeader("C1", true);
    Recordset detail = orderDetail();
    addLine(detail, "A1", 1);
    addLine(detail, "C3", 1);

    EXPECT_EQ(server().Update_SalesOrder(number, 1, header, detail, 0), "");
    EXPECT_EQ(number, "SO000042S");
    EXPECT_EQ(soColumn("SO000042S", "addedinshow"), "1");
    EXPECT_EQ(lineKeys("SO000042S"), QStringList({"SO000042S0000", "SO000042S0001"}));
}

TEST_F(SalesOrderSaveTest, OnlyTheExactAutoNoTextTakesANumber)
{
    for (const QString typed : {"12345", "auto no."}) {
        QString number = typed;
        Recordset header = orderHeader();
        Recordset detail = orderDetail();
        addLine(detail, "A1", 1);
        EXPECT_EQ(server().Update_SalesOrder(number, 1, header, detail, 0), "");
        EXPECT_EQ(number, typed);
        EXPECT_EQ(lineKeys(typed), QStringList({typed + "0000"}));
    }
    EXPECT_EQ(suite.scalar("SELECT nnextno FROM no_setup").toInt(), 42);
}

TEST_F(SalesOrderSaveTest, UnknownItemVariantRollsBackTheWholeOrderAndLeavesTheNumberUnused)
{
    const QString before = contents(OrderTables);
    QString number = "Auto No.";
    Recordset header = orderHeader();
    Recordset detail = orderDetail();
    addLine(detail, "A1", 5);
    addLine(detail, "POLO", 1, "BLACK", "XXL");

    EXPECT_EQ(server().Update_SalesOrder(number, 1, header, detail, 0),
              "Item No : POLO Item Row : BLACK Item Col : XXL not found! Check this item then try again!");
    EXPECT_EQ(contents(OrderTables), before);
    EXPECT_EQ(number, "Auto No.");

    // The number 42 was not consumed: the next order gets it, and 43 is next.
    Recordset retryHeader = orderHeader();
    Recordset retry = orderDetail();
    addLine(retry, "A1", 5);
    EXPECT_EQ(server().Update_SalesOrder(number, 1, retryHeader, retry, 0), "");
    EXPECT_EQ(number, "SO000042");
    EXPECT_EQ(suite.scalar("SELECT nnextno FROM no_setup").toInt(), 43);
}

TEST_F(SalesOrderSaveTest, QuotesInItemTextsAreDoubledInTheLookupAndTheMessage)
{
    QString number = "Auto No.";
    Recordset header = orderHeader();
    Recordset detail = orderDetail();
    addLine(detail, "O'NEIL", 2, "O'NEIL", "M");
    EXPECT_EQ(server().Update_SalesOrder(number, 1, header, detail, 0), "");
    EXPECT_DOUBLE_EQ(onso("O''NEIL"), 2);

    const QString before = contents(OrderTables);
    number = "Auto No.";
    Recordset header2 = orderHeader();
    Recordset missing = orderDetail();
    addLine(missing, "AB'C", 1, "O'NEIL", "M");
    EXPECT_EQ(server().Update_SalesOrder(number, 1, header2, missing, 0),
              "Item No : AB''C Item Row : O''NEIL Item Col : M not found! Check this item then try again!");
    EXPECT_EQ(contents(OrderTables), before);
}

TEST_F(SalesOrderSaveTest, DuplicateOrderNumberNamesTheFieldThreeTimesAndWritesNothing)
{
    suite.exec("INSERT INTO so (invno, CustNo) VALUES ('SO000042', 'OLD');");
    const QString before = contents(OrderTables);
    QString number = "Auto No.";
    Recordset header = orderHeader();
    Recordset detail = orderDetail();
    addLine(detail, "A1", 5);

    const QString result = server().Update_SalesOrder(number, 1, header, detail, 0);
    EXPECT_TRUE(result.startsWith("Error :")) << result.toStdString();
    EXPECT_TRUE(result.contains(" (Duplicate Entry) If you are using Auto No. or Next No option then change "
                                "'Next No.' in the Sales Order No. Setup Screen. If you typed in the Sales "
                                "Order No. field then change the Sales Order No. then try again."))
        << result.toStdString();
    EXPECT_EQ(contents(OrderTables), before);
}

TEST_F(SalesOrderSaveTest, NumberingFailureReturnsItsTextAndWritesNothing)
{
    suite.exec("UPDATE no_setup SET ndigit = NULL;");
    const QString before = contents(OrderTables);
    QString number = "Auto No.";
    Recordset header = orderHeader();
    Recordset detail = orderDetail();
    addLine(detail, "A1", 5);

    const QString result = server().Update_SalesOrder(number, 1, header, detail, 0);
    EXPECT_TRUE(result.startsWith("Error :")) << result.toStdString();
    EXPECT_EQ(contents(OrderTables), before);
}

TEST_F(SalesOrderSaveTest, BusyDatabaseFailsBeforeWritingWithAClearText)
{
    server().setBusyTimeout(0);
    ASSERT_EQ(server().Get_ConnStatus(), "");
    const QString before = contents(OrderTables);

    sqlite3 *other = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(suite.databasePath()).constData(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);

    QString number = "Auto No.";
    Recordset header = orderHeader();
    Recordset detail = orderDetail();
    addLine(detail, "A1", 5);
    const QString result = server().Update_SalesOrder(number, 1, header, detail, 0);

    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);

    EXPECT_TRUE(result.startsWith("Error :5 ")) << result.toStdString();
    EXPECT_TRUE(result.contains("locked by another program")) << result.toStdString();
    EXPECT_EQ(number, "Auto No.");
    EXPECT_EQ(contents(OrderTables), before);

    // Once the other program is done, the same order saves.
    EXPECT_EQ(server().Update_SalesOrder(number, 1, header, detail, 0), "");
    EXPECT_EQ(number, "SO000042");
}

TEST_F(SalesOrderSaveTest, EditingAdjustsStockDeletesEmptiedLinesKeysNewLinesAndReleasesTheLock)
{
    saveExistingOrder();
    suite.exec("INSERT INTO locktable (lockid, tablename, fieldname, uidvalue, formname, UserName)"
               " VALUES ('soSO000042', 'so', 'Sales Order No.', 'SO000042', 'Sales Order Entry', 'JOE');");

    Recordset detail = orderDetail();
    addLine(detail, "A1", 3, "", "", "SO0000420000"); // 5 -> 3
    addLine(detail, "B2", 0, "", "", "SO0000420001"); // emptied: the row goes
    addLine(detail, "POLO", 2, "BLACK", "M");
    addLine(detail, "C3", 1);

    EXPECT_EQ(edit(detail, 7), "");
    EXPECT_EQ(lineKeys("SO000042"), QStringList({"SO0000420000", "SO0000420008", "SO0000420009"}));
    EXPECT_DOUBLE_EQ(suite.scalar("SELECT qord FROM sodetail WHERE autonum='SO0000420000'").toDouble(), 3);
    EXPECT_DOUBLE_EQ(onso("A1"), 3);
    EXPECT_DOUBLE_EQ(onso("B2"), 1);
    EXPECT_DOUBLE_EQ(onso("POLO"), 6);
    EXPECT_DOUBLE_EQ(onso("C3"), 1);
    EXPECT_EQ(soColumn("SO000042", "custpo"), "PO-7");
    EXPECT_EQ(suite.count("SELECT * FROM so"), 1);
    EXPECT_EQ(suite.count("SELECT * FROM locktable"), 0);
    EXPECT_EQ(suite.scalar("SELECT nnextno FROM no_setup").toInt(), 43);
}

TEST_F(SalesOrderSaveTest, BackOrderTypeCountsBackOrderedQuantities)
{
    saveExistingOrder();
    suite.exec("UPDATE so SET ordtype = 1;");
    Recordset detail = orderDetail();
    addLine(detail, "A1", 5, "", "", "SO0000420000", 0, 2); // back order 0 -> 2
    addLine(detail, "C3", 6, "", "", "", 0, 4);

    EXPECT_EQ(edit(detail, 1, 1), "");
    EXPECT_DOUBLE_EQ(onso("A1"), 7); // 5 + 2 - 0
    EXPECT_DOUBLE_EQ(onso("C3"), 4);
    EXPECT_DOUBLE_EQ(suite.scalar("SELECT qremain FROM sodetail WHERE autonum='SO0000420002'").toDouble(), 4);
}

TEST_F(SalesOrderSaveTest, EditingFailuresChangeNothing)
{
    saveExistingOrder();
    suite.exec("INSERT INTO locktable (lockid, tablename, uidvalue, UserName) VALUES ('soSO000042', 'so', 'SO000042', 'JOE');");
    const QString before = contents(OrderTables);

    {
        QString number = "SO000099";
        Recordset header = orderHeader();
        Recordset detail = orderDetail();
        addLine(detail, "A1", 1);
        EXPECT_EQ(server().Update_SalesOrder(number, 2, header, detail, 0),
                  "Error : Selected record not found ! Update canceled !");
    }
    {
        Recordset detail = orderDetail();
        addLine(detail, "A1", 1, "", "", "SO0000420000");
        addLine(detail, "A1", 1, "", "", "SO0000420005"); // no such line any more
        const QString result = edit(detail, 7);
        EXPECT_TRUE(result.startsWith("Error :3021 ")) << result.toStdString();
        EXPECT_TRUE(result.contains("SO0000420005")) << result.toStdString();
    }
    {
        Recordset detail = orderDetail();
        addLine(detail, "A1", 1, "", "", "SO0000420000");
        addLine(detail, "ZZ", 1);
        EXPECT_TRUE(edit(detail, 7).startsWith("Item No : ZZ "));
    }
    EXPECT_EQ(contents(OrderTables), before);
}

TEST_F(SalesOrderSaveTest, ConnectionFailureIsReportedWithoutField)
{
    QFile::remove(suite.databasePath());
    QString number = "Auto No.";
    Recordset header = orderHeader();
    Recordset detail = orderDetail();
    addLine(detail, "A1", 1);
    const QString result = server().Update_SalesOrder(number, 1, header, detail, 0);
    EXPECT_TRUE(result.startsWith("Error :14 ")) << result.toStdString();
    EXPECT_FALSE(QFile::exists(suite.databasePath()));
}

} // namespace
