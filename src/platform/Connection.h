#pragma once

#include "DbError.h"
#include "Recordset.h"
#include "SqlDialect.h"

#include <QString>
#include <memory>

struct ConnectionData;

// One database connection over Qt Sql: an SQLite file (embedded) or an ODBC data source.
// Statements are given in the suite's dialect and translated for the backend. A handle: copies
// share the same connection. Every failure throws DbError.
class Connection
{
public:
    Connection();
    ~Connection();
    Connection(const Connection &) = default;
    Connection &operator=(const Connection &) = default;

    // A missing file is an error: the database is never created empty. Switches the file to WAL
    // journaling and waits up to `busyTimeoutMs` for another program's write lock.
    void openSqliteFile(const QString &path, int busyTimeoutMs = 10000);
    // `connectionString` as ODBC takes it ("DSN=...;uid=...;pwd=..."); user and password empty.
    void openOdbc(const QString &connectionString);
    void close();
    bool isOpen() const;
    SqlBackend backend() const;

    // A transaction; on SQLite it takes the write lock at once, so two programs saving at the
    // same moment wait for each other instead of failing half-way through.
    void beginTrans();
    void commitTrans();
    void rollbackTrans(); // never throws; does nothing without a transaction
    bool inTransaction() const;

    Recordset openSnapshot(const QString &statement) const;
    Recordset openUpdatable(const QString &statement) const; // single-table SELECT
    Recordset openTable(const QString &table, const QString &indexName = {}) const;
    int execute(const QString &statement) const; // rows affected

    QString translate(const QString &statement) const;

private:
    friend class Recordset;
    std::shared_ptr<ConnectionData> d;
};
