#include "Connection.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
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
