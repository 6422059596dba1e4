#include "dbservice/clsServer.h"

#include "runtime/VbFormat.h"

namespace {

// Minutes between two times counted as minute boundaries crossed, so 10:00:59 is 31 minutes
// before 10:31:00. Both are read as wall-clock times: a change of daylight saving time in between
// must not age or rejuvenate a lock.
qint64 minuteBoundariesBetween(const QDateTime &from, const QDateTime &to)
{
    auto minuteOf = [](const QDateTime &t) {
        const QDateTime wall(t.date(), QTime(t.time().hour(), t.time().minute()), Qt::UTC);
        return wall.toSecsSinceEpoch() / 60;
    };
    return minuteOf(to) - minuteOf(from);
}

// A lock nobody has touched for more than 30 minutes belongs to a program that went away.
bool isStale(const QVariant &lockedTime, const QDateTime &now)
{
    const std::optional<QDateTime> locked = vb::toDateTime(lockedTime);
    return locked && minuteBoundariesBetween(*locked, now) > 30;
}

} // namespace

QString clsServer::Sets_LockWithoutOpenConn(const QString &argTableName, const QString &argFieldName,
                                            const QString &argFormName, const QString &argUidValue,
                                            quint8 argAction, const QString &argComputerName,
                                            const QString &argUserName)
{
    try {
        checkConnection();
        const QString where = "where tablename ='" + quoted(argTableName) + "' and uidvalue='"
                              + quoted(argUidValue) + "'";

        if (argAction != 1) {
            // One statement removes every row of the record, duplicates left by earlier races too.
            execute("DELETE FROM locktable " + where);
            return {};
        }

        Recordset lock = openUpdatable("SELECT * FROM locktable " + where);
        const QDateTime now = m_now();
        const QDateTime stamp(now.date(), QTime(now.time().hour(), now.time().minute(), now.time().second()));
        if (!lock.isEmpty()) {
            lock.moveFirst();
            const QString holder = lock.text(QStringLiteral("UserName"));
            if (holder != argUserName && !isStale(lock.value(QStringLiteral("lockedtime")), now))
                return argFieldName + " is being used in the " + argFormName + " by User '" + holder + "'";
        } else {
            lock.addNew();
        }
        lock.setValue(QStringLiteral("lockid"), argTableName + argUidValue);
        lock.setValue(QStringLiteral("tablename"), argTableName);
        lock.setValue(QStringLiteral("fieldname"), argFieldName);
        lock.setValue(QStringLiteral("uidvalue"), argUidValue);
        lock.setValue(QStringLiteral("formname"), argFormName);
        lock.setValue(QStringLiteral("computername"), argComputerName);
        lock.setValue(QStringLiteral("UserName"), argUserName);
        lock.setValue(QStringLiteral("lockedtime"), stamp);
        lock.update();
        lock.close();
        return {};
    } catch (const std::exception &e) {
        return Get_DbErrorMessage(failure(e));
    }
}
