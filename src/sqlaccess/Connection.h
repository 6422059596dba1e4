#pragma once

#include "runtime/DbError.h"
#include "sqlaccess/Recordset.h"
#include "sqlaccess/SqlDialect.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <memory>

struct ConnectionData;

// An ODBC data source of the driver manager (odbc.ini) and the credentials to open it with.
// Empty credentials are not sent, so the data source's own ones apply.
struct OdbcSource
{
    // A data source name ("tl2002sql"), a name followed by attributes ("tl2002sql;Protocol=7.4-2"),
    // or a whole connection text ("DSN=tl2002sql;UID=...;PWD=...", "DRIVER={...};SERVER=...").
    QString dataSource;
    QString user;     // added as UID unless the connection text names a user of its own
    QString password; // added as PWD unless the connection text names a password of its own

    // The whole connection text the driver manager is given.
    QString connectionText() const;
    // "DSN=...;uid=...;pwd=****" for a data source name; for a whole text, that text with the
    // credentials added: every password masked (MaskConnectionSecrets). What may be shown or logged.
    QString displayText() const;
};

// How long a statement waits for a lock that another connection holds (a row another station is
// saving, SQLite's write lock) before it fails with DbError::Busy: short enough that a station,
// which does one thing at a time, goes on with its work and answers a stop request soon.
inline constexpr int LockWaitLimitMs = 5000;
// How long opening a server connection may take before it fails.
inline constexpr int LoginTimeoutSeconds = 10;

// One database connection over Qt Sql: an SQLite file (embedded) or an ODBC data source.
// Statements are given in the suite's dialect and translated for the backend. A handle: copies
// share the same connection. Every failure throws DbError.
//
// A server connection that was lost (the server restarted, the network dropped it) is made again
// by the next statement outside a transaction that fails because of it: the statement is retried
// once on the new connection. Inside a transaction the failure stands, since the work done so far
// is gone with the old connection, and the caller rolls back; only a transaction that has done
// nothing yet is begun again on the new connection and the statement retried.
class Connection
{
public:
    Connection();
    ~Connection();
    Connection(const Connection &) = default;
    Connection &operator=(const Connection &) = default;

    // A missing file is an error: the database is never created empty. Switches the file to WAL
    // journaling and waits up to `lockWaitMs` for another program's write lock.
    void openSqliteFile(const QString &path, int lockWaitMs = LockWaitLimitMs);
    // Recognises the server behind the data source (SQL Server, PostgreSQL, other) for the dialect.
    // Statements wait up to `lockWaitMs` for a row lock (PostgreSQL's lock_timeout, SQL Server's
    // SET LOCK_TIMEOUT; other servers keep their own setting). PostgreSQL is told to roll a whole
    // transaction back on an error (Protocol=7.4-1) unless the connection text or the data
    // source in odbc.ini names a Protocol of its own.
    void openOdbc(const OdbcSource &source, int lockWaitMs = LockWaitLimitMs);
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
    // What openUpdatable("SELECT * FROM <table> WHERE 1=2") opens, an updatable set with the
    // table's columns and no rows to add rows to, without asking the database again once the
    // columns are known on this connection.
    Recordset openNewRows(const QString &table) const;
    // The rows of several statements of the same columns, fetched in one statement instead of one
    // each: one snapshot per statement, holding what openSnapshot(statement) would.
    QList<Recordset> openSnapshots(const QStringList &statements) const;
    int execute(const QString &statement) const; // rows affected
    // The same with "?" placeholders bound to `values` in order; prepared once per connection.
    int execute(const QString &statement, const QVariantList &values) const;
    // A statement with "?" placeholders that returns rows (UPDATE ... RETURNING): its rows as a
    // snapshot; prepared once per connection.
    Recordset openPrepared(const QString &statement, const QVariantList &values) const;
    // Adds `rows` (values in the order of `columns`) to `table` in one statement for up to
    // InsertRowsPerStatement rows, prepared once per connection for each number of rows. A column
    // the table does not have is refused (DbError::UnknownField) before anything is sent.
    // Rows added.
    int insertRows(const QString &table, const QStringList &columns, const QList<QVariantList> &rows) const;
    static constexpr int InsertRowsPerStatement = 200;

    // Whether the database answers a trivial query now; never throws. A server that went away
    // does not; an embedded database answers while it is open.
    bool answers() const;

    QString translate(const QString &statement) const;
    // Statements sent to the database on this connection so far (a measure for benchmarks).
    qint64 statementsRun() const;

private:
    friend class Recordset;
    std::shared_ptr<ConnectionData> d;
};
