#include "StyleRegistration.h"

#include "BoxStyle.h"
#include "GenericPrintRun.h"
#include "GenericStyle.h"
#include "GroupDescStyle.h"
#include "GroupStyle.h"
#include "LotStyle.h"
#include "PrintProcedures.h"
#include "ProformaStyle.h"
#include "RegularStyle.h"

// One line per layout style: its print procedure under the PrintProcedure that the dispatch
// (PrintProcedures::forStyle) picks for its style code.
void registerLayoutStyles()
{
    PrintProcedures::registerProcedure(PrintProcedure::Regular, PrintRegularStyle);
    PrintProcedures::registerProcedure(PrintProcedure::Group, PrintGroupStyle);
    PrintProcedures::registerProcedure(PrintProcedure::GenericRun, PrintGenericRun);
    PrintProcedures::registerProcedure(PrintProcedure::Generic, PrintGenericStyle);
    PrintProcedures::registerProcedure(PrintProcedure::Proforma, PrintProformaStyle);
    PrintProcedures::registerProcedure(PrintProcedure::Box, PrintBoxStyle);
    PrintProcedures::registerProcedure(PrintProcedure::Lot, PrintLotStyle);
    PrintProcedures::registerProcedure(PrintProcedure::GroupDesc, PrintGroupDescStyle);
}
