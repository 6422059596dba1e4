#pragma once

#include <QString>
#include <QTemporaryDir>
#include <QVariant>

// A throw-away suite in a temporary folder, laid out as a real one:
//   <root>/tolvaacc.ini            [Access] DBName=<root>/suite.db, DBType=0
//   <root>/suite.db                built from schema/suite-sqlite.sql (plus demo data on request)
//   <root>/admodule/               the program folder, with OrdQueue/ and ordsaved/
class TempSuite
{
public:
    // Demo: the demo data with an empty order book (its sales orders removed), as the order
    // tests expect; DemoWithOrders: the demo data as it stands, sales orders and revisions too.
    enum class Data { Empty, Demo, DemoWithOrders };
    explicit TempSuite(Data data = Data::Empty);

    QString root() const { return m_root; }
    QString programDir() const { return m_root + "/admodule"; }
    QString databasePath() const { return m_root + "/suite.db"; }
    QString iniPath() const { return m_root + "/tolvaacc.ini"; }
    QString queueDir() const { return programDir() + "/OrdQueue"; }
    QString archiveDir() const { return programDir() + "/ordsaved"; }

    // Runs an SQL script on the suite database (outside the program's connections); fails the
    // test (throws std::runtime_error) on any error.
    void exec(const QString &script) const;
    // First column of the first row, or an invalid QVariant when there is no row.
    QVariant scalar(const QString &query) const;
    // Number of rows the query returns.
    int count(const QString &query) const;

    void setIni(const QString &section, const QString &key, const QString &value) const;
    // Writes a file (bytes as given) below the suite root, creating folders on the way.
    void writeFile(const QString &relativePath, const QByteArray &content) const;

    static QString schemaPath();
    static QString demoDataPath();

private:
    QTemporaryDir m_dir;
    QString m_root;
};
