#pragma once

#include <QTcpServer>

// The status page's listening socket, with limits on what a client may hold: at most
// MaxConnections open at once (more are closed at once), a request of at most MaxRequestBytes
// until it is answered (a connection sending more is cut before the HTTP server stores it), and
// a connection idle for IdleMs closed.
class StatusConnections : public QTcpServer
{
    Q_OBJECT
public:
    static constexpr int MaxConnections = 32;
    static constexpr qint64 MaxRequestBytes = 64 * 1024;
    static constexpr int IdleMs = 60000;

    using QTcpServer::QTcpServer;

protected:
    void incomingConnection(qintptr descriptor) override;

private:
    int m_open = 0;
};
