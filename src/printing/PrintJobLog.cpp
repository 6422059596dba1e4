#include "printing/PrintJobLog.h"

#include "module1/Module1.h"
#include "pageengine/PageEngine.h"
#include "pageengine/PagePrinter.h"

void WatchPrintJobs(PageEngine &engine)
{
    engine.setAbortCaption(QStringLiteral("Printing ..."));
    engine.setAbortTextButton(QStringLiteral("Cancel"));
    engine.setAbortTextPage(QStringLiteral("Now printing page %d"));
    engine.setAbortTextDevice(QStringLiteral("on the %s on %s"));
    engine.setAbortWindow(true);
    engine.setAbortWindowPos(1);
}

void InstallPrintJobLog()
{
    PageEngine::setPrintMonitorFactory(
        [](const PageEngine &) -> std::unique_ptr<PrintMonitor> { return std::make_unique<PrintJobLog>(); });
}

void PrintJobLog::jobFinished(const PrintResult &result)
{
    const QString where = mJob.port.isEmpty() ? mJob.printer : QStringLiteral("%1 (%2)").arg(mJob.printer, mJob.port);
    if (result.ok)
        LogLine(QStringLiteral("Printed %1 on %2: %3 page(s)").arg(mJob.document, where).arg(result.pagesPrinted));
    else
        LogLine(QStringLiteral("Print job %1 on %2 failed: %3").arg(mJob.document, where, result.error),
                LogPriority::Error);
}
