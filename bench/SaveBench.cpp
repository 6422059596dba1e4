// Saves new sales orders of ten lines each into a fresh suite database through the database
// service, one transaction per order (numbering, header, lines, stock), and reports throughput,
// the cost of one save and the statements (and, on a server, round trips) it takes.
//
//   bench_save [--orders N] [--lines N] [--dsn DATA_SOURCE]
//
// Without --dsn the suite is an SQLite file; with it, a PostgreSQL database reached through that
// ODBC data source (tools/pg-cluster starts a throw-away one).

#include "BenchSupport.h"
#include "sqlaccess/Connection.h"
#include "module1/Module1.h"
#include "queue/SalesOrderRecords.h"
#include "dbservice/clsServer.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTime>
#include <algorithm>
#include <cstdio>
#include <vector>

extern "C" long long rfCountedRoundTrips(); // ServerCounter: requests sent to a server

namespace {

// A suite with its settings file and a database built from the schema, stocked with the items
// the orders use and a sales order numbering row.
bool makeSuite(BenchSupport::SuiteDatabase &database, const QString &root, const QString &dataSource, int items)
{
    const QByteArray schema = BenchSupport::readFile(QStringLiteral(RFSTATION_SOURCE_DIR "/schema/suite-")
                                                     + (dataSource.isEmpty() ? "sqlite.sql" : "postgresql.sql"));
    if (!QDir().mkpath(root + "/admodule") || schema.isEmpty()) {
        std::fprintf(stderr, "cannot prepare the suite in %s\n", qPrintable(root));
        return false;
    }
    QByteArray data = "BEGIN; INSERT INTO no_setup VALUES ('no_salesorder', 'SO', 6, 1);";
    for (int i = 0; i < items; ++i)
        data += QStringLiteral("INSERT INTO item (uid, itemrow, itemcol, uname, price, cost, stock, onso) "
                               "VALUES ('B%1', 'BLACK', 'M', 'Bench item %1', 12.5, 5.4, 1000, 0);")
                    .arg(i, 3, 10, QLatin1Char('0'))
                    .toUtf8();
    data += "COMMIT;";
    return database.create({schema, data});
}

// One converted order as the conversion hands it over.
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
        detail.setValue("itemno", QStringLiteral("B%1").arg(i, 3, 10, QLatin1Char('0')));
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

} // namespace

int main(int argc, char **argv)
{
    const int orders = std::max(1, BenchSupport::intOption(argc, argv, "--orders", 1000));
    const int lines = std::max(1, BenchSupport::intOption(argc, argv, "--lines", 10));
    const QString dataSource = BenchSupport::textOption(argc, argv, "--dsn");
    QCoreApplication app(argc, argv);

    QTemporaryDir dir;
    const QString root = dir.path() + "/Suite";
    BenchSupport::SuiteDatabase database(root, dataSource);
    if (!dir.isValid() || !makeSuite(database, root, dataSource, lines))
        return 1;

    try {
        clsServer server(root + "/admodule", false);
        if (const QString status = server.Get_ConnStatus(); !status.isEmpty()) {
            std::fprintf(stderr, "cannot connect: %s\n", qPrintable(status));
            return 1;
        }

        std::vector<qint64> saveNs;
        saveNs.reserve(orders);
        QElapsedTimer total;
        qint64 totalNs = 0;
        qint64 totalCpuNs = 0;
        Recordset header, detail;
        const qint64 statementsBefore = server.connection().statementsRun();
        const qint64 roundTripsBefore = rfCountedRoundTrips();
        for (int i = 0; i < orders; ++i) {
            makeOrder(header, detail, lines);
            QString number = "Auto No.";
            const qint64 cpuStart = BenchSupport::cpuNs();
            total.start();
            const QString result = server.Update_SalesOrder(number, 1, header, detail, 0);
            const qint64 ns = total.nsecsElapsed();
            totalCpuNs += BenchSupport::cpuNs() - cpuStart;
            if (!result.isEmpty()) {
                std::fprintf(stderr, "order %d failed: %s\n", i + 1, qPrintable(result));
                return 1;
            }
            saveNs.push_back(ns);
            totalNs += ns;
        }

        const double statements = double(server.connection().statementsRun() - statementsBefore) / orders;
        const double roundTrips = double(rfCountedRoundTrips() - roundTripsBefore) / orders;
        const Recordset check = server.Get_sqlResult(
            "SELECT (SELECT COUNT(*) FROM so) AS orders, (SELECT COUNT(*) FROM sodetail) AS lines");
        if (check.number("orders") != orders || check.number("lines") != double(orders) * lines) {
            std::fprintf(stderr, "the database does not hold what was saved\n");
            return 1;
        }

        std::sort(saveNs.begin(), saveNs.end());
        auto us = [](qint64 ns) { return double(ns) / 1000.0; };
        std::printf("bench_save (%s build): %d orders of %d lines, one transaction each, %s\n",
                    RFSTATION_BUILD_TYPE, orders, lines, qPrintable(database.label()));
        std::printf("  orders per second : %.0f\n", orders / (double(totalNs) / 1e9));
        std::printf("  us per save       : mean %.0f, median %.0f, 95th percentile %.0f, max %.0f\n",
                    us(totalNs) / orders, us(saveNs[saveNs.size() / 2]),
                    us(saveNs[std::min(saveNs.size() - 1, saveNs.size() * 95 / 100)]), us(saveNs.back()));
        std::printf("  CPU us per save   : %.0f (the rest of the wall time is waiting for the disk or the server)\n",
                    us(totalCpuNs) / orders);
        std::printf("  per save          : %.1f statements", statements);
        if (!dataSource.isEmpty())
            std::printf(", %.1f round trips to the server", roundTrips);
        std::printf("\n");
    } catch (const DbError &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.description()));
        return 1;
    }
    return 0;
}
