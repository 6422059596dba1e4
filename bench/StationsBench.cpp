// Many stations on one PostgreSQL server: 2, 6 and 20 stations (each its own database service and
// connection, in a thread of its own) save new orders of ten lines at once into one suite
// database. Reports the orders saved per second by all of them together, the 99th percentile of
// a save's time, and the waits on the numbering row, which every save holds from taking its
// number to its commit: the server's sessions are sampled for lock waits every millisecond.
//
//   bench_stations --dsn DATA_SOURCE [--stations 2,6,20] [--orders N] [--lines N]
//
// --orders is per station (default 100). The stations share the machine with the server and with
// each other: on a machine with few cores the figures are the server's and the stations' CPU
// together, which a network of separate stations would not share.

#include "BenchOrders.h"
#include "BenchSupport.h"
#include "dbservice/clsServer.h"
#include "module1/Module1.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <atomic>
#include <barrier>
#include <chrono>
#include <cstdio>
#include <libpq-fe.h>
#include <thread>
#include <utility>
#include <vector>

namespace {

struct StationRun
{
    std::vector<qint64> saveNs;
    QString failure;
};

// One station: its own service and connection; saves `orders` orders once all stations are ready.
void station(const QString &programDir, int number, int orders, int lines, std::barrier<> &ready, StationRun &run)
{
    try {
        clsServer server(programDir, false);
        const QString status = server.Get_ConnStatus();
        ready.arrive_and_wait();
        if (!status.isEmpty()) {
            run.failure = status;
            return;
        }
        Recordset header, detail;
        for (int i = 0; i < orders; ++i) {
            BenchOrders::makeOrder(header, detail, lines);
            server.setPendingImport({QStringLiteral("/bench/station%1/OrdQueue").arg(number),
                                     QStringLiteral("A1T%1O%2.ord").arg(number).arg(i), QString(64, QLatin1Char('a'))});
            QString orderNo = QStringLiteral("Auto No.");
            QElapsedTimer clock;
            clock.start();
            const QString result = server.Update_SalesOrder(orderNo, 1, header, detail, 0);
            run.saveNs.push_back(clock.nsecsElapsed());
            if (!result.isEmpty()) {
                run.failure = result;
                return;
            }
        }
    } catch (const std::exception &e) {
        run.failure = QString::fromLocal8Bit(e.what());
    }
}

// Samples how many of the benchmark's sessions wait for a lock, until told to stop.
void sampleLockWaits(const QString &parameters, std::atomic<bool> &stop, qint64 &samples, qint64 &waiting)
{
    PGconn *db = PQconnectdb(parameters.toUtf8().constData());
    if (PQstatus(db) != CONNECTION_OK) {
        std::fprintf(stderr, "the lock sampler cannot connect: %s\n", PQerrorMessage(db));
        PQfinish(db);
        return;
    }
    while (!stop.load()) {
        PGresult *r = PQexec(db, "SELECT count(*) FROM pg_stat_activity WHERE usename = current_user "
                                 "AND wait_event_type = 'Lock'");
        if (PQresultStatus(r) == PGRES_TUPLES_OK) {
            ++samples;
            waiting += std::atoll(PQgetvalue(r, 0, 0));
        }
        PQclear(r);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    PQfinish(db);
}

} // namespace

int main(int argc, char **argv)
{
    const int orders = std::max(1, BenchSupport::intOption(argc, argv, "--orders", 100));
    const int lines = std::max(1, BenchSupport::intOption(argc, argv, "--lines", 10));
    const QString dataSource = BenchSupport::textOption(argc, argv, "--dsn");
    QString stationCounts = BenchSupport::textOption(argc, argv, "--stations");
    if (stationCounts.isEmpty())
        stationCounts = QStringLiteral("2,6,20");
    QCoreApplication app(argc, argv);
    if (dataSource.isEmpty()) {
        std::fprintf(stderr, "usage: bench_stations --dsn DATA_SOURCE [--stations 2,6,20] [--orders N] [--lines N]\n");
        return 64;
    }

    std::printf("bench_stations (%s build): stations saving orders of %d lines at once, %d orders each\n",
                RFSTATION_BUILD_TYPE, lines, orders);
    bool firstRun = true;
    for (const QString &count : stationCounts.split(QLatin1Char(','))) {
        const int stations = std::max(1, count.toInt());
        QTemporaryDir dir;
        const QString root = dir.path() + "/Suite";
        BenchSupport::SuiteDatabase database(root, dataSource);
        if (!dir.isValid() || !BenchOrders::makeSuite(database, root, dataSource, lines))
            return 1;
        const QString programDir = root + "/admodule";

        std::vector<StationRun> runs(stations);
        std::barrier ready(stations + 1);
        std::vector<std::thread> threads;
        for (int i = 0; i < stations; ++i)
            threads.emplace_back(station, programDir, i + 1, orders, lines, std::ref(ready), std::ref(runs[i]));
        std::atomic<bool> stop{false};
        qint64 samples = 0, waiting = 0;
        ready.arrive_and_wait();
        QElapsedTimer clock;
        clock.start();
        std::thread sampler(sampleLockWaits, database.libpqParameters(), std::ref(stop), std::ref(samples),
                            std::ref(waiting));
        for (std::thread &t : threads)
            t.join();
        const double seconds = clock.nsecsElapsed() / 1e9;
        stop = true;
        sampler.join();

        std::vector<qint64> all;
        for (const StationRun &run : runs) {
            if (!run.failure.isEmpty()) {
                std::fprintf(stderr, "a station failed: %s\n", qPrintable(run.failure));
                return 1;
            }
            all.insert(all.end(), run.saveNs.begin(), run.saveNs.end());
        }
        if (database.number("SELECT COUNT(*) FROM so") != double(all.size())) {
            std::fprintf(stderr, "the database does not hold what was saved\n");
            return 1;
        }
        std::sort(all.begin(), all.end());
        const double perSecond = all.size() / seconds;
        const double meanWaiting = samples ? double(waiting) / samples : 0;
        std::printf("  %2d stations: %5.0f orders/s together; save median %.1f ms, 99th percentile %.1f ms; "
                    "waiting on the numbering row: %.1f stations on average, %.1f ms a save\n",
                    stations, perSecond, all[all.size() / 2] / 1e6,
                    all[std::min(all.size() - 1, all.size() * 99 / 100)] / 1e6, meanWaiting,
                    meanWaiting / perSecond * 1000.0);
        if (std::exchange(firstRun, false))
            std::printf("              %s\n", qPrintable(database.label()));
    }
    return 0;
}
