#include "sqlaccess/Connection.h"
#include "sqlaccess/ConnectionText.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(ConnectionText, EveryPasswordValueIsMaskedAndNothingElse)
{
    const struct
    {
        const char *text, *masked;
    } cases[] = {
        {"DSN=tl2002sql;uid=administrator;pwd=fern", "DSN=tl2002sql;uid=administrator;pwd=****"},
        {"DSN=x;UID=joe;PWD={se;cr}}et};Port=5432", "DSN=x;UID=joe;PWD=****;Port=5432"},
        {"Password = s3cr3t ;DSN=x", "Password = ****;DSN=x"},
        {"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=c:\\s.mdb;Jet OLEDB:Database Password=qmtervalpix",
         "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=c:\\s.mdb;Jet OLEDB:Database Password=****"},
        {"DSN=x;pqopt={sslmode=require password=inner};PWD=", "DSN=x;pqopt={sslmode=require password=****;PWD="},
        // A message quoting a connection: the value runs to the next ";" or the line's end.
        {"Cannot connect to DSN=x;PwD=abc: [unixODBC] login failed\nnext line",
         "Cannot connect to DSN=x;PwD=****\nnext line"},
        {"DSN=pwdserver;Database=password_store", "DSN=pwdserver;Database=password_store"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(MaskConnectionSecrets(c.text).toStdString(), c.masked);
    }
}

TEST(ConnectionText, DataSourceNamesAndWholeConnectionTextsGetTheCredentialsTheyLack)
{
    const struct
    {
        OdbcSource source;
        const char *connection, *shown;
    } cases[] = {
        {{"tl2002sql", "administrator", "fern"},
         "DSN=tl2002sql;UID=administrator;PWD=fern",
         "DSN=tl2002sql;uid=administrator;pwd=****"},
        {{"tl2002sql;Protocol=7.4-2", "administrator", ""},
         "DSN=tl2002sql;Protocol=7.4-2;UID=administrator",
         "DSN=tl2002sql;Protocol=7.4-2;uid=administrator;pwd="},
        // A whole text keeps its own credentials; the suite's are added only where it has none.
        {{"DSN=site;UID=joe;PWD=s3cr3t", "administrator", "fern"},
         "DSN=site;UID=joe;PWD=s3cr3t",
         "DSN=site;UID=joe;PWD=****"},
        {{"uid=joe;dsn=site", "administrator", "a;b"}, "dsn=site;uid=joe;PWD={a;b}", "dsn=site;uid=joe;PWD=****"},
        {{"DRIVER={PostgreSQL Unicode};SERVER=db;DATABASE=suite", "", "fern"},
         "DRIVER={PostgreSQL Unicode};SERVER=db;DATABASE=suite;PWD=fern",
         "DRIVER={PostgreSQL Unicode};SERVER=db;DATABASE=suite;PWD=****"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.source.dataSource.toStdString());
        EXPECT_EQ(c.source.connectionText().toStdString(), c.connection);
        EXPECT_EQ(c.source.displayText().toStdString(), c.shown);
    }
}

TEST(ConnectionText, DataSourceSettingsAreReadFromTheUsersOdbcIni)
{
    QTemporaryDir dir;
    QFile ini(dir.filePath("odbc.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[rf_own_protocol]\nDriver = PostgreSQL Unicode\nProtocol = 7.4-2\n\n[rf_plain]\nDriver = PostgreSQL "
              "Unicode\n");
    ini.close();
    const QByteArray before = qgetenv("ODBCINI");
    qputenv("ODBCINI", QFile::encodeName(ini.fileName()));
    EXPECT_EQ(OdbcDataSourceSetting("rf_own_protocol", "Protocol"), "7.4-2");
    EXPECT_EQ(OdbcDataSourceSetting("rf_plain", "Protocol"), "");
    EXPECT_EQ(OdbcDataSourceSetting("rf_no_such_source", "Protocol"), "");
    if (before.isNull())
        qunsetenv("ODBCINI");
    else
        qputenv("ODBCINI", before);
}

} // namespace
