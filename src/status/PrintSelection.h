#pragma once

#include "printing/PrintRequest.h"

#include <QString>
#include <QStringList>

// What to print without the print window: the choices of its controls as values ("All New Sales
// Orders" or "All Selected" with the range, "Print Sales Orders" or "Print Picking Sheets", the
// picking sheet kind, the printer) and the copies. `rfstation print` and the status page's print
// action both print through here.
struct PrintSelection
{
    static constexpr int MaxCopies = 99;

    bool allNew = false; // every never-printed order; else the range from..to
    QString from;        // as typed: trimmed and upper-cased for the request, as the window's fields are
    QString to;
    bool pickingSheets = false;
    QChar sheet = QLatin1Char('F'); // picking sheet kind: 'F' full, 'C' changed lines only, 'B' both
    QString printer;                // "": the printer the print window starts with
    int copies = 1;

    // "" when the choices can be printed; otherwise why not (no orders chosen, both chosen, a
    // sheet kind that is not F, C or B, copies outside 1 to MaxCopies).
    QString check() const;
    // The sheet kind of "full", "changed" or "both"; a null QChar for any other name.
    static QChar sheetNamed(const QString &name);
    // For messages: "sales orders SO000951 to SO000952", "all new picking sheets (changed only)".
    QString describe() const;
};

// The request the print window's dispatch makes of these choices with the stored settings: the
// suite's layout style, the stored titles and company details, the sheet flag doubled for all
// new orders. The printer is the chosen one, else the one the window starts with.
PrintRequest PrintRequestFor(const PrintSelection &selection, const StoredPrintSettings &settings);

struct PrintOutcome
{
    enum class Result {
        Printed,      // every copy reached the printer
        Failed,       // nothing, or not every copy, was printed: no order found, a printer failure
        BadSelection, // the choices are wrong (PrintSelection::check)
        NoPrinter,    // the chosen printer is not offered here
        Settings,     // the program folder is not inside a suite, or its settings file is missing
        Database,     // the suite database cannot be opened
    };
    Result result = Result::Failed;
    QString message; // what was printed, or why not
};

// Prints the selection in the suite's style on an engine of its own, as the print window's
// dispatch would, loading the settings the window loads from the program folder `programDir`.
// Takes no lock: it may run beside a station working on the same folder. With all new orders and
// more than one copy, the first copy prints the new orders and the others reprint those it
// printed. Throws nothing.
PrintOutcome PrintSelected(const QString &programDir, const PrintSelection &selection);

// The printers a print can go to, as the print window lists them, and the suite's style.
struct OfferedPrinters
{
    QStringList names;
    QString selected; // the one the print window starts with
    QString style;    // the layout style code, [AUTOPICKINGSHEET] Format
};
// Throws DbError when the program folder is not inside a suite.
OfferedPrinters PrintersOffered(const QString &programDir);
