#include "dbservice/ServerFixture.h"

#include "module1/Module1.h"

void ServerTest::SetUp()
{
    RF_SKIP_UNLESS_CONFIGURED(GetParam());
    m_suite = std::make_unique<TempSuite>(TempSuite::Data::Empty, GetParam());
    programDir = suite().programDir();
    startServer();
}

void ServerTest::TearDown()
{
    m_server.reset();
    m_suite.reset();
}

void ServerTest::startServer()
{
    m_server.reset();
    m_server = std::make_unique<clsServer>(programDir, tradeShow);
}

QString ServerTest::contents(const QStringList &tables) const
{
    QString text;
    for (const QString &table : tables)
        text += "[" + table + "]\n" + suite().database().rows("SELECT * FROM " + table + " ORDER BY 1, 2, 3").join('\n') + "\n";
    return text;
}
