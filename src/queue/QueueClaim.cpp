// One station per queue, however it is reached: a lock on the queue folder for the stations of
// this machine (another program folder may reach the queue through a link), and a claim in the
// suite's database for stations on other machines, whose file locks a network file system may
// not pass on. The claim names the queue by its identity, not by a path, so a link, a mount and
// two machines with the same path all come out right.

#include "queue/QueueService.h"

#include "module1/Module1.h"
#include "queue/FileWriters.h"
#include "queue/QueueIdentity.h"
#include "queue/StationLock.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QThread>
#include <unistd.h>

namespace {

QString holderText(const clsServer::QueueClaim &claim)
{
    return QStringLiteral("process %1 on %2 since %3").arg(claim.pid).arg(claim.host, claim.since);
}

} // namespace

int QueueService::claimQueue()
{
    const QString title = QString::fromLatin1(AppTitle);
    const QString queue = queueFolder();
    m_queueLock = std::make_unique<StationLock>();
    QString message;
    switch (m_queueLock->take(queue, QStringLiteral(".rfstation.lock"), QStringLiteral("queue folder"), &message)) {
    case StationLock::Result::Taken:
        break;
    case StationLock::Result::HeldByAnother:
        ShowMessage(message, title, MessageIcon::Critical);
        return 3;
    case StationLock::Result::Failed:
        ShowMessage(message, title, MessageIcon::Critical);
        return 2;
    }

    m_queueId = QueueIdentity::of(queue, &message);
    if (m_queueId.isEmpty()) {
        ShowMessage(QStringLiteral("The queue folder cannot be told apart from others: %1").arg(message), title,
                    MessageIcon::Critical);
        return 2;
    }

    m_claim = {StationHostName(), qint64(::getpid()), QDateTime::currentDateTime().toString(Qt::ISODate), 0};
    // A claim of this machine is stale for certain: its station would hold the lock taken above.
    // One of another machine is judged by its beat: still once it has not moved for the take-over
    // time, alive as soon as it moves.
    std::optional<clsServer::QueueClaim> seen;
    QDeadlineTimer silence(m_claimTakeOverMs);
    bool announced = false;
    for (;;) {
        std::optional<clsServer::QueueClaim> claim;
        QString error = m_server->readQueueClaim(m_queueId, &claim);
        bool taken = false;
        if (error.isEmpty() && claim && claim->host != m_claim.host) {
            if (seen && *seen != *claim) {
                ShowMessage(QStringLiteral("Another station works on the queue folder %1 (%2); only one station "
                                           "may work on one queue. Stop it first.")
                                .arg(QDir::toNativeSeparators(queue), holderText(*claim)),
                            title, MessageIcon::Critical);
                return 3;
            }
            if (!seen || !silence.hasExpired()) {
                if (!announced)
                    LogLine(QStringLiteral("The queue folder %1 is claimed by %2; it is taken over if that station "
                                           "stays silent for %3 s")
                                .arg(QDir::toNativeSeparators(queue), holderText(*claim))
                                .arg(m_claimTakeOverMs / 1000),
                            LogPriority::Warning);
                announced = true;
                seen = claim;
                QThread::msleep(500);
                continue;
            }
        }
        if (error.isEmpty())
            error = m_server->takeQueueClaim(m_queueId, m_claim, claim, &taken);
        if (!error.isEmpty()) {
            ShowMessage(QStringLiteral("The queue cannot be claimed in the database: %1").arg(error), title,
                        MessageIcon::Critical);
            return 1;
        }
        if (taken)
            break;
        // Taken by another in the same moment: look again.
        seen.reset();
        silence.setRemainingTime(m_claimTakeOverMs);
    }
    if (seen)
        LogLine(QStringLiteral("The queue folder %1 was taken over from %2, which was silent for %3 s")
                    .arg(QDir::toNativeSeparators(queue), holderText(*seen))
                    .arg(m_claimTakeOverMs / 1000),
                LogPriority::Warning);
    m_claimed = true;
    m_claimTimer = new QTimer(this);
    m_claimTimer->setInterval(m_claimBeatMs);
    connect(m_claimTimer, &QTimer::timeout, this, &QueueService::beatClaim);
    m_claimTimer->start();
    IgnoreLeaseBreaks();
    removePartialCopies();
    return 0;
}

void QueueService::beatClaim()
{
    if (!m_claimed || !m_server)
        return;
    bool ours = true;
    const QString error = m_server->beatQueueClaim(m_queueId, m_claim, &ours);
    if (!error.isEmpty() || ours)
        return; // a database away is the pass's to report
    std::optional<clsServer::QueueClaim> holder;
    m_server->readQueueClaim(m_queueId, &holder);
    LogLine(QStringLiteral("Another station has taken this queue over (%1): this station stops.")
                .arg(holder ? holderText(*holder) : QStringLiteral("unknown")),
            LogPriority::Error);
    m_claimed = false;
    m_exitStatus = 3;
    requestShutdown();
}

void QueueService::releaseClaim()
{
    if (!m_claimed || !m_server)
        return;
    m_claimed = false;
    if (m_claimTimer)
        m_claimTimer->stop();
    const QString error = m_server->releaseQueueClaim(m_queueId, m_claim);
    if (!error.isEmpty())
        LogLine(QStringLiteral("The queue's claim could not be given up; the next station takes it over after %1 s: %2")
                    .arg(m_claimTakeOverMs / 1000)
                    .arg(error),
                LogPriority::Warning);
}

void QueueService::removePartialCopies()
{
    for (const QString &folder : {archiveFolder(), removedFolder()}) {
        const QDir dir(folder);
        for (const QString &name : dir.entryList({QStringLiteral(".*.part")}, QDir::Files | QDir::Hidden)) {
            if (QFile::remove(dir.filePath(name)))
                LogLine(QStringLiteral("Removed %1, a copy cut off by a crash").arg(QDir::toNativeSeparators(dir.filePath(name))));
        }
    }
}
