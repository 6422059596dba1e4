#include "status/StatusHealth.h"

#include "queue/QueueService.h"

#include <QDir>

QStringList StatusHealthProblems(const QueueService &service, const QDateTime &now)
{
    if (!service.startedAt().isValid())
        return {QStringLiteral("the station is starting")};
    QStringList problems;
    if (service.shutdownRequested())
        problems.append(QStringLiteral("the station is shutting down"));
    else if (!service.running())
        problems.append(QStringLiteral("processing is stopped"));
    if (!service.databaseProblem().isEmpty())
        problems.append(QStringLiteral("database lost: ") + service.databaseProblem());
    if (service.queueFolderMissing())
        problems.append(QStringLiteral("queue folder missing: ") + QDir::toNativeSeparators(service.queueFolderPath()));
    // A stopped station passes no more; its stop is the reason already.
    if (service.running() && !service.passRunning()) {
        const QDateTime lastPass =
            service.stats().lastPassAt.isValid() ? service.stats().lastPassAt : service.startedAt();
        const qint64 since = lastPass.msecsTo(now);
        if (since > 2 * qint64(QueueService::PassIntervalMs))
            problems.append(QStringLiteral("no pass for %1 seconds (one is due every %2)")
                                .arg(since / 1000)
                                .arg(QueueService::PassIntervalMs / 1000));
    }
    return problems;
}
