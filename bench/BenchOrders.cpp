#include "BenchOrders.h"

#include "queue/SalesOrderRecords.h"
#include "runtime/Currency.h"
#include "sqlaccess/Recordset.h"

#include <QDate>
#include <QDir>
#include <QTime>
#include <cstdio>

namespace BenchOrders {

bool makeSuite(BenchSupport::SuiteDatabase &database, const QString &root, const QString &dataSource, int items)
{
    const QByteArray schema = BenchSupport::readFile(QStringLiteral(RFSTATION_SOURCE_DIR "/schema/suite-")
                                                     + (dataSource.isEmpty() ? "sqlite.sql" : "postgresql.sql"));
    if (!QDir().mkpath(root + "/admodule") || schema.isEmpty()) {
        std::fprintf(stderr, "cannot prepare the suite in %s\n", qPrintable(root));
        return false;
    }
    QByteArray data = "BEGIN; INSERT INTO no_setup VALUES ('no_salesorder', 'SO', 6, 1);"
                      "INSERT INTO customer (uid, uname, address1, city, st, zip, shipto, terms, salesperson, "
                      "pricelevel, taxrate, DcPercent) VALUES ('C1001', 'Harbor Street Boutique', '12 Harbor St', "
                      "'Portland', 'OR', '97201', ' Same As Bill To', 'NET30', 'S1', '1', 8.25, 0);"
                      "INSERT INTO employee (uid, uname, commission) VALUES ('S1', 'Sam Seller', 5);"
                      "INSERT INTO pricecode (uid, uname, priority, method, to1, to5, p1, p5, c1, c5) VALUES "
                      "(' All Items', ' All Customers', 50, 0, 12, 999, 10, 20, 3, 5);";
    for (int i = 0; i < items; ++i)
        data += QStringLiteral("INSERT INTO item (uid, itemrow, itemcol, uname, itemtype, salesum, salesfactor, price, "
                               "cost, taxable, commission, stock, onso) VALUES ('B%1', 'BLACK', 'M', 'Bench item %1', "
                               "2, 'EA', 1, 12.5, 5.4, 1, 1, 1000, 0);")
                    .arg(i, 3, 10, QLatin1Char('0'))
                    .toUtf8();
    data += "COMMIT;";
    return database.create({schema, data});
}

QString itemNo(int i)
{
    return QStringLiteral("B%1").arg(i, 3, 10, QLatin1Char('0'));
}

void makeOrder(Recordset &header, Recordset &detail, int lines)
{
    header = Recordset();
    detail = Recordset();
    mf_CreateNewFieldSoHeader(header);
    mf_CreateNewFieldSoDetail(detail);
    header.open();
    detail.open();
    const QDate today = QDate::currentDate();
    Currency subtotal;
    for (int i = 0; i < lines; ++i) {
        const double quantity = 1 + i % 4;
        detail.addNew();
        detail.setValue("invno", "Auto No.");
        detail.setValue("itemno", itemNo(i));
        detail.setValue("description", "Bench item");
        detail.setValue("qord", quantity);
        detail.setValue("qshp", 0.0);
        detail.setValue("qbord", 0.0);
        detail.setValue("um", "EA");
        detail.setValue("unit", 12.5);
        detail.setValue("extended", 12.5 * quantity);
        detail.setValue("applytax", "1");
        detail.setValue("commission", "1");
        detail.setValue("actualqty", 1.0);
        detail.setValue("itype", "m");
        detail.setValue("rowtext", "BLACK");
        detail.setValue("coltext", "M");
        detail.setValue("invdate", today);
        detail.setValue("shpdate", today);
        detail.setValue("canceldate", today);
        detail.setValue("linenum", qlonglong(i + 1));
        detail.setValue("commrate", 5.0);
        detail.setValue("dcamount", 0.0);
        detail.setValue("dcamtentered", "N");
        detail.setValue("dcpercent", 0.0);
        detail.setValue("scalefactor", 1.0);
        detail.setValue("autonum", "");
        detail.setValue("editflag", "");
        detail.update();
        subtotal += Currency::fromDouble(12.5 * quantity);
    }
    header.addNew();
    header.setValue("invno", "Auto No.");
    header.setValue("custno", "C1001");
    header.setValue("badressname", "Harbor Street Boutique");
    header.setValue("invdate", today);
    header.setValue("shipdate", today);
    header.setValue("canceldate", today);
    header.setValue("amount", QVariant::fromValue(subtotal));
    header.setValue("tax", QVariant::fromValue(Currency()));
    header.setValue("dc", QVariant::fromValue(Currency()));
    header.setValue("freight", QVariant::fromValue(Currency()));
    header.setValue("balance", QVariant::fromValue(subtotal));
    header.setValue("total", QVariant::fromValue(subtotal));
    header.setValue("payflag", 0);
    header.setValue("inputdate", today);
    header.setValue("inputtime", QTime::currentTime());
    header.setValue("userid", "RF1");
    header.setValue("ordtype", 0);
    header.setValue("ordstatus", 0);
    header.setValue("housefactor", "H");
    header.setValue("taxrate", 0.0);
    header.setValue("commission", 5.0);
    header.setValue("addedinshow", false);
    header.setValue("tdcpercent", 0.0);
    header.setValue("dcamtentered", "N");
    header.update();
}

} // namespace BenchOrders
