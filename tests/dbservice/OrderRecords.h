#pragma once

#include "Recordset.h"

#include <QString>

// Sales order header and detail record sets with the fields the conversion hands to the save,
// filled the way it fills them.

// One header row for customer `custNo`, number "Auto No.", amounts of one 100.00 line.
Recordset orderHeader(const QString &custNo = QStringLiteral("C1"), bool addedInShow = false);
Recordset orderDetail(); // open, no rows

// A line of `qord` ordered of an item variant; `autonum` is the key of a line already saved.
void addLine(Recordset &detail, const QString &item, double qord, const QString &row = {},
             const QString &col = {}, const QString &autonum = {}, double qshp = 0, double qbord = 0);
