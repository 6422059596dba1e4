// Exactly once across crashes: every saved order file is recorded in the save's transaction
// (table rfimport). Before a queued file is converted, its record is looked up; a file saved
// already has only its archiving finished.

#include "queue/QueueService.h"

#include "module1/Module1.h"
#include "queue/OrderFile.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <algorithm>

QStringList QueueService::queueKeys() const
{
    // Records of older stations name the queue by its canonical path.
    const QFileInfo queue(queueFolder());
    const QString canonical = queue.canonicalFilePath();
    return {m_queueId, canonical.isEmpty() ? queue.absoluteFilePath() : canonical};
}

QString QueueService::SavedNotArchived(const QString &soNo, const QString &reason)
{
    return QStringLiteral("Saved as %1; not archived: %2").arg(soNo, reason);
}

clsServer::OrderImport QueueService::ImportOf(const QString &fileName, const QByteArray &content) const
{
    clsServer::OrderImport import;
    import.queueDir = m_queueId;
    import.fileName = fileName;
    import.contentHash = QString::fromLatin1(QCryptographicHash::hash(content, QCryptographicHash::Sha256).toHex());
    return import;
}

bool QueueService::finishEarlierImport(int row)
{
    if (!m_server)
        return false;
    const QueuedOrder queued = m_queue.at(row);
    const QString &name = queued.orderFile;
    const QString path = QDir(queueFolder()).filePath(name);
    const OrderFileContent file = ReadOrderFile(path);
    // The conversion reports why a file cannot be taken.
    if (file.changed || !file.refusal.isEmpty())
        return false;
    QString soNo;
    const QString error = m_server->findUnarchivedImport(queueKeys(), ImportOf(name, file.content), &soNo);
    if (!error.isEmpty()) {
        noteFailure(row, QStringLiteral("Not converted: whether it was saved already cannot be looked up: ") + error);
        return true;
    }
    if (soNo.isEmpty())
        return false;

    QString infoProblem;
    QString problem;
    try {
        problem = archiveSavedOrder(path, soNo, &infoProblem);
    } catch (const std::exception &e) {
        problem = QString::fromLocal8Bit(e.what());
    }
    if (!problem.isEmpty()) {
        const QString status = SavedNotArchived(soNo, problem);
        if (m_reportedFailure.value(queued.key()) != status)
            Q_EMIT orderNotArchived(name, soNo, problem);
        m_reportedFailure.insert(queued.key(), status);
        setRowStatus(row, status);
        return true;
    }
    if (m_doneOrders.contains(soNo)) {
        // Saved in this run, when its archiving failed: the done row no longer says so.
        const QString failure = m_archiveFailures.take(soNo);
        const int done = m_done.find(soNo);
        if (!failure.isEmpty() && done >= 0)
            m_done.setPrintStatus(done, QString(m_done.at(done).printStatus)
                                            .replace(failure, QStringLiteral("archived on a later pass")));
    } else {
        // Saved by an earlier run of the program: the done list shows it now, and what it still
        // had to print is printed now that it is archived.
        m_doneOrders.insert(soNo);
        const int doneRow = m_done.append(DoneOrder{queued.terminal, name, soNo, queued.customerNo, queued.customerName,
                                                    queued.printQty,
                                                    QStringLiteral("saved before a restart; archived now")});
        // That run ended before its print hand-off (it follows the archiving), or its print
        // failed: what it still had to print is handed off now.
        QList<clsServer::DuePrint> due;
        const QString error = m_server->duePrints(queueKeys(), &due);
        const auto it = std::find_if(due.cbegin(), due.cend(), [&](const clsServer::DuePrint &d) { return d.soNo == soNo; });
        if (!error.isEmpty())
            LogLine(QStringLiteral("%1: what sales order %2 still has to print cannot be looked up (tried again on "
                                   "the next pass): %3")
                        .arg(name, soNo, error),
                    LogPriority::Warning);
        else if (it != due.cend())
            AutoPrintOrder(soNo, queued.printQty, it->copies, doneRow);
    }
    m_queue.remove(m_queue.find(queued.key(), row));
    m_reportedFailure.remove(queued.key());
    Q_EMIT earlierImportFinished(name, soNo, infoProblem);
    return true;
}

void QueueService::tidyImportRecords()
{
    if (!m_server)
        return;
    const QString queue = queueFolder();
    // A folder that is not there (a network mount away) says nothing about its files.
    if (!QFileInfo(queue).isDir())
        return;
    QList<std::pair<QString, QString>> unarchived;
    QString error = m_server->unarchivedImports(queueKeys(), &unarchived);
    for (const auto &[soNo, fileName] : std::as_const(unarchived)) {
        if (error.isEmpty() && !QFileInfo(ChildPath(queue, fileName)).isFile())
            error = m_server->markImportArchived(soNo);
    }
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (error.isEmpty() && (m_lastPruneMs == 0 || now - m_lastPruneMs >= 3600 * 1000)) {
        error = m_server->pruneImports(queueKeys(), QDateTime::currentDateTimeUtc().addDays(-ImportRecordDays));
        m_lastPruneMs = now;
    }
    if (!error.isEmpty())
        LogLine(QStringLiteral("Import records not tidied: ") + error, LogPriority::Warning);
}
