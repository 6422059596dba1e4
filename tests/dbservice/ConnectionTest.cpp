#include "Module1.h"
#include "ServerFixture.h"

#include <QDir>
#include <QFile>

namespace {

using ConnectionTest = ServerTest;

std::string constructionError()
{
    try {
        clsServer server;
    } catch (const DbError &e) {
        return e.description().toStdString();
    }
    return "no error";
}

TEST_F(ConnectionTest, DatabaseTypeChoosesTheConnection)
{
    struct Case
    {
        const char *type;
        bool odbc;
    };
    for (const Case c : {Case{"1", true}, Case{"1.0", true}, Case{" 1 ", true}, Case{"0", false}, Case{"2", false},
                         Case{"1.5", false}}) {
        SCOPED_TRACE(c.type);
        suite.setIni("Access", "DBType", c.type);
        startServer();
        EXPECT_EQ(server().usesOdbc(), c.odbc);
        EXPECT_EQ(server().connectionString(),
                  c.odbc ? "DSN=tl2002sql;uid=administrator;pwd=fern" : suite.databasePath());
    }
}

TEST_F(ConnectionTest, SettingsThatCannotChooseAConnectionStopConstruction)
{
    suite.setIni("Access", "DBType", "");
    EXPECT_NE(constructionError().find("DBType"), std::string::npos);
    suite.setIni("Access", "DBType", "Access");
    EXPECT_NE(constructionError().find("\"Access\""), std::string::npos);

    suite.setIni("Access", "DBType", "0");
    gProgramDir = suite.root() + "/programs/rf";
    EXPECT_NE(constructionError().find("admodule"), std::string::npos);
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
    EXPECT_TRUE(status.startsWith(QString::number(DbError::CannotOpen) + "|")) << status.toStdString();
    EXPECT_TRUE(status.contains(missing)) << status.toStdString();
    EXPECT_FALSE(QFile::exists(missing));

    EXPECT_EQ(server().Get_sqlResult("SELECT * FROM so").field(0).name, "blankfield");
    EXPECT_FALSE(QFile::exists(missing));

    suite.setIni("Access", "DBName", "");
    startServer();
    EXPECT_TRUE(server().Get_ConnStatus().contains("DBName"));
}

TEST_F(ConnectionTest, ConnectionOpensLazilyAndReopensWhenClosed)
{
    EXPECT_FALSE(server().connection().isOpen());
    EXPECT_EQ(server().Get_ConnStatus(), "");
    EXPECT_TRUE(server().connection().isOpen());

    server().connection().close();
    suite.exec("INSERT INTO terms VALUES ('NET30', 'Net 30');");
    Recordset rs = server().Get_sqlResult("SELECT uname FROM terms");
    EXPECT_EQ(rs.text("uname"), "Net 30");
    EXPECT_EQ(server().lastStatement(), "SELECT uname FROM terms");
}

TEST_F(ConnectionTest, BlankRecordSetAnswersFailedQueries)
{
    for (Recordset rs : {server().Get_Blank_Recordset(), server().Get_sqlResult("SELECT nonsense FROM nowhere")}) {
        ASSERT_EQ(rs.fieldCount(), 1);
        EXPECT_EQ(rs.field(0).name, "blankfield");
        EXPECT_EQ(rs.field(0).type, FieldType::Text);
        EXPECT_EQ(rs.field(0).size, 1);
        EXPECT_TRUE(rs.isOpen());
        EXPECT_TRUE(rs.eof());
        EXPECT_TRUE(rs.bof());
    }
}

} // namespace
