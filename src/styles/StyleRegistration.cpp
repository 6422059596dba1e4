#include "StyleRegistration.h"

#include "PrintProcedures.h"
#include "RegularStyle.h"

void registerLayoutStyles()
{
    PrintProcedures::registerProcedure(PrintProcedure::Regular, PrintRegularStyle);
}
