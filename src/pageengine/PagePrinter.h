#pragma once

#include "pageengine/PageDocument.h"
#include "pageengine/PrintMonitor.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QPointF>
#include <QString>

struct PrintResult
{
    bool ok = false;
    // For the operator: what went wrong and on which printer. Empty when ok.
    QString error;
    // The file written by the "PDF" printer; empty for system printers.
    QString outputFile;
    int pagesPrinted = 0;
    // The monitor cancelled the job (ok is false, nothing of it printed).
    bool cancelled = false;
};

// A printer as the operator set it up in the system's printer dialog: the CUPS queue and the job
// options chosen there, or a file to print into.
struct PrinterSetup
{
    QString printer;    // the CUPS queue ("queue" or "queue/instance"); ignored with an output file
    QString outputFile; // print into this PDF file instead of a queue
    QPointF corner;     // the printable area's corner on the sheet, in twips
    QList<QPair<QByteArray, QByteArray>> options; // CUPS job options, name and value ("media", "A4")
};

// Sends a finished document to a printer as one print job.
namespace PagePrinter {

// Prints pages fromPage..toPage (1-based, inclusive; 0 means the first / the last page) on the
// named printer (see PrinterList). physicalPage: the document's coordinates start at the sheet's
// corner rather than at the printable area's. A printer that is gone, refuses the job or fails
// during it gives ok = false and an error text; a failed PDF job leaves no file behind. A system
// printer is a CUPS queue: the document goes to it as one PDF job (CupsQueue) and is printed once
// the scheduler holds all of it; a queue that is missing, stopped or not accepting jobs prints
// nothing and gives the reason.
// With a monitor, the job is reported to it and each page waits for its go-ahead (PrintMonitor).
PrintResult print(const PageDocument &document, const QString &device, const QString &documentName,
                  int fromPage, int toPage, bool physicalPage, PrintMonitor *monitor = nullptr);

// The same on a printer the operator has set up (paper, tray, duplex chosen in the system's
// printer dialog); its options go with the job.
PrintResult print(const PageDocument &document, const PrinterSetup &setup, const QString &documentName,
                  int fromPage, int toPage, bool physicalPage, PrintMonitor *monitor = nullptr);

} // namespace PagePrinter
