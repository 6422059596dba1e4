#include "support/TempSuite.h"

#include "runtime/PrivateProfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <stdexcept>

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + path.toStdString());
    return f.readAll();
}

const char *const OdbcVariables[] = {"RFSTATION_ODBC_DSN", "RFSTATION_ODBC_UID", "RFSTATION_ODBC_PWD"};

} // namespace

QString TempSuite::schemaPath(TestBackend backend)
{
    return backend == TestBackend::Sqlite ? QStringLiteral(RFSTATION_SOURCE_DIR "/schema/suite-sqlite.sql")
                                          : QStringLiteral(RFSTATION_SOURCE_DIR "/schema/suite-postgresql.sql");
}

QString TempSuite::demoDataPath() { return QStringLiteral(RFSTATION_SOURCE_DIR "/schema/demo-data.sql"); }

TempSuite::TempSuite(Data data, TestBackend backend)
{
    if (!m_dir.isValid())
        throw std::runtime_error("cannot create a temporary folder");
    m_root = m_dir.path() + "/Suite";
    QDir().mkpath(queueDir());
    QDir().mkpath(archiveDir());
    m_database = std::make_unique<TestDatabase>(backend, databasePath());
    exec(QString::fromUtf8(readAll(schemaPath(backend))));
    if (data != Data::Empty)
        exec(QString::fromUtf8(readAll(demoDataPath())));
    if (data == Data::Demo)
        exec("DELETE FROM sochanged; DELETE FROM sodetail; DELETE FROM so;");
    setIni("Access", "DBName", databasePath());
    setIni("Access", "DBType", backend == TestBackend::Sqlite ? "0" : "1");
    if (backend == TestBackend::PostgreSql) {
        const OdbcSource source = m_database->odbcSource();
        qputenv(OdbcVariables[0], source.dataSource.toUtf8());
        qputenv(OdbcVariables[1], source.user.toUtf8());
        qputenv(OdbcVariables[2], source.password.toUtf8());
    }
}

TempSuite::~TempSuite()
{
    if (m_database && m_database->backend() == TestBackend::PostgreSql)
        for (const char *variable : OdbcVariables)
            qunsetenv(variable);
}

void TempSuite::setIni(const QString &section, const QString &key, const QString &value) const
{
    QString error;
    if (!PrivateProfile::writeString(section, key, value, iniPath(), &error))
        throw std::runtime_error("cannot write settings: " + error.toStdString());
}

void TempSuite::writeFile(const QString &relativePath, const QByteArray &content) const
{
    const QString path = m_root + "/" + relativePath;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(content) != content.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}
