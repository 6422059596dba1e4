#include "BenchSupport.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <sqlite3.h>

namespace BenchSupport {

qint64 cpuNs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

bool runScript(const QString &database, const QByteArray &script)
{
    sqlite3 *db = nullptr;
    bool ok = sqlite3_open(QFile::encodeName(database).constData(), &db) == SQLITE_OK;
    char *message = nullptr;
    ok = ok && sqlite3_exec(db, script.constData(), nullptr, nullptr, &message) == SQLITE_OK;
    if (!ok)
        std::fprintf(stderr, "SQL failed: %s\n", message ? message : sqlite3_errmsg(db));
    sqlite3_free(message);
    sqlite3_close(db);
    return ok;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int intOption(int argc, char *argv[], const char *name, int fallback)
{
    int value = fallback;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], name) == 0)
            value = std::atoi(argv[i + 1]);
    return value;
}

QString textOption(int argc, char *argv[], const char *name)
{
    QString value;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], name) == 0)
            value = QString::fromLocal8Bit(argv[i + 1]);
    return value;
}

namespace {

const QString Role = QStringLiteral("rfbench");

QString environmentOr(const char *variable, const char *fallback)
{
    return qEnvironmentVariableIsSet(variable) ? qEnvironmentVariable(variable) : QString::fromLatin1(fallback);
}

bool runOn(const QSqlDatabase &db, const QString &script)
{
    QSqlQuery q(db);
    if (q.exec(script)) // the driver runs a script of several statements in one go
        return true;
    std::fprintf(stderr, "SQL failed: %s\n", qPrintable(q.lastError().text()));
    return false;
}

} // namespace

SuiteDatabase::SuiteDatabase(QString root, QString dataSource)
    : m_root(std::move(root)), m_dataSource(std::move(dataSource)), m_connection(QStringLiteral("bench-suite"))
{
}

SuiteDatabase::~SuiteDatabase()
{
    QSqlDatabase::database(m_connection, false).close();
    QSqlDatabase::removeDatabase(m_connection);
}

bool SuiteDatabase::create(const QList<QByteArray> &scripts)
{
    const QString file = m_root + "/suite.db";
    QFile ini(m_root + "/tolvaacc.ini");
    if (!ini.open(QIODevice::WriteOnly)
        || ini.write(("[Access]\r\nDBName=" + file + "\r\nDBType=" + (m_dataSource.isEmpty() ? "0" : "1") + "\r\n")
                         .toLocal8Bit())
               < 0) {
        std::fprintf(stderr, "cannot write the settings file in %s\n", qPrintable(m_root));
        return false;
    }
    if (m_dataSource.isEmpty()) {
        for (const QByteArray &script : scripts)
            if (!runScript(file, script))
                return false;
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
        db.setDatabaseName(file);
        return db.open();
    }

    {
        QSqlDatabase admin = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), QStringLiteral("bench-admin"));
        admin.setDatabaseName(m_dataSource);
        const bool ok = admin.open(environmentOr("RFSTATION_TEST_UID", "administrator"),
                                   environmentOr("RFSTATION_TEST_PWD", "fern"))
                        && runOn(admin, QStringLiteral("DROP SCHEMA IF EXISTS %1 CASCADE; DROP ROLE IF EXISTS %1; "
                                                       "CREATE ROLE %1 LOGIN PASSWORD '%1'; "
                                                       "CREATE SCHEMA %1 AUTHORIZATION %1")
                                                    .arg(Role));
        // Where libpq finds the same server (the socket folder is the superuser's to read).
        QSqlQuery where(admin);
        if (ok
            && where.exec(QStringLiteral("SELECT COALESCE(host(inet_server_addr()), split_part(current_setting("
                                         "'unix_socket_directories'), ',', 1)), current_setting('port'), "
                                         "current_database()"))
            && where.next())
            m_libpqParameters =
                QStringLiteral("host=%1 port=%2 dbname=%3 user=%4 password=%4")
                    .arg(where.value(0).toString(), where.value(1).toString(), where.value(2).toString(), Role);
        where.finish();
        if (!ok)
            std::fprintf(stderr, "cannot prepare the data source %s: %s\n", qPrintable(m_dataSource),
                         qPrintable(admin.lastError().text()));
        admin.close();
        if (!ok)
            return false;
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench-admin"));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), m_connection);
    db.setDatabaseName(m_dataSource);
    if (!db.open(Role, Role)) {
        std::fprintf(stderr, "cannot connect as %s: %s\n", qPrintable(Role), qPrintable(db.lastError().text()));
        return false;
    }
    for (const QByteArray &script : scripts)
        if (!runOn(db, QString::fromUtf8(script)))
            return false;
    qputenv("RFSTATION_ODBC_DSN", m_dataSource.toLocal8Bit());
    qputenv("RFSTATION_ODBC_UID", Role.toLocal8Bit());
    qputenv("RFSTATION_ODBC_PWD", Role.toLocal8Bit());
    return true;
}

bool SuiteDatabase::createForStation(const QString &sourceDir)
{
    const QString schema = m_dataSource.isEmpty() ? "suite-sqlite.sql" : "suite-postgresql.sql";
    if (!QDir().mkpath(queueDir()) || !QDir().mkpath(archiveDir())) {
        std::fprintf(stderr, "cannot make the program folder %s\n", qPrintable(programDir()));
        return false;
    }
    return create({readFile(sourceDir + "/schema/" + schema), readFile(sourceDir + "/schema/demo-data.sql"),
                   QByteArray("DELETE FROM sochanged; DELETE FROM sodetail; DELETE FROM so;")});
}

double SuiteDatabase::number(const QString &query) const
{
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    return q.exec(query) && q.next() ? q.value(0).toDouble() : -1;
}

QString SuiteDatabase::label() const
{
    if (m_dataSource.isEmpty())
        return QStringLiteral("SQLite (WAL)");
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    const QString version = q.exec(QStringLiteral("SHOW server_version")) && q.next() ? q.value(0).toString() : QString();
    return QStringLiteral("PostgreSQL %1 through ODBC (data source %2)").arg(version, m_dataSource);
}

bool startStation(QProcess &station, const QString &executable, const QString &programDir, QByteArray &log)
{
    station.setProgram(executable);
    station.setArguments({"--headless", "--program-dir", programDir, "--print-qty", "0"});
    station.setProcessChannelMode(QProcess::MergedChannels);
    station.start();
    const QDeadlineTimer ready(30000);
    while (!log.contains("watching") && !ready.hasExpired() && station.state() != QProcess::NotRunning) {
        station.waitForReadyRead(100);
        log += station.readAll();
    }
    if (log.contains("watching"))
        return true;
    std::fprintf(stderr, "the station did not start:\n%s\n", log.constData());
    return false;
}

} // namespace BenchSupport
