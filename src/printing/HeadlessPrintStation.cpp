#include "printing/HeadlessPrintStation.h"

#include "module1/Module1.h"
#include "pageengine/PageEngine.h"
#include "printing/PrintProcedures.h"

HeadlessPrintStation::~HeadlessPrintStation()
{
    closeWindow();
}

const StoredPrintSettings &HeadlessPrintStation::load()
{
    if (!mSettings)
        mSettings = PrintSettings::load(mProgramDir);
    return *mSettings;
}

void HeadlessPrintStation::showAfresh(QWidget *)
{
    closeWindow();
    load();
}

void HeadlessPrintStation::closeWindow()
{
    if (!mSettings)
        return;
    try {
        PrintSettings::save(*mSettings);
    } catch (const std::exception &) {
        // Settings that cannot be written keep their old values; closing goes on.
    }
    mSettings.reset();
}

void HeadlessPrintStation::setRange(const QString &from, const QString &to)
{
    mFrom = from;
    mTo = to;
}

QString HeadlessPrintStation::Print_So(int iPreview, const QString &argFrom, const QString &argTo)
{
    const StoredPrintSettings *loaded = nullptr;
    try {
        loaded = &load();
    } catch (const std::exception &e) {
        return QString::fromLocal8Bit(e.what());
    }
    const StoredPrintSettings &settings = *loaded;
    try {
        const bool given = !argFrom.isEmpty() || !argTo.isEmpty();
        PrintRequest job;
        job.styleCode = PrintSettings::styleCode(settings.iniFile);
        job.pickingSheet = !settings.salesOrders;
        // The window's load selects "All Selected" and "FULL (Standard)".
        job.allNewOrders = false;
        job.from = (given ? argFrom : mFrom).trimmed();
        job.to = (given ? argTo : mTo).trimmed();
        job.sheetFlag = QStringLiteral("F");
        job.preview = iPreview != 0;
        job.printer = settings.printer;
        job.pickingSheetTitle = settings.pickingSheetTitle;
        job.salesOrderTitle = settings.salesOrderTitle;
        job.company = settings.company;
        job.db = settings.db;

        PageEngine engine;
        const QString result = PrintProcedures::run(engine, job);
        if (job.preview && result.isEmpty())
            LogLine(QStringLiteral("Print Preview: not shown, nobody is there to close it"));
        return result;
    } catch (const std::exception &e) {
        const QString description = QString::fromLocal8Bit(e.what());
        ShowErrorMessage(3, description);
        return description;
    }
}
