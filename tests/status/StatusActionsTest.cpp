// The status page's actions on a running station: each refused without the token (or with a
// wrong one) and done with it, as the main window and the print window do them; and what every
// request must bring: the station's name in its Host header, a body of bounded size, and the
// token when it reads from another machine.

#include "status/StatusStation.h"
#include "support/PdfText.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QNetworkInterface>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

bool isQueued(const QJsonObject &status, const QString &orderFile)
{
    for (const QJsonValue &row : status.value("queue").toArray()) {
        if (row.toObject().value("orderFile").toString() == orderFile)
            return true;
    }
    return false;
}

QStringList pdfs(const TempSuite &suite)
{
    return QDir(suite.programDir() + "/printout").entryList({"*.pdf"}, QDir::Files, QDir::Name);
}

} // namespace

TEST(StatusActions, EachNeedsTheTokenAndDoesWhatTheWindowsDo)
{
    TempSuite suite(TempSuite::Data::Demo);
    suite.setIni("AutoSoPrint", "DefaultPrinter", "PDF");
    StatusStation station(suite);
    ASSERT_TRUE(station.started()) << station.log().toStdString();
    station.handOver("A1T1Ainfo.crd", "[Customer]\r\nNumber=C1001\r\n");
    station.handOver("A1T1A.ord", "AB-S\t2\r\n");
    station.handOver("A1T6Ainfo.crd", "[Customer]\r\nNumber=C1006\r\n");
    station.handOver("A1T6A.ord", "ZZ-999\t1\r\n");
    ASSERT_TRUE(station.waitFor([&] {
        const QJsonObject status = station.status();
        return status.value("counts").toObject().value("saved").toInt() == 1 && isQueued(status, "A1T6A.ord");
    })) << station.log().toStdString();

    // Without the token, or with a wrong one, nothing is done.
    const HttpHeaders wrongToken{{"Authorization", "Bearer " + QByteArray(43, 'x')}};
    for (const char *path : {"/api/stop", "/api/start", "/api/pass", "/api/remove", "/api/print"}) {
        for (const HttpHeaders &headers : {HttpHeaders{}, wrongToken, HttpHeaders{{"Authorization", "Basic eDp4"}}}) {
            const HttpAnswer refused = station.post(path, R"({"orderFile": "A1T6A.ord", "allNew": true})", headers);
            EXPECT_EQ(refused.status, 401) << path << " " << refused.body.toStdString();
            EXPECT_EQ(refused.header("WWW-Authenticate"), "Bearer realm=\"rfstation\"");
            EXPECT_FALSE(refused.json().value("error").toString().isEmpty());
        }
    }
    EXPECT_TRUE(station.status().value("running").toBool());
    EXPECT_TRUE(isQueued(station.status(), "A1T6A.ord"));
    EXPECT_TRUE(pdfs(suite).isEmpty());

    const HttpHeaders token = station.withToken();
    struct Step
    {
        const char *path;
        QByteArray body;
        int status;
        const char *answer; // in "message" when done, else in "error"
    };
    const Step steps[] = {
        {"/api/stop", "", 200, "STOPPED"},
        {"/api/pass", "", 409, "Processing is stopped"},
        {"/api/start", "{}", 200, "RUNNING .."},
        {"/api/pass", "", 200, "A pass over the queue starts now"},
        {"/api/remove", R"({"orderFile": "a1t6a.ord"})", 200, "A1T6A.ord was removed"},
        {"/api/remove", R"({"orderFile": "A1T6A.ord"})", 404, "not queued"},
        {"/api/remove", R"({"orderFile": 7})", 400, "Name the queued order file"},
        {"/api/print", R"({"from": "so001001", "to": "SO001001", "copies": 2})", 200,
         "Printed sales orders SO001001 to SO001001 on PDF, 2 copies."},
        {"/api/print", R"({"from": "SO009999", "to": "SO009999"})", 422, "No sales order from \"SO009999\""},
        {"/api/print", R"({"allNew": true, "from": "SO001001", "to": "SO001001"})", 400, "not both"},
        {"/api/print", R"({"allNew": true, "printer": "Nowhere"})", 400, "The printer \"Nowhere\" is not offered"},
        {"/api/print", R"({"allNew": true, "sheet": "changed"})", 400, "for picking sheets only"},
        {"/api/print", "not json", 400, "not a JSON object"},
    };
    for (const Step &step : steps) {
        const HttpAnswer answer = station.post(step.path, step.body, token);
        EXPECT_EQ(answer.status, step.status)
            << step.path << " " << step.body.toStdString() << " " << answer.body.toStdString();
        const QString text = answer.json().value(step.status == 200 ? "message" : "error").toString();
        EXPECT_TRUE(text.contains(QString::fromUtf8(step.answer)))
            << step.path << " " << step.body.toStdString() << ": " << answer.body.toStdString();
        if (QByteArray(step.path) == "/api/stop") {
            EXPECT_EQ(station.get("/healthz").body, "processing is stopped\n");
        }
    }

    // Removed as "Delete Selected Order Queue" removes: both files to ordremoved.
    EXPECT_FALSE(isQueued(station.status(), "A1T6A.ord"));
    EXPECT_EQ(QDir(suite.programDir() + "/ordremoved").entryList(QDir::Files, QDir::Name),
              (QStringList{"A1T6A.ord", "A1T6Ainfo.crd"}));
    // Two copies of the sales order on the named printer; a GET is not an action.
    const QStringList printed = pdfs(suite);
    ASSERT_EQ(printed.size(), 2) << printed.join(", ").toStdString();
    EXPECT_TRUE(pdfText(suite.programDir() + "/printout/" + printed[0]).contains("SO001001"));
    EXPECT_EQ(suite.scalar("SELECT ordstatus FROM so WHERE invno='SO001001'").toInt(), 1);
    const HttpAnswer wrongMethod = station.get("/api/stop", token);
    EXPECT_EQ(wrongMethod.status, 405);
    EXPECT_EQ(wrongMethod.header("Allow"), "POST");
    EXPECT_TRUE(station.status().value("running").toBool());
    EXPECT_FALSE(station.log().contains(QString::fromLatin1(station.token())));
}

TEST(StatusActions, RequestsNameTheStationStaySmallAndReadFromElsewhereWithTheToken)
{
    TempSuite suite(TempSuite::Data::Demo);
    StatusStation station(suite, "0.0.0.0");
    ASSERT_TRUE(station.started()) << station.log().toStdString();

    // The token file: private to the station's user.
    struct stat tokenFile = {};
    ASSERT_EQ(::stat(QFile::encodeName(suite.programDir() + "/rfstation-status.token").constData(), &tokenFile), 0);
    EXPECT_EQ(tokenFile.st_mode & 0777, 0600u);
    EXPECT_GE(station.token().size(), 43);

    // A page of another site that has its name resolve here (DNS rebinding) is refused.
    const QByteArray port = QByteArray::number(station.port());
    const struct
    {
        QByteArray host;
        int status;
    } hosts[] = {{"evil.example:" + port, 403},
                 {"127.0.0.1:" + port, 200},
                 {"localhost:" + port, 200},
                 {"LOCALHOST.:" + port, 200},
                 {"[::1]:" + port, 200},
                 {"127.0.0.1:" + port + "0", 403},
                 {"127.0.0.1", 403},
                 {"evil.example", 403}};
    for (const auto &host : hosts) {
        const HttpAnswer answer = station.get("/api/status", {{"Host", host.host}});
        EXPECT_EQ(answer.status, host.status) << host.host.toStdString() << " " << answer.body.toStdString();
    }
    EXPECT_EQ(
        station
            .post("/api/stop", "", {{"Host", "evil.example:" + port}, {"Authorization", "Bearer " + station.token()}})
            .status,
        403);

    // Bodies are bounded: a large one is refused, a huge one cut off before it is stored.
    EXPECT_EQ(station.post("/api/pass", QByteArray(20 * 1024, ' '), station.withToken()).status, 413);
    const HttpAnswer huge = station.post("/api/pass", QByteArray(1024 * 1024, ' '), station.withToken());
    EXPECT_EQ(huge.status, 0) << huge.body.toStdString();
    EXPECT_EQ(station.get("/healthz").status, 200);

    // From another address reading needs the token too; the page itself holds no data.
    QString address;
    for (const QHostAddress &candidate : QNetworkInterface::allAddresses()) {
        if (candidate.protocol() == QAbstractSocket::IPv4Protocol && !candidate.isLoopback())
            address = candidate.toString();
    }
    if (address.isEmpty())
        GTEST_SKIP() << "this machine has no address beyond the loopback one to read from";
    for (const char *path : {"/api/status", "/api/printers", "/healthz", "/metrics"}) {
        EXPECT_EQ(httpRequest("GET", station.url(path, address)).status, 401) << path;
        EXPECT_EQ(httpRequest("GET", station.url(path, address), station.withToken()).status, 200) << path;
    }
    const HttpAnswer page = httpRequest("GET", station.url("/", address));
    EXPECT_EQ(page.status, 200);
    EXPECT_TRUE(page.body.contains("<script src=\"/status.js\""));
}
