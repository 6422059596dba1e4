// "Delete Selected Order Queue": the operator takes an order out of the queue. Its two files are
// moved to <program folder>/ordremoved, never deleted, so a removal can be undone by hand.

#include "queue/QueueService.h"

#include "module1/Module1.h"

#include <QDir>
#include <QFileInfo>

QString QueueService::removeQueuedOrder(const QString &orderFile, QString *warning)
{
    const QString key = orderFile.toUpper();
    if (key == m_convertingName)
        return QStringLiteral("The order %1 is being converted now and cannot be removed.").arg(orderFile);
    const int row = m_queue.find(key);
    if (row < 0)
        return QStringLiteral("The order %1 is not queued any more.").arg(orderFile);
    const QString name = m_queue.at(row).orderFile;
    const auto notRemoved = [&](const QString &reason) {
        return QStringLiteral("The order %1 was not removed: %2").arg(name, reason);
    };
    try {
        QString error;
        const QString removed = removedFolder();
        if (!EnsureFolder(removed, &error))
            return notRemoved(error);
        const QDir queue(queueFolder());
        const QDir target(removed);
        const QString infoName = QFileInfo(ChildPath(queue.path(), InfoFileName(name))).fileName();
        const QString base = OrderBaseName(name);
        const QString orderSuffix = name.mid(base.size());
        const QString infoSuffix = infoName.mid(base.size());
        const QString stem = FreeStem(removed, base, {orderSuffix, infoSuffix});

        const QString orderPath = queue.filePath(name);
        if (QFileInfo::exists(orderPath) && !MoveFileTo(orderPath, target.filePath(stem + orderSuffix), &error))
            return notRemoved(error);
        const QString infoPath = queue.filePath(infoName);
        QString infoError;
        if (QFileInfo::exists(infoPath))
            MoveFileTo(infoPath, target.filePath(stem + infoSuffix), &infoError);

        m_queue.remove(m_queue.find(key, row));
        m_reportedFailure.remove(key);
        LogLine(QStringLiteral("Order %1 removed from the queue into %2").arg(name, QDir::toNativeSeparators(removed)));
        if (!infoError.isEmpty() && warning)
            *warning = QStringLiteral("The order %1 was removed, but its info file stayed in the queue folder: %2")
                           .arg(name, infoError);
        return {};
    } catch (const std::exception &e) {
        return notRemoved(QString::fromLocal8Bit(e.what()));
    }
}
