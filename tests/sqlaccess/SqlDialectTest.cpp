#include "sqlaccess/Connection.h"
#include "sqlaccess/SqlDialect.h"
#include "support/TestDatabase.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const char *const priceCodeSql =
    "SELECT top 1 * FROM pricecode where (uid = ' All Items' or uid='AB''C' ) order by priority ";
const char *const lastPriceSql =
    "SELECT top 1 soinvdetail.unit,soinvdetail.commrate,10 as [method] FROM soinv inner join soinvdetail on "
    "soinv.invno=soinvdetail.invno where soinv.custno='C1' and soinvdetail.itemno='X' order by soinv.invdate desc";
const char *const browseSql =
    "select a from t where (k > '1' and d=#12/31/2003# and x=1) or (d > #12/31/2003# and x=1) order by d asc";

struct Case
{
    const char *input;
    const char *sqlite; // also the form of other ODBC servers
    const char *postgres;
    const char *sqlServer;
};

const Case cases[] = {
    {priceCodeSql,
     "SELECT * FROM pricecode where (uid = ' All Items' or uid='AB''C' ) order by priority LIMIT 1 ",
     "SELECT * FROM pricecode where (uid = ' All Items' or uid='AB''C' ) order by priority NULLS FIRST LIMIT 1 ",
     priceCodeSql},
    {lastPriceSql,
     "SELECT soinvdetail.unit,soinvdetail.commrate,10 as \"method\" FROM soinv inner join soinvdetail on "
     "soinv.invno=soinvdetail.invno where soinv.custno='C1' and soinvdetail.itemno='X' order by soinv.invdate desc"
     " LIMIT 1",
     "SELECT soinvdetail.unit,soinvdetail.commrate,10 as \"method\" FROM soinv inner join soinvdetail on "
     "soinv.invno=soinvdetail.invno where soinv.custno='C1' and soinvdetail.itemno='X' order by soinv.invdate desc"
     " NULLS LAST LIMIT 1",
     lastPriceSql},
    {browseSql,
     "select a from t where (k > '1' and d='2003-12-31' and x=1) or (d > '2003-12-31' and x=1) order by d asc",
     "select a from t where (k > '1' and d='2003-12-31' and x=1) or (d > '2003-12-31' and x=1) order by d asc NULLS FIRST",
     "select a from t where (k > '1' and d='20031231' and x=1) or (d > '20031231' and x=1) order by d asc"},
    {"SELECT DISTINCT TOP 5 a FROM t;", "SELECT DISTINCT a FROM t LIMIT 5;", "SELECT DISTINCT a FROM t LIMIT 5;",
     "SELECT DISTINCT TOP 5 a FROM t;"},
    {"select * from t where x in (select top 2 y from u order by y) order by x, [Z] desc",
     "select * from t where x in (select y from u order by y LIMIT 2) order by x, \"Z\" desc",
     "select * from t where x in (select y from u order by y NULLS FIRST LIMIT 2) order by x NULLS FIRST, \"z\" desc "
     "NULLS LAST",
     "select * from t where x in (select top 2 y from u order by y) order by x, [Z] desc"},
    {"SELECT TOP 3 * FROM t; SELECT TOP 4 * FROM u", "SELECT * FROM t LIMIT 3; SELECT * FROM u LIMIT 4",
     "SELECT * FROM t LIMIT 3; SELECT * FROM u LIMIT 4", "SELECT TOP 3 * FROM t; SELECT TOP 4 * FROM u"},
    // Literals are never touched, quotes doubled inside them included.
    {"select 'TOP 5 [x] #1/2/2003# true order by', 'it''s #1/2/2003#' from t",
     "select 'TOP 5 [x] #1/2/2003# true order by', 'it''s #1/2/2003#' from t",
     "select 'TOP 5 [x] #1/2/2003# true order by', 'it''s #1/2/2003#' from t",
     "select 'TOP 5 [x] #1/2/2003# true order by', 'it''s #1/2/2003#' from t"},
    {"select * from t where d = #1/2/03 10:05 AM#", "select * from t where d = '2003-01-02 10:05:00'",
     "select * from t where d = '2003-01-02 10:05:00'", "select * from t where d = '2003-01-02T10:05:00'"},
    {"select * from t where d >= #12/31/2003 10:05:00# and d < #1/1/2004 4:30 pm# or e = #12/31/2003#",
     "select * from t where d >= '2003-12-31 10:05:00' and d < '2004-01-01 16:30:00' or e = '2003-12-31'",
     "select * from t where d >= '2003-12-31 10:05:00' and d < '2004-01-01 16:30:00' or e = '2003-12-31'",
     "select * from t where d >= '2003-12-31T10:05:00' and d < '2004-01-01T16:30:00' or e = '20031231'"},
    // Not dates: left as written.
    {"select a#b from t where c = #abc# or d = #13/45/2003# or e = #10:05#",
     "select a#b from t where c = #abc# or d = #13/45/2003# or e = #10:05#",
     "select a#b from t where c = #abc# or d = #13/45/2003# or e = #10:05#",
     "select a#b from t where c = #abc# or d = #13/45/2003# or e = #10:05#"},
    {"select [Acct #], [a\"b] from t", "select \"Acct #\", \"a\"\"b\" from t", "select \"acct #\", \"a\"\"b\" from t",
     "select [Acct #], [a\"b] from t"},
    {"SELECT TOP 10 PERCENT a FROM t", "SELECT TOP 10 PERCENT a FROM t", "SELECT TOP 10 PERCENT a FROM t",
     "SELECT TOP 10 PERCENT a FROM t"},
    {"select topx, top5, trueish from t", "select topx, top5, trueish from t", "select topx, top5, trueish from t",
     "select topx, top5, trueish from t"},
    {"select * from so where addedinshow = True or payflag = false", "select * from so where addedinshow = 1 or payflag = 0",
     "select * from so where addedinshow = True or payflag = false",
     "select * from so where addedinshow = 1 or payflag = 0"},
    {"select * from t order by a nulls last, coalesce(b, c) desc, d",
     "select * from t order by a nulls last, coalesce(b, c) desc, d",
     "select * from t order by a nulls last, coalesce(b, c) desc NULLS LAST, d NULLS FIRST",
     "select * from t order by a nulls last, coalesce(b, c) desc, d"},
};

TEST(SqlDialect, TranslatesForEachBackend)
{
    for (const Case &c : cases) {
        const QString input = QString::fromLatin1(c.input);
        EXPECT_EQ(translateSql(input, SqlBackend::Sqlite).toStdString(), c.sqlite);
        EXPECT_EQ(translateSql(input, SqlBackend::PostgreSql).toStdString(), c.postgres);
        EXPECT_EQ(translateSql(input, SqlBackend::SqlServer).toStdString(), c.sqlServer);
    }
    EXPECT_EQ(translateSql("SELECT TOP 2 [A] FROM t where b = true order by a", SqlBackend::Ansi),
              "SELECT \"A\" FROM t where b = true order by a LIMIT 2");
}

TEST(SqlDialect, RowLocksAndSingleRowDeletesPerBackend)
{
    const QString select = "SELECT * FROM no_setup where sourcename='no_salesorder';";
    EXPECT_EQ(withRowLock(select, SqlBackend::Sqlite), select);
    EXPECT_EQ(withRowLock(select, SqlBackend::SqlServer),
              "SELECT * FROM no_setup WITH (UPDLOCK, ROWLOCK) where sourcename='no_salesorder';");
    EXPECT_EQ(withRowLock(select, SqlBackend::PostgreSql),
              "SELECT * FROM no_setup where sourcename='no_salesorder' FOR UPDATE;");

    const QString where = "[owner] = ? AND [at] IS NULL";
    EXPECT_EQ(translateSql(deleteOneRow("lockrow", where, SqlBackend::Sqlite), SqlBackend::Sqlite),
              "DELETE FROM \"lockrow\" WHERE rowid = (SELECT rowid FROM \"lockrow\" WHERE \"owner\" = ? AND \"at\" IS "
              "NULL LIMIT 1)");
    EXPECT_EQ(translateSql(deleteOneRow("lockrow", where, SqlBackend::SqlServer), SqlBackend::SqlServer),
              "DELETE TOP (1) FROM [lockrow] WHERE [owner] = ? AND [at] IS NULL");
    EXPECT_EQ(translateSql(deleteOneRow("lockrow", where, SqlBackend::PostgreSql), SqlBackend::PostgreSql),
              "DELETE FROM \"lockrow\" WHERE ctid = (SELECT ctid FROM \"lockrow\" WHERE \"owner\" = ? AND \"at\" IS "
              "NULL LIMIT 1)");
}

// The translations run, and a TOP 1 over an ORDER BY with nulls picks the same row everywhere.
class SqlDialectOnBackend : public ::testing::TestWithParam<TestBackend>
{
};

TEST_P(SqlDialectOnBackend, TranslatedStatementsRunAndPickTheSameRows)
{
    RF_SKIP_UNLESS_CONFIGURED(GetParam());
    QTemporaryDir dir;
    TestDatabase db(GetParam(), dir.filePath("d.db"));
    db.exec("create table pricecode (uid text, uname text, priority int, method int);"
            "insert into pricecode values ('AB''C', 'x', 2, 4), (' All Items', 'y', 1, 10), ('AB''C', 'z', NULL, 3);"
            "create table soinv (invno text, custno text, invdate text);"
            "create table soinvdetail (invno text, itemno text, unit real, commrate real);"
            "insert into soinv values ('1', 'C1', '2003-01-01'), ('2', 'C1', '2003-02-01'), ('3', 'C1', NULL);"
            "insert into soinvdetail values ('1', 'X', 1.5, 0), ('2', 'X', 2.5, 3), ('3', 'X', 9.5, 1);"
            "create table t (a int, k text, d text, x int);"
            "insert into t values (1, '2', '2003-12-31', 1), (2, '0', '2004-01-05', 1), (3, '0', '2003-12-01', 1);"
            "create table lockrow (owner text, at text);"
            "insert into lockrow values ('JOE', NULL), ('JOE', NULL), ('ANN', NULL);");
    Connection conn;
    if (GetParam() == TestBackend::Sqlite)
        conn.openSqliteFile(dir.filePath("d.db"));
    else
        conn.openOdbc(db.odbcSource());

    Recordset rule = conn.openSnapshot(priceCodeSql);
    ASSERT_EQ(rule.recordCount(), 1);
    EXPECT_EQ(rule.value("method").toInt(), 3); // the null priority sorts first

    Recordset last = conn.openSnapshot(lastPriceSql);
    ASSERT_EQ(last.recordCount(), 1);
    EXPECT_DOUBLE_EQ(last.number("unit"), 2.5); // the invoice without a date is not the newest
    EXPECT_EQ(last.value("method").toInt(), 10);

    QStringList rows;
    for (Recordset rs = conn.openSnapshot(browseSql); !rs.eof(); rs.moveNext())
        rows << rs.text("a");
    EXPECT_EQ(rows, (QStringList{"1", "2"}));

    conn.beginTrans();
    EXPECT_EQ(conn.openUpdatable("SELECT * FROM t where a=1", true).recordCount(), 1);
    conn.commitTrans();
    EXPECT_EQ(conn.execute(deleteOneRow("lockrow", "[owner] = ? AND [at] IS NULL", conn.backend()), {"JOE"}), 1);
    EXPECT_EQ(db.count("SELECT * FROM lockrow"), 2);
}

RF_TEST_ALL_BACKENDS(SqlDialectOnBackend);

} // namespace
