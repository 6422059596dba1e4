// A burst of terminal orders into a running headless station: 1,000 order pairs of 10 lines
// from six terminals are handed over (info file first, each file written under a temporary name
// and renamed) into the queue of `rfstation --headless --print-qty 0` on a fresh demo suite.
// Measured from the first file dropped to the last order saved (the database is polled every
// 10 ms); the station picks the files up as they arrive, its timers being the fallback.
//
//   bench_queue_burst [--orders N] [--lines N] [--dsn DATA_SOURCE]
//
// Without --dsn the suite is an SQLite file; with it, a PostgreSQL database reached through that
// ODBC data source, and the station runs with the server counter preloaded: the statements it
// runs and the round trips it makes per order are reported too.

#include "BenchSupport.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <signal.h>
#include <unistd.h>

namespace {

const char *const Customers[] = {"C1001", "C1002", "C1003", "C1004", "C1005", "C1006", "C1007"};
const char *const Items[] = {"AB-S",    "AB-M",   "AB-L",   "AB-XL",     "AB-2XL", "HD-S",
                             "HD-M",    "HD-L",   "HD-XL",  "POLO200",   "SOCK300", "CAP100",
                             "BELT700", "TOTE400", "BEANIE500", "MUG600", "GC25"};

bool handOver(const QString &folder, const QString &name, const QByteArray &content)
{
    const QString part = folder + "/" + name + ".part";
    QFile file(part);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        return false;
    file.close();
    return QFile::rename(part, folder + "/" + name);
}

// User plus system CPU seconds of a running process.
double cpuSecondsOf(qint64 pid)
{
    const QList<QByteArray> fields = BenchSupport::readFile(QStringLiteral("/proc/%1/stat").arg(pid)).split(' ');
    if (fields.size() < 15)
        return 0;
    return double(fields[13].toLongLong() + fields[14].toLongLong()) / double(sysconf(_SC_CLK_TCK));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int orders = BenchSupport::intOption(argc, argv, "--orders", 1000);
    const int lines = BenchSupport::intOption(argc, argv, "--lines", 10);

    const QString dataSource = BenchSupport::textOption(argc, argv, "--dsn");

    // A demo suite without sales orders, and a station watching its queue.
    QTemporaryDir dir;
    BenchSupport::SuiteDatabase db(dir.path() + "/Suite", dataSource);
    if (!dir.isValid() || !db.createForStation(QStringLiteral(RFSTATION_SOURCE_DIR))) {
        std::fprintf(stderr, "cannot build the suite in %s\n", qPrintable(dir.path()));
        return 1;
    }
    const QString programDir = db.programDir();
    const QString queue = db.queueDir();
    const auto count = [&db](const char *query) { return int(db.number(QString::fromLatin1(query))); };

    QProcess station;
    const QString counts = dir.path() + "/counts";
    if (!dataSource.isEmpty()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("LD_PRELOAD", QStringLiteral(RFSTATION_SERVER_COUNTER));
        environment.insert("RFSTATION_COUNT_FILE", counts);
        station.setProcessEnvironment(environment);
    }
    QByteArray log;
    if (!BenchSupport::startStation(station, QStringLiteral(RFSTATION_EXECUTABLE), programDir, log))
        return 1;
    const double cpuBefore = cpuSecondsOf(station.processId());

    QElapsedTimer clock;
    clock.start();
    for (int n = 0; n < orders; ++n) {
        const QString base = QStringLiteral("BT%1N%2").arg(n % 6 + 1).arg(n, 6, 10, QLatin1Char('0'));
        const char *customer = Customers[n % 7];
        QByteArray body;
        for (int l = 0; l < lines; ++l)
            body += QByteArray(Items[(n * lines + l) % 17]) + '\t' + QByteArray::number((n * 7 + l * 5) % 24 + 1)
                    + "\r\n";
        if (!handOver(queue, base + "info.crd",
                      QByteArray("[Customer]\r\nNumber=") + customer + "\r\nName=Customer " + customer + "\r\n")
            || !handOver(queue, base + ".ord", body)) {
            std::fprintf(stderr, "cannot write into %s\n", qPrintable(queue));
            return 1;
        }
    }
    const double droppedMs = clock.nsecsElapsed() / 1e6;

    double firstSavedMs = -1;
    double lastSavedMs = -1;
    QDeadlineTimer deadline(15 * 60 * 1000);
    while (!deadline.hasExpired() && station.state() != QProcess::NotRunning) {
        const int saved = count("SELECT COUNT(*) FROM so");
        const double now = clock.nsecsElapsed() / 1e6;
        if (saved > 0 && firstSavedMs < 0)
            firstSavedMs = now;
        if (saved >= orders) {
            lastSavedMs = now;
            break;
        }
        station.waitForReadyRead(10);
        log += station.readAll();
    }
    const double cpuUsed = cpuSecondsOf(station.processId()) - cpuBefore;
    ::kill(pid_t(station.processId()), SIGTERM);
    station.waitForFinished(60000);
    log += station.readAll();

    if (lastSavedMs < 0) {
        std::fprintf(stderr, "only %d of %d orders were saved\n", count("SELECT COUNT(*) FROM so"), orders);
        return 1;
    }
    const int archived = int(QDir(db.archiveDir()).entryList(QDir::Files).size());
    const int left = int(QDir(queue).entryList(QDir::Files).size());
    const int detailRows = count("SELECT COUNT(*) FROM sodetail");

    std::printf("build: %s; %d orders of %d lines from 6 terminals, print quantity 0; %s\n", RFSTATION_BUILD_TYPE,
                orders, lines, qPrintable(db.label()));
    std::printf("files handed over in %.0f ms\n", droppedMs);
    std::printf("first order saved %.0f ms after the first file was dropped\n", firstSavedMs);
    std::printf("last order saved %.0f ms after the first file was dropped: %.1f orders/s overall\n", lastSavedMs,
                orders * 1000.0 / lastSavedMs);
    std::printf("first to last order saved: %.0f ms: %.1f orders/s once saving began\n",
                lastSavedMs - firstSavedMs, (orders - 1) * 1000.0 / (lastSavedMs - firstSavedMs));
    std::printf("station CPU time meanwhile: %.2f s (%.1f ms per order)\n", cpuUsed, cpuUsed * 1000.0 / orders);
    if (!dataSource.isEmpty()) {
        // The whole run of the station: start-up and the look-ups of the conversion included.
        const QList<QByteArray> counted = BenchSupport::readFile(counts).trimmed().split(' ');
        if (counted.size() == 2)
            std::printf("station's work on the server: %.1f statements and %.1f round trips per order\n",
                        counted[0].toDouble() / orders, counted[1].toDouble() / orders);
    }
    std::printf("check: %d detail rows, %d files archived, %d files left in the queue, exit status %d\n", detailRows,
                archived, left, station.exitCode());
    return 0;
}
