#pragma once

#include "sqlaccess/Recordset.h"

#include <cstddef>

// Copies fields of the source's current row into the same-named fields of the target's row, in
// the order given (the order the suite's programs write them in).
template <std::size_t N>
void copyColumns(Recordset &target, const Recordset &source, const char *const (&columns)[N])
{
    for (const char *column : columns) {
        const QString name = QLatin1String(column);
        target.setValue(name, source.value(name));
    }
}
