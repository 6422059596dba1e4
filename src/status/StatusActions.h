#pragma once

#include <QJsonObject>
#include <QString>

class QueueService;

// The status page's actions on a queue service, each as the main window or the print window
// would do it. Every one answers an HTTP status and a JSON body: {"ok": true, "message": ...}
// when done, {"error": ...} when not. They throw nothing.
namespace StatusActions {

struct Answer
{
    int status = 200;
    QJsonObject body;
};

// Start or stop processing (the window's run button).
Answer setProcessing(QueueService &service, bool run);
// A scan and a pass now; 409 while processing is stopped.
Answer runPass(QueueService &service);
// "Delete Selected Order Queue" for {"orderFile": "A1T6A.ord"}: the order's files move to
// ordremoved/. 404 when it is not queued, 409 while it is being converted.
Answer removeOrder(QueueService &service, const QJsonObject &request);
// Prints {"allNew": true} or {"from": "SO000951", "to": "SO000952"}, with "pickingSheets"
// (false), "sheet" ("full", "changed", "both"), "printer" (the print window's) and "copies" (1).
// 400 for wrong choices or an unknown printer, 422 when nothing (or not every copy) printed,
// 503 without a database.
Answer print(const QString &programDir, const QJsonObject &request);

Answer error(int status, const QString &message);

} // namespace StatusActions
