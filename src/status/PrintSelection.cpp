#include "status/PrintSelection.h"

#include "module1/Module1.h"
#include "pageengine/PageEngine.h"
#include "pageengine/PrinterList.h"
#include "printing/PrintProcedures.h"
#include "runtime/DbError.h"

#include <QDir>
#include <QFileInfo>

namespace {

// The orders no copy has been printed of, at the moment of asking.
QStringList neverPrinted(const Connection &db)
{
    QStringList orders;
    Recordset rs = db.openSnapshot(QStringLiteral("select invno from so where ordstatus=0 order by invno"));
    for (; !rs.eof(); rs.moveNext())
        orders.append(rs.text(QStringLiteral("invno")));
    return orders;
}

bool printedNow(const Connection &db, QString invno)
{
    DoubleQuotes(invno);
    Recordset rs =
        db.openSnapshot(QStringLiteral("select ordstatus from so where invno='") + invno + QLatin1Char('\''));
    return !rs.eof() && rs.number(QStringLiteral("ordstatus")) != 0;
}

QString runOnce(const PrintRequest &request)
{
    try {
        PageEngine engine;
        return PrintProcedures::run(engine, request);
    } catch (const std::exception &e) {
        return QString::fromLocal8Bit(e.what());
    }
}

} // namespace

QString PrintSelection::check() const
{
    const bool range = !from.trimmed().isEmpty() || !to.trimmed().isEmpty();
    if (allNew && range)
        return QStringLiteral("Choose either all new orders or a range, not both.");
    if (!allNew && (from.trimmed().isEmpty() || to.trimmed().isEmpty()))
        return QStringLiteral("Choose all new orders, or a range with its first and its last order number.");
    if (sheet != QLatin1Char('F') && sheet != QLatin1Char('C') && sheet != QLatin1Char('B'))
        return QStringLiteral("The picking sheet kind is full, changed or both.");
    if (!pickingSheets && sheet != QLatin1Char('F'))
        return QStringLiteral("A picking sheet kind is chosen for picking sheets only.");
    if (copies < 1 || copies > MaxCopies)
        return QStringLiteral("Copies are 1 to %1.").arg(MaxCopies);
    return {};
}

QChar PrintSelection::sheetNamed(const QString &name)
{
    const QString kind = name.trimmed().toLower();
    if (kind == QLatin1String("full"))
        return QLatin1Char('F');
    if (kind == QLatin1String("changed"))
        return QLatin1Char('C');
    if (kind == QLatin1String("both"))
        return QLatin1Char('B');
    return {};
}

QString PrintSelection::describe() const
{
    QString what = pickingSheets ? QStringLiteral("picking sheets") : QStringLiteral("sales orders");
    if (pickingSheets && sheet == QLatin1Char('C'))
        what += QStringLiteral(" (changed only)");
    else if (pickingSheets && sheet == QLatin1Char('B'))
        what += QStringLiteral(" (full and changed)");
    if (allNew)
        return QStringLiteral("all new ") + what;
    return QStringLiteral("%1 %2 to %3").arg(what, from.trimmed().toUpper(), to.trimmed().toUpper());
}

PrintRequest PrintRequestFor(const PrintSelection &selection, const StoredPrintSettings &settings)
{
    PrintRequest job;
    job.styleCode = PrintSettings::styleCode(settings.iniFile);
    job.pickingSheet = selection.pickingSheets;
    job.allNewOrders = selection.allNew;
    if (!selection.allNew) {
        job.from = selection.from.trimmed().toUpper();
        job.to = selection.to.trimmed().toUpper();
    }
    const QString flag(selection.sheet);
    job.sheetFlag = job.allNewOrders ? flag + flag : flag;
    job.preview = false;
    job.printer = selection.printer.isEmpty() ? settings.printer : selection.printer;
    job.pickingSheetTitle = settings.pickingSheetTitle;
    job.salesOrderTitle = settings.salesOrderTitle;
    job.company = settings.company;
    job.db = settings.db;
    return job;
}

PrintOutcome PrintSelected(const QString &programDir, const PrintSelection &selection)
{
    using Result = PrintOutcome::Result;
    if (const QString problem = selection.check(); !problem.isEmpty())
        return {Result::BadSelection, problem};
    try {
        const QString iniFile = PrintSettings::iniFile(programDir);
        if (!QFileInfo(iniFile).isFile())
            return {Result::Settings, QStringLiteral("The suite's settings file \"%1\" does not exist.")
                                          .arg(QDir::toNativeSeparators(iniFile))};
    } catch (const DbError &e) {
        return {Result::Settings, e.description()};
    }
    try {
        StoredPrintSettings settings;
        try {
            settings = PrintSettings::load(programDir);
        } catch (const DbError &e) {
            return {Result::Database, e.description()};
        }
        const PrintRequest job = PrintRequestFor(selection, settings);
        if (!settings.printers.contains(job.printer))
            return {Result::NoPrinter, QStringLiteral("The printer \"%1\" is not offered here; the printers are: %2.")
                                           .arg(job.printer, settings.printers.join(QStringLiteral(", ")))};

        // The orders the first copy of all new ones is to print; the next copies reprint them.
        const QStringList wereNew = selection.allNew && selection.copies > 1 ? neverPrinted(job.db) : QStringList();
        if (const QString failure = runOnce(job); !failure.isEmpty())
            return {Result::Failed, failure};
        QList<PrintRequest> again;
        if (!selection.allNew) {
            again.append(job);
        } else {
            for (const QString &invno : wereNew) {
                if (!printedNow(job.db, invno))
                    continue; // a changed-only run leaves orders without a revision new
                PrintRequest reprint = job;
                reprint.allNewOrders = false;
                reprint.from = reprint.to = invno;
                reprint.sheetFlag = QString(selection.sheet);
                again.append(reprint);
            }
        }
        for (int copy = 2; copy <= selection.copies; ++copy) {
            for (const PrintRequest &request : std::as_const(again)) {
                if (const QString failure = runOnce(request); !failure.isEmpty())
                    return {Result::Failed,
                            QStringLiteral("Copy %1 of %2 was not printed (the copies before it were): %3")
                                .arg(copy)
                                .arg(selection.copies)
                                .arg(failure)};
            }
        }
        return {Result::Printed,
                QStringLiteral("Printed %1 on %2%3.")
                    .arg(selection.describe(), job.printer,
                         selection.copies > 1 ? QStringLiteral(", %1 copies").arg(selection.copies) : QString())};
    } catch (const std::exception &e) {
        return {Result::Failed, QString::fromLocal8Bit(e.what())};
    }
}

OfferedPrinters PrintersOffered(const QString &programDir)
{
    const QString iniFile = PrintSettings::iniFile(programDir);
    OfferedPrinters offered;
    offered.names = PrinterList::names();
    const QString stored = ReadIniValue(QStringLiteral("AutoSoPrint"), QStringLiteral("DefaultPrinter"), iniFile);
    offered.selected = offered.names.contains(stored) ? stored : offered.names.value(0);
    offered.style = PrintSettings::styleCode(iniFile);
    return offered;
}
