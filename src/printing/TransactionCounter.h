#pragma once

#include "sqlaccess/Connection.h"

#include <QDate>
#include <QString>

// The suite's daily picking-sheet transaction counter: the first row of table config, with
// trdate (the date of the last number) and trno (the count within that date).
namespace TransactionCounter {

// Adds the row (trdate = today, trno = 0) when the table has none. Throws DbError.
void ensureRow(const Connection &db, const QDate &today);

// The next transaction number of `today`, "mmddyyyy-0000" (the third of 4 December 2026 reads
// 12042026-0003): trno + 1 when trdate holds today's date; otherwise (another day, no date, no
// row) trdate = today and trno = 1. The row is read and written in one short transaction of its
// own, which locks it while it is counted, so two stations numbering at the same moment get
// different numbers; a row another station changed in between is counted again. Throws DbError
// when no number could be had.
QString next(Connection db, const QDate &today);

} // namespace TransactionCounter
