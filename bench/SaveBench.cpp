// Saves new sales orders of ten lines each into a fresh suite database through the database
// service, one transaction per order (numbering, header, lines, stock, import record), and in the
// same run the same write statements through the backend's own client library (the floor,
// PlainClientSave), in alternating blocks so that both meet the same machine. Reports throughput,
// the cost of one save, the station's figure as a share of the floor's, the statements and, on a
// server, the round trips of a save; then whole orders as the queue takes them (import record
// look-up, customer, items, prices, save, archive mark), with the look-ups asked line by line and
// fetched per order.
//
//   bench_save [--orders N] [--lines N] [--block N] [--dsn DATA_SOURCE]
//
// Without --dsn the suite is an SQLite file; with it, a PostgreSQL database reached through that
// ODBC data source (tools/pg-cluster starts a throw-away one).

#include "BenchOrders.h"
#include "BenchSupport.h"
#include "PlainClientSave.h"
#include "dbservice/clsServer.h"
#include "module1/Module1.h"
#include "queue/OrderConverter.h"
#include "queue/SalesOrderRecords.h"
#include "queue/SuiteOrderLookups.h"
#include "sqlaccess/Connection.h"

#include <QCoreApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTime>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

extern "C" long long rfCountedRoundTrips(); // ServerCounter: requests sent to a server

namespace {

// The rows the save writes for the order, for the floor: the same columns and values.
OrderRows rowsOf(Recordset &header, Recordset &detail, int order)
{
    static const QStringList headerColumns =
        QStringLiteral(
            "CustNo badressname baddress1 baddress2 bcity bstate bzip bcountry invno invdate orddate CancelDate "
            "freight "
            "tax amount dc dcamtentered tdcpercent balance total payflag inputdate inputtime userid sadressname "
            "sAddress1 "
            "sAddress2 sCity sstate szip sCountry Memo terms salesman shipvia ordtype ordstatus orderholddatetime "
            "housefactor custpo taxrate Commission fob remark ordtyperef ordstatusref seasoncode deptcode commrate1 "
            "commrate2 commrate3 salesman2 salesman3")
            .split(' ');
    static const QStringList lineColumns = QStringLiteral("invno itemno Description qord qshp qbord qremain um unit "
                                                          "extended applytax DcPercent dcamount dcamtentered "
                                                          "Commission commrate itype actualqty scalefactor autonum "
                                                          "invdate shpdate CancelDate rowtext coltext linenum")
                                               .split(' ');
    OrderRows rows;
    rows.headerColumns = headerColumns;
    header.moveFirst();
    for (const QString &column : headerColumns)
        rows.header << header.value(column == QLatin1String("orddate") ? QStringLiteral("shipdate") : column);
    rows.lineColumns = lineColumns;
    for (detail.moveFirst(); !detail.eof(); detail.moveNext()) {
        QVariantList line;
        for (const QString &column : lineColumns)
            line << detail.value(column == QLatin1String("qremain") ? QStringLiteral("qord") : column);
        rows.lines << line;
        rows.stock.append(
            {detail.text("itemno"), detail.text("rowtext"), detail.text("coltext"), detail.number("qord")});
    }
    rows.import << QStringLiteral("/bench/OrdQueue") << QStringLiteral("FLOOR%1.ORD").arg(order)
                << QString(64, QLatin1Char('f')) << QDateTime::currentDateTimeUtc().toString("yyyy-MM-dd hh:mm:ss")
                << 0 << QString();
    return rows;
}

struct Figures
{
    std::vector<qint64> ns;
    qint64 cpuNs = 0;
    qint64 roundTrips = 0;
    qint64 statements = 0;

    double perSecond() const
    {
        qint64 total = 0;
        for (qint64 n : ns)
            total += n;
        return ns.empty() ? 0 : ns.size() / (double(total) / 1e9);
    }
    double percentileUs(int percent)
    {
        std::sort(ns.begin(), ns.end());
        return ns.empty() ? 0 : ns[std::min(ns.size() - 1, ns.size() * percent / 100)] / 1000.0;
    }
    double meanUs() const { return ns.empty() ? 0 : 1e9 / perSecond() / 1000.0; }
    double per(qint64 value) const { return ns.empty() ? 0 : double(value) / ns.size(); }
};

// Times `work` (one order) into `figures`; false when it failed.
bool timed(Figures &figures, const std::function<QString()> &work, clsServer &server)
{
    const qint64 statements = server.connection().statementsRun();
    const qint64 trips = rfCountedRoundTrips();
    const qint64 cpu = BenchSupport::cpuNs();
    QElapsedTimer clock;
    clock.start();
    const QString result = work();
    figures.ns.push_back(clock.nsecsElapsed());
    figures.cpuNs += BenchSupport::cpuNs() - cpu;
    figures.roundTrips += rfCountedRoundTrips() - trips;
    figures.statements += server.connection().statementsRun() - statements;
    if (result.isEmpty())
        return true;
    std::fprintf(stderr, "an order failed: %s\n", qPrintable(result));
    return false;
}

void report(const char *what, Figures &f, bool server, bool statements)
{
    std::printf("  %-26s %6.0f orders/s; us per order: mean %.0f, median %.0f, 95th %.0f; CPU %.0f us", what,
                f.perSecond(), f.meanUs(), f.percentileUs(50), f.percentileUs(95), f.per(f.cpuNs) / 1000.0);
    if (statements)
        std::printf("; %.1f statements", f.per(f.statements));
    if (server)
        std::printf("; %.1f round trips", f.per(f.roundTrips));
    std::printf("\n");
}

} // namespace

int main(int argc, char **argv)
{
    const int orders = std::max(1, BenchSupport::intOption(argc, argv, "--orders", 1000));
    const int lines = std::max(1, BenchSupport::intOption(argc, argv, "--lines", 10));
    const int block = std::max(1, BenchSupport::intOption(argc, argv, "--block", 50));
    const QString dataSource = BenchSupport::textOption(argc, argv, "--dsn");
    const bool server = !dataSource.isEmpty();
    QCoreApplication app(argc, argv);

    QTemporaryDir dir;
    const QString root = dir.path() + "/Suite";
    BenchSupport::SuiteDatabase database(root, dataSource);
    if (!dir.isValid() || !BenchOrders::makeSuite(database, root, dataSource, lines))
        return 1;

    try {
        clsServer station(root + "/admodule", false);
        if (const QString status = station.Get_ConnStatus(); !status.isEmpty()) {
            std::fprintf(stderr, "cannot connect: %s\n", qPrintable(status));
            return 1;
        }
        QString error;
        const std::unique_ptr<PlainClientSave> floor =
            server ? PlainClientSave::openPostgres(database.libpqParameters(), &error)
                   : PlainClientSave::openSqlite(root + "/suite.db", &error);
        if (!floor) {
            std::fprintf(stderr, "the plain client cannot connect: %s\n", qPrintable(error));
            return 1;
        }

        // The save alone, the station and the floor in turns.
        Figures saves, plain;
        Recordset header, detail;
        for (int done = 0; done < orders;) {
            const int count = std::min(block, orders - done);
            for (int i = 0; i < count; ++i) {
                BenchOrders::makeOrder(header, detail, lines);
                station.setPendingImport({QStringLiteral("/bench/OrdQueue"),
                                          QStringLiteral("STATION%1.ord").arg(done + i),
                                          QString(64, QLatin1Char('e'))});
                QString number = "Auto No.";
                if (!timed(
                        saves, [&] { return station.Update_SalesOrder(number, 1, header, detail, 0); }, station))
                    return 1;
            }
            for (int i = 0; i < count && !qEnvironmentVariableIsSet("ONLY_STATION"); ++i) {
                BenchOrders::makeOrder(header, detail, lines);
                const OrderRows rows = rowsOf(header, detail, done + i);
                if (!timed(
                        plain, [&] { return floor->save(rows); }, station))
                    return 1;
            }
            done += count;
        }
        if (qEnvironmentVariableIsSet("ONLY_STATION")) {
            report("station", saves, server, true);
            return 0;
        }
        const double saved = database.number("SELECT COUNT(*) FROM sodetail");
        if (database.number("SELECT COUNT(*) FROM so") != 2.0 * orders || saved != 2.0 * orders * lines
            || database.number("SELECT COUNT(*) FROM rfimport") != 2.0 * orders) {
            std::fprintf(stderr, "the database does not hold what was saved\n");
            return 1;
        }

        // Whole orders as the queue takes them, pick-up to archive mark.
        QList<OrderRecord> records;
        for (int i = 0; i < lines; ++i)
            records.append(
                {BenchOrders::itemNo(i), double(1 + i % 4), OrderRecord::Quantity::Number, QString::number(1 + i % 4)});
        const int wholeOrders = std::max(1, orders / 5);
        Figures lineByLine, perOrder;
        for (int i = 0; i < 2 * wholeOrders; ++i) {
            const bool fetched = i % 2 == 1;
            const auto whole = [&]() -> QString {
                const clsServer::OrderImport file{QStringLiteral("/bench/OrdQueue"), QStringLiteral("W%1.ord").arg(i),
                                                  QString(64, QLatin1Char('0' + i % 10))};
                QString earlier;
                if (const QString e = station.findUnarchivedImport({file.queueDir}, file, &earlier); !e.isEmpty())
                    return e;
                SuiteOrderLookups lookups(station);
                const std::optional<Recordset> customer = lookups.customer(QStringLiteral("C1001"));
                if (!customer)
                    return QStringLiteral("no customer");
                if (fetched)
                    lookups.prefetch(records, QStringLiteral("C1001"), customer->text(QStringLiteral("pricelevel")));
                const OrderContext context{QStringLiteral("C1001"), 1, QDateTime::currentDateTime(), false};
                const SalesOrderDraft draft = DraftSalesOrder(records, *customer, lookups, context);
                if (!draft.failure.isEmpty())
                    return draft.failure;
                Recordset rsHeader, rsDetail;
                mf_CreateNewFieldSoHeader(rsHeader);
                mf_CreateNewFieldSoDetail(rsDetail);
                rsHeader.open();
                rsDetail.open();
                WriteSalesOrderRecords(draft, rsHeader, rsDetail);
                station.setPendingImport(file);
                QString number = QStringLiteral("Auto No.");
                if (const QString e = station.Update_SalesOrder(number, 1, rsHeader, rsDetail, 0); !e.isEmpty())
                    return e;
                return station.markImportArchived(number);
            };
            if (!timed(fetched ? perOrder : lineByLine, whole, station))
                return 1;
        }

        std::printf("bench_save (%s build): %d orders of %d lines, one transaction each, %s\n", RFSTATION_BUILD_TYPE,
                    orders, lines, qPrintable(database.label()));
        std::printf(" the save (numbering, header, lines, stock, import record), in blocks of %d:\n", block);
        report("station (Update_SalesOrder)", saves, server, true);
        report(server ? "floor (libpq)" : "floor (SQLite C API)", plain, server, false);
        std::printf("  station / floor: %.2fx the throughput, %.2fx the CPU time per save",
                    saves.perSecond() / plain.perSecond(), double(saves.cpuNs) / double(plain.cpuNs));
        if (server)
            std::printf(", %.1f against %.1f round trips", saves.per(saves.roundTrips), plain.per(plain.roundTrips));
        std::printf(
            "\n whole orders as the queue takes them (import record, customer, items, prices, save, archive mark):\n");
        report("look-ups line by line", lineByLine, server, true);
        report("look-ups fetched per order", perOrder, server, true);
    } catch (const DbError &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.description()));
        return 1;
    }
    return 0;
}
