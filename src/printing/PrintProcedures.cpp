#include "printing/PrintProcedures.h"

#include <map>

namespace PrintProcedures {

namespace {

std::map<PrintProcedure, Procedure> &registry()
{
    static std::map<PrintProcedure, Procedure> procedures;
    return procedures;
}

} // namespace

void registerProcedure(PrintProcedure which, Procedure procedure)
{
    registry()[which] = std::move(procedure);
}

Procedure find(PrintProcedure which)
{
    const auto found = registry().find(which);
    return found != registry().end() ? found->second : Procedure();
}

void clear()
{
    registry().clear();
}

PrintProcedure forStyle(const QString &styleCode, bool pickingSheet)
{
    if (styleCode == QLatin1String("GRPDESC"))
        return pickingSheet ? PrintProcedure::GroupDesc : PrintProcedure::Regular;
    if (styleCode == QLatin1String("GRP"))
        return pickingSheet ? PrintProcedure::GenericRun : PrintProcedure::Group;
    if (styleCode == QLatin1String("REGGENERIC"))
        return PrintProcedure::Generic;
    if (styleCode == QLatin1String("IMPPROFORMA"))
        return PrintProcedure::Proforma;
    if (styleCode == QLatin1String("REGBOX"))
        return PrintProcedure::Box;
    if (styleCode == QLatin1String("REGLOT"))
        return PrintProcedure::Lot;
    return PrintProcedure::Regular;
}

bool windowStepFollows(const PrintRequest &request)
{
    const PrintProcedure which = forStyle(request.styleCode, request.pickingSheet);
    return which != PrintProcedure::Group && which != PrintProcedure::GroupDesc;
}

QString run(PageEngine &engine, const PrintRequest &request)
{
    const Procedure procedure = find(forStyle(request.styleCode, request.pickingSheet));
    if (!procedure)
        return QStringLiteral("No print procedure is installed for the layout style \"%1\".").arg(request.styleCode);
    return procedure(engine, request);
}

} // namespace PrintProcedures
