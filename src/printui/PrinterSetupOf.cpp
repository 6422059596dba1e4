#include "printui/PrinterSetupOf.h"

#include <QPrintEngine>
#include <QPrinter>

PrinterSetup PrinterSetupOf(const QPrinter &printer)
{
    PrinterSetup setup;
    if (printer.outputFormat() != QPrinter::NativeFormat) {
        setup.outputFile = printer.outputFileName();
        return setup;
    }
    setup.printer = printer.printerName();
    const QMarginsF margins = printer.pageLayout().marginsPoints();
    setup.corner = QPointF(margins.left() * 20.0, margins.top() * 20.0);

    const auto add = [&setup](const QByteArray &name, const QByteArray &value) {
        setup.options.append(qMakePair(name, value));
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
    const auto cupsOptionsKey = QPrintEngine::PrintEnginePropertyKey(0xfe00);
    const QStringList pairs = printer.printEngine()->property(cupsOptionsKey).toStringList();
    for (qsizetype i = 0; i + 1 < pairs.size(); i += 2)
        add(pairs[i].toUtf8(), pairs[i + 1].toUtf8());
    return setup;
}
