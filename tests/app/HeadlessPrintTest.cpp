// The real program, headless, printing what it converts: every saved order goes to the "PDF"
// printer as many times as the print quantity says, is marked printed, and enters the print list.

#include "support/PdfText.h"
#include "runtime/PrivateProfile.h"
#include "app/Station.h"
#include "support/TempSuite.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Queues the sample orders, runs the station with two copies per order until `done` holds (at
// most 90 s) and stops it with SIGTERM; it must have got there and ended cleanly.
::testing::AssertionResult runStation(const TempSuite &suite, const QStringList &samples,
                                      const std::function<bool()> &done, QByteArray *logOut = nullptr)
{
    const QDir folder(QStringLiteral(RFSTATION_SOURCE_DIR "/schema/demo-orders"));
    for (const QString &name : samples) {
        if (!QFile::copy(folder.filePath(name), suite.queueDir() + "/" + name))
            return ::testing::AssertionFailure() << "cannot queue " << name.toStdString();
    }
    Station station(suite.programDir(), 2);
    if (!station.waitFor(done))
        return ::testing::AssertionFailure() << "not done:\n" << station.log.toStdString();
    if (station.stop() != 0)
        return ::testing::AssertionFailure() << "no clean end:\n" << station.log.toStdString();
    if (logOut)
        *logOut = station.log;
    return ::testing::AssertionSuccess();
}

QStringList pdfs(const TempSuite &suite)
{
    return QDir(suite.programDir() + "/printout").entryList({"*.pdf"}, QDir::Files, QDir::Name);
}

} // namespace

// Runs once on each backend: the print window has a database handle of its own.
class HeadlessPrint : public ::testing::TestWithParam<TestBackend>
{
};

TEST_P(HeadlessPrint, EveryConvertedOrderPrintsItsCopiesAndIsMarkedPrinted)
{
    RF_SKIP_UNLESS_CONFIGURED(GetParam());
    TempSuite suite(TempSuite::Data::Demo, GetParam());
    suite.setIni("PICKINGSHEET", "AutoSoDefault", "Y"); // sales orders, not picking sheets
    suite.setIni("AutoSoPrint", "DefaultPrinter", "PDF");
    QByteArray log;
    ASSERT_TRUE(runStation(
        suite, {"A1T1Ainfo.crd", "A1T1A.ord", "A1T2Ainfo.crd", "A1T2A.ord"},
        [&] { return suite.count("SELECT * FROM so WHERE ordstatus = 1") == 2 && pdfs(suite).size() == 4; }, &log));

    // Two copies of each order, each its own job and file.
    const QStringList files = pdfs(suite);
    ASSERT_EQ(files.size(), 4) << files.join(", ").toStdString();
    EXPECT_EQ(files.filter("SO001001").size(), 2);
    EXPECT_EQ(files.filter("SO001002").size(), 2);
    // Headless, the progress window is a line per job.
    EXPECT_EQ(QString::fromLocal8Bit(log).count(QRegularExpression("Printed SO001001 on PDF \\(.*printout\\): 1 page")), 2)
        << log.toStdString();

    const QString first = pdfText(suite.programDir() + "/printout/" + files.filter("SO001001").first());
    for (const char *text : {"SALES ORDER", "SO001001", "C1001", "Harbor Street Boutique", "Page: 1/1", "TOTAL",
                             "859.50"})
        EXPECT_TRUE(first.contains(text)) << text << "\n" << first.toStdString();

    // The print list keeps every entry, in the order the orders were saved.
    EXPECT_EQ(PrivateProfile::readString("AutoSoPrint", "List", "", suite.programDir() + "/tolvaprt.ini", 4096),
              "SO001001|2|SO001002|2|");
}

RF_TEST_ALL_BACKENDS(HeadlessPrint);

// A "GRP" suite prints picking sheets: the first copy of a new order takes the day's next
// transaction number, the second is a reprint.
TEST(HeadlessGroupedPrint, SuitePrintsPickingSheetsNumberedOnceThenReprinted)
{
    TempSuite suite(TempSuite::Data::Demo);
    suite.setIni("AUTOPICKINGSHEET", "Format", "GRP");
    suite.setIni("PICKINGSHEET", "AutoSoDefault", "N");
    suite.setIni("AutoSoPrint", "DefaultPrinter", "PDF");
    ASSERT_TRUE(runStation(suite, {"A1T1Ainfo.crd", "A1T1A.ord"}, [&] {
        return suite.count("SELECT * FROM so WHERE ordstatus = 1") == 1 && pdfs(suite).size() == 2;
    }));

    const QDate today = QDate::currentDate();
    const QString number = today.toString("MMddyyyy") + "-" + (today == QDate(2026, 12, 1) ? "0008" : "0001");
    EXPECT_EQ(suite.scalar("SELECT date(trdate) || ' ' || trno FROM config").toString(),
              today.toString("yyyy-MM-dd") + " " + QString::number(number.right(4).toInt()));
    const QStringList files = pdfs(suite);
    ASSERT_EQ(files.size(), 2);
    const QString copies[2] = {pdfText(suite.programDir() + "/printout/" + files[0]),
                               pdfText(suite.programDir() + "/printout/" + files[1])};
    for (int copy = 0; copy < 2; ++copy) {
        const QString transaction = copy == 0 ? "TRANSACTION: " + number : QString("TRANSACTION: Reprint...");
        for (const QString &text : {transaction, QString("PICKING SHEET"), QString("SORDER NO: SO001001"),
                                    QString("Acct #:C1001"), QString("Page: 1/1"), QString("PACKED BY"),
                                    QString("Active Base Tee - Small"), QString("- XL")})
            EXPECT_TRUE(copies[copy].contains(text)) << text.toStdString() << "\n" << copies[copy].toStdString();
    }
}
