#include "dbservice/OrderRecords.h"

#include <QDate>

namespace {

Recordset openWith(const QString &names)
{
    Recordset rs;
    for (const QString &name : names.split(' ', Qt::SkipEmptyParts))
        rs.appendField(name, FieldType::Variant);
    rs.open();
    return rs;
}

void set(Recordset &rs, const QVariantMap &values)
{
    for (auto it = values.begin(); it != values.end(); ++it)
        rs.setValue(it.key(), it.value());
}

const QDate Today(2026, 12, 7);

} // namespace

Recordset orderHeader(bool addedInShow)
{
    Recordset h = openWith(
        "invno custno invdate amount memo balance freight tax total payflag inputdate inputtime userid "
        "sadressname saddress1 saddress2 scity sstate szip scountry badressname baddress1 baddress2 bcity "
        "bstate bzip bcountry terms salesman shipvia shipdate ordtype ordstatus custpo dc taxrate commission "
        "fob remark canceldate ordtyperef ordstatusref seasoncode commrate1 salesman2 commrate2 salesman3 "
        "commrate3 orderholddatetime housefactor deptcode addedinshow tdcpercent dcamtentered");
    h.addNew();
    set(h, {{"invno", "Auto No."}, {"CustNo", "C1"}, {"badressname", "Harbor Boutique"}, {"invdate", Today},
            {"shipdate", Today.addDays(3)}, {"CancelDate", Today.addDays(30)},
            {"amount", QVariant::fromValue(Currency::fromRaw(1000000))},
            {"tax", QVariant::fromValue(Currency::fromRaw(82500))},
            {"total", QVariant::fromValue(Currency::fromRaw(1082500))}, {"inputtime", QTime(9, 5, 7)},
            {"ordtype", 0}, {"addedinshow", addedInShow}});
    h.update();
    return h;
}

Recordset orderDetail()
{
    return openWith("invno itemno description qord qshp qbord um unit extended applytax commission actualqty "
                    "itype rowtext coltext invdate shpdate canceldate linenum commrate dcamount dcamtentered "
                    "dcpercent scalefactor autonum");
}

void addLine(Recordset &detail, const QString &item, double qord, const QString &row, const QString &col,
             const QString &autonum, double qbord)
{
    detail.addNew();
    set(detail, {{"itemno", item}, {"rowtext", row}, {"coltext", col}, {"autonum", autonum}, {"qord", qord},
                 {"qshp", 0.0}, {"qbord", qbord}, {"unit", 10.0}, {"extended", 10.0 * qord},
                 {"invdate", Today}, {"linenum", detail.recordCount() + 1}});
    detail.update();
}
