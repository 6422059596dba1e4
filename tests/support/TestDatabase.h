#pragma once

#include "sqlaccess/Connection.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <gtest/gtest.h>
#include <string>
#include <vector>

// The backends the database tests run over: SQLite always; PostgreSQL through ODBC when the
// environment variable RFSTATION_TEST_DSN names a data source whose superuser is RFSTATION_TEST_UID
// (default "administrator") with password RFSTATION_TEST_PWD (default "fern"). tools/pg-cluster
// starts such a throw-away server; tools/test runs the tests with it.
enum class TestBackend { Sqlite, PostgreSql };

bool isConfigured(TestBackend backend);
// Every backend, for INSTANTIATE_TEST_SUITE_P; the tests of one not configured skip themselves.
std::vector<TestBackend> allTestBackends();
std::string testBackendName(const ::testing::TestParamInfo<TestBackend> &info);

// Instantiates a parameterised suite over every backend.
#define RF_TEST_ALL_BACKENDS(Suite) \
    INSTANTIATE_TEST_SUITE_P(Backends, Suite, ::testing::ValuesIn(allTestBackends()), testBackendName)

// Skips the running test when its backend is not configured.
#define RF_SKIP_UNLESS_CONFIGURED(backend)                                                      \
    do {                                                                                        \
        if (!isConfigured(backend))                                                             \
            GTEST_SKIP() << "PostgreSQL is not configured: RFSTATION_TEST_DSN names no data source"; \
    } while (false)

// A throw-away database on one backend. SQLite: the file given. PostgreSQL: a login role of its
// own with a schema of the same name, first on the role's search path, so the tables of every
// test are apart even when tests run side by side; dropped at the end. Scripts and queries run on
// a connection of its own, outside the code under test. Failures throw std::runtime_error.
class TestDatabase
{
public:
    TestDatabase(TestBackend backend, const QString &sqliteFile);
    ~TestDatabase();
    TestDatabase(const TestDatabase &) = delete;
    TestDatabase &operator=(const TestDatabase &) = delete;

    TestBackend backend() const { return m_backend; }
    // Where the code under test connects on PostgreSQL: the data source as this role.
    OdbcSource odbcSource() const { return m_source; }

    // Statements separated by ";".
    void exec(const QString &script) const;
    // First column of the first row, or an invalid QVariant when there is no row.
    QVariant scalar(const QString &query) const;
    int count(const QString &query) const;
    // Every row as "value|value|...|", each value as text() gives it.
    QStringList rows(const QString &query) const;
    // Ends the server session with that process id and waits until it has ended: a server
    // restart as the program's connection sees it.
    void terminateSession(qint64 serverPid) const;

    // A stored value as text the same on every backend: numbers in their shortest form, dates
    // 'yyyy-MM-dd' (with ' hh:mm:ss' when not midnight), times 'hh:mm:ss', null "<null>".
    static QString text(const QVariant &value);

private:
    QString openServerConnection(const QString &user, const QString &password) const;
    void runOn(const QString &connection, const QString &script) const;
    const QString &readConnection() const;

    TestBackend m_backend;
    QString m_sqliteFile;
    OdbcSource m_source;
    QString m_connection; // the Qt connection of the test's own session
    mutable quint64 m_sqliteInode = 0; // the file the SQLite connection has open
};
