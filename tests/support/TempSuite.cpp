#include "TempSuite.h"

#include "PrivateProfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>
#include <stdexcept>

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + path.toStdString());
    return f.readAll();
}

struct Db
{
    sqlite3 *handle = nullptr;
    explicit Db(const QString &path)
    {
        if (sqlite3_open(QFile::encodeName(path).constData(), &handle) != SQLITE_OK)
            throw std::runtime_error("cannot open " + path.toStdString());
        sqlite3_busy_timeout(handle, 5000);
    }
    ~Db() { sqlite3_close(handle); }
};

} // namespace

QString TempSuite::schemaPath() { return QStringLiteral(RFSTATION_SOURCE_DIR "/schema/suite-sqlite.sql"); }
QString TempSuite::demoDataPath() { return QStringLiteral(RFSTATION_SOURCE_DIR "/schema/demo-data.sql"); }

TempSuite::TempSuite(Data data)
{
    if (!m_dir.isValid())
        throw std::runtime_error("cannot create a temporary folder");
    m_root = m_dir.path() + "/Suite";
    QDir().mkpath(queueDir());
    QDir().mkpath(archiveDir());
    exec(QString::fromUtf8(readAll(schemaPath())));
    if (data != Data::Empty)
        exec(QString::fromUtf8(readAll(demoDataPath())));
    if (data == Data::Demo)
        exec("DELETE FROM sochanged; DELETE FROM sodetail; DELETE FROM so;");
    setIni("Access", "DBName", databasePath());
    setIni("Access", "DBType", "0");
}

void TempSuite::exec(const QString &script) const
{
    Db db(databasePath());
    char *message = nullptr;
    if (sqlite3_exec(db.handle, script.toUtf8().constData(), nullptr, nullptr, &message) != SQLITE_OK) {
        std::string text = message ? message : "unknown error";
        sqlite3_free(message);
        throw std::runtime_error("SQL failed: " + text);
    }
}

QVariant TempSuite::scalar(const QString &query) const
{
    Db db(databasePath());
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(db.handle, query.toUtf8().constData(), -1, &stmt, nullptr) != SQLITE_OK)
        throw std::runtime_error("SQL failed: " + std::string(sqlite3_errmsg(db.handle)));
    QVariant result;
    if (sqlite3_step(stmt) == SQLITE_ROW) {
        switch (sqlite3_column_type(stmt, 0)) {
        case SQLITE_INTEGER: result = qlonglong(sqlite3_column_int64(stmt, 0)); break;
        case SQLITE_FLOAT: result = sqlite3_column_double(stmt, 0); break;
        case SQLITE_NULL: result = QVariant(QMetaType(QMetaType::QString)); break;
        default:
            result = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)));
        }
    }
    sqlite3_finalize(stmt);
    return result;
}

int TempSuite::count(const QString &query) const
{
    return scalar("SELECT COUNT(*) FROM (" + query + ")").toInt();
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
