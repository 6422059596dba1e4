#include "OrderRecords.h"

#include <QDate>

namespace {

struct Spec
{
    const char *name;
    FieldType type;
    int size;
};

constexpr FieldType T = FieldType::Text, D = FieldType::Date, C = FieldType::Currency,
                    F = FieldType::Double, I = FieldType::Integer, L = FieldType::BigInt,
                    H = FieldType::Time, B = FieldType::Boolean;

constexpr Spec headerFields[] = {
    {"invno", T, 10}, {"custno", T, 10}, {"invdate", D, 0}, {"amount", C, 0}, {"memo", T, 30},
    {"balance", C, 0}, {"freight", C, 0}, {"tax", C, 0}, {"total", C, 0}, {"paydate", D, 0},
    {"payflag", I, 0}, {"inputdate", D, 0}, {"inputtime", H, 0}, {"userid", T, 10}, {"ref", T, 15},
    {"sadressname", T, 35}, {"saddress1", T, 35}, {"saddress2", T, 35}, {"scity", T, 20},
    {"sstate", T, 3}, {"szip", T, 10}, {"scountry", T, 30}, {"badressname", T, 35},
    {"baddress1", T, 35}, {"baddress2", T, 35}, {"bcity", T, 20}, {"bstate", T, 3}, {"bzip", T, 10},
    {"bcountry", T, 30}, {"terms", T, 6}, {"salesman", T, 10}, {"shipvia", T, 10}, {"shipdate", D, 0},
    {"ordtype", I, 0}, {"ordstatus", I, 0}, {"custpo", T, 15}, {"dc", C, 0}, {"taxrate", F, 0},
    {"commission", F, 0}, {"fob", T, 10}, {"remark", T, 100}, {"versionstamp", I, 0},
    {"canceldate", D, 0}, {"ordtyperef", T, 10}, {"ordstatusref", T, 10}, {"seasoncode", T, 10},
    {"commrate1", F, 0}, {"salesman2", T, 10}, {"commrate2", F, 0}, {"salesman3", T, 10},
    {"commrate3", F, 0}, {"orderholddatetime", D, 0}, {"orderholdby", T, 10}, {"housefactor", T, 1},
    {"srcsono", T, 10}, {"nofbox", I, 0}, {"deptcode", T, 10}, {"weight", F, 0},
    {"addedinshow", B, 0}, {"showname", T, 25}, {"catagory", T, 15}, {"tdcpercent", F, 0},
    {"dcamtentered", T, 1},
};

constexpr Spec detailFields[] = {
    {"invno", T, 10}, {"itemno", T, 25}, {"description", T, 45}, {"qord", F, 0}, {"qshp", F, 0},
    {"qbord", F, 0}, {"um", T, 5}, {"weight", F, 0}, {"unit", F, 0}, {"extended", F, 0},
    {"cost", F, 0}, {"applytax", T, 1}, {"commission", T, 1}, {"actualqty", F, 0}, {"itype", T, 2},
    {"rowtext", T, 10}, {"coltext", T, 10}, {"invdate", D, 0}, {"shpdate", D, 0},
    {"canceldate", D, 0}, {"linenum", L, 0}, {"colpos", I, 0}, {"commrate", F, 0},
    {"dcamount", F, 0}, {"dcamtentered", T, 1}, {"dcpercent", F, 0}, {"scalefactor", F, 0},
    {"catalogno", T, 20}, {"upcno", T, 20}, {"autonum", T, 14}, {"editflag", T, 1},
};

template <std::size_t N>
Recordset openWith(const Spec (&fields)[N])
{
    Recordset rs;
    for (const Spec &f : fields)
        rs.appendField(QString::fromLatin1(f.name), f.type, f.size);
    rs.open();
    return rs;
}

const QDate Today(2026, 12, 7);

} // namespace

Recordset orderHeader(const QString &custNo, bool addedInShow)
{
    Recordset h = openWith(headerFields);
    h.addNew();
    h.setValue("invno", "Auto No.");
    h.setValue("CustNo", custNo);
    h.setValue("badressname", "Harbor Boutique");
    h.setValue("baddress1", "214 Harbor Street");
    h.setValue("baddress2", "");
    h.setValue("bcity", "Port Lindon");
    h.setValue("bstate", "ME");
    h.setValue("bzip", "04101");
    h.setValue("bcountry", "USA");
    h.setValue("invdate", Today);
    h.setValue("shipdate", Today.addDays(3));
    h.setValue("CancelDate", Today.addDays(30));
    h.setValue("freight", QVariant::fromValue(Currency()));
    h.setValue("tax", QVariant::fromValue(Currency::fromRaw(82500)));
    h.setValue("amount", QVariant::fromValue(Currency::fromRaw(1000000)));
    h.setValue("tdcpercent", 0.0);
    h.setValue("dc", QVariant::fromValue(Currency()));
    h.setValue("dcamtentered", "N");
    h.setValue("balance", QVariant::fromValue(Currency::fromRaw(1082500)));
    h.setValue("total", QVariant::fromValue(Currency::fromRaw(1082500)));
    h.setValue("payflag", 0);
    h.setValue("inputdate", Today);
    h.setValue("inputtime", QTime(9, 5, 7));
    h.setValue("userid", "RF2");
    h.setValue("sadressname", "Harbor Boutique");
    h.setValue("memo", "");
    h.setValue("terms", "NET30");
    h.setValue("salesman", "S01");
    h.setValue("shipvia", "GROUND");
    h.setValue("ordtype", 0);
    h.setValue("ordstatus", 0);
    h.setValue("orderholdby", "");
    h.setValue("housefactor", "H");
    h.setValue("custpo", "");
    h.setValue("taxrate", 8.25);
    h.setValue("commission", 5.0);
    for (const char *empty : {"fob", "remark", "ordtyperef", "ordstatusref", "seasoncode", "deptcode",
                              "salesman2", "salesman3"})
        h.setValue(empty, "");
    h.setValue("commrate2", 0.0);
    h.setValue("commrate3", 0.0);
    h.setValue("addedinshow", addedInShow);
    h.update();
    return h;
}

Recordset orderDetail()
{
    return openWith(detailFields);
}

void addLine(Recordset &detail, const QString &item, double qord, const QString &row, const QString &col,
             const QString &autonum, double qshp, double qbord)
{
    detail.addNew();
    detail.setValue("invno", "Auto No.");
    detail.setValue("itemno", item);
    detail.setValue("description", "Item " + item);
    detail.setValue("um", "EA");
    detail.setValue("itype", row.isEmpty() ? "nm" : "m");
    detail.setValue("autonum", autonum);
    detail.setValue("rowtext", row);
    detail.setValue("coltext", col);
    detail.setValue("qord", qord);
    detail.setValue("qshp", qshp);
    detail.setValue("qbord", qbord);
    detail.setValue("unit", 10.0);
    detail.setValue("extended", 10.0 * qord);
    detail.setValue("dcpercent", 0.0);
    detail.setValue("dcamount", 0.0);
    detail.setValue("commrate", 5.0);
    detail.setValue("applytax", "1");
    detail.setValue("dcamtentered", "N");
    detail.setValue("commission", "1");
    detail.setValue("actualqty", 1.0);
    detail.setValue("scalefactor", 1.0);
    detail.setValue("linenum", qlonglong(detail.recordCount() + 1));
    detail.setValue("invdate", Today);
    detail.setValue("shpdate", Today);
    detail.setValue("canceldate", Today);
    detail.setValue("editflag", "");
    detail.update();
}
