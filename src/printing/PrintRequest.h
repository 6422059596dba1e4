#pragma once

#include "sqlaccess/Connection.h"
#include "printing/PrintSettings.h"

#include <QDateTime>
#include <QString>
#include <functional>

// One print request as a value: what the print window's controls and settings say. The print
// window builds it from its controls (mm_prtinv::printRequest), the headless print station from
// the stored settings alone (HeadlessPrintStation). A print routine (a layout style, the generic
// print run) is called with it and with the PageEngine to lay out on, and needs nothing else:
// it reads no window, no control and no settings file, and it creates no widget.
//
// What a print routine may rely on and must do:
// - The orders: allNewOrders selects every never-printed order; otherwise the range from..to,
//   which may be empty or reversed (then nothing is found). The numbers are text as typed or
//   handed in: they reach SQL only through DoubleQuotes or a bound parameter.
// - The engine is fresh for the request; the routine sets the device (printer), margins and
//   fonts itself. When printing it prints every document through the engine (one job per order
//   unless its design says otherwise) and marks printed what reached the printer. For a preview
//   it prints and marks nothing and leaves the ended document on the engine; the print window
//   then shows that engine in the preview window (with its "&Print" button hidden). Without a
//   window (headless) nothing is shown.
// - It returns "" when the documents reached the printer (or the preview was laid out),
//   otherwise the reason, which it has also shown to the operator (ShowMessage and
//   ShowErrorMessage write to standard error in a headless run).
// - Dates and times printed as "now" come from now(), so a test can pin them.
struct PrintRequest
{
    // --- what to print
    QString styleCode;         // the layout style code as read for this request, upper-cased
    bool pickingSheet = false; // document kind: picking sheets, else sales orders
    bool allNewOrders = false; // "All New Sales Orders"; else the range from..to
    QString from;              // first order number of the range, trimmed
    QString to;                // last order number of the range, trimmed
    // Picking sheet kind, as the generic print run takes it: "F" full, "C" changed lines only,
    // "B" both; doubled ("FF", "CC", "BB") when allNewOrders.
    QString sheetFlag = QStringLiteral("F");

    // --- how
    bool preview = false; // lay out for the preview window; nothing is printed or marked
    QString printer;      // device name as the printer list offers it ("PDF" writes files)

    // --- what the pages carry
    QString pickingSheetTitle; // "PICKING SHEET" unless the settings say otherwise
    QString salesOrderTitle;   // "SALES ORDER" unless the settings say otherwise
    CompanyDetails company;

    // --- where the orders are
    Connection db; // the print station's own handle on the suite database

    // The name printed after "USER:" on picking sheets; empty means the account the program
    // runs under.
    QString user;

    // The clock for printed dates and times; empty means the system clock.
    std::function<QDateTime()> clock;

    // The title of the document kind.
    QString title() const { return pickingSheet ? pickingSheetTitle : salesOrderTitle; }
    QDateTime now() const { return clock ? clock() : QDateTime::currentDateTime(); }
};
