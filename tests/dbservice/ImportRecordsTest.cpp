// The import record (table rfimport) and the checks of the database itself.

#include "dbservice/OrderRecords.h"
#include "dbservice/ServerFixture.h"

#include <QDateTime>

namespace {

class ImportRecordsTest : public ServerTest
{
protected:
    void SetUp() override
    {
        ServerTest::SetUp();
        if (IsSkipped())
            return;
        suite().exec("INSERT INTO no_setup VALUES ('no_salesorder', 'SO', 6, 1);"
                   "INSERT INTO item (uid, itemrow, itemcol, stock, onso) VALUES ('A1', '', '', 100, 0);");
    }
    // Saves a one-line order of `item`; "" or the save's error text.
    QString save(const QString &item, QString *number = nullptr)
    {
        QString orderNo = "Auto No.";
        Recordset header = orderHeader();
        Recordset detail = orderDetail();
        addLine(detail, item, 1);
        const QString result = server().Update_SalesOrder(orderNo, 1, header, detail, 0);
        if (number)
            *number = orderNo;
        return result;
    }
    QString find(const clsServer::OrderImport &file)
    {
        QString orderNo = "not looked up";
        EXPECT_EQ(server().findUnarchivedImport(file, &orderNo), "");
        return orderNo;
    }
    int records() const { return suite().count("SELECT * FROM rfimport"); }

    const clsServer::OrderImport file{"/suite/admodule/OrdQueue", "A1T1a.ord", QString(64, 'a')};
};

} // namespace

TEST_P(ImportRecordsTest, RecordedOnlyWithTheCommittedOrderAndFoundUntilArchived)
{
    // A save that rolls back records nothing, and the import does not stay pending for the next.
    server().setPendingImport(file);
    EXPECT_NE(save("ZZ"), "");
    EXPECT_EQ(save("A1"), "");
    EXPECT_EQ(records(), 0);

    QString number;
    server().setPendingImport(file);
    ASSERT_EQ(save("A1", &number), "");
    EXPECT_EQ(number, "SO000002");
    EXPECT_EQ(suite().scalar("SELECT invno || ' ' || ordfile || ' ' || queuedir || ' ' || COALESCE(archivedat, '-') "
                           "FROM rfimport")
                  .toString(),
              "SO000002 A1T1A.ORD /suite/admodule/OrdQueue -");

    // Found by name in any letter case, in its own queue folder, with the same content only.
    EXPECT_EQ(find({file.queueDir, "a1t1a.ORD", file.contentHash}), "SO000002");
    EXPECT_EQ(find({file.queueDir, file.fileName, QString(64, 'b')}), "");
    EXPECT_EQ(find({"/other/OrdQueue", file.fileName, file.contentHash}), "");

    QList<std::pair<QString, QString>> unarchived;
    EXPECT_EQ(server().unarchivedImports(file.queueDir, &unarchived), "");
    EXPECT_EQ(unarchived, (QList<std::pair<QString, QString>>{{"SO000002", "A1T1A.ORD"}}));

    // Archived: no longer found, and pruned once older than the cut-off.
    EXPECT_EQ(server().markImportArchived("SO000002"), "");
    EXPECT_EQ(find(file), "");
    EXPECT_EQ(server().pruneImports(file.queueDir, QDateTime::currentDateTimeUtc().addDays(-1)), "");
    EXPECT_EQ(records(), 1);
    EXPECT_EQ(server().pruneImports(file.queueDir, QDateTime::currentDateTimeUtc().addSecs(5)), "");
    EXPECT_EQ(records(), 0);
}

TEST_P(ImportRecordsTest, TableIsMadeWhenMissing)
{
    suite().exec("DROP TABLE rfimport");
    startServer();
    EXPECT_EQ(server().ensureImportTable(), "");
    EXPECT_EQ(server().ensureImportTable(), "");
    server().setPendingImport(file);
    EXPECT_EQ(save("A1"), "");
    EXPECT_EQ(records(), 1);
}

TEST_P(ImportRecordsTest, MissingTablesAndColumnsAreNamed)
{
    if (!onSqlite())
        GTEST_SKIP() << "the message names the database file";
    EXPECT_EQ(server().missingSchema(), "");
    suite().exec("DROP TABLE shipto; DROP TABLE terms; ALTER TABLE so DROP COLUMN userid;"
               "ALTER TABLE item DROP COLUMN onso");
    startServer();
    EXPECT_EQ(server().missingSchema(),
              "The database \"" + suite().databasePath()
                  + "\" is not the suite's database: missing tables: shipto, terms; missing columns: so.userid, "
                    "item.onso.");
}

TEST_P(ImportRecordsTest, ADamagedImportTableAndColumnsTheDocumentsPrintAreNamed)
{
    ASSERT_EQ(server().ensureImportTable(), "");
    suite().exec("ALTER TABLE rfimport DROP COLUMN archivedat; ALTER TABLE companyinfo DROP COLUMN tel;"
                 "ALTER TABLE customer DROP COLUMN contact;");
    startServer();
    EXPECT_EQ(server().ensureImportTable(),
              "The table rfimport (the record of imported order files) is damaged: it has no column archivedat (it "
              "needs the columns invno, queuedir, ordfile, filehash, savedat, archivedat).");
    EXPECT_TRUE(server().missingSchema().endsWith("missing columns: customer.contact, companyinfo.tel."))
        << server().missingSchema().toStdString();
}

RF_TEST_ALL_BACKENDS(ImportRecordsTest);
