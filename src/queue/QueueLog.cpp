#include "queue/QueueLog.h"

#include "module1/Module1.h"
#include "queue/QueueFiles.h"
#include "queue/QueueService.h"

#include <QDir>

QueueLog::QueueLog(QueueService &service, QObject *parent) : QObject(parent), m_service(service)
{
    connect(&service, &QueueService::orderSaved, this, [](const QueueService::SavedOrder &order) {
        LogLine(QStringLiteral("Saved %1 as sales order %2 (terminal %3, total %4)")
                    .arg(order.orderFile, order.soNo)
                    .arg(order.terminal)
                    .arg(FormatAmount(order.total.toDouble())));
        if (!order.archiveProblem.isEmpty())
            LogLine(QStringLiteral("%1: archive failed: %2; it stays in the queue folder and is not saved again")
                        .arg(order.orderFile, order.archiveProblem),
                    LogPriority::Error);
    });
    connect(&service, &QueueService::orderFailed, this, [](const QString &orderFile, const QString &reason) {
        LogLine(QStringLiteral("Order %1 not saved: %2").arg(orderFile, reason), LogPriority::Warning);
    });
    connect(&service, &QueueService::orderNotArchived, this,
            [](const QString &orderFile, const QString &soNo, const QString &reason) {
                LogLine(QStringLiteral("Order %1 is saved as sales order %2 but its files are not archived yet (tried "
                                       "again on the next pass): %3")
                            .arg(orderFile, soNo, reason),
                        LogPriority::Error);
            });
    connect(&service, &QueueService::earlierImportFinished, this,
            [](const QString &orderFile, const QString &soNo, const QString &infoProblem) {
                LogLine(QStringLiteral("%1 was saved as sales order %2 already; its files are archived now%3")
                            .arg(orderFile, soNo,
                                 infoProblem.isEmpty() ? QString() : QStringLiteral(" (info file: ") + infoProblem + ')'));
            });
    connect(&service, &QueueService::printFailed, this, [](const QString &soNo, const QString &reason) {
        LogLine(QStringLiteral("Sales order %1 not printed: %2").arg(soNo, reason), LogPriority::Error);
    });
    connect(&service, &QueueService::finished, this, [](int leftQueued) {
        LogLine(QStringLiteral("Stopped; %1 order file(s) left queued.").arg(leftQueued));
    });
}

void QueueLog::started()
{
    const clsServer *server = m_service.server();
    LogLine(QStringLiteral("%1: connected to %2 (%3); watching %4")
                .arg(m_service.title().simplified(), server ? server->connectionString() : QString(),
                     m_service.context().tradeShow ? QStringLiteral("trade show mode") : QStringLiteral("in house mode"),
                     m_service.context().folder(QueueFolderName)));
}
