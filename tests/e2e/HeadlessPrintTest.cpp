// The real program, headless, printing what it converts: every saved order goes to the "PDF"
// printer as many times as the print quantity says, is marked printed, and enters the print list.

#include "PrivateProfile.h"
#include "TempSuite.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <signal.h>

namespace {

QString pdfText(const QString &path)
{
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {"-layout", path, "-"});
    pdftotext.waitForFinished(30000);
    return QString::fromUtf8(pdftotext.readAllStandardOutput());
}

} // namespace

TEST(HeadlessPrint, EveryConvertedOrderPrintsItsCopiesAndIsMarkedPrinted)
{
    TempSuite suite(TempSuite::Data::Demo);
    suite.setIni("PICKINGSHEET", "AutoSoDefault", "Y"); // sales orders, not picking sheets
    suite.setIni("AutoSoPrint", "DefaultPrinter", "PDF");
    const QDir samples(QStringLiteral(RFSTATION_SOURCE_DIR "/schema/demo-orders"));
    for (const char *name : {"A1T1Ainfo.crd", "A1T1A.ord", "A1T2Ainfo.crd", "A1T2A.ord"})
        ASSERT_TRUE(QFile::copy(samples.filePath(name), suite.queueDir() + "/" + name));

    QProcess station;
    station.setProcessChannelMode(QProcess::MergedChannels);
    station.start(QStringLiteral(RFSTATION_EXECUTABLE),
                  {"--headless", "--program-dir", suite.programDir(), "--print-qty", "2"});
    ASSERT_TRUE(station.waitForStarted(30000));

    const QDir printout(suite.programDir() + "/printout");
    const auto pdfs = [&] { return printout.entryList({"*.pdf"}, QDir::Files, QDir::Name); };
    QByteArray log;
    const QDeadlineTimer deadline(90 * 1000);
    while (suite.count("SELECT * FROM so WHERE ordstatus = 1") < 2 || pdfs().size() < 4) {
        ASSERT_FALSE(deadline.hasExpired()) << log.toStdString();
        ASSERT_EQ(station.state(), QProcess::Running) << log.toStdString();
        station.waitForReadyRead(250);
        log += station.readAll();
    }
    ::kill(pid_t(station.processId()), SIGTERM);
    ASSERT_TRUE(station.waitForFinished(60000));
    log += station.readAll();
    EXPECT_EQ(station.exitCode(), 0) << log.toStdString();

    // Two copies of each order, each its own job and file.
    const QStringList files = pdfs();
    ASSERT_EQ(files.size(), 4) << files.join(", ").toStdString();
    EXPECT_EQ(files.filter("SO001001").size(), 2);
    EXPECT_EQ(files.filter("SO001002").size(), 2);
    // Headless, the progress window is a line per job.
    EXPECT_EQ(QString::fromLocal8Bit(log).count(QRegularExpression("Printed SO001001 on PDF \\(.*printout\\): 1 page")), 2)
        << log.toStdString();

    const QString first = pdfText(printout.filePath(files.filter("SO001001").first()));
    for (const char *text : {"SALES ORDER", "SO001001", "C1001", "Harbor Street Boutique", "Page: 1/1", "TOTAL",
                             "859.50"})
        EXPECT_TRUE(first.contains(text)) << text << "\n" << first.toStdString();

    // The print list keeps every entry, in the order the orders were saved.
    EXPECT_EQ(PrivateProfile::readString("AutoSoPrint", "List", "", suite.programDir() + "/tolvaprt.ini", 4096),
              "SO001001|2|SO001002|2|");
}
