#include "StyleRegistration.h"

#include "GenericPrintRun.h"
#include "GroupStyle.h"
#include "PrintProcedures.h"
#include "RegularStyle.h"

// One line per layout style: its print procedure under the PrintProcedure that the dispatch
// (PrintProcedures::forStyle) picks for its style code.
void registerLayoutStyles()
{
    PrintProcedures::registerProcedure(PrintProcedure::Regular, PrintRegularStyle);
    PrintProcedures::registerProcedure(PrintProcedure::Group, PrintGroupStyle);
    PrintProcedures::registerProcedure(PrintProcedure::GenericRun, PrintGenericRun);
}
