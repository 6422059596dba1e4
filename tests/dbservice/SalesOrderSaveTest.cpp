#include "dbservice/OrderRecords.h"
#include "dbservice/ServerFixture.h"

#include <QFile>
#include <functional>
#include <sqlite3.h>

namespace {

const QStringList OrderTables = {"so", "sodetail", "item", "no_setup", "locktable"};

class SalesOrderSaveTest : public ServerTest
{
protected:
    void SetUp() override
    {
        ServerTest::SetUp();
        if (IsSkipped())
            return;
        suite().exec("INSERT INTO no_setup VALUES ('no_salesorder', 'SO', 6, 42);"
                   "INSERT INTO item (uid, itemrow, itemcol, stock, onso) VALUES ('A1', '', '', 100, 0),"
                   " ('B2', '', '', 50, 1), ('C3', '', '', 20, 0), ('POLO', 'BLACK', 'M', 30, 4),"
                   " ('O''NEIL', 'O''NEIL', 'M', 10, 0);");
    }
    QString save(QString &number, Recordset detail, quint8 flag = 1, Recordset header = orderHeader(),
                 qint32 lastAutoNo = 0)
    {
        return server().Update_SalesOrder(number, flag, header, detail, lastAutoNo);
    }
    QVariant value(const QString &query) const { return suite().scalar(query); }
    double onso(const QString &item) const
    {
        return value("SELECT onso FROM item WHERE uid='" + item + "'").toDouble();
    }
    QString lineKeys() const
    {
        QStringList keys = suite().database().rows("SELECT autonum FROM sodetail ORDER BY 1");
        for (QString &key : keys)
            key.chop(1); // the column separator
        return keys.join(' ');
    }
    QString row(const QString &query) const { return suite().database().rows(query).join('\n'); }
};

TEST_P(SalesOrderSaveTest, NewOrderTakesTheNextNumberAndWritesHeaderLinesAndStock)
{
    QString number = "Auto No.";
    Recordset detail = orderDetail();
    addLine(detail, "A1", 5);
    addLine(detail, "B2", 0); // nothing ordered: not written, not counted
    addLine(detail, "POLO", 2, "BLACK", "M");

    EXPECT_EQ(save(number, detail), "");
    EXPECT_EQ(number, "SO000042");
    EXPECT_EQ(value("SELECT nnextno FROM no_setup").toInt(), 43);
    EXPECT_EQ(row("SELECT CustNo, orddate, CancelDate, inputtime, tax, total FROM so WHERE invno='SO000042'"),
              "C1|2026-12-10|2027-01-06|09:05:07|8.25|108.25|");
    EXPECT_EQ(lineKeys(), "SO0000420000 SO0000420001");
    EXPECT_EQ(row("SELECT itemno, qremain FROM sodetail WHERE autonum='SO0000420001'"), "POLO|2|");
    EXPECT_EQ(onso("A1"), 5);
    EXPECT_EQ(onso("B2"), 1);
    EXPECT_EQ(onso("POLO"), 6);
}

TEST_P(SalesOrderSaveTest, TradeShowSuffixAndTypedNumbers)
{
    QString number = "Auto No.";
    Recordset detail = orderDetail();
    addLine(detail, "A1", 1);
    addLine(detail, "C3", 1);
    EXPECT_EQ(save(number, detail, 1, orderHeader(true)), "");
    EXPECT_EQ(number, "SO000042S");
    EXPECT_EQ(value("SELECT addedinshow FROM so WHERE invno='SO000042S'").toInt(), 1);
    EXPECT_EQ(lineKeys(), "SO000042S0000 SO000042S0001");

    // Only the exact text "Auto No." takes a number; anything else is the number.
    for (const QString typed : {"12345", "auto no."}) {
        number = typed;
        Recordset one = orderDetail();
        addLine(one, "A1", 1);
        EXPECT_EQ(save(number, one), "");
        EXPECT_EQ(value("SELECT autonum FROM sodetail WHERE invno='" + typed + "'").toString(), typed + "0000");
    }
    EXPECT_EQ(value("SELECT nnextno FROM no_setup").toInt(), 43);
}

TEST_P(SalesOrderSaveTest, FailuresWriteNothingAndKeepTheNumberFree)
{
    struct Case
    {
        const char *setup;
        std::function<void(Recordset &)> lines;
        const char *result; // the text, or a part of it
    };
    const Case cases[] = {
        {"", [](Recordset &d) { addLine(d, "A1", 5); addLine(d, "POLO", 1, "BLACK", "XXL"); },
         "Item No : POLO Item Row : BLACK Item Col : XXL not found! Check this item then try again!"},
        {"", [](Recordset &d) { addLine(d, "O'NEIL", 2, "O'NEIL", "M"); addLine(d, "AB'C", 1, "O'NEIL", "M"); },
         "Item No : AB''C Item Row : O''NEIL Item Col : M not found! Check this item then try again!"},
        {"INSERT INTO so (invno) VALUES ('SO000042');", [](Recordset &d) { addLine(d, "A1", 5); },
         " (Duplicate Entry) If you are using Auto No. or Next No option then change 'Next No.' in the Sales Order "
         "No. Setup Screen. If you typed in the Sales Order No. field then change the Sales Order No. then try "
         "again."},
        {"UPDATE no_setup SET ndigit = NULL;", [](Recordset &d) { addLine(d, "A1", 5); }, "Error :94 "},
        // No numbering row: refused, not saved under an empty number.
        {"DELETE FROM no_setup;", [](Recordset &d) { addLine(d, "A1", 5); },
         "numbering row \"no_salesorder\" (table no_setup) is missing"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.result);
        suite().exec(c.setup);
        const QString before = contents(OrderTables);
        QString number = "Auto No.";
        Recordset detail = orderDetail();
        c.lines(detail);
        const QString result = save(number, detail);
        EXPECT_TRUE(result.contains(c.result)) << result.toStdString();
        EXPECT_EQ(contents(OrderTables), before);
        EXPECT_EQ(number, "Auto No.");
    }
}

TEST_P(SalesOrderSaveTest, BusyDatabaseFailsBeforeWritingWithAClearText)
{
    if (!onSqlite())
        GTEST_SKIP() << "a server waits for row locks; the write lock of a whole file is SQLite's";
    server().setBusyTimeout(0);
    ASSERT_EQ(server().Get_ConnStatus(), "");
    const QString before = contents(OrderTables);
    sqlite3 *other = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(suite().databasePath()).constData(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);

    QString number = "Auto No.";
    Recordset detail = orderDetail();
    addLine(detail, "A1", 5);
    const QString result = save(number, detail);
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);

    EXPECT_TRUE(result.startsWith("Error :5 The database is locked by another program")) << result.toStdString();
    EXPECT_EQ(contents(OrderTables), before);
    EXPECT_EQ(save(number, detail), ""); // once the other program is done, the order saves
    EXPECT_EQ(number, "SO000042");
}

TEST_P(SalesOrderSaveTest, AWholeOrderIsAStatementPerTableAndRepeatedItemsAddUpLineByLine)
{
    QString warm = "Auto No.";
    Recordset first = orderDetail();
    addLine(first, "C3", 1);
    ASSERT_EQ(save(warm, first), ""); // the connection reads the tables' columns once

    QString number = "Auto No.";
    Recordset detail = orderDetail();
    for (int i = 0; i < 10; ++i) {
        suite().exec(QString("INSERT INTO item (uid, itemrow, itemcol) VALUES ('D%1', 'R', 'C');").arg(i));
        addLine(detail, QString("D%1").arg(i), i + 1, "R", "C");
    }
    const qint64 before = server().connection().statementsRun();
    EXPECT_EQ(save(number, detail), "");
    // Begin, number, header, lines, stock, commit: however many lines.
    EXPECT_EQ(server().connection().statementsRun() - before, 6);
    EXPECT_EQ(suite().count("SELECT * FROM sodetail WHERE invno='" + number + "'"), 10);
    EXPECT_EQ(onso("D9"), 10);

    // The same variant named in other letter cases adds in the order of the lines, as one
    // statement per line would: (0.1 + 0.2) + 0.3 is not 0.1 + (0.2 + 0.3) in floating point.
    suite().exec("UPDATE item SET onso = 0.1 WHERE uid = 'A1';");
    number = "Auto No.";
    Recordset repeated = orderDetail();
    addLine(repeated, "A1", 0.2);
    addLine(repeated, "POLO", 1, "black", "m");
    addLine(repeated, "a1", 0.3);
    addLine(repeated, "polo", 2, "BLACK", "M");
    EXPECT_EQ(save(number, repeated), "");
    EXPECT_EQ(onso("A1"), (0.1 + 0.2) + 0.3);
    EXPECT_EQ(onso("POLO"), 4 + 1 + 2);
    EXPECT_EQ(row("SELECT itemno, rowtext FROM sodetail WHERE invno='" + number + "' ORDER BY autonum"),
              "A1|<null>|\nPOLO|black|\na1|<null>|\npolo|BLACK|");

    // The first line whose variant is missing is named, wherever the rounds found it.
    const QString stock = contents(OrderTables);
    number = "Auto No.";
    Recordset missing = orderDetail();
    addLine(missing, "A1", 1);
    addLine(missing, "ZZ1", 1);
    addLine(missing, "a1", 1);
    addLine(missing, "ZZ2", 1);
    EXPECT_EQ(save(number, missing),
              "Item No : ZZ1 Item Row :  Item Col :  not found! Check this item then try again!");
    EXPECT_EQ(server().lastFailure(), clsServer::Failure::Order);
    EXPECT_EQ(contents(OrderTables), stock);
}

TEST_P(SalesOrderSaveTest, APeerHoldingTheNumberingFailsTheSaveAtTheWaitLimitAndTheOrderSavesLater)
{
    ASSERT_EQ(server().Get_ConnStatus(), "");
    const QString before = contents(OrderTables);
    // Another station in the middle of its save.
    Connection peer;
    if (onSqlite()) {
        peer.openSqliteFile(suite().databasePath());
        peer.beginTrans(); // SQLite's write lock: the whole file
    } else {
        peer.openOdbc(suite().database().odbcSource());
        peer.beginTrans();
        peer.execute("UPDATE no_setup SET nnextno = nnextno WHERE sourcename = 'no_salesorder'");
    }
    server().connection().close();
    server().setBusyTimeout(100);

    QString number = "Auto No.";
    Recordset detail = orderDetail();
    addLine(detail, "A1", 5);
    const QString result = save(number, detail);
    peer.rollbackTrans();
    EXPECT_TRUE(result.startsWith(onSqlite() ? "Error :5 The database is locked by another program"
                                             : "Error :5 Another station or program is saving and holds the "
                                               "numbering row \"no_salesorder\""))
        << result.toStdString();
    EXPECT_EQ(server().lastFailure(), clsServer::Failure::Locked);
    EXPECT_EQ(contents(OrderTables), before);
    EXPECT_EQ(save(number, detail), "");
    EXPECT_EQ(number, "SO000042");
    EXPECT_EQ(server().lastFailure(), clsServer::Failure::None);
}

class EditOrderTest : public SalesOrderSaveTest
{
protected:
    // SO000042 with lines A1 x5 (key ...0000) and B2 x4 (...0001), locked by JOE.
    void SetUp() override
    {
        SalesOrderSaveTest::SetUp();
        if (IsSkipped())
            return;
        QString number = "Auto No.";
        Recordset detail = orderDetail();
        addLine(detail, "A1", 5);
        addLine(detail, "B2", 4);
        ASSERT_EQ(save(number, detail), "");
        suite().exec("INSERT INTO locktable (tablename, uidvalue, UserName) VALUES ('so', 'SO000042', 'JOE');");
    }
    QString edit(Recordset detail, qint32 lastAutoNo, int orderType = 0)
    {
        QString number = "SO000042";
        Recordset header = orderHeader();
        header.setValue("ordtype", orderType);
        header.setValue("custpo", "PO-7");
        header.update();
        return save(number, std::move(detail), 2, header, lastAutoNo);
    }
};

TEST_P(EditOrderTest, StockFollowsChangedLinesEmptiedLinesGoNewLinesContinueTheKeysAndTheLockIsReleased)
{
    Recordset detail = orderDetail();
    addLine(detail, "A1", 3, "", "", "SO0000420000");
    addLine(detail, "B2", 0, "", "", "SO0000420001");
    addLine(detail, "POLO", 2, "BLACK", "M");
    addLine(detail, "C3", 1);

    EXPECT_EQ(edit(detail, 7), "");
    EXPECT_EQ(lineKeys(), "SO0000420000 SO0000420008 SO0000420009");
    EXPECT_EQ(value("SELECT qord FROM sodetail WHERE autonum='SO0000420000'").toDouble(), 3);
    EXPECT_EQ(onso("A1"), 3);   // 5 -> 3 lowers it by 2
    EXPECT_EQ(onso("B2"), 1);   // emptied: its old 4 comes off
    EXPECT_EQ(onso("POLO"), 6);
    EXPECT_EQ(value("SELECT custpo FROM so").toString(), "PO-7");
    EXPECT_EQ(suite().count("SELECT * FROM locktable"), 0);
}

TEST_P(EditOrderTest, BackOrderTypeCountsBackOrderedQuantities)
{
    suite().exec("UPDATE so SET ordtype = 1;");
    Recordset detail = orderDetail();
    addLine(detail, "A1", 5, "", "", "SO0000420000", 2); // back order 0 -> 2
    addLine(detail, "C3", 6, "", "", "", 4);
    EXPECT_EQ(edit(detail, 1, 1), "");
    EXPECT_EQ(onso("A1"), 7);
    EXPECT_EQ(onso("C3"), 4);
    EXPECT_EQ(value("SELECT qremain FROM sodetail WHERE autonum='SO0000420002'").toDouble(), 4);
}

TEST_P(EditOrderTest, FailuresChangeNothing)
{
    const QString before = contents(OrderTables);
    QString missing = "SO000099";
    Recordset one = orderDetail();
    addLine(one, "A1", 1);
    EXPECT_EQ(save(missing, one, 2), "Error : Selected record not found ! Update canceled !");

    Recordset gone = orderDetail();
    addLine(gone, "A1", 1, "", "", "SO0000420000");
    addLine(gone, "A1", 1, "", "", "SO0000420005"); // a line no longer in the database
    const QString result = edit(gone, 7);
    EXPECT_TRUE(result.startsWith("Error :3021 ") && result.contains("SO0000420005")) << result.toStdString();

    Recordset unknown = orderDetail();
    addLine(unknown, "A1", 1, "", "", "SO0000420000");
    addLine(unknown, "ZZ", 1);
    EXPECT_TRUE(edit(unknown, 7).startsWith("Item No : ZZ "));
    EXPECT_EQ(contents(OrderTables), before);
}

RF_TEST_ALL_BACKENDS(SalesOrderSaveTest);
RF_TEST_ALL_BACKENDS(EditOrderTest);

} // namespace
