#include "status/StatusConnections.h"

#include <QTcpSocket>
#include <QTimer>
#include <unistd.h>

void StatusConnections::incomingConnection(qintptr descriptor)
{
    if (m_open >= MaxConnections) {
        ::close(int(descriptor));
        return;
    }
    auto *socket = new QTcpSocket(this);
    if (!socket->setSocketDescriptor(descriptor)) {
        delete socket;
        ::close(int(descriptor));
        return;
    }
    ++m_open;
    connect(socket, &QObject::destroyed, this, [this] { --m_open; });

    auto *idle = new QTimer(socket);
    idle->setSingleShot(true);
    idle->setInterval(IdleMs);
    connect(idle, &QTimer::timeout, socket, &QTcpSocket::disconnectFromHost);
    idle->start();

    // Connected before the HTTP server's own reading, so this sees each piece of a request first:
    // the bytes not yet read are the new ones. An answer written ends the request.
    auto pending = std::make_shared<qint64>(0);
    connect(socket, &QTcpSocket::readyRead, socket, [socket, idle, pending] {
        idle->start();
        *pending += socket->bytesAvailable();
        if (*pending > MaxRequestBytes) {
            QObject::disconnect(socket, &QTcpSocket::readyRead, nullptr, nullptr);
            socket->abort();
        }
    });
    connect(socket, &QTcpSocket::bytesWritten, socket, [idle, pending] {
        *pending = 0;
        idle->start();
    });
    addPendingConnection(socket);
}
