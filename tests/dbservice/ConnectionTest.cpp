#include "Module1.h"
#include "ServerFixture.h"

#include <QFile>

namespace {

using ConnectionTest = ServerTest;

QString constructionError()
{
    try {
        clsServer server;
    } catch (const DbError &e) {
        return e.description();
    }
    return "no error";
}

TEST_F(ConnectionTest, DatabaseTypeChoosesTheConnection)
{
    for (const auto &[type, odbc] : {std::pair{"1", true}, {"1.0", true}, {"0", false}, {"2", false}, {"1.5", false}}) {
        SCOPED_TRACE(type);
        suite.setIni("Access", "DBType", type);
        startServer();
        EXPECT_EQ(server().connectionString(), odbc ? "DSN=tl2002sql;uid=administrator;pwd=fern" : suite.databasePath());
    }
}

TEST_F(ConnectionTest, SettingsThatCannotChooseAConnectionStopConstruction)
{
    suite.setIni("Access", "DBType", "");
    EXPECT_TRUE(constructionError().contains("DBType"));
    suite.setIni("Access", "DBType", "Access");
    EXPECT_TRUE(constructionError().contains("\"Access\""));
    suite.setIni("Access", "DBType", "0");
    gProgramDir = suite.root() + "/programs/rf";
    EXPECT_TRUE(constructionError().contains("admodule"));
}

TEST_F(ConnectionTest, SuiteRootKeepsItsCaseAndTradeShowReadsTheShowDatabase)
{
    gProgramDir = suite.root() + "/ADMODULE/rf";
    gTradeShow = true;
    suite.setIni("Access", "DBNameShow", suite.root() + "/show.db");
    startServer();
    EXPECT_EQ(gSuiteRoot, suite.root());
    EXPECT_EQ(server().databaseName(), suite.root() + "/show.db");
}

TEST_F(ConnectionTest, MissingDatabaseFileIsAConnectionErrorAndIsNotCreated)
{
    const QString missing = suite.root() + "/gone.db";
    suite.setIni("Access", "DBName", missing);
    startServer();
    const QString status = server().Get_ConnStatus();
    EXPECT_TRUE(status.startsWith("14|") && status.contains(missing)) << status.toStdString();
    EXPECT_EQ(server().Get_sqlResult("SELECT * FROM so").field(0).name, "blankfield");
    EXPECT_FALSE(QFile::exists(missing));
}

TEST_F(ConnectionTest, ConnectionOpensLazilyAndReopensWhenClosed)
{
    EXPECT_FALSE(server().connection().isOpen());
    EXPECT_EQ(server().Get_ConnStatus(), "");
    server().connection().close();
    suite.exec("INSERT INTO terms VALUES ('NET30', 'Net 30');");
    EXPECT_EQ(server().Get_sqlResult("SELECT uname FROM terms").text("uname"), "Net 30");
}

TEST_F(ConnectionTest, BlankRecordSetAnswersFailedQueries)
{
    for (Recordset rs : {server().Get_Blank_Recordset(), server().Get_sqlResult("SELECT nonsense FROM nowhere")}) {
        ASSERT_EQ(rs.fieldCount(), 1);
        EXPECT_EQ(rs.field(0).name, "blankfield");
        EXPECT_EQ(rs.field(0).size, 1);
        EXPECT_TRUE(rs.isOpen() && rs.eof() && rs.bof());
    }
}

} // namespace
