#include "SqlDialect.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

const char *const priceCodeSql =
    "SELECT top 1 * FROM pricecode where (uid = ' All Items' or uid='AB''C' ) order by priority ";
const char *const lastPriceSql =
    "SELECT top 1 soinvdetail.unit,soinvdetail.commrate,10 as [method] FROM soinv inner join soinvdetail on "
    "soinv.invno=soinvdetail.invno where soinv.custno='C1' and soinvdetail.itemno='X' order by soinv.invdate desc";
const char *const browseSql =
    "select a from t where (k > '1' and d=#12/31/2003# and x) or (d > #12/31/2003# and x) order by d asc";

struct Case
{
    const char *input;
    const char *sqlite; // also the ANSI form
    const char *sqlServer;
};

const Case cases[] = {
    {priceCodeSql,
     "SELECT * FROM pricecode where (uid = ' All Items' or uid='AB''C' ) order by priority LIMIT 1 ",
     priceCodeSql},
    {lastPriceSql,
     "SELECT soinvdetail.unit,soinvdetail.commrate,10 as \"method\" FROM soinv inner join soinvdetail on "
     "soinv.invno=soinvdetail.invno where soinv.custno='C1' and soinvdetail.itemno='X' order by soinv.invdate desc"
     " LIMIT 1",
     lastPriceSql},
    {browseSql,
     "select a from t where (k > '1' and d='2003-12-31' and x) or (d > '2003-12-31' and x) order by d asc",
     "select a from t where (k > '1' and d='20031231' and x) or (d > '20031231' and x) order by d asc"},
    {"SELECT DISTINCT TOP 5 a FROM t;", "SELECT DISTINCT a FROM t LIMIT 5;", "SELECT DISTINCT TOP 5 a FROM t;"},
    {"select * from t where x in (select top 2 y from u order by y) order by x",
     "select * from t where x in (select y from u order by y LIMIT 2) order by x",
     "select * from t where x in (select top 2 y from u order by y) order by x"},
    {"SELECT TOP 3 * FROM t; SELECT TOP 4 * FROM u", "SELECT * FROM t LIMIT 3; SELECT * FROM u LIMIT 4",
     "SELECT TOP 3 * FROM t; SELECT TOP 4 * FROM u"},
    {"SELECT TOP 1 a FROM t WHERE n='O''Brien'", "SELECT a FROM t WHERE n='O''Brien' LIMIT 1",
     "SELECT TOP 1 a FROM t WHERE n='O''Brien'"},
    // Literals are never touched, quotes doubled inside them included.
    {"select 'TOP 5 [x] #1/2/2003#', 'it''s #1/2/2003#' from t", "select 'TOP 5 [x] #1/2/2003#', 'it''s #1/2/2003#' from t",
     "select 'TOP 5 [x] #1/2/2003#', 'it''s #1/2/2003#' from t"},
    {"select * from t where d = #1/2/03 10:05 AM#", "select * from t where d = '2003-01-02 10:05:00'",
     "select * from t where d = '2003-01-02T10:05:00'"},
    {"select * from t where d >= #12/31/2003 10:05:00# and d < #1/1/2004 4:30 pm# or e = #12/31/2003#",
     "select * from t where d >= '2003-12-31 10:05:00' and d < '2004-01-01 16:30:00' or e = '2003-12-31'",
     "select * from t where d >= '2003-12-31T10:05:00' and d < '2004-01-01T16:30:00' or e = '20031231'"},
    // Not dates: left as written.
    {"select a#b from t where c = #abc# or d = #13/45/2003# or e = #10:05#",
     "select a#b from t where c = #abc# or d = #13/45/2003# or e = #10:05#",
     "select a#b from t where c = #abc# or d = #13/45/2003# or e = #10:05#"},
    {"select [Acct #], [a\"b] from t", "select \"Acct #\", \"a\"\"b\" from t", "select [Acct #], [a\"b] from t"},
    {"SELECT TOP 10 PERCENT a FROM t", "SELECT TOP 10 PERCENT a FROM t", "SELECT TOP 10 PERCENT a FROM t"},
    {"select topx, top5 from t", "select topx, top5 from t", "select topx, top5 from t"},
    {"SELECT TOP 50 invno FROM so ORDER BY invno", "SELECT invno FROM so ORDER BY invno LIMIT 50",
     "SELECT TOP 50 invno FROM so ORDER BY invno"},
};

TEST(SqlDialect, TranslatesForEachBackend)
{
    for (const Case &c : cases) {
        const QString input = QString::fromLatin1(c.input);
        EXPECT_EQ(translateSql(input, SqlBackend::Sqlite).toStdString(), c.sqlite);
        EXPECT_EQ(translateSql(input, SqlBackend::Ansi).toStdString(), c.sqlite);
        EXPECT_EQ(translateSql(input, SqlBackend::SqlServer).toStdString(), c.sqlServer);
    }
}

TEST(SqlDialect, TranslatedStatementsRunOnSqlite)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("dialect"));
        db.setDatabaseName(QStringLiteral(":memory:"));
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        for (const char *setup : {
                 "create table pricecode (uid text, uname text, priority int, method int)",
                 "insert into pricecode values ('AB''C', 'x', 2, 4), (' All Items', 'y', 1, 10)",
                 "create table soinv (invno text, custno text, invdate text)",
                 "create table soinvdetail (invno text, itemno text, unit real, commrate real)",
                 "insert into soinv values ('1', 'C1', '2003-01-01'), ('2', 'C1', '2003-02-01')",
                 "insert into soinvdetail values ('1', 'X', 1.5, 0), ('2', 'X', 2.5, 3)",
                 "create table t (a int, k text, d text, x int)",
                 "insert into t values (1, '2', '2003-12-31', 1), (2, '0', '2004-01-05', 1)"})
            ASSERT_TRUE(q.exec(QString::fromLatin1(setup))) << q.lastError().text().toStdString();

        ASSERT_TRUE(q.exec(translateSql(QString::fromLatin1(priceCodeSql), SqlBackend::Sqlite)));
        ASSERT_TRUE(q.next());
        EXPECT_EQ(q.value(QStringLiteral("method")).toInt(), 10);
        EXPECT_FALSE(q.next());

        ASSERT_TRUE(q.exec(translateSql(QString::fromLatin1(lastPriceSql), SqlBackend::Sqlite)));
        ASSERT_TRUE(q.next());
        EXPECT_EQ(q.value(QStringLiteral("unit")).toDouble(), 2.5);
        EXPECT_EQ(q.value(QStringLiteral("method")).toInt(), 10);
        EXPECT_FALSE(q.next());

        ASSERT_TRUE(q.exec(translateSql(QString::fromLatin1(browseSql), SqlBackend::Sqlite)));
        QList<int> rows;
        while (q.next())
            rows.append(q.value(0).toInt());
        EXPECT_EQ(rows, (QList<int>{1, 2}));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("dialect"));
}

} // namespace
