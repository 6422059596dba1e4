// The start-up check of the suite database: every table the program reads or writes, the columns
// the order path uses and the columns the printed documents show must be there. A database
// without them would accept the program and then fail every order, or print documents with
// parts left blank.

#include "dbservice/clsServer.h"

#include <QSet>
#include <QStringList>

namespace {

struct TableColumns
{
    const char *table;
    const char *columns; // blank-separated; "" checks only that the table exists
};

const TableColumns Required[] = {
    {"so", "invno CustNo invdate orddate CancelDate amount Memo balance freight tax total dc tdcpercent "
           "dcamtentered taxrate payflag inputdate inputtime userid sadressname sAddress1 sAddress2 sCity sstate "
           "szip sCountry badressname baddress1 baddress2 bcity bstate bzip bcountry terms salesman shipvia ordtype "
           "ordstatus custpo Commission fob remark ordtyperef ordstatusref seasoncode deptcode commrate1 salesman2 "
           "commrate2 salesman3 commrate3 orderholddatetime housefactor addedinshow versionstamp"},
    {"sodetail",
     "autonum invno linenum itemno Description itype rowtext coltext um qord qshp qbord qremain actualqty "
     "scalefactor unit extended applytax Commission commrate DcPercent dcamount dcamtentered invdate shpdate "
     "CancelDate editflag"},
    {"item", "uid itemrow itemcol uname itemtype salesum salesfactor price cost pricecode taxable commission "
             "stock onso"},
    {"customer", "uid uname address1 address2 city st zip country tel contact shipto terms salesperson shipvia "
                 "pricelevel taxrate DcPercent"},
    {"shipto", "custno shiptoname address1 address2 city State zip country"},
    {"employee", "uid uname commission"},
    {"pricecode", "uid uname priority method to1 to2 to3 to4 to5 p1 p2 p3 p4 p5 c1 c2 c3 c4 c5"},
    {"soinv", "invno custno invdate"},
    {"soinvdetail", "invno itemno unit commrate"},
    {"no_setup", "sourcename nprefix ndigit nnextno"},
    {"locktable", ""},
    {"userinfo", ""},
    {"userright", ""},
    {"sochanged", "invno versionstamp linenum itemno fromqty toqty status"},
    {"itemcopy", "uid lotno"},
    {"terms", "uid uname"},
    {"config", "trdate trno"},
    {"companyinfo", "CompanyName address1 address2 tel fax"},
};

} // namespace

QString clsServer::missingSchema()
{
    QStringList missingTables;
    QStringList missingColumns;
    try {
        checkConnection();
    } catch (const std::exception &e) {
        return Get_DbErrorMessage(failure(e));
    }
    for (const TableColumns &required : Required) {
        const QString table = QString::fromLatin1(required.table);
        QSet<QString> present;
        try {
            const Recordset rs = m_connection.openSnapshot("SELECT * FROM " + table + " WHERE 1=2");
            for (int i = 0; i < rs.fieldCount(); ++i)
                present.insert(rs.field(i).name.toLower());
        } catch (const DbError &) {
            missingTables << table;
            continue;
        }
        const QStringList columns =
            QString::fromLatin1(required.columns).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        for (const QString &column : columns) {
            if (!present.contains(column.toLower()))
                missingColumns << table + QLatin1Char('.') + column;
        }
    }
    QStringList problems;
    if (!missingTables.isEmpty())
        problems << QStringLiteral("missing tables: ") + missingTables.join(QStringLiteral(", "));
    if (!missingColumns.isEmpty())
        problems << QStringLiteral("missing columns: ") + missingColumns.join(QStringLiteral(", "));
    if (problems.isEmpty())
        return {};
    // The file's name, never the ODBC connection text: that holds a password.
    const QString database = m_odbc ? QStringLiteral("of the ODBC data source") : QLatin1Char('"') + m_databaseName + '"';
    return QStringLiteral("The database %1 is not the suite's database: %2.")
        .arg(database, problems.join(QStringLiteral("; ")));
}
