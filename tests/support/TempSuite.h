#pragma once

#include "support/TestDatabase.h"

#include <QString>
#include <QTemporaryDir>
#include <QVariant>
#include <memory>

// A throw-away suite in a temporary folder, laid out as a real one:
//   <root>/tolvaacc.ini            [Access] DBName=<root>/suite.db, DBType=0 (1 on PostgreSQL)
//   <root>/suite.db                built from schema/suite-sqlite.sql (plus demo data on request)
//   <root>/admodule/               the program folder, with OrdQueue/ and ordsaved/
// On PostgreSQL the database is a TestDatabase built from schema/suite-postgresql.sql, and the
// RFSTATION_ODBC_* variables point the program (and programs started from the test) at it for
// the suite's life.
class TempSuite
{
public:
    // Demo: the demo data with an empty order book (its sales orders removed), as the order
    // tests expect; DemoWithOrders: the demo data as it stands, sales orders and revisions too.
    enum class Data { Empty, Demo, DemoWithOrders };
    explicit TempSuite(Data data = Data::Empty, TestBackend backend = TestBackend::Sqlite);
    ~TempSuite();

    QString root() const { return m_root; }
    QString programDir() const { return m_root + "/admodule"; }
    QString databasePath() const { return m_root + "/suite.db"; }
    QString iniPath() const { return m_root + "/tolvaacc.ini"; }
    QString queueDir() const { return programDir() + "/OrdQueue"; }
    QString archiveDir() const { return programDir() + "/ordsaved"; }
    TestDatabase &database() const { return *m_database; }

    // Runs an SQL script on the suite database (outside the program's connections); fails the
    // test (throws std::runtime_error) on any error.
    void exec(const QString &script) const { m_database->exec(script); }
    // First column of the first row, or an invalid QVariant when there is no row.
    QVariant scalar(const QString &query) const { return m_database->scalar(query); }
    // Number of rows the query returns.
    int count(const QString &query) const { return m_database->count(query); }

    void setIni(const QString &section, const QString &key, const QString &value) const;
    // Writes a file (bytes as given) below the suite root, creating folders on the way.
    void writeFile(const QString &relativePath, const QByteArray &content) const;

    static QString schemaPath(TestBackend backend = TestBackend::Sqlite);
    static QString demoDataPath();

private:
    QTemporaryDir m_dir;
    QString m_root;
    std::unique_ptr<TestDatabase> m_database;
};
