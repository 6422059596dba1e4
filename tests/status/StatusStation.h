#pragma once

// The real program, headless on a throw-away suite, with its status page on a free port; and an
// HTTP client for it.

#include "app/Station.h"
#include "support/TempSuite.h"

#include <QEventLoop>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTcpServer>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest.h>
#include <memory>

struct HttpAnswer
{
    int status = 0; // 0: no answer (the connection failed or was cut)
    QByteArray body;
    QNetworkReply::NetworkError error = QNetworkReply::NoError;
    QByteArray header(const char *name) const { return headers.value(QByteArray(name).toLower()); }
    QJsonObject json() const { return QJsonDocument::fromJson(body).object(); }
    QHash<QByteArray, QByteArray> headers; // names in lower case
};

using HttpHeaders = QList<std::pair<QByteArray, QByteArray>>;

// One request; waits for its answer (at most a minute).
inline HttpAnswer httpRequest(const QByteArray &verb, const QUrl &url, const HttpHeaders &headers = {},
                              const QByteArray &body = {})
{
    QNetworkAccessManager manager;
    QNetworkRequest request(url);
    for (const auto &[name, value] : headers)
        request.setRawHeader(name, value); // a Host given here is sent as given
    if (!body.isEmpty())
        request.setHeader(QNetworkRequest::ContentTypeHeader, "application/json");
    QNetworkReply *reply = manager.sendCustomRequest(request, verb, body);
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(60000, reply, &QNetworkReply::abort);
    if (!reply->isFinished())
        loop.exec();
    HttpAnswer answer;
    answer.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    answer.body = reply->readAll();
    answer.error = reply->error();
    for (const auto &[name, value] : reply->rawHeaderPairs())
        answer.headers.insert(name.toLower(), value);
    delete reply;
    return answer;
}

// A port nobody listens on at the moment of asking.
inline quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

class StatusStation
{
public:
    // Starts the station on `suite` with its page on `address`:<a free port> and waits until it
    // watches its queue (the test fails when it does not).
    explicit StatusStation(const TempSuite &suite, const QString &address = QStringLiteral("127.0.0.1"))
        : m_suite(suite)
        , m_port(freePort())
    {
        m_station = std::make_unique<Station>(suite.programDir(), 0, QProcessEnvironment::systemEnvironment(),
                                              QStringList{"--status-listen", address + ':' + QString::number(m_port)});
        m_started = m_station->waitFor([this] { return m_station->log.contains("watching"); }, 60);
    }
    // Ends the station with SIGTERM; a station that does not end cleanly (a sanitizer's report
    // among the reasons) fails the test.
    ~StatusStation()
    {
        if (m_station->process.state() != QProcess::Running)
            return;
        const int status = m_station->stop();
        if (status != 0)
            ADD_FAILURE() << "the station ended with " << status << ":\n" << m_station->log.toStdString();
    }

    bool started() const { return m_started; }
    quint16 port() const { return m_port; }
    Station &station() { return *m_station; }
    QString log() const { return QString::fromLocal8Bit(m_station->log); }

    QUrl url(const QString &path, const QString &host = QStringLiteral("127.0.0.1")) const
    {
        return QUrl(QStringLiteral("http://%1:%2%3").arg(host).arg(m_port).arg(path));
    }
    QByteArray token() const
    {
        QFile file(m_suite.programDir() + "/rfstation-status.token");
        return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed() : QByteArray();
    }
    HttpHeaders withToken() const { return {{"Authorization", "Bearer " + token()}}; }

    HttpAnswer get(const QString &path, const HttpHeaders &headers = {}) const
    {
        return httpRequest("GET", url(path), headers);
    }
    HttpAnswer post(const QString &path, const QByteArray &body, const HttpHeaders &headers) const
    {
        return httpRequest("POST", url(path), headers, body);
    }
    QJsonObject status() const { return get("/api/status").json(); }

    // Waits until `condition` holds, looking again whenever the station writes and at least every
    // quarter second; false at the deadline.
    bool waitFor(const std::function<bool()> &condition, int seconds = 60)
    {
        return m_station->waitFor(condition, seconds);
    }

    // Hands a file over as the terminals do: written under a temporary name and renamed.
    void handOver(const QString &name, const QByteArray &content) const
    {
        const QString path = m_suite.queueDir() + "/" + name;
        QFile file(path + ".part");
        if (file.open(QIODevice::WriteOnly) && file.write(content) == content.size()) {
            file.close();
            file.rename(path);
        }
    }

private:
    const TempSuite &m_suite;
    quint16 m_port;
    std::unique_ptr<Station> m_station;
    bool m_started = false;
};
