// A saved order leaves the queue: its files go to the archive, the done list shows it, and the
// print hand-off follows.

#include "queue/QueueService.h"

#include "module1/Module1.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

QString QueueService::archiveSavedOrder(const QString &orderPath, const QString &soNo, QString *infoProblem)
{
    const QString archive = archiveFolder();
    QString error;
    if (!EnsureFolder(archive, &error))
        return error;
    const QFileInfo order(orderPath);
    const QString queue = order.absolutePath();
    const QString base = OrderBaseName(order.fileName());
    const QDir archiveDir(archive);

    // The info file first: the order file is what the queue and the import record go by, so it
    // moves last, and a crash between the two moves leaves an order that is finished next time,
    // beside the info file that went ahead of it.
    const QString info = ChildPath(queue, InfoFileName(order.fileName()));
    const bool infoQueued = QFileInfo::exists(info);
    QString stem = infoQueued ? QString() : StemAwaitingOrder(archive, base);
    if (stem.isEmpty())
        stem = FreeStem(archive, base, {QStringLiteral(".txt"), QStringLiteral("info.txt")});
    if (infoQueued && !MoveFileTo(info, archiveDir.filePath(stem + QStringLiteral("info.txt")), &error))
        *infoProblem = error;
    if (!MoveFileTo(orderPath, archiveDir.filePath(stem + QStringLiteral(".txt")), &error))
        return error;
    if (m_server) {
        const QString marked = m_server->markImportArchived(soNo);
        // Not fatal: the record of a file no longer queued counts as archived at the next tidy.
        if (!marked.isEmpty())
            LogLine(QStringLiteral("%1: import record of %2 not marked archived: %3").arg(order.fileName(), soNo, marked),
                    LogPriority::Warning);
    }
    return {};
}

void QueueService::CompleteSavedOrder(const SavedOrder &saved, int row)
{
    const QString key = saved.orderFile.toUpper();
    const QString orderPath = QDir(queueFolder()).filePath(saved.orderFile);
    SavedOrder order = saved;
    try {
        order.archiveProblem = archiveSavedOrder(orderPath, order.soNo, &order.infoProblem);
    } catch (const std::exception &e) {
        order.archiveProblem = QString::fromLocal8Bit(e.what());
    }
    m_doneOrders.insert(order.soNo);
    const QDateTime now = QDateTime::currentDateTime();
    ++m_stats.saved;
    m_stats.lastSaveAt = now;
    m_stats.lastSaveFile = order.orderFile;
    m_stats.lastSaveOrder = order.soNo;
    // From the file's last change (never before this run began) to now.
    const qint64 changedMs = qMax(m_scanned.value(order.orderFile).order.modifiedMs, m_startedAt.toMSecsSinceEpoch());
    m_stats.pickupLatency.observe(double(qMax<qint64>(0, now.toMSecsSinceEpoch() - changedMs)) / 1000.0);

    const int queueRow = m_queue.find(key, row);
    DoneOrder done;
    if (queueRow >= 0) {
        const QueuedOrder &queued = m_queue.at(queueRow);
        done.terminal = queued.terminal;
        done.customerNo = queued.customerNo;
        done.customerName = queued.customerName;
        done.printQty = queued.printQty;
    }
    done.orderFile = order.orderFile;
    done.soNo = order.soNo;
    QStringList problems = order.notes;
    if (!order.archiveProblem.isEmpty()) {
        problems << QStringLiteral("archive failed: ") + order.archiveProblem;
        m_archiveFailures.insert(order.soNo, problems.last());
    }
    if (!order.infoProblem.isEmpty())
        problems << QStringLiteral("info file not archived: ") + order.infoProblem;
    done.printStatus = problems.join(QStringLiteral("; "));
    const int doneRow = m_done.append(done);
    // Saved but still in the queue folder: the row stays with the reason; each pass tries the
    // archive again and never converts it twice (finishEarlierImport).
    if (queueRow >= 0 && order.archiveProblem.isEmpty())
        m_queue.remove(queueRow);
    else if (queueRow >= 0)
        setRowStatus(queueRow, SavedNotArchived(order.soNo, order.archiveProblem));
    m_reportedFailure.remove(key);

    // Lines read as 0 are not saved: whoever reads the log must learn which.
    for (const QString &note : order.notes)
        LogLine(QStringLiteral("%1 (sales order %2): %3").arg(order.orderFile, order.soNo, note));
    Q_EMIT orderSaved(order);
    AutoPrintOrder(order.soNo, done.printQty, order.copies, doneRow);
}
