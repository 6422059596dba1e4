// rfprintsamples --program-dir DIR --out OUT: prints the sales orders of the suite around DIR in
// every layout style code and document kind, on the "PDF" printer, into one folder per style and
// kind: OUT/<CODE>-sales-order/ and OUT/<CODE>-picking-sheet/, one file per print job, in the
// order printed. Each style prints the orders it is made for, so that a style can be chosen by
// looking: the grouped styles ("GRP", "GRPDESC") the orders of grouped item numbers, without
// colour/size lines; the others the orders with colour/size (matrix) lines. When the suite holds
// no order of one kind, every order prints. Printing marks the orders printed: run it on a copy
// of a suite (tools/print-samples does, and joins each folder into one file).
//
// Exit status: 0 every sample printed, 1 some did not (the reasons on standard error), 2 the
// settings or the database cannot be had, 64 command line wrong.

#include "module1/Module1.h"
#include "pageengine/PageEngine.h"
#include "printing/PrintProcedures.h"
#include "printing/PrintSettings.h"
#include "pageengine/PrinterList.h"
#include "printing/StyleCodes.h"
#include "styles/StyleRegistration.h"

#include <QGuiApplication>
#include <QDir>
#include <cstdio>

namespace {

struct Options
{
    QString programDir;
    QString out;
};

bool parse(const QStringList &args, Options &options)
{
    for (int i = 1; i < args.size(); ++i) {
        if (i + 1 >= args.size())
            return false;
        if (args[i] == QLatin1String("--program-dir"))
            options.programDir = args[++i];
        else if (args[i] == QLatin1String("--out"))
            options.out = args[++i];
        else
            return false;
    }
    return !options.programDir.isEmpty() && !options.out.isEmpty();
}

void complain(const QString &text)
{
    std::fprintf(stderr, "rfprintsamples: %s\n", qPrintable(text));
}

// The offscreen platform's remarks are no news to whoever runs the samples.
void quietMessages(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtDebugMsg || message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")))
        return;
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "minimal:enable_fonts");
    qInstallMessageHandler(quietMessages);
    QGuiApplication app(argc, argv);
    Options options;
    if (!parse(QCoreApplication::arguments(), options)) {
        std::fputs("usage: rfprintsamples --program-dir DIR --out OUT\n", stderr);
        return 64;
    }
    const QString programDir = QDir(options.programDir).absolutePath();
    registerLayoutStyles();

    StoredPrintSettings settings;
    QStringList grouped, matrix;
    try {
        settings = PrintSettings::load(programDir);
        Recordset orders = settings.db.openSnapshot(
            QStringLiteral("select invno, (select count(*) from sodetail where sodetail.invno = so.invno and "
                           "coalesce(sodetail.rowtext, '') <> '') as variants from so order by invno"));
        for (; !orders.eof(); orders.moveNext())
            (orders.number(QStringLiteral("variants")) > 0 ? matrix : grouped) << orders.text(QStringLiteral("invno"));
    } catch (const std::exception &e) {
        complain(QString::fromLocal8Bit(e.what()));
        return 2;
    }
    if (grouped.isEmpty() && matrix.isEmpty()) {
        complain(QStringLiteral("the suite holds no sales order to print"));
        return 2;
    }
    const QStringList all = grouped + matrix;

    QStringList codes = StyleCodes::offered();
    codes << QStringLiteral("GRPDESC");
    int failures = 0;
    for (const QString &code : std::as_const(codes)) {
        for (const bool pickingSheet : {false, true}) {
            const QString name =
                code + (pickingSheet ? QStringLiteral("-picking-sheet") : QStringLiteral("-sales-order"));
            PrinterList::setPdfFolder(QDir(options.out).filePath(name));
            const bool groupedStyle = code == QLatin1String("GRP") || code == QLatin1String("GRPDESC");
            const QStringList &made = groupedStyle ? grouped : matrix;
            // One order at a time: a range would take in the orders of the other kind between.
            for (const QString &invno : made.isEmpty() ? all : made) {
                PrintRequest job;
                job.styleCode = code;
                job.pickingSheet = pickingSheet;
                job.from = job.to = invno;
                job.printer = PrinterList::PdfPrinterName;
                job.pickingSheetTitle = settings.pickingSheetTitle;
                job.salesOrderTitle = settings.salesOrderTitle;
                job.company = settings.company;
                job.db = settings.db;
                QString failure;
                try {
                    PageEngine engine;
                    failure = PrintProcedures::run(engine, job);
                } catch (const std::exception &e) {
                    failure = QString::fromLocal8Bit(e.what());
                }
                if (!failure.isEmpty()) {
                    complain(name + " " + invno + ": " + failure);
                    ++failures;
                }
            }
        }
    }
    return failures == 0 ? 0 : 1;
}
