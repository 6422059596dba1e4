#pragma once

#include "printing/PrintRequest.h"

#include <QString>
#include <functional>

class PageEngine;

// The print procedures the print requests are dispatched to by layout style code.
enum class PrintProcedure {
    Regular,    // "REG" and every code without a procedure of its own
    Generic,    // "REGGENERIC"
    Proforma,   // "IMPPROFORMA"
    Box,        // "REGBOX"
    Lot,        // "REGLOT"
    Group,      // "GRP" sales orders
    GroupDesc,  // "GRPDESC" picking sheets
    GenericRun, // "GRP" picking sheets: the generic print run
};

// The dispatch of print requests. The layout procedures live in a layer above the print window,
// so they register here at start-up (registerLayoutStyles). A procedure lays the request out on
// the engine it is given and returns "" when its documents reached the printer (or the preview
// was laid out), otherwise the reason they did not (see PrintRequest).
namespace PrintProcedures {

using Procedure = std::function<QString(PageEngine &, const PrintRequest &)>;

void registerProcedure(PrintProcedure which, Procedure procedure);
// The registered procedure; empty when none is registered for `which`.
Procedure find(PrintProcedure which);
// Forgets every registration (tests).
void clear();

// The procedure for a style code and document kind: "GRPDESC" picking sheets, "GRP" sales
// orders and picking sheets, "REGGENERIC", "IMPPROFORMA", "REGBOX", "REGLOT"; anything else,
// "GRPDESC" sales orders and "" included, is Regular.
PrintProcedure forStyle(const QString &styleCode, bool pickingSheet);

// False for the requests after which the print window neither closes nor shows itself:
// "GRP" sales orders and "GRPDESC" picking sheets.
bool windowStepFollows(const PrintRequest &request);

// Runs the procedure of the request's style code and document kind on the engine.
QString run(PageEngine &engine, const PrintRequest &request);

} // namespace PrintProcedures
