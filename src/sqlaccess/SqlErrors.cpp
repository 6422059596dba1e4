#include "sqlaccess/internal/DatabaseInternals.h"

#include <QSqlError>

namespace {

// Unique-key violations as the backends word them (SQLite, SQL Server, PostgreSQL, MySQL).
bool isUniqueViolation(const QString &text, const QString &code)
{
    return code == "2067" || code == "1555" || code == "2627" || code == "2601" || code == "23505"
        || code == "1062" || text.contains("UNIQUE constraint failed", Qt::CaseInsensitive)
        || text.contains("duplicate key", Qt::CaseInsensitive)
        || text.contains("Duplicate entry", Qt::CaseInsensitive);
}

// SQLite's busy and locked errors by their words: their codes 5 and 6 mean other things to the
// PostgreSQL driver.
bool isBusy(const QString &text, const QString &code)
{
    return code == "517" || code == "261" || text.contains("database is locked", Qt::CaseInsensitive)
        || text.contains("database table is locked", Qt::CaseInsensitive);
}

// A server gave up waiting for a row lock another connection holds (PostgreSQL's lock_timeout,
// SQL Server's SET LOCK_TIMEOUT).
bool isLockTimeout(const QString &text, const QString &code)
{
    return code == "1222" || code == "55P03" || text.contains("lock timeout", Qt::CaseInsensitive)
        || text.contains("Lock request time out", Qt::CaseInsensitive);
}

} // namespace

DbError dbErrorFromSql(const QSqlError &error)
{
    const QString code = error.nativeErrorCode();
    // Server texts come on several lines (message, detail, the driver's note): one line is what
    // a status column and a log line can show.
    QString text = error.databaseText().simplified();
    if (text.isEmpty())
        text = error.driverText().simplified();
    if (text.isEmpty())
        text = QStringLiteral("Unknown database error");

    bool numeric = false;
    long number = code.toLong(&numeric);
    if (!numeric || number == 0)
        number = DbError::GeneralError;

    if (isUniqueViolation(text, code)) {
        text += QStringLiteral(": the change would create duplicate values in the index");
    } else if (isBusy(text, code)) {
        number = DbError::Busy;
        text = QStringLiteral("The database is locked by another program that is writing to it (%1); "
                              "nothing was saved, try again in a moment").arg(text);
    } else if (isLockTimeout(text, code)) {
        number = DbError::Busy;
        text = QStringLiteral("A record is locked by another station or program whose work on it is not finished, "
                              "and the wait for it ran out (%1); nothing was saved, try again in a moment")
                   .arg(text);
    }
    return DbError(number, text);
}
