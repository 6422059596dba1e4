#include "status/StatusActions.h"

#include "module1/Module1.h"
#include "queue/QueueService.h"
#include "status/PrintSelection.h"

#include <QJsonValue>

namespace StatusActions {

namespace {

Answer done(const QString &message, QJsonObject more = {})
{
    more.insert(QStringLiteral("ok"), true);
    more.insert(QStringLiteral("message"), message);
    return {200, more};
}

// The text of a string member; *wrong set when it is there but not a string.
QString textOf(const QJsonObject &request, const char *name, bool *wrong)
{
    const QJsonValue value = request.value(QLatin1String(name));
    if (!value.isUndefined() && !value.isNull() && !value.isString())
        *wrong = true;
    return value.toString();
}

} // namespace

Answer error(int status, const QString &message)
{
    return {status, QJsonObject{{"error", message}}};
}

Answer setProcessing(QueueService &service, bool run)
{
    if (service.shutdownRequested())
        return error(409, QStringLiteral("The station is shutting down."));
    service.setRunning(run);
    LogLine(run ? QStringLiteral("Status page: processing started")
                : QStringLiteral("Status page: processing stopped"));
    return done(service.statusText(), {{"running", service.running()}});
}

Answer runPass(QueueService &service)
{
    const QString refusal = service.runPassNow();
    if (!refusal.isEmpty())
        return error(409, refusal);
    return done(QStringLiteral("A pass over the queue starts now."));
}

Answer removeOrder(QueueService &service, const QJsonObject &request)
{
    bool wrong = false;
    const QString name = textOf(request, "orderFile", &wrong);
    if (wrong || name.isEmpty())
        return error(400, QStringLiteral("Name the queued order file: {\"orderFile\": \"A1T6A.ord\"}."));
    const int row = service.queue()->find(name.toUpper());
    if (row < 0)
        return error(404, QStringLiteral("The order %1 is not queued.").arg(name));
    const QString orderFile = service.queue()->at(row).orderFile;
    if (service.convertingOrder() == orderFile.toUpper())
        return error(409, QStringLiteral("The order %1 is being converted now and cannot be removed.").arg(orderFile));
    QString warning;
    const QString problem = service.removeQueuedOrder(orderFile, &warning);
    if (!problem.isEmpty())
        return error(500, problem);
    LogLine(QStringLiteral("Status page: %1 removed from the queue to ordremoved%2")
                .arg(orderFile, warning.isEmpty() ? QString() : QStringLiteral(" (") + warning + QLatin1Char(')')));
    QJsonObject more;
    if (!warning.isEmpty())
        more.insert(QStringLiteral("warning"), warning);
    return done(QStringLiteral("%1 was removed from the queue (to ordremoved).").arg(orderFile), more);
}

Answer print(const QString &programDir, const QJsonObject &request)
{
    PrintSelection selection;
    bool wrong = false;
    const QJsonValue allNew = request.value(QLatin1String("allNew"));
    const QJsonValue pickingSheets = request.value(QLatin1String("pickingSheets"));
    const QJsonValue copies = request.value(QLatin1String("copies"));
    wrong = (!allNew.isUndefined() && !allNew.isBool()) || (!pickingSheets.isUndefined() && !pickingSheets.isBool())
         || (!copies.isUndefined() && !copies.isDouble());
    selection.allNew = allNew.toBool();
    selection.pickingSheets = pickingSheets.toBool();
    selection.copies = copies.isUndefined() ? 1 : copies.toInt(0);
    selection.from = textOf(request, "from", &wrong);
    selection.to = textOf(request, "to", &wrong);
    selection.printer = textOf(request, "printer", &wrong);
    const QString sheet = textOf(request, "sheet", &wrong);
    if (!sheet.isEmpty()) {
        selection.sheet = PrintSelection::sheetNamed(sheet);
        if (selection.sheet.isNull())
            return error(400,
                         QStringLiteral("The picking sheet kind is full, changed or both, not \"%1\".").arg(sheet));
    }
    if (wrong)
        return error(400, QStringLiteral("allNew and pickingSheets are true or false, copies a number, the others "
                                         "texts."));

    const PrintOutcome outcome = PrintSelected(programDir, selection);
    using Result = PrintOutcome::Result;
    switch (outcome.result) {
    case Result::Printed: LogLine(QStringLiteral("Status page: ") + outcome.message); return done(outcome.message);
    case Result::BadSelection:
    case Result::NoPrinter: return error(400, outcome.message);
    case Result::Database: return error(503, outcome.message);
    case Result::Settings: return error(500, outcome.message);
    case Result::Failed: break;
    }
    LogLine(QStringLiteral("Status page: %1 not printed: %2").arg(selection.describe(), outcome.message),
            LogPriority::Warning);
    return error(422, outcome.message);
}

} // namespace StatusActions
