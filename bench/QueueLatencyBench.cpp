// Pick-up latency: terminal orders handed over one at a time, at random moments, into a running
// `rfstation --headless --print-qty 0` on a fresh demo suite. For each order the info file is
// handed over first, then the order file is written under a temporary name and renamed into its
// .ord name (the moment it appears); the latency is from that rename to the moment its sales
// order is committed (the database is polled every millisecond). Median, 99th percentile, most.
//
//   bench_queue_latency [--orders N] [--lines N] [--max-gap-ms N]

#include "BenchSupport.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <signal.h>

namespace {

const char *const Items[] = {"AB-S", "AB-M", "HD-L", "POLO200", "SOCK300", "CAP100", "MUG600", "GC25"};

bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

double percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    const size_t at = size_t(std::min<double>(double(values.size() - 1), p * double(values.size() - 1) + 0.5));
    return values[at];
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int orders = BenchSupport::intOption(argc, argv, "--orders", 200);
    const int lines = BenchSupport::intOption(argc, argv, "--lines", 10);
    const int maxGapMs = BenchSupport::intOption(argc, argv, "--max-gap-ms", 400);

    // A demo suite without sales orders, and a station watching its queue.
    QTemporaryDir dir;
    BenchSupport::SuiteDatabase db(dir.path() + "/Suite", QString());
    if (!dir.isValid() || !db.createForStation(QStringLiteral(RFSTATION_SOURCE_DIR))) {
        std::fprintf(stderr, "cannot build the suite in %s\n", qPrintable(dir.path()));
        return 1;
    }
    const QString queue = db.queueDir();
    QProcess station;
    QByteArray log;
    if (!BenchSupport::startStation(station, QStringLiteral(RFSTATION_EXECUTABLE), db.programDir(), log))
        return 1;

    std::vector<double> latencies;
    QElapsedTimer clock;
    for (int n = 0; n < orders; ++n) {
        // A random moment: the station is idle and its timers are anywhere in their period.
        QThread::msleep(QRandomGenerator::global()->bounded(maxGapMs + 1));
        const QString base = QStringLiteral("LT%1N%2").arg(n % 6 + 1).arg(n, 6, 10, QLatin1Char('0'));
        QByteArray body;
        for (int l = 0; l < lines; ++l)
            body += QByteArray(Items[(n + l) % 8]) + '\t' + QByteArray::number(l % 9 + 1) + "\r\n";
        if (!writeFile(queue + "/" + base + "info.crd", "[Customer]\r\nNumber=C1001\r\nName=Customer\r\n")
            || !writeFile(queue + "/" + base + ".part", body)) {
            std::fprintf(stderr, "cannot write into %s\n", qPrintable(queue));
            return 1;
        }
        clock.start();
        if (!QFile::rename(queue + "/" + base + ".part", queue + "/" + base + ".ord")) {
            std::fprintf(stderr, "cannot rename in %s\n", qPrintable(queue));
            return 1;
        }
        const QDeadlineTimer deadline(60000);
        while (db.number("SELECT COUNT(*) FROM so") <= n) {
            if (deadline.hasExpired() || station.state() == QProcess::NotRunning) {
                std::fprintf(stderr, "order %d was not saved within 60 s\n%s\n", n + 1,
                             (log + station.readAll()).constData());
                return 1;
            }
            QThread::usleep(1000);
        }
        latencies.push_back(double(clock.nsecsElapsed()) / 1e6);
        log += station.readAll();
    }
    ::kill(pid_t(station.processId()), SIGTERM);
    station.waitForFinished(60000);

    std::printf("build: %s; %d orders of %d lines handed over one at a time, gaps of 0 to %d ms\n",
                RFSTATION_BUILD_TYPE, orders, lines, maxGapMs);
    std::printf("order file renamed into the queue to sales order committed: median %.1f ms, "
                "99th percentile %.1f ms, most %.1f ms\n",
                percentile(latencies, 0.5), percentile(latencies, 0.99), percentile(latencies, 1.0));
    return 0;
}
