#pragma once

#include "status/StatusListen.h"
#include "status/StatusToken.h"

#include <QByteArray>
#include <QHttpServerRequest>
#include <QHttpServerResponse>
#include <QObject>
#include <functional>
#include <memory>
#include <optional>

class QHttpServer;
class QueueService;
class StatusConnections;
class StatusHosts;

// The station over HTTP, on Qt's HTTP server in the station's own event loop: one page for an
// operator (/, with its script and style), the same as JSON (/api/status, /api/printers), health
// for a monitoring system (/healthz) and metrics (/metrics); and actions, each a POST that needs
// the token: /api/start, /api/stop, /api/pass, /api/remove, /api/print.
//
// Reading is open from the loopback address; from anywhere else it needs the token too. Every
// request must name the station in its Host header (StatusHosts); bodies over MaxBodyBytes are
// refused. A handler never lets an error escape: it answers 500 and logs the error. One action
// runs at a time.
class StatusServer : public QObject
{
    Q_OBJECT
public:
    static constexpr qint64 MaxBodyBytes = 16 * 1024;

    explicit StatusServer(QueueService &service, QObject *parent = nullptr);
    ~StatusServer() override;

    // Serves when configured: `commandLineListen` (--status-listen, checked by the command line)
    // or [Status] Listen= of the station's settings file. Returns 0, or 2 when that setting is
    // not ADDRESS:PORT (said with ShowMessage). A page that cannot listen (the port taken) is
    // logged and the station runs without it. Makes the token file on the first start.
    int start(const QString &commandLineListen);
    // The port listened on; 0 while off.
    quint16 port() const;

private:
    enum class Access {
        Open,   // the page itself: no data in it
        Read,   // from the loopback address, else with the token
        Action, // always with the token
    };
    using Handler = std::function<QHttpServerResponse(const QHttpServerRequest &)>;

    void addRoutes();
    void addRoute(const char *path, QHttpServerRequest::Method method, Access access, Handler handler);
    QHttpServerResponse answer(const QHttpServerRequest &request, QHttpServerRequest::Method method, Access access,
                               const Handler &handler);
    // The answer to a request that may not be handled; none when it may.
    std::optional<QHttpServerResponse> refusal(const QHttpServerRequest &request, QHttpServerRequest::Method method,
                                               Access access) const;
    QHttpServerResponse action(const std::function<QHttpServerResponse()> &run);
    QString tokenPath() const;

    QueueService &m_service;
    std::unique_ptr<QHttpServer> m_http;
    StatusConnections *m_connections = nullptr; // owned by m_http
    std::unique_ptr<StatusHosts> m_hosts;
    std::optional<StatusToken> m_token;
    QString m_tokenProblem; // why there is no token: actions are refused
    bool m_actionRunning = false;
};
