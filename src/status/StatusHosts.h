#pragma once

#include "status/StatusListen.h"

#include <QByteArray>
#include <QSet>
#include <QString>

// The names the station answers to in a request's Host header. A page of another site that has
// its own name resolve to this machine (DNS rebinding) sends that name and is refused. Accepted,
// with the listening port (or none for port 80): localhost, 127.0.0.1, [::1], the listening
// address, and where the page listens beyond the loopback address the machine's own names
// (host name, with its domain, RFSTATION_HOST) and addresses.
class StatusHosts
{
public:
    explicit StatusHosts(const StatusListen &listen);
    bool allows(const QByteArray &hostHeader) const;

private:
    void add(const QString &name);

    QSet<QString> m_names; // lower case; IPv6 addresses without brackets
    quint16 m_port;
};
