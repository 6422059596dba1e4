#pragma once

#include <QString>
#include <functional>

class mm_prtinv;

// One print request as the print window hands it to a layout procedure.
struct PrintRequest
{
    bool preview = false;
    // "All New Sales Orders": every never-printed order; otherwise the range from..to.
    bool allNewOrders = false;
    bool pickingSheet = false;
    QString from;
    QString to;
    // Picking sheet kind of the generic print run: "F", "C", "B", doubled for all new orders.
    QString sheetFlag;
};

// The print procedures the print window dispatches to by layout style code.
enum class PrintProcedure {
    Regular,     // "REG" and every code without a procedure of its own
    Generic,     // "REGGENERIC"
    Proforma,    // "IMPPROFORMA"
    Box,         // "REGBOX"
    Lot,         // "REGLOT"
    Group,       // "GRP" sales orders
    GroupDesc,   // "GRPDESC" picking sheets
    GenericRun,  // "GRP" picking sheets: the generic print run
};

// The layout procedures live in a layer above the print window, so they register here at
// start-up. A procedure returns "" when its documents reached the printer (or the preview was
// shown), otherwise the reason they did not.
namespace PrintProcedures {

using Procedure = std::function<QString(mm_prtinv &, const PrintRequest &)>;

void registerProcedure(PrintProcedure which, Procedure procedure);
// The registered procedure; one not (yet) registered falls back to Regular. Empty when not
// even Regular is registered.
Procedure find(PrintProcedure which);
// Forgets every registration (tests).
void clear();

} // namespace PrintProcedures
