// What the status page reads out of a running station: the JSON and the metrics after real
// orders (one saved, two staying queued, one of them with a hostile customer name), and the
// health going 503 while the database file is taken away and 200 once it is back.

#include "status/StatusStation.h"

#include <QDateTime>
#include <QDir>
#include <QJsonArray>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

const QString HostileName = QStringLiteral("<script>alert(1)</script>");

// A metric's sample value as written in the text ("" when there is none).
QString sample(const QByteArray &metrics, const QString &name)
{
    const QRegularExpression line(QStringLiteral("^") + QRegularExpression::escape(name) + QStringLiteral(" (\\S+)$"),
                                  QRegularExpression::MultilineOption);
    return line.match(QString::fromUtf8(metrics)).captured(1);
}

QJsonObject queued(const QJsonObject &status, const QString &orderFile)
{
    for (const QJsonValue &row : status.value("queue").toArray()) {
        if (row.toObject().value("orderFile").toString() == orderFile)
            return row.toObject();
    }
    return {};
}

} // namespace

TEST(StatusPage, ShowsTheStationAsJsonAndMetricsAndEscapesWhatOrdersBring)
{
    TempSuite suite(TempSuite::Data::Demo);
    StatusStation station(suite);
    ASSERT_TRUE(station.started()) << station.log().toStdString();
    const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-1);

    station.handOver("A1T1Ainfo.crd", "[Customer]\r\nNumber=C1001\r\n");
    station.handOver("A1T1A.ord", "AB-S\t2\r\nAB-M\t1\r\n");
    station.handOver("A1T6Ainfo.crd", "[Customer]\r\nNumber=C1006\r\n");
    station.handOver("A1T6A.ord", "AB-S\t1\r\nZZ-999\t1\r\n");
    station.handOver("H1T2Ainfo.crd", "[Customer]\r\nNumber=C1002\r\nName=" + HostileName.toUtf8() + "\r\n");
    station.handOver("H1T2A.ord", "ZZ-998\t1\r\n");
    QJsonObject status;
    ASSERT_TRUE(station.waitFor([&] {
        status = station.status();
        return status.value("counts").toObject().value("saved").toInt() == 1
            && !queued(status, "A1T6A.ord").value("status").toString().isEmpty()
            && !queued(status, "H1T2A.ord").value("status").toString().isEmpty();
    })) << station.log().toStdString();

    // The station as its window shows it.
    EXPECT_TRUE(status.value("running").toBool());
    EXPECT_TRUE(status.value("healthy").toBool()) << QJsonDocument(status).toJson().toStdString();
    EXPECT_TRUE(status.value("database").toObject().value("connected").toBool());
    EXPECT_EQ(status.value("queueFolder").toObject().value("path").toString(), suite.queueDir());
    EXPECT_FALSE(status.value("queueFolder").toObject().value("missing").toBool());
    EXPECT_EQ(status.value("queueLength").toInt(), 2);
    const QJsonObject failing = queued(status, "A1T6A.ord");
    EXPECT_EQ(failing.value("terminal").toString(), "6");
    EXPECT_EQ(failing.value("customerNo").toString(), "C1006");
    EXPECT_TRUE(failing.value("status").toString().contains("item \"ZZ-999\" (record 2) not found"))
        << failing.value("status").toString().toStdString();
    EXPECT_EQ(queued(status, "H1T2A.ord").value("customerName").toString(), HostileName);

    const QJsonArray done = status.value("done").toArray();
    ASSERT_EQ(done.size(), 1);
    EXPECT_EQ(done[0].toObject().value("orderFile").toString(), "A1T1A.ord");
    EXPECT_EQ(done[0].toObject().value("soNo").toString(), "SO001001");
    EXPECT_EQ(done[0].toObject().value("customerNo").toString(), "C1001");
    const QJsonObject lastSave = status.value("lastSave").toObject();
    EXPECT_EQ(lastSave.value("soNo").toString(), "SO001001");
    const QDateTime savedAt = QDateTime::fromString(lastSave.value("at").toString(), Qt::ISODateWithMs);
    EXPECT_TRUE(savedAt >= before && savedAt <= QDateTime::currentDateTimeUtc())
        << lastSave.value("at").toString().toStdString();
    EXPECT_TRUE(QStringList({"A1T6A.ord", "H1T2A.ord"})
                    .contains(status.value("lastFailure").toObject().value("orderFile").toString()));

    // The hostile name is text in the JSON, whatever reads it as HTML.
    const HttpAnswer raw = station.get("/api/status");
    EXPECT_EQ(raw.header("Content-Type"), "application/json");
    EXPECT_EQ(raw.header("X-Content-Type-Options"), "nosniff");
    EXPECT_FALSE(raw.body.contains("<script")) << raw.body.toStdString();
    EXPECT_TRUE(raw.body.contains("\\u003cscript\\u003ealert(1)\\u003c/script\\u003e"));

    // The same counts for a monitoring system.
    const HttpAnswer metrics = station.get("/metrics");
    EXPECT_EQ(metrics.status, 200);
    EXPECT_TRUE(metrics.header("Content-Type").startsWith("text/plain; version=0.0.4"));
    EXPECT_EQ(sample(metrics.body, "rfstation_orders_saved_total"), "1");
    EXPECT_GE(sample(metrics.body, "rfstation_orders_failed_total").toInt(), 2);
    EXPECT_EQ(sample(metrics.body, "rfstation_queue_length"), "2");
    EXPECT_EQ(sample(metrics.body, "rfstation_print_jobs_total"), "0");
    EXPECT_EQ(sample(metrics.body, "rfstation_print_failures_total"), "0");
    EXPECT_NEAR(sample(metrics.body, "rfstation_last_save_timestamp_seconds").toDouble(),
                double(savedAt.toMSecsSinceEpoch()) / 1000.0, 0.002);
    EXPECT_EQ(sample(metrics.body, "rfstation_pickup_latency_seconds_count"), "1");
    EXPECT_EQ(sample(metrics.body, "rfstation_pickup_latency_seconds_bucket{le=\"+Inf\"}"), "1");
    EXPECT_GE(sample(metrics.body, "rfstation_pass_duration_seconds_count").toInt(), 1);
    for (const char *type :
         {"# TYPE rfstation_orders_saved_total counter", "# TYPE rfstation_queue_length gauge",
          "# TYPE rfstation_pickup_latency_seconds histogram", "# TYPE rfstation_pass_duration_seconds histogram"})
        EXPECT_TRUE(metrics.body.contains(type)) << type;
    EXPECT_EQ(station.get("/healthz").status, 200);
}

TEST(StatusPage, HealthIs503WhileTheDatabaseFileIsAwayAnd200OnceItIsBack)
{
    TempSuite suite(TempSuite::Data::Demo);
    StatusStation station(suite);
    ASSERT_TRUE(station.started()) << station.log().toStdString();
    ASSERT_TRUE(station.waitFor([&] { return station.get("/healthz").status == 200; }));

    ASSERT_TRUE(QDir().rename(suite.databasePath(), suite.databasePath() + ".away"));
    HttpAnswer health;
    ASSERT_TRUE(station.waitFor([&] { return (health = station.get("/healthz")).status == 503; }))
        << health.body.toStdString() << station.log().toStdString();
    EXPECT_TRUE(health.body.startsWith("database lost: ")) << health.body.toStdString();
    EXPECT_FALSE(station.status().value("database").toObject().value("connected").toBool());
    EXPECT_EQ(sample(station.get("/metrics").body, "rfstation_database_up"), "0");

    ASSERT_TRUE(QDir().rename(suite.databasePath() + ".away", suite.databasePath()));
    ASSERT_TRUE(station.waitFor([&] { return (health = station.get("/healthz")).status == 200; }))
        << health.body.toStdString();
    EXPECT_EQ(health.body, "ok\n");
}
