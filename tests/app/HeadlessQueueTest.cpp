// The real program, headless, on a throw-away suite: terminal orders dropped into its queue
// become sales orders, the ones that cannot stay queued, and SIGTERM ends it cleanly.

#include "app/Station.h"
#include "support/TempSuite.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

// Writes the file under a temporary name and renames it, as the terminals hand files over.
void handOver(const QString &folder, const QString &name, const QByteArray &content)
{
    QFile file(folder + "/" + name + ".part");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
    file.close();
    ASSERT_TRUE(file.rename(folder + "/" + name));
}

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// Runs once on each backend: with database type 1 the program reaches the server through ODBC.
class HeadlessQueue : public ::testing::TestWithParam<TestBackend>
{
};

TEST_P(HeadlessQueue, ConvertsDroppedOrdersKeepsTheFailingOnesAndStopsOnSigterm)
{
    RF_SKIP_UNLESS_CONFIGURED(GetParam());
    TempSuite suite(TempSuite::Data::Demo, GetParam());
    const QString queue = suite.queueDir();
    const QDir samples(QStringLiteral(RFSTATION_SOURCE_DIR "/schema/demo-orders"));
    for (const char *pattern : {"*.crd", "*.ord"}) // info files first, as the terminals write them
        for (const QString &name : samples.entryList({pattern}, QDir::Files))
            handOver(queue, name, contentOf(samples.filePath(name)));

    Station station(suite.programDir(), 0);
    const auto orders = [&] { return suite.count("SELECT * FROM so"); };

    // A1T6A names an unknown item and A1T6B has no info file: six of the eight are saved.
    ASSERT_TRUE(station.waitFor([&] { return orders() >= 6; })) << station.log.toStdString();
    // Another order, and the missing info file arriving late.
    handOver(queue, "E1T2Ainfo.crd", "[Customer]\r\nNumber=C1002\r\n");
    handOver(queue, "E1T2A.ord", "AB-S\t3\r\nCAP100\t2\r\n");
    handOver(queue, "A1T6Binfo.crd", "[Customer]\r\nNumber=C1006\r\n");
    ASSERT_TRUE(station.waitFor([&] { return orders() >= 8; })) << station.log.toStdString();
    EXPECT_EQ(station.stop(), 0) << station.log.toStdString();
    const QByteArray &log = station.log;

    // Each order saved once, under the suite's numbering; its amount the sum of its lines.
    EXPECT_EQ(orders(), 8);
    EXPECT_EQ(suite.count("SELECT DISTINCT CustNo FROM so"), 7);
    EXPECT_EQ(suite.scalar("SELECT MAX(invno) FROM so").toString(), "SO001008");
    EXPECT_EQ(suite.scalar("SELECT userid FROM so WHERE CustNo='C1006'").toString(), "RF6");
    EXPECT_EQ(suite.count("SELECT * FROM sodetail"), 5 + 4 + 4 + 5 + 4 + 4 + 2 + 2); // A1T2A's 0 line left out
    EXPECT_EQ(suite.count("SELECT * FROM so WHERE ABS(amount - (SELECT SUM(extended) FROM sodetail d "
                          "WHERE d.invno=so.invno)) > 0.001"),
              0);
    // Quantities on sales order follow the saved lines, variant by variant.
    EXPECT_EQ(suite.count("SELECT * FROM item i WHERE onso <> (SELECT COALESCE(SUM(qord), 0) FROM sodetail d "
                          "WHERE d.itemno=i.uid AND d.rowtext=i.itemrow AND d.coltext=i.itemcol)"),
              0);
    EXPECT_DOUBLE_EQ(suite.scalar("SELECT onso FROM item WHERE uid='AB-S'").toDouble(), 12 + 3);

    // Saved orders archived unchanged, the failing one still queued, no print list (quantity 0).
    EXPECT_EQ(QDir(suite.archiveDir()).entryList(QDir::Files).size(), 16);
    EXPECT_EQ(contentOf(suite.archiveDir() + "/A1T1A.txt"), contentOf(samples.filePath("A1T1A.ord")));
    EXPECT_EQ(QDir(queue).entryList(QDir::Files, QDir::Name), (QStringList{"A1T6A.ord", "A1T6Ainfo.crd"}));
    EXPECT_FALSE(QFile::exists(suite.programDir() + "/tolvaprt.ini"));
    EXPECT_TRUE(log.contains("Saved A1T1A.ord as sales order SO001001")) << log.toStdString();
    EXPECT_TRUE(log.contains("Order A1T6A.ord not saved: Error: item \"ZZ-999\" (record 2) not found"));
    if (GetParam() == TestBackend::PostgreSql) {
        const OdbcSource source = suite.database().odbcSource();
        EXPECT_TRUE(log.contains("connected to DSN=" + source.dataSource.toUtf8() + ";uid=" + source.user.toUtf8()
                                 + ";pwd=****"))
            << log.toStdString();
        EXPECT_FALSE(log.contains(source.password.toUtf8()));
    }
}

RF_TEST_ALL_BACKENDS(HeadlessQueue);
