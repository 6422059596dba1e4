#pragma once

#include <QString>

class Recordset;

// The cells of a sheet's address row, their lines separated by "\r".
namespace AddressCells {

// The customer row's bill-to address: name, address1, address2, "city, st, zip", country.
QString billTo(const Recordset &customer);
// The sales order's ship-to address: an empty first line, which keeps the address level with
// the bill-to one, then sAddress1, sAddress2, "sCity, sstate, szip", sCountry.
QString shipTo(const Recordset &order);

} // namespace AddressCells
