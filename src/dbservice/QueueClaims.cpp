// One station per queue across machines: table rfstation holds, per queue identity, the station
// that works on it (host, process, since when) and a beat it counts up while it lives. Every
// change is one conditional statement, so two stations racing for a queue never both win.

#include "dbservice/clsServer.h"

QString clsServer::readQueueClaim(const QString &queueId, std::optional<QueueClaim> *claim)
{
    try {
        checkConnection();
        Recordset rs = openSnapshot("SELECT host, pid, since, beat FROM rfstation WHERE queuedir='" + quoted(queueId) + "'");
        claim->reset();
        if (!rs.isEmpty()) {
            rs.moveFirst();
            *claim = QueueClaim{rs.text(QStringLiteral("host")), qint64(rs.number(QStringLiteral("pid"))),
                                rs.text(QStringLiteral("since")), qint64(rs.number(QStringLiteral("beat")))};
        }
        return {};
    } catch (const std::exception &e) {
        return Get_DbErrorMessage(asDbError(e));
    }
}

QString clsServer::takeQueueClaim(const QString &queueId, const QueueClaim &mine,
                                  const std::optional<QueueClaim> &replacing, bool *taken)
{
    *taken = false;
    try {
        checkConnection();
        if (!replacing) {
            try {
                execute(QStringLiteral("INSERT INTO rfstation (queuedir, host, pid, since, beat) VALUES (?, ?, ?, ?, 0)"),
                        {queueId, mine.host, mine.pid, mine.since});
                *taken = true;
            } catch (const DbError &) {
                // Another station claimed it in the same moment: its claim stands.
                std::optional<QueueClaim> now;
                const QString error = readQueueClaim(queueId, &now);
                if (!error.isEmpty() || !now)
                    throw;
            }
            return {};
        }
        *taken = execute(QStringLiteral("UPDATE rfstation SET host = ?, pid = ?, since = ?, beat = 0 WHERE queuedir = ? "
                                        "AND host = ? AND pid = ? AND beat = ?"),
                         {mine.host, mine.pid, mine.since, queueId, replacing->host, replacing->pid, replacing->beat})
            == 1;
        return {};
    } catch (const std::exception &e) {
        return Get_DbErrorMessage(asDbError(e));
    }
}

QString clsServer::beatQueueClaim(const QString &queueId, const QueueClaim &mine, bool *stillOurs)
{
    try {
        checkConnection();
        *stillOurs = execute(QStringLiteral("UPDATE rfstation SET beat = beat + 1 WHERE queuedir = ? AND host = ? AND "
                                            "pid = ? AND since = ?"),
                             {queueId, mine.host, mine.pid, mine.since})
            == 1;
        return {};
    } catch (const std::exception &e) {
        *stillOurs = true; // unknown: a database away says nothing about the claim
        return Get_DbErrorMessage(asDbError(e));
    }
}

QString clsServer::releaseQueueClaim(const QString &queueId, const QueueClaim &mine)
{
    try {
        checkConnection();
        execute(QStringLiteral("DELETE FROM rfstation WHERE queuedir = ? AND host = ? AND pid = ? AND since = ?"),
                {queueId, mine.host, mine.pid, mine.since});
        return {};
    } catch (const std::exception &e) {
        return Get_DbErrorMessage(asDbError(e));
    }
}
