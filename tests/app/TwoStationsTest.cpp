// Two stations of one suite, each with its own program folder and queue, saving into the one
// database at the same time: the suite's numbering and the items' quantities on sales order must
// come out as if the orders had been saved one after the other.

#include "app/Station.h"
#include "support/TempSuite.h"

#include <QDir>
#include <QFile>
#include <array>
#include <gtest/gtest.h>
#include <memory>

namespace {

constexpr int OrdersPerStation = 30;
constexpr int LinesPerOrder = 5;

const char *const Customers[] = {"C1001", "C1002", "C1003", "C1004", "C1005", "C1007"};
// Items of the demo data; every station orders all of them, so their rows are written by both.
const char *const Items[] = {"AB-S", "AB-M", "AB-L", "HD-M", "POLO200", "SOCK300", "CAP100", "MUG600"};

// The orders of one station, dropped before it starts: info files first, then the order files.
void dropOrders(const QString &queue, int station)
{
    for (int n = 0; n < OrdersPerStation; ++n) {
        const QString name = QStringLiteral("S%1T%2N%3").arg(station).arg(n % 6 + 1).arg(n, 3, 10, QLatin1Char('0'));
        QByteArray info = "[Customer]\r\nNumber=" + QByteArray(Customers[(n + station) % 6]) + "\r\n";
        QByteArray order;
        for (int line = 0; line < LinesPerOrder; ++line)
            order += QByteArray(Items[(n + line) % 8]) + "\t" + QByteArray::number(1 + (n + line) % 7) + "\r\n";
        for (const auto &[file, content] : {std::pair{name + "info.crd", info}, std::pair{name + ".ord", order}}) {
            QFile out(queue + "/" + file);
            ASSERT_TRUE(out.open(QIODevice::WriteOnly) && out.write(content) == content.size());
        }
    }
}

class TwoStations : public ::testing::TestWithParam<TestBackend>
{
};

TEST_P(TwoStations, SaveTheirOrdersOnceWithConsecutiveNumbersAndTrueQuantities)
{
    RF_SKIP_UNLESS_CONFIGURED(GetParam());
    TempSuite suite(TempSuite::Data::Demo, GetParam());

    std::array<std::unique_ptr<Station>, 2> stations;
    for (int i = 0; i < 2; ++i) {
        const QString programDir = suite.programDir() + QStringLiteral("/station%1").arg(i + 1);
        ASSERT_TRUE(QDir().mkpath(programDir + "/OrdQueue") && QDir().mkpath(programDir + "/ordsaved"));
        dropOrders(programDir + "/OrdQueue", i + 1);
        stations[i] = std::make_unique<Station>(programDir, 0);
    }

    const int total = 2 * OrdersPerStation;
    const auto allSaved = [&] {
        stations[1]->read(0); // the second station's output too, so that it never waits on its pipe
        return suite.count("SELECT * FROM so") >= total;
    };
    EXPECT_TRUE(stations[0]->waitFor(allSaved, 120));
    for (int i = 0; i < 2; ++i) {
        const QByteArray &log = stations[i]->log;
        EXPECT_EQ(stations[i]->stop(), 0) << log.toStdString();
        // No order failed on the way, in particular not on a number handed out twice.
        EXPECT_FALSE(log.contains("not saved")) << log.toStdString();
        EXPECT_FALSE(log.contains("Duplicate Entry")) << log.toStdString();
        const QString programDir = suite.programDir() + QStringLiteral("/station%1").arg(i + 1);
        EXPECT_EQ(QDir(programDir + "/OrdQueue").entryList(QDir::Files), QStringList());
        EXPECT_EQ(QDir(programDir + "/ordsaved").entryList(QDir::Files).size(), 2 * OrdersPerStation);
    }

    // Every order once, numbered SO001001 on without a gap, with all its lines.
    QStringList numbers;
    for (int n = 1001; n < 1001 + total; ++n)
        numbers << QStringLiteral("SO%1|").arg(n, 6, 10, QLatin1Char('0'));
    EXPECT_EQ(suite.database().rows("SELECT invno FROM so ORDER BY invno"), numbers);
    EXPECT_EQ(suite.count("SELECT * FROM sodetail"), total * LinesPerOrder);
    // Each item's quantity on sales order is the sum of its open lines: no change was lost.
    EXPECT_EQ(suite.count("SELECT * FROM item i WHERE onso <> (SELECT COALESCE(SUM(qord), 0) FROM sodetail d "
                          "WHERE d.itemno=i.uid AND d.rowtext=i.itemrow AND d.coltext=i.itemcol)"),
              0);
    EXPECT_GT(suite.scalar("SELECT SUM(onso) FROM item").toDouble(), 0.0);
}

RF_TEST_ALL_BACKENDS(TwoStations);

} // namespace
