#include "pageengine/PagePrinter.h"

#include "pageengine/internal/CupsQueue.h"
#include "pageengine/PageRenderer.h"
#include "pageengine/PrinterList.h"

#include <QBuffer>
#include <QFile>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <fcntl.h>
#include <unistd.h>
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

// Flushes a written file to the disk, so a crash after its rename leaves it whole.
bool syncFile(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

PrintResult printed(int from, int to)
{
    PrintResult result;
    result.ok = true;
    result.pagesPrinted = to - from + 1;
    return result;
}

// Writes pages from..to into the PDF file `path`; on any failure no file is left.
PrintResult printPdfFile(const PageDocument &document, const QString &path, const QString &documentName, int from,
                         int to, QPointF offset, PrintMonitor *monitor)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        const PrintResult result = failure(QStringLiteral("The PDF file \"%1\" cannot be written: %2").arg(path, file.errorString()));
        QFile::remove(path);
        return result;
    }
    bool stopped = false;
    const QString error = writePdf(file, document, documentName, from, to, offset, monitor, &stopped);
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

PrintResult printPdf(const PageDocument &document, const QString &documentName, int from, int to,
                     PrintMonitor *monitor)
{
    QString error;
    const QString path = PrinterList::reservePdfFile(documentName, &error);
    if (path.isEmpty())
        return failure(error);
    // Written whole under its work name, then given its own: a crash never leaves a PDF that is
    // only a part of the document.
    const QString part = PrinterList::partPathOf(path);
    PrintResult result = printPdfFile(document, part, documentName, from, to, QPointF(), monitor);
    if (!result.ok)
        return result;
    if (!syncFile(part) || !QFile::rename(part, path)) {
        QFile::remove(part);
        return failure(QStringLiteral("The PDF file \"%1\" could not be written.").arg(path));
    }
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

PrintResult printSystem(const PageDocument &document, const QString &device, const QString &documentName,
                        int from, int to, bool physicalPage, PrintMonitor *monitor)
{
    if (device.trimmed().isEmpty() || !CupsQueue::printers().contains(device))
        return failure(QStringLiteral("The printer \"%1\" is not available.").arg(device));
    // Coordinates start at the printable area's corner unless they are the sheet's.
    QPointF corner;
    if (!physicalPage) {
        const PageData &first = document.pages.at(from - 1);
        if (const auto media = CupsQueue::mediaFor(device, QSizeF(first.width, first.height)))
            corner = QPointF(media->margins.left(), media->margins.top());
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

PrintResult print(const PageDocument &document, const PrinterSetup &setup, const QString &documentName,
                  int fromPage, int toPage, bool physicalPage, PrintMonitor *monitor)
{
    int from = 0, to = 0;
    if (const auto error = checkRange(document, fromPage, toPage, from, to))
        return failure(*error);
    const bool toFile = !setup.outputFile.isEmpty();
    const QString device = toFile ? setup.outputFile : setup.printer;
    const PrintJobInfo job{documentName, device, toFile || !monitor ? QString() : PrinterList::port(device), from, to};
    const QPointF offset = physicalPage ? QPointF() : setup.corner;
    return watched(monitor, job, [&] {
        if (toFile)
            return printPdfFile(document, setup.outputFile, documentName, from, to, offset, monitor);
        return printCups(document, setup.printer, documentName, from, to, offset, setup.options, monitor);
    });
}

} // namespace PagePrinter
