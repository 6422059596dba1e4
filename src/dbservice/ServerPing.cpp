#include "dbservice/clsServer.h"

QString clsServer::ping()
{
    try {
        // An embedded database file taken away or replaced is noticed here, not by the next save.
        closeIfDatabaseReplaced();
        checkConnection();
        openSnapshot(QStringLiteral("SELECT sourcename FROM no_setup WHERE 1=2"));
        return {};
    } catch (const std::exception &e) {
        const QString reason = asDbError(e).description();
        m_connection.close();
        return reason.isEmpty() ? QStringLiteral("the database does not answer") : reason;
    }
}
