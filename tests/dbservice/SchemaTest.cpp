// The suite database schema and the demo data: the keys the order path relies on, the suite's
// case-insensitive text comparison, the server schema matching the SQLite one, and the demo's
// consistency.
#include "support/TempSuite.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

#include <stdexcept>
#include <utility>

namespace {

QString quoted(QString text)
{
    return "'" + text.replace("'", "''") + "'";
}

QString demoOrdersDir()
{
    return QStringLiteral(RFSTATION_SOURCE_DIR "/schema/demo-orders");
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + path.toStdString());
    return f.readAll();
}

// The error text of a statement that must fail, or "" when it succeeded.
std::string failureOf(const TempSuite &suite, const QString &statement)
{
    try {
        suite.exec(statement);
    } catch (const std::runtime_error &e) {
        return e.what();
    }
    return {};
}

bool isDuplicateKeyError(const std::string &text)
{
    return text.find("UNIQUE constraint failed") != std::string::npos
           || text.find("duplicate key value") != std::string::npos;
}

struct KeyCase
{
    const char *what;
    const char *first;
    const char *duplicate;
};

// The schema on each backend behaves alike: the server's schema is checked by the same cases.
class SuiteSchema : public ::testing::TestWithParam<TestBackend>
{
protected:
    void SetUp() override { RF_SKIP_UNLESS_CONFIGURED(GetParam()); }
};

TEST_P(SuiteSchema, KeysRefuseDuplicatesWhateverTheLetterCase)
{
    const KeyCase cases[] = {
        {"order number", "INSERT INTO so (invno) VALUES ('SO001001')",
         "INSERT INTO so (invno) VALUES ('so001001')"},
        {"line key", "INSERT INTO sodetail (autonum, invno) VALUES ('SO0010010000', 'SO001001')",
         "INSERT INTO sodetail (autonum, invno) VALUES ('so0010010000', 'SO001001')"},
        {"item variant", "INSERT INTO item (uid, itemrow, itemcol) VALUES ('JK1', 'RED', 'M')",
         "INSERT INTO item (uid, itemrow, itemcol) VALUES ('jk1', 'red', 'm')"},
        {"plain item", "INSERT INTO item (uid) VALUES ('PLAIN1')",
         "INSERT INTO item (uid, itemrow, itemcol) VALUES ('PLAIN1', '', '')"},
        {"numbering row", "INSERT INTO no_setup (sourcename, nnextno) VALUES ('no_x', 1)",
         "INSERT INTO no_setup (sourcename, nnextno) VALUES ('NO_X', 5)"},
        {"customer", "INSERT INTO customer (uid) VALUES ('K1')",
         "INSERT INTO customer (uid) VALUES ('k1')"},
    };
    TempSuite suite(TempSuite::Data::Empty, GetParam());
    for (const KeyCase &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(failureOf(suite, c.first), "");
        EXPECT_TRUE(isDuplicateKeyError(failureOf(suite, c.duplicate)));
    }
}

TEST_P(SuiteSchema, ItemVariantsShareAnItemNumberAndPlainItemsHaveEmptyVariantTexts)
{
    TempSuite suite(TempSuite::Data::Empty, GetParam());
    suite.exec("INSERT INTO item (uid, itemrow, itemcol) VALUES ('JK1', 'RED', 'M'), ('JK1', 'RED', 'L'),"
               " ('JK1', 'BLUE', 'M'); INSERT INTO item (uid) VALUES ('PLAIN1');");
    EXPECT_EQ(suite.count("SELECT * FROM item WHERE uid = 'JK1'"), 3);
    // The line save looks plain items up with itemrow = '' and itemcol = ''.
    EXPECT_EQ(suite.count("SELECT * FROM item WHERE uid = 'PLAIN1' AND itemrow = '' AND itemcol = ''"), 1);
    EXPECT_EQ(suite.scalar("SELECT onso FROM item WHERE uid = 'PLAIN1'").toDouble(), 0.0);
}

TEST_P(SuiteSchema, LockTableKeepsDuplicateRows)
{
    TempSuite suite(TempSuite::Data::Empty, GetParam());
    const QString row = "INSERT INTO locktable (lockid, tablename, fieldname, uidvalue, formname, computername,"
                        " UserName, lockedtime) VALUES ('soSO001001', 'so', 'Sales Order No.', 'SO001001',"
                        " 'Sales Order Entry', 'PC1', 'JOE', '2026-12-06 10:00:00');";
    suite.exec(row + row);
    EXPECT_EQ(suite.count("SELECT * FROM locktable WHERE tablename = 'so' AND uidvalue = 'SO001001'"), 2);
}

// Codes compare and sort as the suite's programs expect: without regard to case, trailing blanks
// counting, ranges in the order of the lower-case text (ASCII letters only fold).
TEST_P(SuiteSchema, TextComparesAndSortsWithoutRegardToCase)
{
    const struct
    {
        const char *query;
        int rows;
    } cases[] = {
        {"SELECT * FROM customer WHERE uid = 'c1001'", 1},
        {"SELECT * FROM customer WHERE uid = 'C1001 '", 0},
        {"SELECT * FROM item WHERE uid = 'ab-m'", 1},
        {"SELECT * FROM shipto WHERE custno = 'c1004' AND shiptoname = 'o''hara distribution center'", 1},
        {"SELECT * FROM pricecode WHERE uid = ' all items' AND uname = 'c1005'", 1},
        {"SELECT * FROM no_setup WHERE sourcename = 'NO_SALESORDER'", 1},
        {"SELECT * FROM soinv INNER JOIN soinvdetail ON soinv.invno = soinvdetail.invno WHERE soinv.invno = 'in004977'", 1},
        {"SELECT * FROM terms WHERE uid BETWEEN 'cod' AND 'net15'", 2},
        {"SELECT * FROM terms WHERE uid < '_'", 1}, // only 2N10: 'cod' > '_' > 'COD'
        {"SELECT * FROM terms WHERE uid IN ('prepd', 'cod')", 2},
    };
    TempSuite suite(TempSuite::Data::Demo, GetParam());
    suite.exec("UPDATE soinvdetail SET invno = 'in004977' WHERE invno = 'IN004977'");
    for (const auto &c : cases)
        EXPECT_EQ(suite.count(c.query), c.rows) << c.query;
    EXPECT_EQ(suite.database().rows("SELECT uid FROM terms ORDER BY uid").join(""), "2N10|COD|NET15|NET30|PREPD|");
}

RF_TEST_ALL_BACKENDS(SuiteSchema);

// One table of a schema file as written: its columns in order, "name type..." with the
// constraints, comments left off.
using SchemaFile = QMap<QString, QStringList>;

SchemaFile tablesOf(const QString &path)
{
    const QString text = QString::fromUtf8(fileBytes(path));
    static const QRegularExpression table(R"(CREATE TABLE (\w+) \((.*?)\n\);)",
                                          QRegularExpression::DotMatchesEverythingOption);
    SchemaFile tables;
    for (auto it = table.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        QStringList columns;
        for (QString line : m.captured(2).split('\n')) {
            line = line.section("--", 0, 0).trimmed();
            if (line.endsWith(','))
                line.chop(1);
            if (!line.isEmpty())
                columns << line.simplified();
        }
        tables.insert(m.captured(1), columns);
    }
    return tables;
}

QStringList indexesOf(const QString &path)
{
    static const QRegularExpression index(R"(CREATE (?:UNIQUE )?INDEX \w+ ON \w+ \([^)]*\);)");
    QStringList found;
    for (auto it = index.globalMatch(QString::fromUtf8(fileBytes(path))); it.hasNext();)
        found << it.next().captured(0);
    return found;
}

// The server schema has the tables, columns, keys and indexes of the SQLite one, with the types
// the conventions give: nothing the program reads or writes is missing or stored less exactly.
TEST(SuiteSchemaFiles, TheServerSchemaMatchesTheSqliteOne)
{
    const QList<std::pair<QString, QString>> typeOf = {
        {"TEXT COLLATE NOCASE", "citext COLLATE \"C\""}, {"CURRENCY", "numeric(19,4)"},
        {"REAL", "double precision"},  {"INTEGER", "integer"}, {"BOOLEAN", "boolean"},
        {"DATETIME", "timestamp(0)"},
    };
    const SchemaFile sqlite = tablesOf(TempSuite::schemaPath(TestBackend::Sqlite));
    const SchemaFile server = tablesOf(TempSuite::schemaPath(TestBackend::PostgreSql));
    ASSERT_EQ(sqlite.size(), 20); // the suite's 18, the station's import record and queue claims
    EXPECT_EQ(server.keys(), sqlite.keys());
    for (auto table = sqlite.begin(); table != sqlite.end(); ++table) {
        SCOPED_TRACE(table.key().toStdString());
        QStringList expected;
        for (QString column : table.value()) {
            for (const auto &[from, to] : typeOf)
                column.replace(QRegularExpression("\\b" + QRegularExpression::escape(from) + "\\b"), to);
            expected << column;
        }
        // Times of day are a type of their own on the server.
        if (table.key() == "so")
            expected.replace(expected.indexOf("inputtime timestamp(0)"), "inputtime time(0)");
        EXPECT_EQ(server.value(table.key()), expected);
    }
    EXPECT_EQ(indexesOf(TempSuite::schemaPath(TestBackend::PostgreSql)),
              indexesOf(TempSuite::schemaPath(TestBackend::Sqlite)));
}

TEST(DemoData, EveryPricingMethodWinsSomewhereAndCompetingRulesNeverTie)
{
    // The rule a line gets: the lowest priority among those matching item, price group,
    // " All Items" and customer, price level, " All Customers".
    const QString candidates =
        "WITH m AS (SELECT c.uid AS cu, i.uid AS iu, p.rowid AS rid, p.priority AS pr, p.method AS me"
        " FROM customer c, (SELECT DISTINCT uid, pricecode FROM item) i, pricecode p"
        " WHERE (p.uid = ' All Items' OR p.uid = i.uid OR p.uid = i.pricecode)"
        " AND (p.uname = ' All Customers' OR p.uname = c.uid OR p.uname = c.pricelevel)),"
        " best AS (SELECT cu, iu, MIN(pr) AS mp FROM m GROUP BY cu, iu),"
        " winners AS (SELECT m.* FROM m JOIN best ON m.cu = best.cu AND m.iu = best.iu AND m.pr = best.mp) ";
    TempSuite suite(TempSuite::Data::Demo);
    EXPECT_EQ(suite.scalar(candidates + "SELECT group_concat(me) FROM (SELECT DISTINCT me FROM winners ORDER BY me)")
                  .toString(),
              "0,1,2,3,4,5,6,7,8,9,10");
    EXPECT_EQ(suite.count(candidates + "SELECT cu, iu FROM winners GROUP BY cu, iu HAVING COUNT(*) > 1"), 0);
    // Method 10 needs history of the same customer, and another customer's later invoice for the
    // same item, which must not count.
    EXPECT_GT(suite.count("SELECT * FROM soinv a JOIN soinvdetail x ON a.invno = x.invno"
                          " WHERE a.custno = 'C1005' AND x.itemno = 'AB-M'"),
              0);
    EXPECT_GT(suite.count("SELECT * FROM soinv a JOIN soinvdetail x ON a.invno = x.invno"
                          " WHERE a.custno <> 'C1005' AND x.itemno = 'AB-M'"
                          " AND a.invdate > (SELECT MAX(invdate) FROM soinv WHERE custno = 'C1005')"),
              0);
}

TEST(DemoData, ReferencesResolve)
{
    TempSuite suite(TempSuite::Data::Demo);
    EXPECT_EQ(suite.count("SELECT * FROM no_setup WHERE sourcename = 'no_salesorder'"), 1);
    EXPECT_EQ(suite.count("SELECT * FROM customer WHERE terms NOT IN (SELECT uid FROM terms)"), 0);
    EXPECT_EQ(suite.count("SELECT * FROM soinvdetail WHERE itemno NOT IN (SELECT uid FROM item)"
                          " OR invno NOT IN (SELECT invno FROM soinv)"),
              0);
    // Named ship-tos exist, except the deliberate "Same As Bill To" without its leading blank.
    EXPECT_EQ(suite.scalar("SELECT group_concat(uid) FROM customer WHERE shipto NOT IN (' Same As Bill To', ' None')"
                           " AND NOT EXISTS (SELECT 1 FROM shipto WHERE custno = customer.uid"
                           " AND shiptoname = customer.shipto)")
                  .toString(),
              "C1005");
    EXPECT_EQ(suite.count("SELECT * FROM customer WHERE shipto = ' Same As Bill To'"), 2);
    EXPECT_EQ(suite.count("SELECT * FROM shipto WHERE shiptoname LIKE '%''%'"), 1);
}

TEST(DemoOrders, FilesAreCrlfRecordsOfKnownItemsAndCustomers)
{
    TempSuite suite(TempSuite::Data::Demo);
    const QDir dir(demoOrdersDir());
    const QStringList orders = dir.entryList({"*.ord"}, QDir::Files, QDir::Name);
    ASSERT_FALSE(orders.isEmpty());

    QSet<QChar> terminals;
    QStringList withoutInfo, unknownItems;
    for (const QString &name : orders) {
        SCOPED_TRACE(name.toStdString());
        terminals.insert(name.at(name.indexOf('T') + 1));
        const QByteArray bytes = fileBytes(dir.filePath(name));
        // Git or an editor must not have turned the terminal's CRLF into bare LF.
        EXPECT_EQ(bytes.count('\n'), bytes.count("\r\n"));
        QList<QByteArray> records = bytes.split('\n');
        if (records.last().isEmpty())
            records.removeLast();
        for (QByteArray record : records) {
            record.chop(record.endsWith('\r') ? 1 : 0);
            const QList<QByteArray> parts = record.split('\t');
            ASSERT_EQ(parts.size(), 2) << record.toStdString();
            bool numeric = false;
            parts[1].toDouble(&numeric);
            EXPECT_TRUE(numeric) << record.toStdString();
            const QString item = QString::fromLatin1(parts[0]);
            if (suite.count("SELECT * FROM item WHERE uid = " + quoted(item)) == 0)
                unknownItems << name + ":" + item;
        }

        const QString info = dir.filePath(name.chopped(4) + "info.crd");
        if (!QFile::exists(info)) {
            withoutInfo << name;
            continue;
        }
        const QByteArray ini = fileBytes(info);
        EXPECT_TRUE(ini.startsWith("[Customer]\r\nNumber=")) << ini.toStdString();
        const int start = ini.indexOf("Number=") + 7;
        const QString customer = QString::fromLatin1(ini.mid(start, ini.indexOf("\r\n", start) - start));
        EXPECT_EQ(suite.count("SELECT * FROM customer WHERE uid = " + quoted(customer)), 1) << customer.toStdString();
    }
    EXPECT_EQ(unknownItems, QStringList{"A1T6A.ord:ZZ-999"});
    EXPECT_EQ(withoutInfo, QStringList{"A1T6B.ord"});
    EXPECT_EQ(terminals, (QSet<QChar>{'1', '2', '3', '4', '5', '6'}));
}

} // namespace
