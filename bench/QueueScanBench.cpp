// One scan of the order queue over a folder of 10,000 files (5,000 order files, each with its
// info file): the first scan lists every order and reads its info file; a second scan finds
// nothing new. Wall time and CPU time of each.
//
//   bench_queue_scan [--orders N]

#include "BenchSupport.h"
#include "queue/QueueService.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

namespace {

bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

struct Timing
{
    double wallMs;
    double cpuMs;
};

template <typename F>
Timing timed(F &&f)
{
    QElapsedTimer wall;
    const qint64 cpu = BenchSupport::cpuNs();
    wall.start();
    f();
    return {double(wall.nsecsElapsed()) / 1e6, double(BenchSupport::cpuNs() - cpu) / 1e6};
}

} // namespace

int main(int argc, char *argv[])
{
    const int orders = BenchSupport::intOption(argc, argv, "--orders", 5000);
    QCoreApplication app(argc, argv);

    QTemporaryDir dir;
    const QString programDir = dir.path() + "/Suite/admodule";
    const QString queue = programDir + "/OrdQueue";
    if (!dir.isValid() || !QDir().mkpath(queue)) {
        std::fprintf(stderr, "cannot create the queue folder\n");
        return 1;
    }
    for (int n = 0; n < orders; ++n) {
        const QString base = QStringLiteral("S%1T%2N%3").arg(n % 7).arg(n % 6 + 1).arg(n, 6, 10, QLatin1Char('0'));
        const QByteArray info = QStringLiteral("[Customer]\r\nNumber=C%1\r\nName=Customer %1\r\n")
                                    .arg(1001 + n % 7)
                                    .toLatin1();
        if (!writeFile(queue + "/" + base + "info.crd", info)
            || !writeFile(queue + "/" + base + ".ord", "AB-S\t12\r\nAB-M\t24\r\n")) {
            std::fprintf(stderr, "cannot write into %s\n", qPrintable(queue));
            return 1;
        }
    }

    QueueService service(programDir);
    const Timing first = timed([&] { service.ScanOrderQueue(); });
    const int listed = service.queue()->rowCount();
    const Timing second = timed([&] { service.ScanOrderQueue(); });
    if (listed != orders || service.queue()->rowCount() != orders || service.queue()->at(0).customerNo.isEmpty()) {
        std::fprintf(stderr, "listed %d of %d orders\n", service.queue()->rowCount(), orders);
        return 1;
    }

    std::printf("queue folder: %d files (%d order files with their info files)\n", orders * 2, orders);
    std::printf("first scan (lists %d orders, reads their info files): %.0f ms wall, %.0f ms CPU\n", listed,
                first.wallMs, first.cpuMs);
    std::printf("second scan (nothing new): %.0f ms wall, %.0f ms CPU\n", second.wallMs, second.cpuMs);
    return 0;
}
