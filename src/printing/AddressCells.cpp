#include "printing/AddressCells.h"

#include "sqlaccess/Recordset.h"

#include <QStringList>

namespace AddressCells {

namespace {

QString lines(const Recordset &rs, const char *first, const char *address1, const char *address2, const char *city,
              const char *state, const char *zip, const char *country)
{
    auto field = [&rs](const char *name) { return name ? rs.text(QString::fromLatin1(name)) : QString(); };
    return QStringList{field(first), field(address1), field(address2),
                       field(city) + ", " + field(state) + ", " + field(zip), field(country)}
        .join(QLatin1Char('\r'));
}

} // namespace

QString billTo(const Recordset &customer)
{
    return lines(customer, "uname", "address1", "address2", "city", "st", "zip", "country");
}

QString shipTo(const Recordset &order)
{
    return lines(order, nullptr, "sAddress1", "sAddress2", "sCity", "sstate", "szip", "sCountry");
}

} // namespace AddressCells
