#include "TestDatabase.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <sqlite3.h>
#include <stdexcept>

namespace {

QString adminUser()
{
    return qEnvironmentVariableIsSet("RFSTATION_TEST_UID") ? qEnvironmentVariable("RFSTATION_TEST_UID")
                                                            : QStringLiteral("administrator");
}

QString adminPassword()
{
    return qEnvironmentVariableIsSet("RFSTATION_TEST_PWD") ? qEnvironmentVariable("RFSTATION_TEST_PWD")
                                                            : QStringLiteral("fern");
}

[[noreturn]] void fail(const QString &what, const QString &detail)
{
    throw std::runtime_error((what + ": " + detail).toStdString());
}

struct Sqlite
{
    sqlite3 *handle = nullptr;
    explicit Sqlite(const QString &path)
    {
        if (sqlite3_open(QFile::encodeName(path).constData(), &handle) != SQLITE_OK)
            fail("cannot open", path);
        sqlite3_busy_timeout(handle, 5000);
    }
    ~Sqlite() { sqlite3_close(handle); }
};

QVariant sqliteValue(sqlite3_stmt *stmt, int column)
{
    switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_INTEGER: return qlonglong(sqlite3_column_int64(stmt, column));
    case SQLITE_FLOAT: return sqlite3_column_double(stmt, column);
    case SQLITE_NULL: return QVariant(QMetaType(QMetaType::QString));
    default: return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, column)));
    }
}

// Every row of a query as its values.
QList<QVariantList> sqliteRows(const QString &path, const QString &query)
{
    Sqlite db(path);
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(db.handle, query.toUtf8().constData(), -1, &stmt, nullptr) != SQLITE_OK)
        fail("SQL failed", QString::fromUtf8(sqlite3_errmsg(db.handle)));
    QList<QVariantList> rows;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        QVariantList row;
        for (int i = 0; i < sqlite3_column_count(stmt); ++i)
            row << sqliteValue(stmt, i);
        rows << row;
    }
    sqlite3_finalize(stmt);
    return rows;
}

QList<QVariantList> serverRows(const QString &connection, const QString &query)
{
    QSqlQuery q(QSqlDatabase::database(connection, false));
    q.setForwardOnly(true);
    if (!q.exec(query))
        fail("SQL failed", q.lastError().text());
    QList<QVariantList> rows;
    while (q.next()) {
        QVariantList row;
        for (int i = 0; i < q.record().count(); ++i)
            row << q.value(i);
        rows << row;
    }
    return rows;
}

} // namespace

bool isConfigured(TestBackend backend)
{
    return backend == TestBackend::Sqlite || !qEnvironmentVariableIsEmpty("RFSTATION_TEST_DSN");
}

std::vector<TestBackend> allTestBackends()
{
    return {TestBackend::Sqlite, TestBackend::PostgreSql};
}

std::string testBackendName(const ::testing::TestParamInfo<TestBackend> &info)
{
    return info.param == TestBackend::Sqlite ? "Sqlite" : "PostgreSql";
}

TestDatabase::TestDatabase(TestBackend backend, const QString &sqliteFile)
    : m_backend(backend), m_sqliteFile(sqliteFile)
{
    if (backend == TestBackend::Sqlite) {
        Sqlite create(sqliteFile);
        return;
    }
    if (!isConfigured(backend))
        throw std::runtime_error("PostgreSQL is not configured: RFSTATION_TEST_DSN names no data source");
    static QAtomicInt counter;
    const QString role = QStringLiteral("rft_%1_%2").arg(QCoreApplication::applicationPid()).arg(counter.fetchAndAddRelaxed(1));
    m_source = {qEnvironmentVariable("RFSTATION_TEST_DSN"), role, "pw" + role};
    const QString admin = openServerConnection(adminUser(), adminPassword());
    runOn(admin, QStringLiteral("DROP SCHEMA IF EXISTS %1 CASCADE; DROP ROLE IF EXISTS %1;"
                                "CREATE ROLE %1 LOGIN PASSWORD '%2'; CREATE SCHEMA %1 AUTHORIZATION %1")
                     .arg(role, m_source.password));
    QSqlDatabase::removeDatabase(admin);
    m_connection = openServerConnection(m_source.user, m_source.password);
}

TestDatabase::~TestDatabase()
{
    if (m_backend == TestBackend::Sqlite || m_connection.isEmpty())
        return;
    QSqlDatabase::database(m_connection, false).close();
    QSqlDatabase::removeDatabase(m_connection);
    try {
        const QString admin = openServerConnection(adminUser(), adminPassword());
        runOn(admin, QStringLiteral("DROP SCHEMA %1 CASCADE; DROP ROLE %1").arg(m_source.user));
        QSqlDatabase::removeDatabase(admin);
    } catch (const std::exception &) {
        // A server gone already takes the role with it; nothing else to clean.
    }
}

QString TestDatabase::openServerConnection(const QString &user, const QString &password) const
{
    static QAtomicInt counter;
    const QString name = QStringLiteral("testdb-%1").arg(counter.fetchAndAddRelaxed(1));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), name);
    db.setDatabaseName(m_source.dataSource);
    if (!db.open(user, password)) {
        const QString error = db.lastError().text();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
        fail("cannot connect to the test data source " + m_source.dataSource, error);
    }
    return name;
}

void TestDatabase::runOn(const QString &connection, const QString &script) const
{
    // The driver runs a script of several statements in one go, its BEGIN and COMMIT included.
    QSqlQuery q(QSqlDatabase::database(connection, false));
    if (!q.exec(script))
        fail("SQL failed", q.lastError().text());
}

void TestDatabase::exec(const QString &script) const
{
    if (m_backend == TestBackend::PostgreSql) {
        runOn(m_connection, script);
        return;
    }
    Sqlite db(m_sqliteFile);
    char *message = nullptr;
    if (sqlite3_exec(db.handle, script.toUtf8().constData(), nullptr, nullptr, &message) != SQLITE_OK) {
        const QString text = QString::fromUtf8(message ? message : "unknown error");
        sqlite3_free(message);
        fail("SQL failed", text);
    }
}

QVariant TestDatabase::scalar(const QString &query) const
{
    const QList<QVariantList> found =
        m_backend == TestBackend::Sqlite ? sqliteRows(m_sqliteFile, query) : serverRows(m_connection, query);
    return found.isEmpty() || found.first().isEmpty() ? QVariant() : found.first().first();
}

int TestDatabase::count(const QString &query) const
{
    return scalar("SELECT COUNT(*) FROM (" + query + ") AS counted").toInt();
}

QStringList TestDatabase::rows(const QString &query) const
{
    QStringList lines;
    const QList<QVariantList> found =
        m_backend == TestBackend::Sqlite ? sqliteRows(m_sqliteFile, query) : serverRows(m_connection, query);
    for (const QVariantList &row : found) {
        QString line;
        for (const QVariant &value : row)
            line += text(value) + "|";
        lines << line;
    }
    return lines;
}

void TestDatabase::terminateSession(qint64 serverPid) const
{
    if (m_backend != TestBackend::PostgreSql)
        throw std::runtime_error("only server sessions can be ended");
    const QString admin = openServerConnection(adminUser(), adminPassword());
    const QList<QVariantList> ended =
        serverRows(admin, QStringLiteral("SELECT pg_terminate_backend(%1, 30000)").arg(serverPid));
    QSqlDatabase::removeDatabase(admin);
    if (ended.isEmpty() || !QVariant(ended.first().first()).toBool())
        fail("cannot end the server session", QString::number(serverPid));
}

QString TestDatabase::text(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return QStringLiteral("<null>");
    switch (value.metaType().id()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(value.toDouble(), 'g', 15);
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    case QMetaType::QTime:
        return value.toTime().toString(QStringLiteral("hh:mm:ss"));
    case QMetaType::QDateTime: {
        const QDateTime when = value.toDateTime();
        return when.time() == QTime(0, 0) ? when.toString(QStringLiteral("yyyy-MM-dd"))
                                          : when.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    }
    default:
        return value.toString();
    }
}
