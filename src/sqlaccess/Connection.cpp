#include "sqlaccess/Connection.h"

#include "runtime/Currency.h"
#include "sqlaccess/internal/DatabaseInternals.h"

#include <QAtomicInt>
#include <QDate>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QThread>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlIndex>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTime>

namespace {

QString newConnectionName()
{
    static QAtomicInt counter;
    return QStringLiteral("rfstation-%1").arg(counter.fetchAndAddRelaxed(1));
}

void run(const QSqlDatabase &db, const QString &statement)
{
    QSqlQuery q(db);
    if (!q.exec(statement))
        throw dbErrorFromSql(q.lastError());
}

SqlBackend backendOf(const QSqlDriver *driver)
{
    switch (driver->dbmsType()) {
    case QSqlDriver::MSSqlServer:
        return SqlBackend::SqlServer;
    case QSqlDriver::PostgreSQL:
        return SqlBackend::PostgreSql;
    default:
        return SqlBackend::Ansi;
    }
}

// "SELECT ... FROM <table> [WHERE ...|ORDER BY ...]" -> table; empty when the statement reads
// more than one table (joins, lists, sub-selects).
QString singleTableOf(const QString &statement)
{
    static const QRegularExpression re(
        QStringLiteral(R"(^\s*select\s+.+?\s+from\s+(\[[^\]]+\]|[A-Za-z_][\w$]*)\s*(?:(?:where|order\s+by)\b.*)?;?\s*$)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const auto m = re.match(statement);
    if (!m.hasMatch())
        return {};
    const QString rest = statement.mid(m.capturedEnd(1));
    static const QRegularExpression multi(QStringLiteral(R"(\b(join|select)\b)"),
                                          QRegularExpression::CaseInsensitiveOption);
    if (multi.match(rest).hasMatch())
        return {};
    QString table = m.captured(1);
    if (table.startsWith('['))
        table = table.mid(1, table.size() - 2);
    return table;
}

QStringList indexColumnsOf(ConnectionData &c, const QString &table, const QString &indexName)
{
    const QSqlDatabase db = c.database();
    if (c.backend == SqlBackend::Sqlite) {
        // Index names are database-wide in SQLite, so a second table's index of the same name is
        // created as "<table>_<name>".
        QString found;
        QSqlQuery list(db);
        if (!list.exec(QStringLiteral("PRAGMA index_list(\"%1\")").arg(table)))
            throw dbErrorFromSql(list.lastError());
        while (list.next()) {
            const QString name = list.value(QStringLiteral("name")).toString();
            if (name.compare(indexName, Qt::CaseInsensitive) == 0
                || name.compare(table + "_" + indexName, Qt::CaseInsensitive) == 0) {
                found = name;
                break;
            }
        }
        if (!found.isEmpty()) {
            QStringList columns;
            QSqlQuery info(db);
            if (!info.exec(QStringLiteral("PRAGMA index_info(\"%1\")").arg(found)))
                throw dbErrorFromSql(info.lastError());
            while (info.next())
                columns << info.value(QStringLiteral("name")).toString();
            return columns;
        }
    }
    if (indexName.compare(QStringLiteral("PrimaryKey"), Qt::CaseInsensitive) == 0)
        return c.primaryKey(table);
    // Other servers do not list their indexes through the driver: "uididx" is the index on "uid".
    QString column = indexName;
    if (column.endsWith(QStringLiteral("idx"), Qt::CaseInsensitive))
        column.chop(3);
    if (!column.isEmpty() && db.record(table).indexOf(column) >= 0)
        return {column};
    throw DbError(3800, QStringLiteral("'%1' is not an index in table '%2'").arg(indexName, table));
}

} // namespace

QString OdbcSource::displayText() const
{
    return QStringLiteral("DSN=%1;uid=%2;pwd=%3")
        .arg(dataSource, user, password.isEmpty() ? QString() : QStringLiteral("****"));
}

ConnectionData::~ConnectionData()
{
    if (name.isEmpty())
        return;
    preparedStatements.clear(); // statements go before their database
    {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        if (db.isOpen()) {
            if (inTransaction)
                db.rollback();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
}

QStringList ConnectionData::primaryKey(const QString &table)
{
    const QString key = table.toLower();
    auto found = primaryKeys.constFind(key);
    if (found != primaryKeys.constEnd())
        return *found;
    QStringList columns = withReconnect([&] {
        QStringList found;
        ++statements;
        const QSqlIndex pk = database().primaryIndex(table);
        for (int i = 0; i < pk.count(); ++i)
            found << pk.fieldName(i);
        // The driver answers a failed catalog query with no key at all.
        if (found.isEmpty() && serverLost())
            throw DbError(DbError::GeneralError, QStringLiteral("The database server does not answer"));
        return found;
    });
    primaryKeys.insert(key, columns);
    return columns;
}

QSqlQuery ConnectionData::exec(const QString &translated)
{
    QSqlQuery q(database());
    q.setForwardOnly(true);
    ++statements;
    if (!q.exec(translated))
        throw dbErrorFromSql(q.lastError());
    return q;
}

void ConnectionData::requireOpen()
{
    if (!open)
        throw DbError(DbError::InvalidOperation, QStringLiteral("The connection is not open"));
    if (odbc && !database().isOpen())
        reopen(QStringLiteral("the connection was closed"));
}

bool ConnectionData::serverLost()
{
    return odbc && !inTransaction && !alive();
}

bool ConnectionData::alive()
{
    QSqlQuery q(database());
    ++statements;
    return q.exec(QStringLiteral("SELECT 1"));
}

void ConnectionData::reopen(const QString &lost)
{
    preparedStatements.clear();
    inTransaction = false;
    transactionFailed = false;
    QSqlDatabase db = database();
    db.close();
    if (!db.open(odbc->user, odbc->password)) {
        const DbError error = dbErrorFromSql(db.lastError());
        throw DbError(error.number(), QStringLiteral("The connection to the database server was lost (%1) and "
                                                     "could not be made again: %2")
                                          .arg(lost, error.description()));
    }
}

int ConnectionData::runPrepared(const QString &statement, const QVariantList &bindings)
{
    const QString text = translateSql(statement, backend);
    return withReconnect([&] {
        auto found = preparedStatements.find(text);
        if (found == preparedStatements.end()) {
            if (preparedStatements.size() >= 256) // shapes vary with nulls; keep the cache bounded
                preparedStatements.clear();
            QSqlQuery q(database());
            if (!q.prepare(text))
                throw dbErrorFromSql(q.lastError());
            found = preparedStatements.insert(text, q);
        }
        QSqlQuery &q = *found;
        for (int i = 0; i < bindings.size(); ++i)
            q.bindValue(i, bindings[i]);
        ++statements;
        const bool ok = q.exec();
        const int affected = ok ? q.numRowsAffected() : 0;
        const QSqlError error = q.lastError();
        q.finish();
        if (!ok)
            throw dbErrorFromSql(error);
        return affected;
    });
}

QVariant ConnectionData::bindable(const QVariant &value) const
{
    if (Recordset::isNullValue(value))
        return QVariant();
    const int type = value.metaType().id();
    if (type == qMetaTypeId<Currency>())
        return value.value<Currency>().toDouble();
    if (backend != SqlBackend::Sqlite)
        return value;
    switch (type) {
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    case QMetaType::QDateTime:
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    case QMetaType::QTime:
        return value.toTime().toString(QStringLiteral("hh:mm:ss"));
    case QMetaType::Bool:
        return value.toBool() ? 1 : 0;
    default:
        return value;
    }
}

Connection::Connection() : d(std::make_shared<ConnectionData>()) {}

Connection::~Connection() = default;

void Connection::openSqliteFile(const QString &path, int busyTimeoutMs)
{
    close();
    const QFileInfo file(path);
    if (!file.isFile())
        throw DbError(DbError::CannotOpen,
                      QStringLiteral("Cannot open the database \"%1\": the file does not exist").arg(path));
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE")))
        throw DbError(DbError::CannotOpen, QStringLiteral("The SQLite driver of Qt is not installed"));

    auto data = std::make_shared<ConnectionData>();
    data->name = newConnectionName();
    data->backend = SqlBackend::Sqlite;
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), data->name);
    db.setDatabaseName(file.absoluteFilePath());
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs));
    if (!db.open()) {
        const DbError error = dbErrorFromSql(db.lastError());
        throw DbError(DbError::CannotOpen, QStringLiteral("Cannot open the database \"%1\": %2")
                                               .arg(path, error.description()));
    }
    try {
        // Also proves the file is a database at all. Switching a file to WAL needs it to itself
        // for a moment, and SQLite does not wait for that: two stations starting together retry.
        QDeadlineTimer patience(busyTimeoutMs);
        for (;;) {
            try {
                run(db, QStringLiteral("PRAGMA journal_mode=WAL"));
                break;
            } catch (const DbError &e) {
                if (e.number() != DbError::Busy || patience.hasExpired())
                    throw;
                QThread::msleep(20);
            }
        }
    } catch (const DbError &e) {
        throw DbError(DbError::CannotOpen,
                      QStringLiteral("Cannot open the database \"%1\": %2").arg(path, e.description()));
    }
    data->open = true;
    d = std::move(data);
}

void Connection::openOdbc(const OdbcSource &source)
{
    close();
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QODBC")))
        throw DbError(DbError::CannotOpen, QStringLiteral("The ODBC driver of Qt is not installed"));
    auto data = std::make_shared<ConnectionData>();
    data->name = newConnectionName();
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), data->name);
    // A name without "DSN=" or "DRIVER=" is taken as a data source; the credentials are added
    // only when given, so a data source may also bring its own.
    const auto openAs = [&](const QString &dataSource) {
        db.close();
        db.setDatabaseName(dataSource);
        if (!db.open(source.user, source.password)) {
            const DbError error = dbErrorFromSql(db.lastError());
            throw DbError(error.number(), QStringLiteral("Cannot connect to %1: %2")
                                              .arg(source.displayText(), error.description()));
        }
    };
    openAs(source.dataSource);
    data->backend = backendOf(db.driver());
    // PostgreSQL's driver wraps each statement of a transaction in a savepoint of its own, so an
    // error undoes that statement only. Our transactions are undone whole on any error, so the
    // savepoints only cost round trips (22 of 58 per saved order): connect again with the driver
    // told to roll back the whole transaction on an error, unless the data source text names a
    // Protocol of its own.
    if (data->backend == SqlBackend::PostgreSql
        && !source.dataSource.contains(QLatin1String("Protocol="), Qt::CaseInsensitive))
        openAs(source.dataSource + QStringLiteral(";Protocol=7.4-1"));
    data->odbc = source;
    data->open = true;
    d = std::move(data);
}

void Connection::close()
{
    // Record sets still holding the old data keep it alive; the connection itself is replaced.
    d = std::make_shared<ConnectionData>();
}

bool Connection::isOpen() const
{
    return d->open && d->database().isOpen();
}

SqlBackend Connection::backend() const
{
    return d->backend;
}

QString Connection::translate(const QString &statement) const
{
    return translateSql(statement, d->backend);
}

qint64 Connection::statementsRun() const
{
    return d->statements;
}

void Connection::beginTrans()
{
    if (d->inTransaction)
        throw DbError(DbError::InvalidOperation, QStringLiteral("A transaction is already open"));
    d->withReconnect([this] {
        QSqlDatabase db = d->database();
        ++d->statements;
        if (d->backend == SqlBackend::Sqlite)
            run(db, QStringLiteral("BEGIN IMMEDIATE"));
        else if (!db.transaction())
            throw dbErrorFromSql(db.lastError());
    });
    d->inTransaction = true;
    d->transactionFailed = false;
}

void Connection::commitTrans()
{
    if (!d->inTransaction)
        throw DbError(DbError::InvalidOperation, QStringLiteral("No transaction is open"));
    if (d->transactionFailed) {
        rollbackTrans();
        throw DbError(DbError::InvalidOperation,
                      QStringLiteral("A statement of the transaction failed; the transaction was rolled back"));
    }
    QSqlDatabase db = d->database();
    ++d->statements;
    try {
        if (d->backend == SqlBackend::Sqlite)
            run(db, QStringLiteral("COMMIT"));
        else if (!db.commit())
            throw dbErrorFromSql(db.lastError());
    } catch (const DbError &) {
        rollbackTrans();
        throw;
    }
    d->inTransaction = false;
}

void Connection::rollbackTrans()
{
    if (!d->inTransaction)
        return;
    d->inTransaction = false;
    d->transactionFailed = false;
    QSqlDatabase db = d->database();
    ++d->statements;
    if (d->backend == SqlBackend::Sqlite) {
        QSqlQuery q(db);
        q.exec(QStringLiteral("ROLLBACK"));
    } else {
        db.rollback();
    }
}

bool Connection::inTransaction() const
{
    return d->inTransaction;
}

Recordset Connection::openSnapshot(const QString &statement) const
{
    const QString translated = translate(statement);
    return d->withReconnect([&] {
        QSqlQuery q = d->exec(translated);
        Recordset rs;
        rs.d->kind = RecordsetData::Kind::Snapshot;
        fillFromQuery(*rs.d, q);
        return rs;
    });
}

Recordset Connection::openUpdatable(const QString &statement, bool lockRows) const
{
    const QString table = singleTableOf(statement);
    if (table.isEmpty())
        throw DbError(DbError::NotUpdatable,
                      QStringLiteral("Only a SELECT from one table can be updated: %1").arg(statement));
    const QString translated = lockRows ? withRowLock(translate(statement), d->backend) : translate(statement);
    Recordset rs = d->withReconnect([&] {
        QSqlQuery q = d->exec(translated);
        Recordset read;
        fillFromQuery(*read.d, q);
        return read;
    });
    RecordsetData &data = *rs.d;
    data.kind = RecordsetData::Kind::Updatable;
    data.connection = d;
    data.table = table;
    data.originals = data.rows;
    const QStringList pk = d->primaryKey(table);
    bool allSelected = !pk.isEmpty();
    for (const QString &column : pk)
        allSelected = allSelected && data.indexOf(column) >= 0;
    if (allSelected)
        data.keyColumns = pk;
    return rs;
}

Recordset Connection::openTable(const QString &table, const QString &indexName) const
{
    const QSqlRecord record = d->withReconnect([&] {
        ++d->statements;
        const QSqlRecord columns = d->database().record(table);
        // The driver answers a failed catalog query with no columns at all.
        if (columns.isEmpty() && d->serverLost())
            throw DbError(DbError::GeneralError, QStringLiteral("The database server does not answer"));
        return columns;
    });
    if (record.isEmpty())
        throw DbError(3078, QStringLiteral("The table '%1' does not exist").arg(table));

    Recordset rs;
    RecordsetData &data = *rs.d;
    data.kind = RecordsetData::Kind::Table;
    data.connection = d;
    data.table = table;
    data.keyColumns = d->primaryKey(table);
    for (int i = 0; i < record.count(); ++i) {
        FieldInfo info;
        info.name = record.fieldName(i);
        info.type = FieldType::Variant;
        data.addField(info);
    }
    if (!indexName.isEmpty())
        data.indexColumns = indexColumnsOf(*d, table, indexName);
    data.open = true;
    data.tableLoaded = false; // rows are read on first use; a seek reads only the row it finds
    return rs;
}

int Connection::execute(const QString &statement) const
{
    const QString translated = translate(statement);
    return d->withReconnect([&] { return d->exec(translated).numRowsAffected(); });
}

int Connection::execute(const QString &statement, const QVariantList &values) const
{
    QVariantList bindings;
    for (const QVariant &value : values)
        bindings << d->bindable(value);
    return d->runPrepared(statement, bindings);
}
