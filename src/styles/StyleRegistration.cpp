#include "styles/StyleRegistration.h"

#include "styles/BoxStyle.h"
#include "printing/GenericPrintRun.h"
#include "styles/GenericStyle.h"
#include "styles/GroupDescStyle.h"
#include "styles/GroupStyle.h"
#include "styles/LotStyle.h"
#include "printing/PrintProcedures.h"
#include "styles/ProformaStyle.h"
#include "styles/RegularStyle.h"

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
