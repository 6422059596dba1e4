#pragma once

#include "runtime/DbError.h"
#include "sqlaccess/Recordset.h"
#include "sqlaccess/SqlDialect.h"

#include <QString>
#include <QVariantList>
#include <memory>

struct ConnectionData;

// An ODBC data source of the driver manager (odbc.ini) and the credentials to open it with.
// Empty credentials are not sent, so the data source's own ones apply.
struct OdbcSource
{
    QString dataSource;
    QString user;
    QString password;

    // "DSN=...;uid=...;pwd=****": the connection as it may be shown or logged, never the password.
    QString displayText() const;
};

// One database connection over Qt Sql: an SQLite file (embedded) or an ODBC data source.
// Statements are given in the suite's dialect and translated for the backend. A handle: copies
// share the same connection. Every failure throws DbError.
//
// A server connection that was lost (the server restarted, the network dropped it) is made again
// by the next statement outside a transaction that fails because of it: the statement is retried
// once on the new connection. Inside a transaction the failure stands, since the work done so far
// is gone with the old connection; the caller rolls back and the next statement reconnects.
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
    // Recognises the server behind the data source (SQL Server, PostgreSQL, other) for the dialect.
    void openOdbc(const OdbcSource &source);
    void close();
    bool isOpen() const;
    SqlBackend backend() const;

    // A transaction; on SQLite it takes the write lock at once, so two programs saving at the
    // same moment wait for each other instead of failing half-way through.
    void beginTrans();
    // Refuses (rolls back and throws) when a statement of the transaction failed: on a server
    // the transaction may have lost that statement's work, or all of it.
    void commitTrans();
    void rollbackTrans(); // never throws; does nothing without a transaction
    bool inTransaction() const;

    Recordset openSnapshot(const QString &statement) const;
    // A single-table SELECT. With `lockRows` the rows read stay locked for the transaction on
    // backends with row locks (see withRowLock).
    Recordset openUpdatable(const QString &statement, bool lockRows = false) const;
    Recordset openTable(const QString &table, const QString &indexName = {}) const;
    int execute(const QString &statement) const; // rows affected
    // The same with "?" placeholders bound to `values` in order; prepared once per connection.
    int execute(const QString &statement, const QVariantList &values) const;

    QString translate(const QString &statement) const;
    // Statements sent to the database on this connection so far (a measure for benchmarks).
    qint64 statementsRun() const;

private:
    friend class Recordset;
    std::shared_ptr<ConnectionData> d;
};
