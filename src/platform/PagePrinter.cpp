#include "PagePrinter.h"

#include "PageRenderer.h"
#include "PrinterList.h"

#include <QFile>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
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

PrintResult printPdf(const PageDocument &document, const QString &documentName, int from, int to)
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
    bool ok = true;
    {
        QPdfWriter writer(&file);
        writer.setResolution(PdfResolution);
        writer.setCreator(QStringLiteral("RF Order Station"));
        writer.setTitle(documentName);
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setPageSize(pageSizeOf(document.pages.at(from - 1)));
        QPainter painter;
        ok = painter.begin(&writer);
        for (int page = from; ok && page <= to; ++page) {
            const PageData &data = document.pages.at(page - 1);
            if (page > from) {
                writer.setPageSize(pageSizeOf(data));
                ok = writer.newPage();
            }
            if (ok)
                PageRenderer::render(painter, data, PageRenderer::scaleX(writer), PageRenderer::scaleY(writer));
        }
        if (painter.isActive())
            ok = painter.end() && ok;
    }
    file.close();
    if (!ok || file.error() != QFileDevice::NoError) {
        const QString reason = file.error() != QFileDevice::NoError ? file.errorString() : QStringLiteral("the PDF writer failed");
        QFile::remove(path);
        return failure(QStringLiteral("The PDF file \"%1\" could not be written: %2").arg(path, reason));
    }
    PrintResult result;
    result.ok = true;
    result.outputFile = path;
    result.pagesPrinted = to - from + 1;
    return result;
}

// One job on a printer that is ready to use: the caller chose its paper and options.
PrintResult printOn(QPrinter &printer, const PageDocument &document, const QString &documentName,
                    int from, int to, bool physicalPage)
{
    const QString device = printer.printerName();
    printer.setDocName(documentName);
    printer.setFullPage(physicalPage);
    QPainter painter;
    if (!painter.begin(&printer))
        return failure(QStringLiteral("The printer \"%1\" did not accept the print job.").arg(device));
    for (int page = from; page <= to; ++page) {
        if (page > from && !printer.newPage()) {
            printer.abort();
            painter.end();
            return failure(QStringLiteral("The printer \"%1\" stopped the print job at page %2.").arg(device).arg(page));
        }
        PageRenderer::render(painter, document.pages.at(page - 1), PageRenderer::scaleX(printer),
                             PageRenderer::scaleY(printer));
    }
    const bool ended = painter.end();
    if (!ended || printer.printerState() == QPrinter::Error || printer.printerState() == QPrinter::Aborted)
        return failure(QStringLiteral("The printer \"%1\" reported an error; the document was not printed.").arg(device));
    PrintResult result;
    result.ok = true;
    result.pagesPrinted = to - from + 1;
    return result;
}

PrintResult printSystem(const PageDocument &document, const QString &device, const QString &documentName,
                        int from, int to, bool physicalPage)
{
    const QPrinterInfo info = QPrinterInfo::printerInfo(device);
    if (device.trimmed().isEmpty() || info.isNull())
        return failure(QStringLiteral("The printer \"%1\" is not available.").arg(device));

    QPrinter printer(info, QPrinter::HighResolution);
    if (!printer.isValid())
        return failure(QStringLiteral("The printer \"%1\" cannot be used.").arg(device));
    printer.setPageSize(pageSizeOf(document.pages.at(from - 1)));
    return printOn(printer, document, documentName, from, to, physicalPage);
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

} // namespace

PrintResult print(const PageDocument &document, const QString &device, const QString &documentName,
                  int fromPage, int toPage, bool physicalPage)
{
    int from = 0, to = 0;
    if (const auto error = checkRange(document, fromPage, toPage, from, to))
        return failure(*error);
    if (PrinterList::isPdf(device))
        return printPdf(document, documentName, from, to);
    return printSystem(document, device, documentName, from, to, physicalPage);
}

PrintResult print(const PageDocument &document, QPrinter &printer, const QString &documentName,
                  int fromPage, int toPage, bool physicalPage)
{
    int from = 0, to = 0;
    if (const auto error = checkRange(document, fromPage, toPage, from, to))
        return failure(*error);
    return printOn(printer, document, documentName, from, to, physicalPage);
}

} // namespace PagePrinter
