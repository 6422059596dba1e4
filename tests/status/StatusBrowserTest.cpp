// The status page in a real browser (headless Chromium): the page's own script fetches the
// status and builds the queue list, with a hostile customer name shown as text.

#include "status/StatusStation.h"

#include <QJsonArray>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The page's document once its script has run (Chromium's virtual time lets its fetches and
// timers run to the budget before the document is written out).
QString renderedPage(const QString &chromium, const QUrl &url, QString *problem)
{
    QTemporaryDir profile;
    QProcess browser;
    browser.start(chromium,
                  {"--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                   "--disable-background-networking", "--disable-component-update", "--disable-sync",
                   "--user-data-dir=" + profile.path(), "--virtual-time-budget=5000", "--dump-dom", url.toString()});
    if (!browser.waitForFinished(120000) || browser.exitCode() != 0)
        *problem = QString::fromLocal8Bit(browser.readAllStandardError().right(2000));
    return QString::fromUtf8(browser.readAllStandardOutput());
}

} // namespace

TEST(StatusBrowser, ThePageBuildsTheQueueListWithItsOwnScript)
{
    const QString chromium = QStandardPaths::findExecutable("chromium");
    if (chromium.isEmpty())
        GTEST_SKIP() << "Chromium is not installed (Debian package chromium; tools/setup installs it)";
    TempSuite suite(TempSuite::Data::Demo);
    StatusStation station(suite);
    ASSERT_TRUE(station.started()) << station.log().toStdString();
    station.handOver("H1T2Ainfo.crd", "[Customer]\r\nNumber=C1002\r\nName=<script>alert(1)</script>\r\n");
    station.handOver("H1T2A.ord", "ZZ-998\t1\r\n");
    ASSERT_TRUE(station.waitFor([&] {
        const QJsonArray queue = station.status().value("queue").toArray();
        return !queue.isEmpty() && !queue[0].toObject().value("status").toString().isEmpty();
    })) << station.log().toStdString();

    QString problem;
    const QString page = renderedPage(chromium, station.url("/"), &problem);
    ASSERT_TRUE(problem.isEmpty()) << problem.toStdString();
    ASSERT_TRUE(page.contains("data-loaded=\"yes\"")) << page.toStdString();
    for (const QString &cell :
         {QString("<td data-label=\"Terminal\">2</td>"), QString("<td data-label=\"Order To Process\">H1T2A.ord</td>"),
          QString("<td data-label=\"Customer #\">C1002</td>"),
          QString("<td data-label=\"Customer Name\">&lt;script&gt;alert(1)&lt;/script&gt;</td>"),
          QString("item \"ZZ-998\" (record 1) not found</td>"), QString(">connected</dd>"),
          QString("class=\"badge ok\"")})
        EXPECT_TRUE(page.contains(cell)) << cell.toStdString() << "\n" << page.toStdString();
    EXPECT_FALSE(page.contains("<script>alert")) << page.toStdString();
}
