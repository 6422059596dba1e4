// The real program, headless, on a throw-away suite: terminal orders dropped into its queue
// become sales orders; the ones that cannot stay queued; SIGTERM ends it cleanly.

#include "TempSuite.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <functional>
#include <gtest/gtest.h>
#include <signal.h>

namespace {

const QString DemoOrders = QStringLiteral(RFSTATION_SOURCE_DIR "/schema/demo-orders");

// Writes a file under a temporary name and renames it, as the terminals hand files over.
void handOver(const QString &folder, const QString &name, const QByteArray &content)
{
    const QString part = folder + "/" + name + ".part";
    QFile file(part);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(content), content.size());
    file.close();
    ASSERT_TRUE(QFile::rename(part, folder + "/" + name));
}

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class HeadlessStation
{
public:
    explicit HeadlessStation(const TempSuite &suite)
    {
        m_process.setProgram(QStringLiteral(RFSTATION_EXECUTABLE));
        m_process.setArguments({"--headless", "--program-dir", suite.programDir(), "--print-qty", "0"});
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        m_process.start();
    }
    ~HeadlessStation()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(10000);
        }
    }

    bool started() { return m_process.waitForStarted(30000); }
    // Waits for the condition, checking it whenever the program reports something (it logs each
    // saved order) and at least every quarter second, until the deadline.
    bool waitFor(const std::function<bool()> &condition, int seconds)
    {
        QDeadlineTimer deadline(seconds * 1000);
        while (!condition()) {
            if (deadline.hasExpired() || m_process.state() == QProcess::NotRunning)
                return condition();
            m_process.waitForReadyRead(250);
            m_output += m_process.readAll();
        }
        return true;
    }
    void terminate() { ::kill(pid_t(m_process.processId()), SIGTERM); }
    bool finished()
    {
        const bool done = m_process.waitForFinished(60000);
        m_output += m_process.readAll();
        return done;
    }
    QProcess::ExitStatus exitStatus() const { return m_process.exitStatus(); }
    int exitCode() const { return m_process.exitCode(); }
    QString output() const { return QString::fromLocal8Bit(m_output); }

private:
    QProcess m_process;
    QByteArray m_output;
};

} // namespace

TEST(HeadlessQueue, ConvertsDroppedOrdersKeepsTheFailingOnesAndStopsOnSigterm)
{
    TempSuite suite(TempSuite::Data::Demo);
    const QString queue = suite.queueDir();
    // Info files first, as the terminals write them.
    const QDir samples(DemoOrders);
    for (const QString &pattern : {QStringLiteral("*.crd"), QStringLiteral("*.ord")})
        for (const QString &name : samples.entryList({pattern}, QDir::Files))
            handOver(queue, name, contentOf(samples.filePath(name)));

    HeadlessStation station(suite);
    ASSERT_TRUE(station.started());
    const auto orders = [&] { return suite.count("SELECT * FROM so"); };

    // A1T6A names an unknown item and A1T6B has no info file: six of the eight are saved.
    ASSERT_TRUE(station.waitFor([&] { return orders() >= 6; }, 90)) << station.output().toStdString();

    // Another terminal order, and the missing info file arriving late.
    handOver(queue, "E1T2Ainfo.crd", "[Customer]\r\nNumber=C1002\r\nName=Maple Lane Apparel\r\n");
    handOver(queue, "E1T2A.ord", "AB-S\t3\r\nCAP100\t2\r\n");
    handOver(queue, "A1T6Binfo.crd", "[Customer]\r\nNumber=C1006\r\nName=Lakeside Sports Hub\r\n");
    ASSERT_TRUE(station.waitFor([&] { return orders() >= 8; }, 90)) << station.output().toStdString();

    station.terminate();
    ASSERT_TRUE(station.finished());
    EXPECT_EQ(station.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(station.exitCode(), 0) << station.output().toStdString();

    // Every order saved once, numbered from the suite's numbering.
    EXPECT_EQ(orders(), 8);
    EXPECT_EQ(suite.count("SELECT DISTINCT CustNo FROM so"), 7);
    EXPECT_EQ(suite.count("SELECT * FROM so WHERE CustNo='C1002'"), 2);
    EXPECT_EQ(suite.scalar("SELECT MIN(invno) FROM so").toString(), "SO001001");
    EXPECT_EQ(suite.scalar("SELECT MAX(invno) FROM so").toString(), "SO001008");
    EXPECT_EQ(suite.scalar("SELECT userid FROM so WHERE CustNo='C1006'").toString(), "RF6");
    // Lines: A1T2A's MUG600 was ordered with quantity 0 and is not saved.
    EXPECT_EQ(suite.count("SELECT * FROM sodetail"), 5 + 4 + 4 + 5 + 4 + 4 + 2 + 2);
    EXPECT_EQ(suite.count("SELECT * FROM sodetail d WHERE NOT EXISTS (SELECT 1 FROM so WHERE so.invno=d.invno)"), 0);
    // Each order's amount is the sum of its lines.
    EXPECT_EQ(suite.count("SELECT * FROM so WHERE ABS(amount - (SELECT SUM(extended) FROM sodetail d "
                          "WHERE d.invno=so.invno)) > 0.001"),
              0);
    // Quantities on sales order follow the saved lines, variant by variant.
    EXPECT_EQ(suite.count("SELECT * FROM item i WHERE onso <> (SELECT COALESCE(SUM(qord), 0) FROM sodetail d "
                          "WHERE d.itemno=i.uid AND d.rowtext=i.itemrow AND d.coltext=i.itemcol)"),
              0);
    EXPECT_DOUBLE_EQ(suite.scalar("SELECT onso FROM item WHERE uid='AB-S'").toDouble(), 12 + 3);

    // Saved orders archived, the failing one still queued.
    QStringList archived = QDir(suite.archiveDir()).entryList(QDir::Files, QDir::Name);
    EXPECT_EQ(archived.size(), 16);
    EXPECT_TRUE(archived.contains("A1T6Binfo.txt"));
    EXPECT_TRUE(archived.contains("E1T2A.txt"));
    EXPECT_EQ(contentOf(suite.archiveDir() + "/A1T1A.txt"), contentOf(samples.filePath("A1T1A.ord")));
    EXPECT_EQ(QDir(queue).entryList(QDir::Files, QDir::Name), (QStringList{"A1T6A.ord", "A1T6Ainfo.crd"}));

    // Printing was off: no print list.
    EXPECT_FALSE(QFile::exists(suite.programDir() + "/tolvaprt.ini"));
    const QString log = station.output();
    EXPECT_TRUE(log.contains("Saved A1T1A.ord as sales order SO001001")) << log.toStdString();
    EXPECT_TRUE(log.contains("Order A1T6A.ord not saved: Error: item \"ZZ-999\" (record 2) not found"))
        << log.toStdString();
}
