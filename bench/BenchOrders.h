// The orders the save benchmarks write: a suite stocked for them and one converted order as the
// conversion hands it to the save.
#pragma once

#include "BenchSupport.h"

#include <QString>

class Recordset;

namespace BenchOrders {

// A suite with its settings file and a database built from the schema, stocked with `items`
// items (B000, B001, ...; variant BLACK / M), customer C1001 with its salesperson, a price code
// for every item and the sales order numbering (SO, 6 digits, from 1).
bool makeSuite(BenchSupport::SuiteDatabase &database, const QString &root, const QString &dataSource, int items);
QString itemNo(int i);
// A new order of `lines` lines, one per item from B000 on, for C1001.
void makeOrder(Recordset &header, Recordset &detail, int lines);

} // namespace BenchOrders
