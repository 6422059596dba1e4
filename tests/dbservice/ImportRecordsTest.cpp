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
        EXPECT_EQ(server().findUnarchivedImport(keys, file, &orderNo), "");
        return orderNo;
    }
    int records() const { return suite().count("SELECT * FROM rfimport"); }

    const clsServer::OrderImport file{"3b6c0e1c-queue", "A1T1a.ord", QString(64, 'a')};
    // The queue's identity, and the path an older station recorded the same queue under.
    const QStringList keys{"3b6c0e1c-queue", "/suite/admodule/OrdQueue"};
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
              "SO000002 A1T1A.ORD 3b6c0e1c-queue -");

    // Found by name in any letter case, in its own queue, with the same content only.
    EXPECT_EQ(find({file.queueDir, "a1t1a.ORD", file.contentHash}), "SO000002");
    EXPECT_EQ(find({file.queueDir, file.fileName, QString(64, 'b')}), "");
    QString other;
    EXPECT_EQ(server().findUnarchivedImport({"another-queue"}, file, &other), "");
    EXPECT_EQ(other, "");

    QList<std::pair<QString, QString>> unarchived;
    EXPECT_EQ(server().unarchivedImports(keys, &unarchived), "");
    EXPECT_EQ(unarchived, (QList<std::pair<QString, QString>>{{"SO000002", "A1T1A.ORD"}}));

    // Archived: no longer found, and pruned once older than the cut-off.
    EXPECT_EQ(server().markImportArchived("SO000002"), "");
    EXPECT_EQ(find(file), "");
    EXPECT_EQ(server().pruneImports(keys, QDateTime::currentDateTimeUtc().addDays(-1)), "");
    EXPECT_EQ(records(), 1);
    EXPECT_EQ(server().pruneImports(keys, QDateTime::currentDateTimeUtc().addSecs(5)), "");
    EXPECT_EQ(records(), 0);
}

TEST_P(ImportRecordsTest, OlderRecordsAreFoundAndASecondSaveOfOneFileIsRefused)
{
    // A record an older station wrote under the queue's path is this queue's too.
    suite().exec("INSERT INTO rfimport (invno, queuedir, ordfile, filehash, savedat) VALUES "
                 "('SO999999', '/suite/admodule/OrdQueue', 'A1T1A.ORD', '" + file.contentHash + "', '2026-01-01 00:00:00')");
    EXPECT_EQ(find(file), "SO999999");

    // Two stations that both took the file up: the database takes one record while the file
    // is queued, so the second save fails as a whole.
    suite().exec("UPDATE rfimport SET archivedat = '2026-01-01 00:00:01'");
    server().setPendingImport(file);
    ASSERT_EQ(save("A1"), "");
    server().setPendingImport(file);
    const QString refused = save("A1");
    EXPECT_TRUE(clsServer::ImportRefused(refused)) << refused.toStdString();
    EXPECT_EQ(suite().count("SELECT * FROM so"), 1);
}

TEST_P(ImportRecordsTest, CopiesDueArePrintedAfterTheArchivingAndKeptUntilPrinted)
{
    clsServer::OrderImport due = file;
    due.copies = 2;
    due.printQty = "2";
    server().setPendingImport(due);
    QString number;
    ASSERT_EQ(save("A1", &number), "");
    QList<clsServer::DuePrint> list;
    ASSERT_EQ(server().duePrints(keys, &list), "");
    EXPECT_TRUE(list.isEmpty()) << "printed once archived";
    ASSERT_EQ(server().markImportArchived(number), "");
    ASSERT_EQ(server().duePrints(keys, &list), "");
    ASSERT_EQ(list.size(), 1);
    EXPECT_EQ(list[0].soNo + " " + list[0].orderFile + " " + list[0].printQty, number + " A1T1A.ORD 2");
    EXPECT_EQ(list[0].copies, 2);

    EXPECT_EQ(server().pruneImports(keys, QDateTime::currentDateTimeUtc().addSecs(5)), "");
    EXPECT_EQ(records(), 1) << "kept while copies are due";
    ASSERT_EQ(server().setPrintDue(number, 0), "");
    ASSERT_EQ(server().duePrints(keys, &list), "");
    EXPECT_TRUE(list.isEmpty());
}

TEST_P(ImportRecordsTest, AnOlderStationsTableGetsThePrintColumnsAndTheClaims)
{
    suite().exec("DROP TABLE rfimport; DROP TABLE IF EXISTS rfstation");
    suite().exec("CREATE TABLE rfimport (invno VARCHAR(20) NOT NULL PRIMARY KEY, queuedir VARCHAR(1024) NOT NULL, "
                 "ordfile VARCHAR(255) NOT NULL, filehash VARCHAR(64) NOT NULL, savedat VARCHAR(19) NOT NULL, "
                 "archivedat VARCHAR(19))");
    suite().exec("INSERT INTO rfimport VALUES ('SO000001', '/q', 'A.ORD', 'h', '2026-01-01 00:00:00', NULL)");
    startServer();
    QString warning;
    EXPECT_EQ(server().ensureImportTable(&warning), "");
    EXPECT_EQ(warning, "");
    EXPECT_EQ(suite().count("SELECT * FROM rfimport WHERE printdue IS NULL AND printqty IS NULL"), 1);
    std::optional<clsServer::QueueClaim> claim;
    EXPECT_EQ(server().readQueueClaim("q", &claim), "");
    EXPECT_FALSE(claim);
}

TEST_P(ImportRecordsTest, AQueueIsClaimedByOneStationAndTakenOverOnlyFromASilentOne)
{
    ASSERT_EQ(server().ensureImportTable(), "");
    const clsServer::QueueClaim first{"host-a", 100, "2026-12-07T08:00:00", 0};
    const clsServer::QueueClaim second{"host-b", 200, "2026-12-07T09:00:00", 0};
    bool taken = false;
    ASSERT_EQ(server().takeQueueClaim("q", first, std::nullopt, &taken), "");
    EXPECT_TRUE(taken);
    ASSERT_EQ(server().takeQueueClaim("q", second, std::nullopt, &taken), "");
    EXPECT_FALSE(taken) << "claimed already";

    std::optional<clsServer::QueueClaim> seen;
    ASSERT_EQ(server().readQueueClaim("q", &seen), "");
    ASSERT_TRUE(seen);
    bool ours = false;
    ASSERT_EQ(server().beatQueueClaim("q", first, &ours), "");
    EXPECT_TRUE(ours);
    // The holder beat since it was seen: the claim seen is not the claim there, nothing is taken.
    ASSERT_EQ(server().takeQueueClaim("q", second, seen, &taken), "");
    EXPECT_FALSE(taken);
    ASSERT_EQ(server().readQueueClaim("q", &seen), "");
    ASSERT_EQ(server().takeQueueClaim("q", second, seen, &taken), "");
    EXPECT_TRUE(taken);
    ASSERT_EQ(server().beatQueueClaim("q", first, &ours), "");
    EXPECT_FALSE(ours) << "the first station learns it lost the queue";
    ASSERT_EQ(server().releaseQueueClaim("q", second), "");
    ASSERT_EQ(server().readQueueClaim("q", &seen), "");
    EXPECT_FALSE(seen);
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
    suite().exec("DROP INDEX IF EXISTS rfimport_once; ALTER TABLE rfimport DROP COLUMN archivedat;"
                 "ALTER TABLE companyinfo DROP COLUMN tel;"
                 "ALTER TABLE customer DROP COLUMN contact;");
    startServer();
    EXPECT_EQ(server().ensureImportTable(),
              "The table rfimport (the record of imported order files) is damaged: it has no column archivedat (it "
              "needs the columns invno, queuedir, ordfile, filehash, savedat, archivedat).");
    EXPECT_TRUE(server().missingSchema().endsWith("missing columns: customer.contact, companyinfo.tel."))
        << server().missingSchema().toStdString();
}

RF_TEST_ALL_BACKENDS(ImportRecordsTest);
