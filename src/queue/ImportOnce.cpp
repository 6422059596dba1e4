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

QString QueueService::queueDirKey() const
{
    // The queue folder as the import records name it: one spelling for one folder.
    const QFileInfo queue(queueFolder());
    const QString canonical = queue.canonicalFilePath();
    return canonical.isEmpty() ? queue.absoluteFilePath() : canonical;
}

QString QueueService::SavedNotArchived(const QString &soNo, const QString &reason)
{
    return QStringLiteral("Saved as %1; not archived: %2").arg(soNo, reason);
}

clsServer::OrderImport QueueService::ImportOf(const QString &fileName, const QByteArray &content) const
{
    return {queueDirKey(), fileName,
            QString::fromLatin1(QCryptographicHash::hash(content, QCryptographicHash::Sha256).toHex())};
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
    const QString error = m_server->findUnarchivedImport(ImportOf(name, file.content), &soNo);
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
        noteFailure(row, SavedNotArchived(soNo, problem));
        return true;
    }
    int printRow = -1; // the done row of an order whose print hand-off never ran
    if (m_doneOrders.contains(soNo)) {
        // Saved in this run, when its archiving failed: the done row no longer says so.
        const QString failure = m_archiveFailures.take(soNo);
        const int done = m_done.find(soNo);
        if (!failure.isEmpty() && done >= 0)
            m_done.setPrintStatus(done, QString(m_done.at(done).printStatus)
                                            .replace(failure, QStringLiteral("archived on a later pass")));
    } else {
        // Saved by an earlier run of the program: the done list shows it now.
        m_doneOrders.insert(soNo);
        DoneOrder done{queued.terminal, name, soNo, queued.customerNo, queued.customerName, queued.printQty,
                       QStringLiteral("saved before a restart; archived now")};
        const int doneRow = m_done.append(done);
        // That run ended before the print hand-off (it follows the archiving) or its print
        // failed: an order not marked printed is handed to the printer now.
        QString quotedNo = soNo;
        DoubleQuotes(quotedNo);
        const Recordset status = m_server->Get_sqlResult("select ordstatus from so where invno='" + quotedNo + "'");
        if (!m_server->lastErrorText().isEmpty())
            LogLine(QStringLiteral("%1: whether sales order %2 was printed cannot be looked up, so it is not "
                                   "printed now: %3")
                        .arg(name, soNo, m_server->lastErrorText()),
                    LogPriority::Warning);
        else if (!status.isEmpty() && ValueOrZero(status.value(QStringLiteral("ordstatus"))) == 0)
            printRow = doneRow;
    }
    m_queue.remove(m_queue.find(queued.key(), row));
    m_reportedFailure.remove(queued.key());
    Q_EMIT earlierImportFinished(name, soNo, infoProblem);
    if (printRow >= 0)
        AutoPrintOrder(soNo, queued.printQty, printRow);
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
    const QString queueKey = queueDirKey();
    QList<std::pair<QString, QString>> unarchived;
    QString error = m_server->unarchivedImports(queueKey, &unarchived);
    for (const auto &[soNo, fileName] : std::as_const(unarchived)) {
        if (error.isEmpty() && !QFileInfo(ChildPath(queue, fileName)).isFile())
            error = m_server->markImportArchived(soNo);
    }
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (error.isEmpty() && (m_lastPruneMs == 0 || now - m_lastPruneMs >= 3600 * 1000)) {
        error = m_server->pruneImports(queueKey, QDateTime::currentDateTimeUtc().addDays(-ImportRecordDays));
        m_lastPruneMs = now;
    }
    if (!error.isEmpty())
        LogLine(QStringLiteral("Import records not tidied: ") + error, LogPriority::Warning);
}
