// An embedded database file replaced under the running program (restored from a backup, copied
// over): the open connection would go on writing into the old, unlinked file. Its identity
// (device and inode) is taken before each open and compared before each pass.
//
// The old file's write-ahead log keeps the name of the new file's log: it is checkpointed into
// the old file and emptied before the connection closes, or whoever opens the new file next would
// replay the old file's pages into it.

#include "dbservice/clsServer.h"

#include <QFile>
#include <sys/stat.h>

namespace {

std::optional<std::pair<quint64, quint64>> fileIdentity(const QString &path)
{
    struct stat st = {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return std::nullopt;
    return std::pair<quint64, quint64>(quint64(st.st_dev), quint64(st.st_ino));
}

} // namespace

void clsServer::rememberDatabaseFile()
{
    m_databaseFile = m_odbc ? std::nullopt : fileIdentity(m_databaseName);
}

bool clsServer::closeIfDatabaseReplaced()
{
    if (m_odbc || !m_connection.isOpen() || m_connection.inTransaction())
        return false;
    if (fileIdentity(m_databaseName) == m_databaseFile)
        return false;
    try {
        m_connection.execute(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    } catch (const DbError &) {
        // Closing checkpoints as well; the log may then stay behind, as on any crash.
    }
    m_connection.close();
    return true;
}
