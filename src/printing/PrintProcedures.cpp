#include "PrintProcedures.h"

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
    for (const PrintProcedure key : {which, PrintProcedure::Regular}) {
        const auto found = registry().find(key);
        if (found != registry().end() && found->second)
            return found->second;
    }
    return {};
}

void clear()
{
    registry().clear();
}

} // namespace PrintProcedures
