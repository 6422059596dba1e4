#include "support/TestDatabase.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QSqlDatabase>

#include <sys/stat.h>
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

QString newConnectionName()
{
    static QAtomicInt counter;
    return QStringLiteral("testdb-%1").arg(counter.fetchAndAddRelaxed(1));
}

// Every row of a query as its values.
QList<QVariantList> rowsOf(const QString &connection, const QString &query)
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
        m_connection = newConnectionName();
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
        db.setDatabaseName(sqliteFile);
        if (!db.open())
            fail("cannot open", sqliteFile);
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
    if (m_connection.isEmpty())
        return;
    QSqlDatabase::database(m_connection, false).close();
    QSqlDatabase::removeDatabase(m_connection);
    if (m_backend == TestBackend::Sqlite)
        return;
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
    const QString name = newConnectionName();
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
    if (!script.trimmed().isEmpty() && !q.exec(script))
        fail("SQL failed", q.lastError().text());
}

void TestDatabase::exec(const QString &script) const
{
    if (m_backend == TestBackend::PostgreSql) {
        runOn(m_connection, script);
        return;
    }
    sqlite3 *db = nullptr;
    char *message = nullptr;
    const bool ok = sqlite3_open(QFile::encodeName(m_sqliteFile).constData(), &db) == SQLITE_OK
                    && sqlite3_busy_timeout(db, 5000) == SQLITE_OK
                    && sqlite3_exec(db, script.toUtf8().constData(), nullptr, nullptr, &message) == SQLITE_OK;
    const QString text = QString::fromUtf8(message ? message : sqlite3_errmsg(db));
    sqlite3_free(message);
    sqlite3_close(db);
    if (!ok)
        fail("SQL failed", text);
}

const QString &TestDatabase::readConnection() const
{
    // A test may replace the SQLite file under the program: reads then open the new file.
    if (m_backend == TestBackend::Sqlite) {
        struct stat st = {};
        const quint64 inode = ::stat(QFile::encodeName(m_sqliteFile).constData(), &st) == 0 ? quint64(st.st_ino) : 0;
        if (inode != m_sqliteInode) {
            QSqlDatabase db = QSqlDatabase::database(m_connection, false);
            db.close();
            if (!db.open())
                fail("cannot open", m_sqliteFile);
            m_sqliteInode = inode;
        }
    }
    return m_connection;
}

QVariant TestDatabase::scalar(const QString &query) const
{
    const QList<QVariantList> found = rowsOf(readConnection(), query);
    return found.isEmpty() || found.first().isEmpty() ? QVariant() : found.first().first();
}

int TestDatabase::count(const QString &query) const
{
    return scalar("SELECT COUNT(*) FROM (" + query + ") AS counted").toInt();
}

QStringList TestDatabase::rows(const QString &query) const
{
    QStringList lines;
    for (const QVariantList &row : rowsOf(readConnection(), query)) {
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
        rowsOf(admin, QStringLiteral("SELECT pg_terminate_backend(%1, 30000)").arg(serverPid));
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
