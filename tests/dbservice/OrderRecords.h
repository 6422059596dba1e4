#pragma once

#include "sqlaccess/Recordset.h"

// Header and detail record sets as the conversion hands them to the save, holding the fields the
// save reads: one header row ("Auto No.", customer C1, a 100.00 order with 8.25 tax), no lines.
Recordset orderHeader(bool addedInShow = false);
Recordset orderDetail();

// A line of `qord` ordered of an item variant; `autonum` is the key of a line already saved.
void addLine(Recordset &detail, const QString &item, double qord, const QString &row = {},
             const QString &col = {}, const QString &autonum = {}, double qbord = 0);
