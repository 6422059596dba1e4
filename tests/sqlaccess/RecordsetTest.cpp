#include "sqlaccess/Connection.h"
#include "sqlaccess/Recordset.h"
#include "support/TestDatabase.h"

#include <QDate>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace {

// A small database of its own on each backend: the platform layer knows nothing of the suite's
// tables.
const char *const SqliteTables = R"(
    CREATE TABLE person (id INTEGER PRIMARY KEY, name TEXT COLLATE NOCASE, born DATETIME,
                         pay CURRENCY, note TEXT DEFAULT 'none');
    CREATE TABLE lockrow (owner TEXT, thing TEXT, at DATETIME);
    CREATE INDEX person_nameidx ON person(name);)";
const char *const ServerTables = R"(
    CREATE TABLE person (id integer PRIMARY KEY, name citext COLLATE "C", born timestamp(0),
                         pay numeric(19,4), note text DEFAULT 'none');
    CREATE TABLE lockrow (owner text, thing text, at timestamp(0));
    CREATE INDEX person_nameidx ON person(name);)";

class DbFixture : public ::testing::TestWithParam<TestBackend>
{
protected:
    void SetUp() override
    {
        RF_SKIP_UNLESS_CONFIGURED(GetParam());
        ASSERT_TRUE(dir.isValid());
        db = std::make_unique<TestDatabase>(GetParam(), dir.filePath("t.db"));
        db->exec(QString(GetParam() == TestBackend::Sqlite ? SqliteTables : ServerTables) + R"(;
            INSERT INTO person (id, name, born, pay) VALUES (1, 'Ann', '1980-02-03', 10.5),
                                                            (2, 'bob', NULL, 7),
                                                            (3, 'Cy', '1990-12-31', NULL);
            INSERT INTO lockrow VALUES ('JOE', 'so1', NULL), ('JOE', 'so1', NULL), ('ANN', 'so2', NULL);
        )");
        if (GetParam() == TestBackend::Sqlite)
            conn.openSqliteFile(dir.filePath("t.db"));
        else
            conn.openOdbc(db->odbcSource());
    }

    QString scalar(const QString &sql) { return TestDatabase::text(conn.openSnapshot(sql).value(0)); }

    QTemporaryDir dir;
    std::unique_ptr<TestDatabase> db;
    Connection conn;
};

Recordset headerLike()
{
    Recordset rs;
    rs.appendField("invno", FieldType::Text, 10);
    rs.appendField("amount", FieldType::Currency);
    rs.appendField("invdate", FieldType::Date);
    rs.appendField("inputtime", FieldType::Time);
    rs.appendField("payflag", FieldType::Integer);
    rs.appendField("linenum", FieldType::BigInt);
    rs.appendField("taxrate", FieldType::Double);
    rs.appendField("addedinshow", FieldType::Boolean);
    rs.open();
    return rs;
}

} // namespace

TEST(FreeStandingRecordset, ConvertsValuesToFieldTypesAndKeepsUnsetFieldsNull)
{
    Recordset rs = headerLike();
    EXPECT_TRUE(rs.bof() && rs.eof());
    rs.addNew();
    rs.setValue("INVNO", "Auto No.");
    rs.setValue("amount", 250.125);
    rs.setValue("invdate", QDateTime(QDate(2026, 12, 6), QTime(0, 0)));
    rs.setValue("inputtime", "9:5:7");
    rs.setValue("payflag", "12");
    rs.setValue("linenum", 3.0);
    rs.setValue("taxrate", "8.25");
    rs.setValue("addedinshow", -1);
    rs.update();

    EXPECT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(rs.text("invno"), "Auto No.");
    EXPECT_EQ(rs.value("amount").value<Currency>(), Currency::fromRaw(2501250));
    EXPECT_EQ(rs.value("invdate").metaType().id(), QMetaType::QDate);
    EXPECT_EQ(rs.value("inputtime").toTime(), QTime(9, 5, 7));
    EXPECT_EQ(rs.value("payflag").metaType().id(), QMetaType::Int);
    EXPECT_EQ(rs.value("linenum").metaType().id(), QMetaType::LongLong);
    EXPECT_DOUBLE_EQ(rs.number("taxrate"), 8.25);
    EXPECT_TRUE(rs.value("addedinshow").toBool());

    rs.addNew();
    rs.setValue("invno", "X");
    rs.update();
    EXPECT_TRUE(rs.isNull("amount"));
    EXPECT_TRUE(rs.isNull("invdate"));
    EXPECT_EQ(rs.number("amount"), 0.0);
    EXPECT_EQ(rs.text("invdate"), "");
}

TEST(FreeStandingRecordset, RefusesBadValuesAndKeepsTheRowPending)
{
    Recordset rs = headerLike();
    rs.addNew();
    try {
        rs.setValue("invno", "ABCDEFGHIJK");
        FAIL() << "an 11-character text fit a 10-character field";
    } catch (const DbError &e) {
        EXPECT_EQ(e.number(), DbError::ValueTooLong);
        EXPECT_TRUE(e.description().contains("invno"));
    }
    EXPECT_THROW(rs.setValue("taxrate", "abc"), DbError);
    EXPECT_THROW(rs.setValue("nosuchfield", 1), DbError);
    EXPECT_TRUE(rs.editPending());
    rs.setValue("invno", "ABCDEFGHIJ");
    rs.update();
    EXPECT_EQ(rs.text("invno"), "ABCDEFGHIJ");
    EXPECT_THROW(rs.appendField("late", FieldType::Text), DbError);
}

TEST(FreeStandingRecordset, MovesAndDeletesLikeAnAdoSet)
{
    Recordset rs;
    rs.appendField("n", FieldType::Integer);
    rs.open();
    for (int i = 1; i <= 3; ++i) {
        rs.addNew();
        rs.setValue("n", i);
        rs.update();
    }
    rs.moveFirst();
    EXPECT_EQ(rs.value("n").toInt(), 1);
    rs.moveNext();
    rs.deleteCurrent();
    EXPECT_THROW(rs.value("n"), DbError); // the deleted row is no longer readable
    rs.moveNext();                        // lands on the row after the deleted one
    EXPECT_EQ(rs.value("n").toInt(), 3);
    rs.moveNext();
    EXPECT_TRUE(rs.eof());
    EXPECT_THROW(rs.moveNext(), DbError);
    rs.movePrevious();
    EXPECT_EQ(rs.value("n").toInt(), 3);
    EXPECT_EQ(rs.recordCount(), 2);

    // A copy is the same set, as object references are.
    Recordset same = rs;
    same.moveFirst();
    EXPECT_EQ(rs.value("n").toInt(), 1);
}

TEST_P(DbFixture, SnapshotReadsRowsAndRefusesChanges)
{
    Recordset rs = conn.openSnapshot("SELECT id, name, pay FROM person WHERE name = 'BOB'");
    ASSERT_FALSE(rs.eof());
    EXPECT_EQ(rs.text("NAME"), "bob"); // text compares without regard to case
    EXPECT_EQ(rs.money("pay"), Currency::fromDouble(7));
    EXPECT_THROW(rs.setValue("name", "x"), DbError);

    Recordset none = conn.openSnapshot("SELECT * FROM person WHERE 1=2");
    EXPECT_TRUE(none.bof() && none.eof());
    EXPECT_EQ(none.fieldCount(), 5);
    EXPECT_GE(none.fieldIndex("Note"), 0);

    EXPECT_THROW(conn.openSnapshot("SELECT nosuch FROM person"), DbError);
}

TEST_P(DbFixture, UpdatableSetInsertsOnlyTheFieldsSetAndBindsStoredForms)
{
    Recordset rs = conn.openUpdatable("SELECT * FROM person WHERE 1=2");
    rs.addNew();
    rs.setValue("id", 9);
    rs.setValue("name", "O'Neil");
    rs.setValue("born", QDate(2001, 7, 4));
    rs.setValue("pay", QVariant::fromValue(Currency::fromDouble(12.3456)));
    rs.update();

    EXPECT_EQ(scalar("SELECT born FROM person WHERE id = 9"), "2001-07-04");
    EXPECT_EQ(scalar("SELECT pay FROM person WHERE id = 9"), "12.3456");
    EXPECT_EQ(scalar("SELECT note FROM person WHERE id = 9"), "none"); // default kept
    EXPECT_EQ(scalar("SELECT name FROM person WHERE id = 9"), "O'Neil");
}

TEST_P(DbFixture, UpdatableSetUpdatesByKeyAndDetectsRowsChangedMeanwhile)
{
    Recordset rs = conn.openUpdatable("SELECT * FROM person WHERE id = 2");
    rs.setValue("pay", 8.5);
    rs.update();
    EXPECT_EQ(scalar("SELECT pay FROM person WHERE id = 2"), "8.5");

    // Another program deletes the row: the next update must fail, not report success.
    Recordset stale = conn.openUpdatable("SELECT * FROM person WHERE id = 3");
    conn.execute("DELETE FROM person WHERE id = 3");
    stale.setValue("name", "Gone");
    try {
        stale.update();
        FAIL() << "update of a deleted row succeeded";
    } catch (const DbError &e) {
        EXPECT_EQ(e.number(), DbError::RowChanged);
    }
}

TEST_P(DbFixture, TableWithoutKeyMatchesAllOriginalValuesIncludingNulls)
{
    Recordset rs = conn.openUpdatable("SELECT * FROM lockrow where owner ='JOE' and thing='so1'");
    ASSERT_EQ(rs.recordCount(), 2);
    rs.deleteCurrent(); // one of two identical rows goes, not both
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM lockrow WHERE owner = 'JOE'"), "1");

    Recordset other = conn.openUpdatable("SELECT * FROM lockrow where owner ='ANN'");
    other.setValue("at", QDateTime(QDate(2026, 1, 2), QTime(10, 0, 59)));
    other.update();
    EXPECT_EQ(scalar("SELECT at FROM lockrow WHERE owner = 'ANN'"), "2026-01-02 10:00:59");

    // Someone changes the row meanwhile: optimistic locking refuses the second edit.
    conn.execute("UPDATE lockrow SET thing = 'so3' WHERE owner = 'ANN'");
    other.setValue("owner", "EVE");
    EXPECT_THROW(other.update(), DbError);
}

TEST_P(DbFixture, OnlySingleTableSelectsAreUpdatable)
{
    EXPECT_THROW(conn.openUpdatable("SELECT * FROM person, lockrow"), DbError);
    EXPECT_THROW(conn.openUpdatable("SELECT * FROM person p inner join lockrow l on p.name=l.owner"), DbError);
    EXPECT_NO_THROW(conn.openUpdatable("SELECT name FROM [person] WHERE id=1 ORDER BY id"));
}

TEST_P(DbFixture, TableSetSeeksOnANamedIndexWithoutRegardToCase)
{
    // The index is "person_nameidx": index names are database-wide in SQLite. A server table set
    // finds the index on the column of the name before "idx".
    Recordset rs = conn.openTable("person", "nameidx");
    EXPECT_TRUE(rs.seek("=", {"ANN"}));
    EXPECT_EQ(rs.value("id").toInt(), 1);
    EXPECT_FALSE(rs.seek("=", {"nobody"}));
    EXPECT_TRUE(rs.noMatch());
    EXPECT_THROW(rs.value("id"), DbError);

    Recordset all = conn.openTable("person", "nameidx");
    EXPECT_EQ(all.recordCount(), 3);
    all.moveLast();
    EXPECT_EQ(all.text("name"), "Cy"); // ordered by the index

    EXPECT_THROW(conn.openTable("person", "noidx"), DbError);
    EXPECT_THROW(conn.openTable("nosuchtable"), DbError);
    EXPECT_THROW(conn.openTable("person").seek("=", {"Ann"}), DbError);
}

RF_TEST_ALL_BACKENDS(DbFixture);
