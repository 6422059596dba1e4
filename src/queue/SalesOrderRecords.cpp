#include "queue/SalesOrderRecords.h"

namespace {

struct FieldSpec
{
    const char *name;
    FieldType type;
    int size;
};

constexpr FieldType T = FieldType::Text;
constexpr FieldType D = FieldType::Date;
constexpr FieldType C = FieldType::Currency;
constexpr FieldType F = FieldType::Double;
constexpr FieldType I = FieldType::Integer;
constexpr FieldType L = FieldType::BigInt;
constexpr FieldType H = FieldType::Time;
constexpr FieldType B = FieldType::Boolean;

// The order of these lists is part of the contract with the save.
constexpr FieldSpec headerFields[] = {
    {"invno", T, 10},       {"custno", T, 10},      {"invdate", D, 0},      {"amount", C, 0},
    {"memo", T, 30},        {"balance", C, 0},      {"freight", C, 0},      {"tax", C, 0},
    {"total", C, 0},        {"paydate", D, 0},      {"payflag", I, 0},      {"inputdate", D, 0},
    {"inputtime", H, 0},    {"userid", T, 10},      {"ref", T, 15},         {"sadressname", T, 35},
    {"saddress1", T, 35},   {"saddress2", T, 35},   {"scity", T, 20},       {"sstate", T, 3},
    {"szip", T, 10},        {"scountry", T, 30},    {"badressname", T, 35}, {"baddress1", T, 35},
    {"baddress2", T, 35},   {"bcity", T, 20},       {"bstate", T, 3},       {"bzip", T, 10},
    {"bcountry", T, 30},    {"terms", T, 6},        {"salesman", T, 10},    {"shipvia", T, 10},
    {"shipdate", D, 0},     {"ordtype", I, 0},      {"ordstatus", I, 0},    {"custpo", T, 15},
    {"dc", C, 0},           {"taxrate", F, 0},      {"commission", F, 0},   {"fob", T, 10},
    {"remark", T, 100},     {"versionstamp", I, 0}, {"canceldate", D, 0},   {"ordtyperef", T, 10},
    {"ordstatusref", T, 10}, {"seasoncode", T, 10}, {"commrate1", F, 0},    {"salesman2", T, 10},
    {"commrate2", F, 0},    {"salesman3", T, 10},   {"commrate3", F, 0},    {"orderholddatetime", D, 0},
    {"orderholdby", T, 10}, {"housefactor", T, 1},  {"srcsono", T, 10},     {"nofbox", I, 0},
    {"deptcode", T, 10},    {"weight", F, 0},       {"addedinshow", B, 0},  {"showname", T, 25},
    {"catagory", T, 15},    {"tdcpercent", F, 0},   {"dcamtentered", T, 1},
};

constexpr FieldSpec detailFields[] = {
    {"invno", T, 10},      {"itemno", T, 25},       {"description", T, 45}, {"qord", F, 0},
    {"qshp", F, 0},        {"qbord", F, 0},         {"um", T, 5},           {"weight", F, 0},
    {"unit", F, 0},        {"extended", F, 0},      {"cost", F, 0},         {"applytax", T, 1},
    {"commission", T, 1},  {"actualqty", F, 0},     {"itype", T, 2},        {"rowtext", T, 10},
    {"coltext", T, 10},    {"invdate", D, 0},       {"shpdate", D, 0},      {"canceldate", D, 0},
    {"linenum", L, 0},     {"colpos", I, 0},        {"commrate", F, 0},     {"dcamount", F, 0},
    {"dcamtentered", T, 1}, {"dcpercent", F, 0},    {"scalefactor", F, 0},  {"catalogno", T, 20},
    {"upcno", T, 20},      {"autonum", T, 14},      {"editflag", T, 1},
};

static_assert(std::size(headerFields) == 63);
static_assert(std::size(detailFields) == 31);

template <std::size_t N>
bool appendAll(Recordset &rs, const FieldSpec (&fields)[N])
{
    try {
        for (const FieldSpec &f : fields)
            rs.appendField(QString::fromLatin1(f.name), f.type, f.size);
        return true;
    } catch (const DbError &) {
        return false;
    }
}

} // namespace

bool mf_CreateNewFieldSoHeader(Recordset &rsHeader)
{
    return appendAll(rsHeader, headerFields);
}

bool mf_CreateNewFieldSoDetail(Recordset &rsDetail)
{
    return appendAll(rsDetail, detailFields);
}
