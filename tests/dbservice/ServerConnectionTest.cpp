#include "module1/Module1.h"
#include "dbservice/OrderRecords.h"
#include "dbservice/ServerFixture.h"

#include <QFile>
#include <QMap>

namespace {

using ConnectionTest = ServerTest;

QString constructionError(const QString &programDir)
{
    try {
        clsServer server(programDir, false);
    } catch (const DbError &e) {
        return e.description();
    }
    return "no error";
}

TEST_P(ConnectionTest, DatabaseTypeChoosesTheConnection)
{
    for (const auto &[type, odbc] : {std::pair{"1", true}, {"1.0", true}, {"0", false}, {"2", false}, {"1.5", false}}) {
        SCOPED_TRACE(type);
        suite().setIni("Access", "DBType", type);
        startServer();
        EXPECT_EQ(server().usesOdbc(), odbc);
        EXPECT_EQ(server().connectionString(), odbc ? server().odbcSource().displayText() : suite().databasePath());
    }
}

TEST_P(ConnectionTest, OdbcConnectionIsTheSuitesDataSourceUnlessTheEnvironmentNamesAnotherAndNeverShowsThePassword)
{
    if (!onSqlite())
        GTEST_SKIP() << "needs no server: runs once";
    suite().setIni("Access", "DBType", "1");
    for (const char *variable : {"RFSTATION_ODBC_DSN", "RFSTATION_ODBC_UID", "RFSTATION_ODBC_PWD"})
        qunsetenv(variable);
    startServer();
    const OdbcSource source = server().odbcSource();
    EXPECT_EQ(QStringList({source.dataSource, source.user, source.password}),
              QStringList({"tl2002sql", "administrator", "fern"}));
    EXPECT_EQ(server().connectionString(), "DSN=tl2002sql;uid=administrator;pwd=****");

    qputenv("RFSTATION_ODBC_DSN", "rfstation_no_such_source");
    qputenv("RFSTATION_ODBC_PWD", "s3cr3t");
    startServer();
    qunsetenv("RFSTATION_ODBC_DSN");
    qunsetenv("RFSTATION_ODBC_PWD");
    const QString status = server().Get_ConnStatus();
    EXPECT_TRUE(status.contains("Cannot connect to DSN=rfstation_no_such_source;uid=administrator;pwd=****: "))
        << status.toStdString();
    EXPECT_TRUE(status.contains("Data source name not found")) << status.toStdString(); // the driver manager's words
    EXPECT_FALSE(status.contains("s3cr3t"));
}

TEST_P(ConnectionTest, AWholeConnectionTextConnectsWithItsOwnCredentialsAndNoTextShowsItsPassword)
{
    if (onSqlite())
        GTEST_SKIP() << "needs a server";
    const OdbcSource test = suite().database().odbcSource();
    QMap<QByteArray, QByteArray> saved;
    for (const char *variable : {"RFSTATION_ODBC_DSN", "RFSTATION_ODBC_UID", "RFSTATION_ODBC_PWD"})
        saved.insert(variable, qgetenv(variable));
    // The text's own credentials win over the suite's (here wrong ones).
    qputenv("RFSTATION_ODBC_UID", "nobody");
    qputenv("RFSTATION_ODBC_PWD", "wrong");
    const QStringList texts = {"DSN=" + test.dataSource + ";UID=" + test.user + ";PWD=" + test.password,
                               "uid=" + test.user + ";Pwd={" + test.password + "};DSN=" + test.dataSource};
    for (const QString &text : texts) {
        SCOPED_TRACE(text.toStdString());
        qputenv("RFSTATION_ODBC_DSN", text.toUtf8());
        startServer();
        EXPECT_EQ(server().Get_ConnStatus(), "");
        EXPECT_FALSE(server().connectionString().contains(test.password)) << server().connectionString().toStdString();
    }
    qputenv("RFSTATION_ODBC_DSN", ("DSN=" + test.dataSource + ";UID=" + test.user + ";PWD={no;t it}").toUtf8());
    startServer();
    const QString status = server().Get_ConnStatus();
    EXPECT_TRUE(status.contains("PWD=****")) << status.toStdString();
    EXPECT_FALSE(status.contains("no;t it")) << status.toStdString();
    EXPECT_TRUE(server().serverUnreachable());
    for (auto it = saved.begin(); it != saved.end(); ++it)
        qputenv(it.key().constData(), it.value());
}

TEST_P(ConnectionTest, FailuresTellAnUnreachableDatabaseFromAnOrderOfItsOwn)
{
    suite().exec("INSERT INTO no_setup VALUES ('no_salesorder', 'SO', 6, 7); INSERT INTO item (uid) VALUES ('A1');");
    QString number = "Auto No.";
    Recordset header = orderHeader();
    Recordset detail = orderDetail();
    addLine(detail, "NOSUCH", 1);
    EXPECT_NE(server().Update_SalesOrder(number, 1, header, detail, 0), "");
    EXPECT_EQ(server().lastFailure(), clsServer::Failure::Order);
    EXPECT_EQ(server().Get_sqlResult("SELECT nonsense FROM nowhere").field(0).name, "blankfield");
    EXPECT_EQ(server().lastFailure(), clsServer::Failure::Order);
    EXPECT_EQ(server().Get_ConnStatus(), "");
    EXPECT_EQ(server().lastFailure(), clsServer::Failure::None);

    if (onSqlite()) {
        suite().setIni("Access", "DBName", suite().root() + "/gone.db");
    } else {
        qputenv("RFSTATION_ODBC_DSN", "rfstation_no_such_source");
    }
    startServer();
    EXPECT_NE(server().Get_ConnStatus(), "");
    EXPECT_TRUE(server().serverUnreachable());
    EXPECT_NE(server().Update_SalesOrder(number, 1, header, detail, 0), "");
    EXPECT_TRUE(server().serverUnreachable());
    if (!onSqlite())
        qputenv("RFSTATION_ODBC_DSN", suite().database().odbcSource().dataSource.toUtf8());
}

TEST_P(ConnectionTest, LostServerConnectionIsMadeAgainByTheNextOperation)
{
    if (onSqlite())
        GTEST_SKIP() << "an embedded database has no server connection to lose";
    suite().exec("INSERT INTO terms VALUES ('NET30', 'Net 30'); INSERT INTO no_setup VALUES ('no_salesorder', 'SO', 6, 7);"
                 "INSERT INTO item (uid, itemrow, itemcol) VALUES ('A1', '', '');");
    const auto session = [this] { return server().Get_sqlResult("SELECT pg_backend_pid() AS pid").value("pid").toLongLong(); };
    const qint64 first = session();
    suite().database().terminateSession(first);
    EXPECT_EQ(server().Get_sqlResult("SELECT uname FROM terms").text("uname"), "Net 30");
    const qint64 second = session();
    EXPECT_NE(second, first);

    suite().database().terminateSession(second);
    QString number = "Auto No.";
    Recordset header = orderHeader();
    Recordset detail = orderDetail();
    addLine(detail, "A1", 2);
    EXPECT_EQ(server().Update_SalesOrder(number, 1, header, detail, 0), "");
    EXPECT_EQ(number, "SO000007");
}

TEST_P(ConnectionTest, SettingsThatCannotChooseAConnectionStopConstruction)
{
    suite().setIni("Access", "DBType", "");
    EXPECT_TRUE(constructionError(programDir).contains("DBType"));
    suite().setIni("Access", "DBType", "Access");
    EXPECT_TRUE(constructionError(programDir).contains("\"Access\""));
    suite().setIni("Access", "DBType", "0");
    programDir = suite().root() + "/programs/rf";
    EXPECT_TRUE(constructionError(programDir).contains("admodule"));
}

TEST_P(ConnectionTest, SuiteRootKeepsItsCaseAndTradeShowReadsTheShowDatabase)
{
    programDir = suite().root() + "/ADMODULE/rf";
    tradeShow = true;
    suite().setIni("Access", "DBNameShow", suite().root() + "/show.db");
    startServer();
    EXPECT_EQ(server().suiteRoot(), suite().root());
    EXPECT_EQ(server().databaseName(), suite().root() + "/show.db");
}

TEST_P(ConnectionTest, MissingDatabaseFileIsAConnectionErrorAndIsNotCreated)
{
    suite().setIni("Access", "DBType", "0");
    const QString missing = suite().root() + "/gone.db";
    suite().setIni("Access", "DBName", missing);
    startServer();
    const QString status = server().Get_ConnStatus();
    EXPECT_TRUE(status.startsWith("14|") && status.contains(missing)) << status.toStdString();
    EXPECT_EQ(server().Get_sqlResult("SELECT * FROM so").field(0).name, "blankfield");
    EXPECT_FALSE(QFile::exists(missing));
}

TEST_P(ConnectionTest, ConnectionOpensLazilyAndReopensWhenClosed)
{
    EXPECT_FALSE(server().connection().isOpen());
    EXPECT_EQ(server().Get_ConnStatus(), "");
    server().connection().close();
    suite().exec("INSERT INTO terms VALUES ('NET30', 'Net 30');");
    EXPECT_EQ(server().Get_sqlResult("SELECT uname FROM terms").text("uname"), "Net 30");
}

TEST_P(ConnectionTest, BlankRecordSetAnswersFailedQueries)
{
    for (const Recordset &rs : {server().Get_Blank_Recordset(), server().Get_sqlResult("SELECT nonsense FROM nowhere")}) {
        ASSERT_EQ(rs.fieldCount(), 1);
        EXPECT_EQ(rs.field(0).name, "blankfield");
        EXPECT_TRUE(rs.isOpen() && rs.eof() && rs.bof());
    }
    EXPECT_TRUE(server().lastErrorText().contains("nowhere")) << server().lastErrorText().toStdString();
}

RF_TEST_ALL_BACKENDS(ConnectionTest);

} // namespace
