#pragma once

#include "sqlaccess/Recordset.h"

// The sales order as it travels from the conversion to the save: a header set of 63 fields
// (one row) and a detail set of 31 fields (one row per line), free-standing, in memory.
// Both append their fields to a fresh, closed set and return true; false when a field cannot be
// appended (the set is then unusable). The caller opens the set afterwards.
bool mf_CreateNewFieldSoHeader(Recordset &rsHeader);
bool mf_CreateNewFieldSoDetail(Recordset &rsDetail);
