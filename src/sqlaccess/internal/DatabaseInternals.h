#pragma once

// Shared state behind the Connection and Recordset handles; private to the SQL access library.

#include "sqlaccess/Connection.h"
#include "sqlaccess/Recordset.h"
#include "sqlaccess/SqlDialect.h"

#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <QVector>
#include <memory>
#include <optional>
#include <type_traits>

struct sqlite3;
struct sqlite3_stmt;

struct ConnectionData
{
    QString name; // the QSqlDatabase connection name, unique per Connection
    SqlBackend backend = SqlBackend::Sqlite;
    bool open = false; // opened once; a lost server connection is made again when next used
    bool inTransaction = false;
    bool transactionFailed = false; // a statement of the open transaction failed
    int transactionWork = 0;        // statements the open transaction has run
    bool odbc = false;              // a server connection, made again when lost
    int lockWaitMs = LockWaitLimitMs;
    qint64 statements = 0;

    // A save writes the same few statements for every order: they stay prepared, keyed by their
    // text in the suite's dialect, and the tables' keys and columns are looked up once.
    struct PreparedStatement
    {
        std::shared_ptr<QSqlQuery> query;     // through Qt's driver (QSqlQuery is not to be copied)
        std::shared_ptr<sqlite3_stmt> native; // or through SQLite's own interface (see `sqlite`)
        quint64 lastUse = 0;
    };
    // The embedded database's own handle, when Qt's driver uses this process's SQLite library:
    // prepared statements then bind their values through it. Qt binds each value by a name it
    // formats anew, which costs a save of a few hundred values more than SQLite's work on them.
    sqlite3 *sqlite = nullptr;
    QHash<QString, QStringList> primaryKeys;
    QHash<QString, QVector<FieldInfo>> tableFields; // lower-cased table -> its columns
    QHash<QString, QString> insertHeads;            // table and columns -> "INSERT INTO ... VALUES "
    QHash<QString, PreparedStatement> preparedStatements;
    quint64 uses = 0;

    ~ConnectionData();
    QSqlDatabase database() const { return QSqlDatabase::database(name, false); }
    QStringList primaryKey(const QString &table);
    const QVector<FieldInfo> &fieldsOf(const QString &table);
    // Runs one translated statement on a fresh query; the query is positioned before its rows.
    QSqlQuery exec(const QString &translated);
    // Runs a statement with positional values, prepared once per connection; rows affected.
    int runPrepared(const QString &statement, const QVariantList &bindings);
    // The same for a statement that returns rows: they fill `into`.
    void queryPrepared(const QString &statement, const QVariantList &bindings, RecordsetData &into);
    // Converts a value for binding: the embedded backend keeps dates, times and money as texts
    // and numbers; ODBC drivers take Qt's own types.
    QVariant bindable(const QVariant &value) const;
    // Begins a transaction on the database itself.
    void begin();
    // What every new server session is told: how long to wait for a lock.
    void configureSession();

    // Runs `work`, which sends statements on this connection. Outside a transaction, a failure
    // of a server connection that no longer answers makes the connection again and runs `work`
    // once more; so does one inside a transaction that has done nothing yet (it is begun again).
    // Otherwise a failure inside a transaction marks it as failed.
    template <typename Work>
    auto withReconnect(Work &&work) -> decltype(work())
    {
        requireOpen();
        QString lost;
        const bool restartable = inTransaction && transactionWork == 0;
        try {
            return counted(work);
        } catch (const DbError &error) {
            if (inTransaction && !restartable) {
                transactionFailed = true;
                throw;
            }
            if (!odbc || alive()) {
                if (inTransaction)
                    transactionFailed = true;
                throw;
            }
            lost = error.description();
        }
        reopen(lost);
        if (restartable) {
            begin();
            inTransaction = true;
        }
        return counted(work);
    }

    // A server connection outside a transaction that no longer answers.
    bool serverLost();
    bool alive(); // the database answers a trivial query

private:
    template <typename Work> auto counted(Work &work) -> decltype(work())
    {
        if constexpr (std::is_void_v<decltype(work())>) {
            work();
            if (inTransaction)
                ++transactionWork;
        } else {
            auto result = work();
            if (inTransaction)
                ++transactionWork;
            return result;
        }
    }
    PreparedStatement &prepared(const QString &statement); // prepared on first use; the least used go beyond 256
    void requireOpen();               // throws unless opened once; reopens a dropped server connection
    void reopen(const QString &lost); // closes and opens the server connection again; throws on failure
};

struct RecordsetData
{
    enum class Kind { FreeStanding, Snapshot, Updatable, Table };
    enum class Edit { None, Adding, Changing };

    Kind kind = Kind::FreeStanding;
    bool open = false;

    QVector<FieldInfo> fields;
    QHash<QString, int> fieldByName;     // lower-cased name -> index
    QHash<QString, int> fieldBySpelling; // name as made -> index

    QVector<QVector<QVariant>> rows;
    QVector<QVector<QVariant>> originals; // as read, for the WHERE of updates and deletes
    int pos = -1;                         // -1 before the first row, rows.size() after the last
    bool onDeletedRow = false;

    Edit edit = Edit::None;
    QVector<QVariant> buffer;
    QVector<bool> changed;

    // Source of updatable and table sets.
    std::shared_ptr<ConnectionData> connection;
    QString table;
    QStringList keyColumns; // primary key; empty = match on every original value
    QStringList indexColumns;
    bool tableLoaded = true;
    bool noMatch = false;

    void addField(const FieldInfo &info);
    int indexOf(const QString &name) const;
    int requireField(const QString &name) const;
    bool hasCurrentRow() const;
    const QVector<QVariant> &currentValues() const;
    void loadTable();
    void flushEdit();
    void insertBuffer();
    void updateCurrentRow();
    void deleteRowFromSource(int row);
    QString whereForRow(const QVector<QVariant> &original, QVariantList &bindings) const;
};

// Fills a record set from an executed query: fields from its record, every row.
void fillFromQuery(RecordsetData &data, class QSqlQuery &query);

// The driver's error as the operator sees it: one line, unique-key violations and a busy
// embedded database recognised on every backend.
DbError dbErrorFromSql(const class QSqlError &error);

// SQLite's own interface on a handle Qt's driver opened (NativeSqlite.cpp).
// The handle of Qt's connection `db` when Qt's driver and this program use the same SQLite
// library; null otherwise.
sqlite3 *sharedSqliteHandle(const QSqlDatabase &db);
std::shared_ptr<sqlite3_stmt> prepareNative(sqlite3 *db, const QString &translated);
// Binds the values as Qt's driver would, runs the statement and resets it: rows affected. The
// rows it returns fill `into` when given. Errors as dbErrorFromSql gives Qt's.
int runNative(sqlite3 *db, sqlite3_stmt *statement, const QVariantList &bindings, RecordsetData *into);
