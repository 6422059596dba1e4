#include "sqlaccess/Connection.h"
#include "support/TestDatabase.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <sqlite3.h>

namespace {

QString makeDatabase(const QTemporaryDir &dir, const char *sql)
{
    const QString path = dir.filePath("c.db");
    sqlite3 *db = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &db);
    sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return path;
}

} // namespace

TEST(Connection, MissingOrForeignFilesAreErrorsAndNothingIsCreated)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath("nothere.db");
    Connection conn;
    try {
        conn.openSqliteFile(missing);
        FAIL() << "a missing database opened";
    } catch (const DbError &e) {
        EXPECT_EQ(e.number(), DbError::CannotOpen);
        EXPECT_TRUE(e.description().contains(missing));
    }
    EXPECT_FALSE(QFileInfo::exists(missing));
    EXPECT_FALSE(conn.isOpen());

    const QString text = dir.filePath("notes.txt");
    QFile f(text);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("this is not a database, just some text that is long enough to have a header");
    f.close();
    EXPECT_THROW(conn.openSqliteFile(text), DbError);
}

TEST(Connection, SwitchesToWalAndTranslatesTheSuiteDialect)
{
    QTemporaryDir dir;
    Connection conn;
    conn.openSqliteFile(makeDatabase(dir, "CREATE TABLE t (id INTEGER PRIMARY KEY, d DATETIME);"
                                          "INSERT INTO t VALUES (1, '2003-12-31'), (2, '2004-01-01');"));
    EXPECT_EQ(conn.openSnapshot("PRAGMA journal_mode").text("journal_mode"), "wal");
    Recordset rs = conn.openSnapshot("SELECT TOP 1 id as [method] FROM t WHERE d = #12/31/2003# ORDER BY id");
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(rs.value("method").toInt(), 1);
}

TEST(Connection, TransactionsCommitOrLeaveNothing)
{
    QTemporaryDir dir;
    Connection conn;
    conn.openSqliteFile(makeDatabase(dir, "CREATE TABLE t (k TEXT PRIMARY KEY);"));
    conn.beginTrans();
    conn.execute("INSERT INTO t VALUES ('a')");
    conn.rollbackTrans();
    EXPECT_EQ(conn.openSnapshot("SELECT COUNT(*) AS n FROM t").value("n").toInt(), 0);

    conn.beginTrans();
    EXPECT_THROW(conn.beginTrans(), DbError);
    conn.execute("INSERT INTO t VALUES ('a')");
    conn.commitTrans();
    EXPECT_FALSE(conn.inTransaction());
    EXPECT_EQ(conn.openSnapshot("SELECT COUNT(*) AS n FROM t").value("n").toInt(), 1);
    conn.rollbackTrans(); // harmless without a transaction
}

TEST(Connection, DuplicateKeysAndBusyDatabasesGiveOperatorTexts)
{
    QTemporaryDir dir;
    const QString path = makeDatabase(dir, "CREATE TABLE t (k TEXT PRIMARY KEY);"
                                           "CREATE UNIQUE INDEX tu ON t(k); INSERT INTO t VALUES ('a');");
    Connection first, second;
    first.openSqliteFile(path);
    second.openSqliteFile(path, 50);
    try {
        first.execute("INSERT INTO t VALUES ('A2'), ('a')");
        FAIL() << "a duplicate key was accepted";
    } catch (const DbError &e) {
        EXPECT_TRUE(e.description().contains("duplicate values in the index")) << e.description().toStdString();
    }

    // Another program holds the write lock: the second save waits briefly, then says why.
    first.beginTrans();
    try {
        second.beginTrans();
        FAIL() << "two programs held the write lock at once";
    } catch (const DbError &e) {
        EXPECT_EQ(e.number(), DbError::Busy);
        EXPECT_TRUE(e.description().contains("locked"));
    }
    first.rollbackTrans();
    EXPECT_NO_THROW(second.beginTrans());
    second.rollbackTrans();
}

TEST(Connection, SeveralStatementsAnswerInOneAsEachAlone)
{
    QTemporaryDir dir;
    Connection conn;
    conn.openSqliteFile(
        makeDatabase(dir, "CREATE TABLE t (k TEXT, p INTEGER, v REAL);"
                          "INSERT INTO t VALUES ('a', 2, 1.5), ('a', 1, NULL), ('b''c', 1, 3), ('d', 1, 4);"));
    const QStringList statements = {"SELECT TOP 1 * FROM t WHERE k='a' ORDER BY p", "SELECT * FROM t WHERE k='zz'",
                                    "SELECT * FROM t WHERE k='b''c'", "SELECT TOP 2 * FROM t ORDER BY v DESC"};
    const qint64 before = conn.statementsRun();
    const QList<Recordset> together = conn.openSnapshots(statements);
    EXPECT_EQ(conn.statementsRun() - before, 1);
    ASSERT_EQ(together.size(), statements.size());
    for (qsizetype i = 0; i < statements.size(); ++i) {
        SCOPED_TRACE(statements[i].toStdString());
        Recordset alone = conn.openSnapshot(statements[i]);
        Recordset part = together[i];
        ASSERT_EQ(part.fieldCount(), alone.fieldCount());
        ASSERT_EQ(part.recordCount(), alone.recordCount());
        for (; !alone.eof(); alone.moveNext(), part.moveNext())
            for (int f = 0; f < alone.fieldCount(); ++f)
                EXPECT_EQ(part.value(f), alone.value(f)) << alone.field(f).name.toStdString();
    }
}

TEST(Connection, RowsAreAddedManyToAStatementAndUnknownColumnsRefusedBeforehand)
{
    QTemporaryDir dir;
    Connection conn;
    conn.openSqliteFile(makeDatabase(dir, "CREATE TABLE t (k TEXT PRIMARY KEY, Amount REAL, note TEXT);"));
    QList<QVariantList> rows;
    const int count = Connection::InsertRowsPerStatement * 2 + 5;
    for (int i = 0; i < count; ++i)
        rows.append({QString::number(i), i / 4.0, i % 2 ? QVariant() : QVariant(QStringLiteral("it's"))});
    qint64 before = conn.statementsRun();
    EXPECT_EQ(conn.insertRows("t", {"k", "amount", "note"}, rows), count);
    EXPECT_EQ(conn.statementsRun() - before, 1 + 3); // its columns once, then a statement per 200 rows
    EXPECT_EQ(
        conn.openSnapshot("SELECT COUNT(*) AS n, SUM(Amount) AS s, COUNT(note) AS notes FROM t").value("n").toInt(),
        count);
    EXPECT_EQ(conn.openSnapshot("SELECT note FROM t WHERE k='8'").text("note"), "it's");

    before = conn.statementsRun();
    try {
        conn.insertRows("t", {"k", "nosuch"}, {{"x", 1}});
        FAIL() << "a column the table lacks was accepted";
    } catch (const DbError &e) {
        EXPECT_EQ(e.number(), DbError::UnknownField);
        EXPECT_TRUE(e.description().contains("nosuch"));
    }
    EXPECT_EQ(conn.statementsRun(), before);
}

TEST(Connection, AnUpdateReturnsTheRowsItChanged)
{
    QTemporaryDir dir;
    Connection conn;
    conn.openSqliteFile(makeDatabase(dir, "CREATE TABLE n (k TEXT COLLATE NOCASE PRIMARY KEY, v INTEGER);"
                                          "INSERT INTO n VALUES ('so', 41);"));
    for (const int expected : {42, 43}) {
        Recordset rs = conn.openPrepared("UPDATE n SET v = v + 1 WHERE k = ? RETURNING v", {QStringLiteral("SO")});
        ASSERT_EQ(rs.recordCount(), 1);
        EXPECT_EQ(rs.value("v").toInt(), expected);
    }
    EXPECT_TRUE(conn.openPrepared("UPDATE n SET v = v + 1 WHERE k = ? RETURNING v", {QStringLiteral("x")}).isEmpty());
}

// A server restart as a connection sees it: the session is gone, the handle still says open.
class ServerConnection : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RF_SKIP_UNLESS_CONFIGURED(TestBackend::PostgreSql);
        db = std::make_unique<TestDatabase>(TestBackend::PostgreSql, QString());
        db->exec("CREATE TABLE t (k text PRIMARY KEY, n integer)");
        conn.openOdbc(db->odbcSource());
    }
    void restart() { db->terminateSession(conn.openSnapshot("SELECT pg_backend_pid() AS pid").value("pid").toLongLong()); }

    std::unique_ptr<TestDatabase> db;
    Connection conn;
};

TEST_F(ServerConnection, IsRecognisedAndMadeAgainByTheNextStatementOutsideATransaction)
{
    EXPECT_EQ(conn.backend(), SqlBackend::PostgreSql);
    restart();
    EXPECT_EQ(conn.execute("INSERT INTO t VALUES ('a', 1)"), 1);
    Recordset row = conn.openUpdatable("SELECT * FROM t WHERE k = 'a'");
    restart();
    row.setValue("n", 2);
    row.update(); // a prepared statement, made again on the new connection
    restart();
    EXPECT_EQ(conn.openSnapshot("SELECT n FROM t").value("n").toInt(), 2);
}

TEST_F(ServerConnection, LostInsideATransactionTheTransactionFailsAndNothingIsCommitted)
{
    conn.beginTrans();
    conn.execute("INSERT INTO t VALUES ('a', 1)");
    restart();
    try {
        conn.execute("INSERT INTO t VALUES ('b', 2)");
        FAIL() << "a statement of a lost transaction succeeded";
    } catch (const DbError &e) {
        EXPECT_TRUE(e.description().contains("terminating connection")) << e.description().toStdString(); // the server's words
    }
    EXPECT_THROW(conn.commitTrans(), DbError);
    EXPECT_FALSE(conn.inTransaction());
    EXPECT_EQ(db->count("SELECT * FROM t"), 0);
    EXPECT_EQ(conn.openSnapshot("SELECT COUNT(*) AS n FROM t").value("n").toInt(), 0); // connected again
}

TEST_F(ServerConnection, AStatementWaitsForAnotherConnectionsRowLockOnlyUpToTheLimit)
{
    db->exec("INSERT INTO t VALUES ('a', 1)");
    Connection other;
    other.openOdbc(db->odbcSource(), 100);
    conn.beginTrans();
    conn.execute("UPDATE t SET n = 2 WHERE k = 'a'");
    other.beginTrans();
    try {
        other.execute("UPDATE t SET n = 3 WHERE k = 'a'");
        FAIL() << "a locked row was changed";
    } catch (const DbError &e) {
        EXPECT_EQ(e.number(), DbError::Busy);
        EXPECT_TRUE(e.description().contains("locked by another station or program")) << e.description().toStdString();
    }
    other.rollbackTrans();
    conn.commitTrans();
    EXPECT_EQ(other.openSnapshot("SELECT n FROM t").value("n").toInt(), 2);
}

TEST_F(ServerConnection, ATransactionThatHasDoneNothingYetIsBegunAgainOnANewConnection)
{
    const qint64 session = conn.openSnapshot("SELECT pg_backend_pid() AS pid").value("pid").toLongLong();
    conn.beginTrans();
    db->terminateSession(session);
    EXPECT_EQ(conn.execute("INSERT INTO t VALUES ('a', 1)"), 1);
    conn.commitTrans();
    EXPECT_EQ(db->count("SELECT * FROM t"), 1);
}

TEST_F(ServerConnection, AProtocolTheDataSourceNamesInOdbcIniIsKept)
{
    // The test's data source again, under a name whose odbc.ini entry asks for savepoints
    // (Protocol 7.4-2): a failed statement then undoes only itself, and the transaction goes on.
    QFile original(qEnvironmentVariable("ODBCINI"));
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    QByteArray entry = original.readAll();
    const QByteArray section = "[" + db->odbcSource().dataSource.toUtf8() + "]";
    ASSERT_TRUE(entry.contains(section));
    entry = entry.mid(entry.indexOf(section) + section.size());
    if (const qsizetype next = entry.indexOf("\n["); next >= 0)
        entry.truncate(next + 1);
    QTemporaryDir dir;
    QFile own(dir.filePath("odbc.ini"));
    ASSERT_TRUE(own.open(QIODevice::WriteOnly));
    own.write("[rf_own_protocol]" + entry + "\nProtocol = 7.4-2\n\n[rf_default]" + entry + "\n");
    own.close();
    const QByteArray before = qgetenv("ODBCINI");
    qputenv("ODBCINI", QFile::encodeName(own.fileName()));

    for (const auto &[dataSource, kept] : {std::pair{"rf_own_protocol", 1}, std::pair{"rf_default", 0}}) {
        SCOPED_TRACE(dataSource);
        Connection other;
        other.openOdbc({dataSource, db->odbcSource().user, db->odbcSource().password});
        other.beginTrans();
        other.execute("INSERT INTO t VALUES ('" + QString(dataSource) + "', 1)");
        EXPECT_THROW(other.execute("INSERT INTO t VALUES (NULL, 1)"), DbError);
        EXPECT_EQ(other.openSnapshot("SELECT COUNT(*) AS n FROM t").value("n").toInt(), kept);
        other.rollbackTrans();
    }
    qputenv("ODBCINI", before);
}
