#include "status/StatusJson.h"

#include "queue/QueueService.h"
#include "status/StatusHealth.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>

namespace {

QJsonObject queued(const QueuedOrder &order)
{
    return {{"terminal", order.terminal},         {"orderFile", order.orderFile}, {"customerNo", order.customerNo},
            {"customerName", order.customerName}, {"printQty", order.printQty},   {"status", order.status}};
}

QJsonObject saved(const DoneOrder &order)
{
    return {{"terminal", order.terminal},      {"orderFile", order.orderFile},       {"soNo", order.soNo},
            {"customerNo", order.customerNo},  {"customerName", order.customerName}, {"printQty", order.printQty},
            {"printStatus", order.printStatus}};
}

} // namespace

namespace StatusJson {

QJsonValue time(const QDateTime &at)
{
    if (!at.isValid())
        return QJsonValue::Null;
    return at.toUTC().toString(Qt::ISODateWithMs);
}

QJsonObject status(QueueService &service, const QString &tokenFile, const QDateTime &now)
{
    const QueueStats &stats = service.stats();
    const QStringList problems = StatusHealthProblems(service, now);

    QJsonArray queue;
    const QList<QueuedOrder> &waiting = service.queue()->orders();
    for (qsizetype i = 0; i < waiting.size() && i < MaxQueueRows; ++i)
        queue.append(queued(waiting[i]));
    QJsonArray done;
    const QList<DoneOrder> &saves = service.done()->orders();
    for (qsizetype i = saves.size() - 1; i >= 0 && done.size() < MaxDoneRows; --i)
        done.append(saved(saves[i]));

    QJsonValue lastSave = QJsonValue::Null;
    if (stats.lastSaveAt.isValid())
        lastSave = QJsonObject{
            {"at", time(stats.lastSaveAt)}, {"orderFile", stats.lastSaveFile}, {"soNo", stats.lastSaveOrder}};
    QJsonValue lastFailure = QJsonValue::Null;
    if (stats.lastFailureAt.isValid())
        lastFailure = QJsonObject{{"at", time(stats.lastFailureAt)},
                                  {"orderFile", stats.lastFailureFile},
                                  {"reason", stats.lastFailureReason}};

    return {
        {"title", service.title()},
        {"version", QStringLiteral(RFSTATION_VERSION)},
        {"programDir", QDir::toNativeSeparators(service.context().programDir)},
        {"now", time(now)},
        {"startedAt", time(service.startedAt())},
        {"running", service.running()},
        {"statusText", service.statusText()},
        {"passRunning", service.passRunning()},
        {"lastPassAt", time(stats.lastPassAt)},
        {"healthy", problems.isEmpty()},
        {"problems", QJsonArray::fromStringList(problems)},
        {"database",
         QJsonObject{{"connected", service.databaseProblem().isEmpty()}, {"problem", service.databaseProblem()}}},
        {"queueFolder", QJsonObject{{"path", QDir::toNativeSeparators(service.queueFolderPath())},
                                    {"missing", service.queueFolderMissing()}}},
        {"queueLength", int(waiting.size())},
        {"queue", queue},
        {"doneLength", int(saves.size())},
        {"done", done},
        {"lastSave", lastSave},
        {"lastFailure", lastFailure},
        {"counts", QJsonObject{{"saved", qint64(stats.saved)},
                               {"failed", qint64(stats.failed)},
                               {"printJobs", qint64(stats.printJobs)},
                               {"printFailures", qint64(stats.printFailures)}}},
        {"tokenFile", QDir::toNativeSeparators(tokenFile)},
    };
}

QByteArray bytes(const QJsonObject &object)
{
    QByteArray text = QJsonDocument(object).toJson(QJsonDocument::Compact);
    text.replace('&', "\\u0026").replace('<', "\\u003c").replace('>', "\\u003e");
    return text;
}

} // namespace StatusJson
