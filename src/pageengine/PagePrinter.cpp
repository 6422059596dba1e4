#include "pageengine/PagePrinter.h"

#include "pageengine/internal/CupsQueue.h"
#include "pageengine/PageRenderer.h"
#include "pageengine/PrinterList.h"

#include <QBuffer>
#include <QFile>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrintEngine>
#include <QPrinterInfo>
#include <functional>
#include <optional>

namespace PagePrinter {

namespace {

constexpr int PdfResolution = 1200;

QPageSize pageSizeOf(const PageData &page)
{
    return QPageSize(QSizeF(page.width / 20.0, page.height / 20.0), QPageSize::Point, QString(),
                     QPageSize::ExactMatch);
}

PrintResult failure(const QString &error)
{
    PrintResult result;
    result.error = error;
    return result;
}

PrintResult cancelled()
{
    PrintResult result = failure(QStringLiteral("The print job was cancelled."));
    result.cancelled = true;
    return result;
}

// The monitor's go-ahead for the next page; true without a monitor.
bool mayPrint(PrintMonitor *monitor, int page)
{
    return !monitor || monitor->nextPage(page);
}

// Lays pages from..to out as one PDF on `out`, each page at its own size, moved by `offset` twips
// (the printable area's corner when the coordinates are not the sheet's). "" when written;
// otherwise what failed. *stopped tells that the monitor cancelled.
QString writePdf(QIODevice &out, const PageDocument &document, const QString &title, int from, int to,
                 QPointF offset, PrintMonitor *monitor, bool *stopped)
{
    *stopped = false;
    QPdfWriter writer(&out);
    writer.setResolution(PdfResolution);
    writer.setCreator(QStringLiteral("RF Order Station"));
    writer.setTitle(title);
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setPageSize(pageSizeOf(document.pages.at(from - 1)));
    QPainter painter;
    if (!painter.begin(&writer))
        return QStringLiteral("the PDF writer failed");
    const double sx = PageRenderer::scaleX(writer);
    const double sy = PageRenderer::scaleY(writer);
    for (int page = from; page <= to; ++page) {
        if (!mayPrint(monitor, page)) {
            *stopped = true;
            painter.end();
            return QStringLiteral("cancelled");
        }
        const PageData &data = document.pages.at(page - 1);
        if (page > from) {
            writer.setPageSize(pageSizeOf(data));
            if (!writer.newPage()) {
                painter.end();
                return QStringLiteral("the PDF writer failed at page %1").arg(page);
            }
        }
        painter.save();
        painter.translate(offset.x() * sx, offset.y() * sy);
        PageRenderer::render(painter, data, sx, sy);
        painter.restore();
    }
    return painter.end() ? QString() : QStringLiteral("the PDF writer failed");
}

PrintResult printed(int from, int to)
{
    PrintResult result;
    result.ok = true;
    result.pagesPrinted = to - from + 1;
    return result;
}

PrintResult printPdf(const PageDocument &document, const QString &documentName, int from, int to,
                     PrintMonitor *monitor)
{
    QString error;
    const QString path = PrinterList::reservePdfFile(documentName, &error);
    if (path.isEmpty())
        return failure(error);

    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        const PrintResult result = failure(QStringLiteral("The PDF file \"%1\" cannot be written: %2").arg(path, file.errorString()));
        QFile::remove(path);
        return result;
    }
    bool stopped = false;
    error = writePdf(file, document, documentName, from, to, QPointF(), monitor, &stopped);
    file.close();
    if (stopped) {
        QFile::remove(path);
        return cancelled();
    }
    if (!error.isEmpty() || file.error() != QFileDevice::NoError) {
        const QString reason = file.error() != QFileDevice::NoError ? file.errorString() : error;
        QFile::remove(path);
        return failure(QStringLiteral("The PDF file \"%1\" could not be written: %2").arg(path, reason));
    }
    PrintResult result = printed(from, to);
    result.outputFile = path;
    return result;
}

// A CUPS queue gets the document as one PDF job through the CUPS API, which, unlike QPrinter,
// tells whether the scheduler took the job.
// The document is made whole before the job is created, so a cancelled document sends nothing.
PrintResult printCups(const PageDocument &document, const QString &device, const QString &documentName, int from,
                      int to, QPointF offset, const CupsQueue::Options &options, PrintMonitor *monitor)
{
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    bool stopped = false;
    const QString error = writePdf(pdf, document, documentName, from, to, offset, monitor, &stopped);
    if (stopped)
        return cancelled();
    if (!error.isEmpty())
        return failure(QStringLiteral("The document for the printer \"%1\" could not be made: %2").arg(device, error));
    const QString refused = CupsQueue::submit(device, documentName, pdf.data(), options);
    return refused.isEmpty() ? printed(from, to) : failure(refused);
}

// The corner of the printable area in twips: where coordinates start unless they are the sheet's.
QPointF printableCorner(const QPrinter &printer, bool physicalPage)
{
    if (physicalPage)
        return {};
    const QMarginsF margins = printer.pageLayout().marginsPoints();
    return QPointF(margins.left() * 20.0, margins.top() * 20.0);
}

// The job options of a printer set up in the system's printer dialog.
CupsQueue::Options optionsOf(const QPrinter &printer)
{
    CupsQueue::Options options;
    const auto add = [&options](const QByteArray &name, const QByteArray &value) {
        options.append(qMakePair(name, value));
    };
    add("media", printer.pageLayout().pageSize().key().toUtf8());
    if (printer.copyCount() > 1) {
        add("copies", QByteArray::number(printer.copyCount()));
        if (printer.collateCopies())
            add("Collate", "True");
    }
    switch (printer.duplex()) {
    case QPrinter::DuplexNone: add("sides", "one-sided"); break;
    case QPrinter::DuplexAuto:
    case QPrinter::DuplexLongSide: add("sides", "two-sided-long-edge"); break;
    case QPrinter::DuplexShortSide: add("sides", "two-sided-short-edge"); break;
    }
    // The dialog keeps its other CUPS choices (pages per sheet, page set, banners, ...) as name and
    // value pairs under this print engine property of Qt's CUPS support.
    const QPrintEngine::PrintEnginePropertyKey cupsOptionsKey = QPrintEngine::PrintEnginePropertyKey(0xfe00);
    const QStringList pairs = printer.printEngine()->property(cupsOptionsKey).toStringList();
    for (qsizetype i = 0; i + 1 < pairs.size(); i += 2)
        add(pairs[i].toUtf8(), pairs[i + 1].toUtf8());
    return options;
}

// One job on a printer the caller has set up (paper, duplex, options chosen in the system's dialog).
PrintResult printOn(QPrinter &printer, const PageDocument &document, const QString &documentName,
                    int from, int to, bool physicalPage, PrintMonitor *monitor)
{
    if (printer.outputFormat() == QPrinter::NativeFormat)
        return printCups(document, printer.printerName(), documentName, from, to,
                         printableCorner(printer, physicalPage), optionsOf(printer), monitor);

    // Set up to print into a file: QPrinter writes it and reports its own failures.
    const QString device = printer.outputFileName();
    printer.setDocName(documentName);
    printer.setFullPage(physicalPage);
    QPainter painter;
    if (!painter.begin(&printer))
        return failure(QStringLiteral("The file \"%1\" cannot be written.").arg(device));
    for (int page = from; page <= to; ++page) {
        if (!mayPrint(monitor, page)) {
            printer.abort();
            painter.end();
            QFile::remove(device);
            return cancelled();
        }
        if (page > from && !printer.newPage()) {
            printer.abort();
            painter.end();
            return failure(QStringLiteral("The file \"%1\" could not be written at page %2.").arg(device).arg(page));
        }
        PageRenderer::render(painter, document.pages.at(page - 1), PageRenderer::scaleX(printer),
                             PageRenderer::scaleY(printer));
    }
    if (!painter.end() || printer.printerState() == QPrinter::Error || printer.printerState() == QPrinter::Aborted)
        return failure(QStringLiteral("The file \"%1\" could not be written.").arg(device));
    return printed(from, to);
}

PrintResult printSystem(const PageDocument &document, const QString &device, const QString &documentName,
                        int from, int to, bool physicalPage, PrintMonitor *monitor)
{
    const QPrinterInfo info = QPrinterInfo::printerInfo(device);
    if (device.trimmed().isEmpty() || info.isNull())
        return failure(QStringLiteral("The printer \"%1\" is not available.").arg(device));
    QPointF corner;
    if (!physicalPage) {
        QPrinter printer(info, QPrinter::HighResolution);
        printer.setPageSize(pageSizeOf(document.pages.at(from - 1)));
        corner = printableCorner(printer, false);
    }
    return printCups(document, device, documentName, from, to, corner, {}, monitor);
}

// The pages from..to that a request names, or the reason there are none.
std::optional<QString> checkRange(const PageDocument &document, int fromPage, int toPage, int &from, int &to)
{
    const int count = document.pageCount();
    if (count == 0)
        return QStringLiteral("There is no document to print.");
    from = fromPage <= 0 ? 1 : fromPage;
    to = toPage <= 0 ? count : qMin(toPage, count);
    if (from > count || from > to)
        return QStringLiteral("Pages %1 to %2 are not in the document of %3 pages.").arg(fromPage).arg(toPage).arg(count);
    return std::nullopt;
}

// Tells the monitor the job and how it ended.
PrintResult watched(PrintMonitor *monitor, const PrintJobInfo &job, const std::function<PrintResult()> &print)
{
    if (!monitor)
        return print();
    monitor->jobStarted(job);
    const PrintResult result = print();
    monitor->jobFinished(result);
    return result;
}

} // namespace

PrintResult print(const PageDocument &document, const QString &device, const QString &documentName,
                  int fromPage, int toPage, bool physicalPage, PrintMonitor *monitor)
{
    int from = 0, to = 0;
    if (const auto error = checkRange(document, fromPage, toPage, from, to))
        return failure(*error);
    const PrintJobInfo job{documentName, device, monitor ? PrinterList::port(device) : QString(), from, to};
    return watched(monitor, job, [&] {
        if (PrinterList::isPdf(device))
            return printPdf(document, documentName, from, to, monitor);
        return printSystem(document, device, documentName, from, to, physicalPage, monitor);
    });
}

PrintResult print(const PageDocument &document, QPrinter &printer, const QString &documentName,
                  int fromPage, int toPage, bool physicalPage, PrintMonitor *monitor)
{
    int from = 0, to = 0;
    if (const auto error = checkRange(document, fromPage, toPage, from, to))
        return failure(*error);
    const bool toFile = printer.outputFormat() != QPrinter::NativeFormat;
    const QString device = toFile ? printer.outputFileName() : printer.printerName();
    const PrintJobInfo job{documentName, device, toFile || !monitor ? QString() : PrinterList::port(device), from, to};
    return watched(monitor, job,
                   [&] { return printOn(printer, document, documentName, from, to, physicalPage, monitor); });
}

} // namespace PagePrinter
