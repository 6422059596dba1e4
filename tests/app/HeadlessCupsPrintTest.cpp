// The real program, headless, printing on a CUPS queue of the private scheduler that
// tools/cups-scheduler runs (its device writes each job into a file): a converted order arrives
// whole and is marked printed; while the queue is stopped, and while it rejects jobs, orders stay
// unprinted and the reason is logged.

#include "support/PdfText.h"
#include "app/Station.h"
#include "support/TempSuite.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

// This process's environment with the private scheduler as the CUPS server.
QProcessEnvironment onPrivateScheduler()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("CUPS_SERVER", qEnvironmentVariable("RFSTATION_TEST_CUPS_SERVER"));
    return env;
}

// Runs a CUPS command against the private scheduler; its output.
QString cups(const QString &command, const QStringList &arguments)
{
    QProcess process;
    process.setProcessEnvironment(onPrivateScheduler());
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(command, arguments);
    process.waitForFinished(30000);
    return QString::fromLocal8Bit(process.readAll());
}

// The queue accepting and enabled again when the test ends, however it ends.
struct QueueRestored
{
    QString queue;
    ~QueueRestored()
    {
        cups("cupsenable", {queue});
        cups("cupsaccept", {queue});
    }
};

} // namespace

TEST(HeadlessCupsPrint, OrdersPrintOnACupsQueueAndStayUnprintedWhileItIsStoppedOrRejecting)
{
    const QString queue = qEnvironmentVariable("RFSTATION_TEST_PRINTER");
    const QString output = qEnvironmentVariable("RFSTATION_TEST_PRINTER_FILE");
    if (qEnvironmentVariableIsEmpty("RFSTATION_TEST_CUPS_SERVER") || queue.isEmpty())
        GTEST_SKIP() << "no private CUPS scheduler: tools/test runs the tests beside one (tools/cups-scheduler)";
    QueueRestored restored{queue};

    TempSuite suite(TempSuite::Data::Demo);
    suite.setIni("PICKINGSHEET", "AutoSoDefault", "Y"); // sales orders
    suite.setIni("AutoSoPrint", "DefaultPrinter", queue);
    const QDir samples(QStringLiteral(RFSTATION_SOURCE_DIR "/schema/demo-orders"));
    const auto drop = [&](const QString &order) {
        for (const QString &name : {order + "info.crd", order + ".ord"})
            ASSERT_TRUE(QFile::copy(samples.filePath(name), suite.queueDir() + "/" + name)) << name.toStdString();
    };

    Station station(suite.programDir(), 1, onPrivateScheduler());
    const QByteArray &log = station.log;
    const auto printed = [&](const char *invno) {
        return suite.scalar(QStringLiteral("SELECT ordstatus FROM so WHERE invno = '%1'").arg(invno)).toInt() == 1;
    };

    drop("A1T1A");
    ASSERT_TRUE(station.waitFor([&] { return printed("SO001001"); })) << log.toStdString();
    // Marked printed once the scheduler holds the job; the queue then writes it out.
    ASSERT_TRUE(
        station.waitFor([&] { return cups("lpstat", {"-o", queue}).trimmed().isEmpty() && QFile::exists(output); }))
        << cups("lpstat", {"-W", "all", "-l", "-o", queue}).toStdString();
    const QString text = pdfText(output);
    for (const char *expected : {"SALES ORDER", "SO001001", "C1001", "Harbor Street Boutique", "Page: 1/1", "859.50"})
        EXPECT_TRUE(text.contains(expected)) << expected << "\n" << text.toStdString();

    cups("cupsdisable", {queue});
    drop("A1T2A");
    ASSERT_TRUE(station.waitFor([&] { return log.contains("Sales order SO001002 not printed"); })) << log.toStdString();
    EXPECT_TRUE(log.contains("is stopped")) << log.toStdString();
    cups("cupsenable", {queue});

    cups("cupsreject", {queue});
    drop("A1T3A");
    ASSERT_TRUE(station.waitFor([&] { return log.contains("Sales order SO001003 not printed"); })) << log.toStdString();
    EXPECT_TRUE(log.contains("is not accepting print jobs")) << log.toStdString();

    EXPECT_EQ(station.stop(), 0) << log.toStdString();
    EXPECT_FALSE(printed("SO001002"));
    EXPECT_FALSE(printed("SO001003"));
    EXPECT_TRUE(cups("lpstat", {"-o", queue}).trimmed().isEmpty()) << "nothing of the refused orders was queued";
}
