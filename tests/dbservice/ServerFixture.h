#pragma once

#include "TempSuite.h"
#include "clsServer.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>

// Readable failure output for texts.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

// A database service on a fresh, empty suite: settings file, SQLite database from the schema,
// program folder. gServer points at the service while a test runs.
class ServerTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Builds the service anew from the suite's current settings.
    void startServer();
    clsServer &server() { return *m_server; }

    // Every row of the tables as text: equal before and after means nothing was written.
    QString contents(const QStringList &tables) const;

    TempSuite suite;
    std::unique_ptr<clsServer> m_server;
};
