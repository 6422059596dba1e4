#include "dbservice/clsServer.h"

#include "dbservice/SuiteOdbcSource.h"
#include "runtime/SharedRoutines.h"
#include "runtime/VbFormat.h"
#include "sqlaccess/ConnectionText.h"

#include <QDir>
#include <exception>

clsServer::clsServer(const QString &programDir, bool tradeShow)
    : m_now([] { return QDateTime::currentDateTime(); })
{
    const std::optional<QString> root = SuiteRootOf(programDir);
    if (!root)
        throw DbError(DbError::GeneralError,
                      QStringLiteral("The program folder %1 is not inside the suite's admodule folder.")
                          .arg(QDir::toNativeSeparators(programDir)));
    m_suiteRoot = *root;
    m_iniPath = ChildPath(m_suiteRoot, QStringLiteral("tolvaacc.ini"));

    m_databaseKey = tradeShow ? QStringLiteral("DBNameShow") : QStringLiteral("DBName");
    m_databaseName = ReadIniValue(QStringLiteral("Access"), m_databaseKey, m_iniPath);
    m_databaseType = ReadIniValue(QStringLiteral("Access"), QStringLiteral("DBType"), m_iniPath);

    // Without a numeric type there is no way to choose the kind of database.
    const std::optional<double> type = vb::parseNumber(m_databaseType);
    if (!type) {
        const QString file = QDir::toNativeSeparators(m_iniPath);
        throw DbError(DbError::GeneralError,
                      m_databaseType.trimmed().isEmpty()
                          ? QStringLiteral("The setting [Access] DBType is missing or empty in %1.").arg(file)
                          : QStringLiteral("The setting [Access] DBType \"%1\" in %2 is not a number.")
                                .arg(m_databaseType, file));
    }
    m_odbc = (*type == 1.0);
    if (m_odbc)
        m_odbcSource = SuiteOdbcSource();
}

clsServer::~clsServer() = default;

bool clsServer::usesOdbc() const
{
    return m_odbc;
}

QString clsServer::connectionString() const
{
    return m_odbc ? m_odbcSource.displayText() : MaskConnectionSecrets(m_databaseName);
}

void clsServer::checkConnection()
{
    m_failure = Failure::None;
    if (m_connection.isOpen())
        return;
    if (m_odbc) {
        m_connection.openOdbc(m_odbcSource, m_busyTimeoutMs);
        return;
    }
    if (m_databaseName.trimmed().isEmpty())
        throw DbError(DbError::CannotOpen,
                      QStringLiteral("No database file is named by [Access] %1 in %2.")
                          .arg(m_databaseKey, QDir::toNativeSeparators(m_iniPath)));
    rememberDatabaseFile();
    m_connection.openSqliteFile(m_databaseName, m_busyTimeoutMs);
}

Recordset clsServer::openSnapshot(const QString &statement)
{
    return m_connection.openSnapshot(statement);
}

Recordset clsServer::openUpdatable(const QString &statement, bool lockRows)
{
    return m_connection.openUpdatable(statement, lockRows);
}

int clsServer::execute(const QString &statement)
{
    return m_connection.execute(statement);
}

int clsServer::execute(const QString &statement, const QVariantList &values)
{
    return m_connection.execute(statement, values);
}

QString clsServer::quoted(QString text)
{
    DoubleQuotes(text);
    return text;
}

DbError clsServer::asDbError(const std::exception &error)
{
    if (const auto *db = dynamic_cast<const DbError *>(&error))
        return *db;
    return DbError(DbError::GeneralError, QString::fromLocal8Bit(error.what()));
}

QString clsServer::Get_ConnStatus()
{
    try {
        checkConnection();
        return {};
    } catch (const std::exception &e) {
        const DbError error = failure(e);
        return QString::number(error.number()) + "|" + error.description();
    }
}

Recordset clsServer::Get_Blank_Recordset()
{
    Recordset blank;
    blank.appendField(QStringLiteral("blankfield"), FieldType::Text, 1);
    blank.open();
    return blank;
}

Recordset clsServer::Get_sqlResult(const QString &strSQL)
{
    try {
        checkConnection();
        Recordset result = openSnapshot(strSQL);
        m_lastError.clear();
        return result;
    } catch (const std::exception &e) {
        rememberFailure(e);
        return Get_Blank_Recordset();
    }
}

QList<Recordset> clsServer::Get_sqlResults(const QStringList &statements)
{
    try {
        checkConnection();
        QList<Recordset> results = m_connection.openSnapshots(statements);
        m_lastError.clear();
        return results;
    } catch (const std::exception &e) {
        rememberFailure(e);
        return {};
    }
}

void clsServer::rememberFailure(const std::exception &error)
{
    const DbError dbError = failure(error);
    m_lastError = QString::number(dbError.number()) + ": " + dbError.description();
}

DbError clsServer::failure(const std::exception &error)
{
    const DbError dbError = asDbError(error);
    if (dbError.number() == DbError::Busy)
        m_failure = Failure::Locked;
    else if (dbError.number() == DbError::CannotOpen || !m_connection.answers())
        m_failure = Failure::Unreachable;
    else
        m_failure = Failure::Order;
    return dbError;
}
