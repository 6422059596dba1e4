#include "status/StatusServer.h"

#include "module1/Module1.h"
#include "queue/QueueService.h"
#include "status/PrintSelection.h"
#include "status/StatusActions.h"
#include "status/StatusConnections.h"
#include "status/StatusHealth.h"
#include "status/StatusHosts.h"
#include "status/StatusJson.h"
#include "status/StatusMetrics.h"

#include <QDir>
#include <QFile>
#include <QHttpServer>
#include <QJsonArray>
#include <QJsonDocument>

namespace {

using Method = QHttpServerRequest::Method;

QHttpServerResponse reply(const QByteArray &mimeType, const QByteArray &body, int status)
{
    QHttpServerResponse response(mimeType, body, QHttpServerResponder::StatusCode(status));
    // The page runs its own script and style and nothing else; nothing is cached or framed.
    response.setHeader("Content-Security-Policy",
                       "default-src 'none'; script-src 'self'; style-src 'self'; connect-src 'self'; img-src 'self'; "
                       "base-uri 'none'; form-action 'none'; frame-ancestors 'none'");
    response.setHeader("X-Content-Type-Options", "nosniff");
    response.setHeader("X-Frame-Options", "DENY");
    response.setHeader("Referrer-Policy", "no-referrer");
    response.setHeader("Cache-Control", "no-store");
    return response;
}

QHttpServerResponse json(const QJsonObject &body, int status = 200)
{
    return reply("application/json", StatusJson::bytes(body), status);
}

QHttpServerResponse jsonError(int status, const QString &message)
{
    return json(StatusActions::error(status, message).body, status);
}

QByteArray resource(const char *name)
{
    QFile file(QStringLiteral(":/status/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool fromLoopback(const QHostAddress &address)
{
    bool mapped = false;
    const quint32 ipv4 = address.toIPv4Address(&mapped);
    return mapped ? QHostAddress(ipv4).isLoopback() : address.isLoopback();
}

// The request's body as a JSON object; an empty body is an empty object.
std::optional<QJsonObject> bodyObject(const QHttpServerRequest &request)
{
    const QByteArray body = request.body().trimmed();
    if (body.isEmpty())
        return QJsonObject();
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    return document.object();
}

struct FlagGuard
{
    explicit FlagGuard(bool &flag)
        : m_flag(flag)
    {
        m_flag = true;
    }
    ~FlagGuard() { m_flag = false; }
    FlagGuard(const FlagGuard &) = delete;
    FlagGuard &operator=(const FlagGuard &) = delete;
    bool &m_flag;
};

} // namespace

StatusServer::StatusServer(QueueService &service, QObject *parent)
    : QObject(parent)
    , m_service(service)
{
}

StatusServer::~StatusServer() = default;

quint16 StatusServer::port() const
{
    return m_connections && m_connections->isListening() ? m_connections->serverPort() : 0;
}

QString StatusServer::tokenPath() const
{
    return QDir(m_service.context().programDir).filePath(QString::fromLatin1(StatusToken::FileName));
}

int StatusServer::start(const QString &commandLineListen)
{
    try {
        const QString iniFile = m_service.context().stationIni();
        const QString setting = StatusListenSetting(commandLineListen, iniFile);
        if (setting.isEmpty())
            return 0;
        QString error;
        const std::optional<StatusListen> listen = StatusListen::parse(setting, &error);
        if (!listen) {
            ShowMessage(QStringLiteral("The status page's setting [Status] Listen= in %1: %2")
                            .arg(QDir::toNativeSeparators(iniFile), error),
                        QString::fromLatin1(AppTitle), MessageIcon::Critical);
            return 2;
        }

        m_token = StatusToken::loadOrCreate(m_service.context().programDir, &m_tokenProblem);
        if (!m_token)
            LogLine(m_tokenProblem + QStringLiteral("; the status page's actions are refused"), LogPriority::Error);

        m_hosts = std::make_unique<StatusHosts>(*listen);
        m_http = std::make_unique<QHttpServer>();
        addRoutes();
        m_connections = new StatusConnections(m_http.get());
        if (!m_connections->listen(listen->address, listen->port)) {
            LogLine(QStringLiteral("The status page cannot listen on %1: %2; the station runs without it")
                        .arg(listen->text(), m_connections->errorString()),
                    LogPriority::Error);
            m_http.reset();
            m_connections = nullptr;
            return 0;
        }
        m_http->bind(m_connections);
        LogLine(QStringLiteral("Status page on http://%1/ (health /healthz, metrics /metrics); its actions need the "
                               "token in %2")
                    .arg(listen->text(), QDir::toNativeSeparators(tokenPath())));
        return 0;
    } catch (const std::exception &e) {
        LogLine(QStringLiteral("The status page did not start: %1").arg(QString::fromLocal8Bit(e.what())),
                LogPriority::Error);
        m_http.reset();
        m_connections = nullptr;
        return 0;
    }
}

void StatusServer::addRoute(const char *path, Method method, Access access, Handler handler)
{
    m_http->route(QString::fromLatin1(path),
                  [this, method, access, handler = std::move(handler)](const QHttpServerRequest &request) {
                      return answer(request, method, access, handler);
                  });
}

void StatusServer::addRoutes()
{
    const auto file = [](const char *name, const char *type) {
        return [name, type](const QHttpServerRequest &) { return reply(type, resource(name), 200); };
    };
    addRoute("/", Method::Get, Access::Open, file("index.html", "text/html; charset=utf-8"));
    addRoute("/status.js", Method::Get, Access::Open, file("status.js", "text/javascript; charset=utf-8"));
    addRoute("/status.css", Method::Get, Access::Open, file("status.css", "text/css; charset=utf-8"));

    addRoute("/api/status", Method::Get, Access::Read, [this](const QHttpServerRequest &) {
        return json(StatusJson::status(m_service, tokenPath(), QDateTime::currentDateTime()));
    });
    addRoute("/api/printers", Method::Get, Access::Read, [this](const QHttpServerRequest &) {
        try {
            const OfferedPrinters offered = PrintersOffered(m_service.context().programDir);
            return json({{"printers", QJsonArray::fromStringList(offered.names)},
                         {"selected", offered.selected},
                         {"style", offered.style}});
        } catch (const DbError &e) {
            return jsonError(500, e.description());
        }
    });
    addRoute("/healthz", Method::Get, Access::Read, [this](const QHttpServerRequest &) {
        const QStringList problems = StatusHealthProblems(m_service, QDateTime::currentDateTime());
        if (problems.isEmpty())
            return reply("text/plain; charset=utf-8", "ok\n", 200);
        QByteArray text;
        for (const QString &problem : problems)
            text += problem.simplified().toUtf8() + '\n';
        return reply("text/plain; charset=utf-8", text, 503);
    });
    addRoute("/metrics", Method::Get, Access::Read, [this](const QHttpServerRequest &) {
        return reply(StatusMetrics::ContentType, StatusMetrics::text(m_service, QDateTime::currentDateTime()), 200);
    });

    const auto act = [this](const char *path, std::function<StatusActions::Answer(const QJsonObject &)> run) {
        addRoute(path, Method::Post, Access::Action, [this, run](const QHttpServerRequest &request) {
            const std::optional<QJsonObject> body = bodyObject(request);
            if (!body)
                return jsonError(400, QStringLiteral("The request's body is not a JSON object."));
            return action([&] {
                const StatusActions::Answer answer = run(*body);
                return json(answer.body, answer.status);
            });
        });
    };
    act("/api/start", [this](const QJsonObject &) { return StatusActions::setProcessing(m_service, true); });
    act("/api/stop", [this](const QJsonObject &) { return StatusActions::setProcessing(m_service, false); });
    act("/api/pass", [this](const QJsonObject &) { return StatusActions::runPass(m_service); });
    act("/api/remove", [this](const QJsonObject &body) { return StatusActions::removeOrder(m_service, body); });
    act("/api/print", [this](const QJsonObject &body) { return StatusActions::print(m_service.context().programDir, body); });

    m_http->setMissingHandler([](const QHttpServerRequest &, QHttpServerResponder &&responder) {
        try {
            jsonError(404, QStringLiteral("There is nothing here.")).write(std::move(responder));
        } catch (const std::exception &e) {
            LogLine(QStringLiteral("Status page: %1").arg(QString::fromLocal8Bit(e.what())), LogPriority::Error);
        }
    });
}

std::optional<QHttpServerResponse> StatusServer::refusal(const QHttpServerRequest &request, Method method,
                                                         Access access) const
{
    if (!m_hosts->allows(request.value("Host")))
        return jsonError(403, QStringLiteral("This station answers to its own address only; the request names another "
                                             "host."));
    if (request.body().size() > MaxBodyBytes)
        return jsonError(413, QStringLiteral("The request is larger than %1 bytes.").arg(MaxBodyBytes));
    if (request.method() != method) {
        QHttpServerResponse response =
            jsonError(405, method == Method::Post ? QStringLiteral("Use POST.") : QStringLiteral("Use GET."));
        response.setHeader("Allow", method == Method::Post ? "POST" : "GET");
        return response;
    }
    if (access == Access::Open)
        return std::nullopt;
    if (access == Access::Action && !m_token)
        return jsonError(503, QStringLiteral("The actions are off: ") + m_tokenProblem);
    const QByteArray offered = StatusToken::fromAuthorization(request.value("Authorization"));
    const bool tokenGiven = m_token && !offered.isEmpty() && m_token->matches(offered);
    if (tokenGiven || (access == Access::Read && fromLoopback(request.remoteAddress())))
        return std::nullopt;
    QHttpServerResponse response = jsonError(
        401, access == Access::Action
                 ? QStringLiteral("This action needs the station's token (Authorization: Bearer <token>).")
                 : QStringLiteral("Reading from another machine needs the station's token (Authorization: Bearer "
                                  "<token>)."));
    response.setHeader("WWW-Authenticate", "Bearer realm=\"rfstation\"");
    return response;
}

QHttpServerResponse StatusServer::answer(const QHttpServerRequest &request, Method method, Access access,
                                         const Handler &handler)
{
    try {
        if (std::optional<QHttpServerResponse> refused = refusal(request, method, access))
            return std::move(*refused);
        return handler(request);
    } catch (const std::exception &e) {
        LogLine(
            QStringLiteral("Status page: %1 failed: %2").arg(request.url().path(), QString::fromLocal8Bit(e.what())),
            LogPriority::Error);
        return jsonError(500, QString::fromLocal8Bit(e.what()));
    } catch (...) {
        LogLine(QStringLiteral("Status page: %1 failed: an unknown error").arg(request.url().path()),
                LogPriority::Error);
        return jsonError(500, QStringLiteral("An unknown error."));
    }
}

QHttpServerResponse StatusServer::action(const std::function<QHttpServerResponse()> &run)
{
    if (m_actionRunning)
        return jsonError(409, QStringLiteral("Another action is running; try again once it is done."));
    const FlagGuard running(m_actionRunning);
    return run();
}
