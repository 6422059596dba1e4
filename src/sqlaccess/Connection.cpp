#include "sqlaccess/Connection.h"

#include "runtime/Currency.h"
#include "sqlaccess/ConnectionText.h"
#include "sqlaccess/internal/DatabaseInternals.h"

#include <QAtomicInt>
#include <QDate>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlIndex>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QThread>
#include <QTime>
#include <algorithm>

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

namespace {

// A value as a connection text takes it: in braces when it holds what would end or open one.
QString attributeValue(const QString &value)
{
    if (!value.contains(QLatin1Char(';')) && !value.contains(QLatin1Char('{')) && !value.contains(QLatin1Char('}'))
        && value.trimmed() == value)
        return value;
    return QLatin1Char('{') + QString(value).replace(QLatin1String("}"), QLatin1String("}}")) + QLatin1Char('}');
}

bool namesAny(const QList<ConnectionAttribute> &attributes, std::initializer_list<QLatin1String> keys)
{
    for (const ConnectionAttribute &attribute : attributes)
        for (const QLatin1String key : keys)
            if (attribute.key.compare(key, Qt::CaseInsensitive) == 0)
                return true;
    return false;
}

// A data source name alone, or followed by attributes: its first part holds no "=".
bool isDataSourceName(const QString &text)
{
    return !text.section(QLatin1Char(';'), 0, 0).contains(QLatin1Char('='));
}

// What Qt's ODBC driver is given so that it hands the driver manager exactly `connection`: it
// takes a text holding ".dsn" as a file data source and puts "FILEDSN=" before it, keeps one
// naming a DRIVER or SERVER as it is, and puts "DSN=" before any other.
QString qtDatabaseName(const QString &connection)
{
    const auto strip = [&](QLatin1String prefix) {
        return connection.startsWith(prefix, Qt::CaseInsensitive) ? connection.mid(prefix.size()) : connection;
    };
    if (connection.contains(QLatin1String(".dsn"), Qt::CaseInsensitive))
        return strip(QLatin1String("FILEDSN="));
    if (connection.contains(QLatin1String("DRIVER="), Qt::CaseInsensitive)
        || connection.contains(QLatin1String("SERVER="), Qt::CaseInsensitive))
        return connection;
    return strip(QLatin1String("DSN="));
}

} // namespace

QString OdbcSource::connectionText() const
{
    const QList<ConnectionAttribute> attributes = ParseConnectionText(dataSource);
    const auto isKey = [](const ConnectionAttribute &attribute, QLatin1String key) {
        return attribute.key.compare(key, Qt::CaseInsensitive) == 0;
    };
    QString text = dataSource.trimmed();
    while (text.endsWith(QLatin1Char(';')))
        text.chop(1);
    if (isDataSourceName(dataSource)) {
        text.prepend(QStringLiteral("DSN="));
    } else if (!attributes.isEmpty() && !namesAny(attributes, {QLatin1String("DRIVER"), QLatin1String("FILEDSN")})
               && !isKey(attributes.first(), QLatin1String("DSN"))) {
        // The data source first, as the driver manager and Qt expect it.
        QList<ConnectionAttribute> ordered = attributes;
        std::stable_partition(ordered.begin(), ordered.end(), [&](const ConnectionAttribute &attribute) {
            return isKey(attribute, QLatin1String("DSN"));
        });
        QStringList parts;
        for (const ConnectionAttribute &attribute : std::as_const(ordered))
            parts << (attribute.key.isEmpty() ? attribute.value
                                              : attribute.key + '=' + attributeValue(attribute.value));
        text = parts.join(QLatin1Char(';'));
    }
    if (!user.isEmpty()
        && !namesAny(attributes, {QLatin1String("UID"), QLatin1String("USER"), QLatin1String("USERNAME")}))
        text += QStringLiteral(";UID=") + attributeValue(user);
    if (!password.isEmpty() && !namesAny(attributes, {QLatin1String("PWD"), QLatin1String("PASSWORD")}))
        text += QStringLiteral(";PWD=") + attributeValue(password);
    return text;
}

QString OdbcSource::displayText() const
{
    if (isDataSourceName(dataSource))
        return MaskConnectionSecrets(
            QStringLiteral("DSN=%1;uid=%2;pwd=%3")
                .arg(dataSource, user, password.isEmpty() ? QString() : QStringLiteral("****")));
    return MaskConnectionSecrets(connectionText());
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
    transactionWork = 0;
    QSqlDatabase db = database();
    db.close();
    try {
        if (!db.open())
            throw dbErrorFromSql(db.lastError());
        configureSession();
    } catch (const DbError &error) {
        throw DbError(error.number(), QStringLiteral("The connection to the database server was lost (%1) and "
                                                     "could not be made again: %2")
                                          .arg(lost, MaskConnectionSecrets(error.description())));
    }
}

ConnectionData::PreparedStatement &ConnectionData::prepared(const QString &statement)
{
    auto found = preparedStatements.find(statement);
    if (found == preparedStatements.end()) {
        // Statement shapes vary with nulls and with the number of rows: keep the most used.
        if (preparedStatements.size() >= 256) {
            auto oldest = preparedStatements.begin();
            for (auto it = preparedStatements.begin(); it != preparedStatements.end(); ++it)
                if (it->lastUse < oldest->lastUse)
                    oldest = it;
            preparedStatements.erase(oldest);
        }
        PreparedStatement p;
        if (sqlite) {
            p.native = prepareNative(sqlite, translateSql(statement, backend));
        } else {
            p.query = std::make_shared<QSqlQuery>(database());
            p.query->setForwardOnly(true);
            if (!p.query->prepare(translateSql(statement, backend)))
                throw dbErrorFromSql(p.query->lastError());
        }
        found = preparedStatements.insert(statement, std::move(p));
    }
    found->lastUse = ++uses;
    return *found;
}

int ConnectionData::runPrepared(const QString &statement, const QVariantList &bindings)
{
    return withReconnect([&] {
        PreparedStatement &p = prepared(statement);
        ++statements;
        if (p.native)
            return runNative(sqlite, p.native.get(), bindings, nullptr);
        QSqlQuery &q = *p.query;
        for (int i = 0; i < bindings.size(); ++i)
            q.bindValue(i, bindings[i]);
        const bool ok = q.exec();
        const int affected = ok ? q.numRowsAffected() : 0;
        const QSqlError error = q.lastError();
        q.finish();
        if (!ok)
            throw dbErrorFromSql(error);
        return affected;
    });
}

void ConnectionData::queryPrepared(const QString &statement, const QVariantList &bindings, RecordsetData &into)
{
    withReconnect([&] {
        PreparedStatement &p = prepared(statement);
        ++statements;
        if (p.native) {
            runNative(sqlite, p.native.get(), bindings, &into);
            return;
        }
        QSqlQuery &q = *p.query;
        for (int i = 0; i < bindings.size(); ++i)
            q.bindValue(i, bindings[i]);
        if (!q.exec()) {
            const QSqlError error = q.lastError();
            q.finish();
            throw dbErrorFromSql(error);
        }
        fillFromQuery(into, q);
    });
}

const QVector<FieldInfo> &ConnectionData::fieldsOf(const QString &table)
{
    const QString key = table.toLower();
    auto found = tableFields.constFind(key);
    if (found != tableFields.constEnd())
        return *found;
    const QString translated = translateSql(QStringLiteral("SELECT * FROM %1 WHERE 1=2").arg(table), backend);
    RecordsetData columns;
    withReconnect([&] {
        QSqlQuery q = exec(translated);
        fillFromQuery(columns, q);
    });
    return *tableFields.insert(key, columns.fields);
}

void ConnectionData::begin()
{
    if (backend == SqlBackend::Sqlite) {
        runPrepared(QStringLiteral("BEGIN IMMEDIATE"), {});
        return;
    }
    QSqlDatabase db = database();
    ++statements;
    if (!db.transaction())
        throw dbErrorFromSql(db.lastError());
}

void ConnectionData::configureSession()
{
    QString statement;
    if (backend == SqlBackend::PostgreSql) // 0 would mean no limit at all
        statement = QStringLiteral("SET lock_timeout = %1").arg(qMax(1, lockWaitMs));
    else if (backend == SqlBackend::SqlServer)
        statement = QStringLiteral("SET LOCK_TIMEOUT %1").arg(qMax(0, lockWaitMs));
    if (statement.isEmpty())
        return;
    ++statements;
    run(database(), statement);
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

void Connection::openSqliteFile(const QString &path, int lockWaitMs)
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
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(lockWaitMs));
    if (!db.open()) {
        const DbError error = dbErrorFromSql(db.lastError());
        throw DbError(DbError::CannotOpen, QStringLiteral("Cannot open the database \"%1\": %2")
                                               .arg(path, error.description()));
    }
    try {
        // Also proves the file is a database at all. Switching a file to WAL needs it to itself
        // for a moment, and SQLite does not wait for that: two stations starting together retry.
        QDeadlineTimer patience(lockWaitMs);
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
    data->lockWaitMs = lockWaitMs;
    data->sqlite = sharedSqliteHandle(db);
    data->open = true;
    d = std::move(data);
}

void Connection::openOdbc(const OdbcSource &source, int lockWaitMs)
{
    close();
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QODBC")))
        throw DbError(DbError::CannotOpen, QStringLiteral("The ODBC driver of Qt is not installed"));
    auto data = std::make_shared<ConnectionData>();
    data->name = newConnectionName();
    data->odbc = true;
    data->lockWaitMs = lockWaitMs;
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), data->name);
    db.setConnectOptions(QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=%1").arg(LoginTimeoutSeconds));
    // The credentials are part of the connection text: Qt would add them after a text's own.
    const QString text = source.connectionText();
    const auto openAs = [&](const QString &connection) {
        db.close();
        db.setDatabaseName(qtDatabaseName(connection));
        if (!db.open()) {
            const DbError error = dbErrorFromSql(db.lastError());
            throw DbError(error.number(), QStringLiteral("Cannot connect to %1: %2")
                                              .arg(source.displayText(), MaskConnectionSecrets(error.description())));
        }
    };
    openAs(text);
    data->backend = backendOf(db.driver());
    // PostgreSQL's driver wraps each statement of a transaction in a savepoint of its own, so an
    // error undoes that statement only. Our transactions are undone whole on any error, so the
    // savepoints only cost round trips: connect again with the driver told to roll back the
    // whole transaction on an error, unless the connection text or the data source names a
    // Protocol of its own.
    if (data->backend == SqlBackend::PostgreSql && !ConnectionAttributeValue(text, QStringLiteral("Protocol"))
        && !ConnectionAttributeValue(text, QStringLiteral("A1"))
        && OdbcDataSourceSetting(ConnectionAttributeValue(text, QStringLiteral("DSN")).value_or(QString()),
                                 QStringLiteral("Protocol"))
               .isEmpty())
        openAs(text + QStringLiteral(";Protocol=7.4-1"));
    data->open = true;
    try {
        data->configureSession();
    } catch (const DbError &e) {
        throw DbError(e.number(),
                      QStringLiteral("Cannot connect to %1: %2").arg(source.displayText(), e.description()));
    }
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
    d->withReconnect([this] { d->begin(); });
    d->inTransaction = true;
    d->transactionFailed = false;
    d->transactionWork = 0;
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
    try {
        if (d->backend == SqlBackend::Sqlite) {
            d->runPrepared(QStringLiteral("COMMIT"), {});
        } else {
            QSqlDatabase db = d->database();
            ++d->statements;
            if (!db.commit())
                throw dbErrorFromSql(db.lastError());
        }
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
    if (d->backend == SqlBackend::Sqlite) {
        try {
            d->runPrepared(QStringLiteral("ROLLBACK"), {});
        } catch (const DbError &) {
            // Nothing left to undo: SQLite ended the transaction itself.
        }
    } else {
        ++d->statements;
        d->database().rollback();
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

Recordset Connection::openPrepared(const QString &statement, const QVariantList &values) const
{
    QVariantList bindings;
    for (const QVariant &value : values)
        bindings << d->bindable(value);
    Recordset rs;
    rs.d->kind = RecordsetData::Kind::Snapshot;
    d->queryPrepared(statement, bindings, *rs.d);
    return rs;
}

Recordset Connection::openNewRows(const QString &table) const
{
    const QVector<FieldInfo> &fields = d->fieldsOf(table);
    Recordset rs;
    RecordsetData &data = *rs.d;
    for (const FieldInfo &field : fields)
        data.addField(field);
    data.kind = RecordsetData::Kind::Updatable;
    data.connection = d;
    data.table = table;
    data.open = true;
    const QStringList pk = d->primaryKey(table);
    if (!pk.isEmpty())
        data.keyColumns = pk;
    return rs;
}

int Connection::insertRows(const QString &table, const QStringList &columns, const QList<QVariantList> &rows) const
{
    if (rows.isEmpty())
        return 0;
    // "INSERT INTO [table] ([column], ...) VALUES ": each column in the table's own spelling, as a
    // row added through a record set names it; made once per connection.
    const QString key = table + QChar(0x1f) + columns.join(QChar(0x1f));
    auto head = d->insertHeads.constFind(key);
    if (head == d->insertHeads.constEnd()) {
        RecordsetData known;
        for (const FieldInfo &field : d->fieldsOf(table))
            known.addField(field);
        QStringList names;
        for (const QString &column : columns)
            names << QStringLiteral("[%1]").arg(known.fields[known.requireField(column)].name);
        head = d->insertHeads.insert(key, QStringLiteral("INSERT INTO [%1] (%2) VALUES ").arg(table, names.join(", ")));
    }
    const QString marks = QStringLiteral("(") + QStringList(columns.size(), QStringLiteral("?")).join(", ") + ")";

    int added = 0;
    for (qsizetype first = 0; first < rows.size(); first += InsertRowsPerStatement) {
        const qsizetype count = qMin<qsizetype>(InsertRowsPerStatement, rows.size() - first);
        QVariantList bindings;
        bindings.reserve(count * columns.size());
        for (qsizetype row = first; row < first + count; ++row) {
            if (rows[row].size() != columns.size())
                throw DbError(DbError::InvalidOperation, QStringLiteral("A row to add has %1 values for %2 columns")
                                                             .arg(rows[row].size())
                                                             .arg(columns.size()));
            for (const QVariant &value : rows[row])
                bindings << d->bindable(value);
        }
        added += d->runPrepared(*head + QStringList(count, marks).join(", "), bindings);
    }
    return added;
}

QList<Recordset> Connection::openSnapshots(const QStringList &statements) const
{
    // One UNION ALL of the statements, each a derived table of its own (its TOP and ORDER BY kept)
    // tagged with its place in the list. SQLite takes at most 500 parts in one.
    constexpr qsizetype PerStatement = 100;
    QList<Recordset> results;
    for (qsizetype first = 0; first < statements.size(); first += PerStatement) {
        const qsizetype count = qMin(PerStatement, statements.size() - first);
        QStringList parts;
        for (qsizetype i = 0; i < count; ++i)
            parts << QStringLiteral("SELECT %1 AS rfpart, rfq.* FROM (%2) rfq").arg(i).arg(statements[first + i]);
        const QString translated = translate(parts.join(QStringLiteral(" UNION ALL ")));
        RecordsetData all;
        d->withReconnect([&] {
            QSqlQuery q = d->exec(translated);
            fillFromQuery(all, q);
        });
        QList<Recordset> batch(count);
        for (Recordset &rs : batch) {
            RecordsetData &data = *rs.d;
            data.kind = RecordsetData::Kind::Snapshot;
            for (qsizetype field = 1; field < all.fields.size(); ++field)
                data.addField(all.fields[field]);
            data.open = true;
        }
        for (QVector<QVariant> &row : all.rows) {
            const qsizetype part = row.value(0).toLongLong();
            if (part < 0 || part >= count)
                throw DbError(DbError::GeneralError, QStringLiteral("A combined query answered a part it did not ask"));
            row.removeFirst();
            batch[part].d->rows.append(std::move(row));
        }
        for (Recordset &rs : batch)
            rs.d->pos = rs.d->rows.isEmpty() ? -1 : 0;
        results << batch;
    }
    return results;
}

bool Connection::answers() const
{
    if (!d->open || !d->database().isOpen())
        return false;
    return !d->odbc || d->alive();
}
