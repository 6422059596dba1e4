#pragma once

#include "support/TempSuite.h"
#include "dbservice/clsServer.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>

// Readable failure output for texts.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

// A database service on a fresh, empty suite on one backend (the test's parameter): settings
// file, database from the schema, program folder. Tests of a backend that is not configured are skipped; a fixture deriving from this one
// returns from its SetUp when IsSkipped().
class ServerTest : public ::testing::TestWithParam<TestBackend>
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Builds the service anew from the suite's current settings.
    void startServer();
    bool tradeShow = false; // the mode the next startServer() connects in
    QString programDir;     // the program folder it is started from
    clsServer &server() { return *m_server; }
    TempSuite &suite() { return *m_suite; }
    const TempSuite &suite() const { return *m_suite; }
    bool onSqlite() const { return GetParam() == TestBackend::Sqlite; }

    // Every row of the tables as text: equal before and after means nothing was written.
    QString contents(const QStringList &tables) const;

    std::unique_ptr<TempSuite> m_suite;
    std::unique_ptr<clsServer> m_server;
};
