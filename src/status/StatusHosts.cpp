#include "status/StatusHosts.h"

#include "module1/StationContext.h"

#include <QHostInfo>
#include <QNetworkInterface>

StatusHosts::StatusHosts(const StatusListen &listen)
    : m_port(listen.port)
{
    for (const char *name : {"localhost", "127.0.0.1", "::1"})
        add(QString::fromLatin1(name));
    add(listen.address.toString());
    if (listen.address.isLoopback())
        return;
    const QString host = QHostInfo::localHostName();
    add(host);
    if (!QHostInfo::localDomainName().isEmpty())
        add(host + QLatin1Char('.') + QHostInfo::localDomainName());
    add(StationHostName());
    const bool anyAddress = listen.address == QHostAddress::Any || listen.address == QHostAddress::AnyIPv4
                         || listen.address == QHostAddress::AnyIPv6;
    if (anyAddress) {
        for (const QHostAddress &address : QNetworkInterface::allAddresses()) {
            QHostAddress plain = address;
            plain.setScopeId(QString());
            add(plain.toString());
        }
    }
}

void StatusHosts::add(const QString &name)
{
    if (!name.isEmpty())
        m_names.insert(name.toLower());
}

bool StatusHosts::allows(const QByteArray &hostHeader) const
{
    QString host = QString::fromLatin1(hostHeader.trimmed()).toLower();
    QString port;
    if (host.startsWith(QLatin1Char('['))) {
        const qsizetype close = host.indexOf(QLatin1Char(']'));
        if (close < 0)
            return false;
        port = host.mid(close + 1);
        host = host.mid(1, close - 1);
        if (!port.isEmpty() && !port.startsWith(QLatin1Char(':')))
            return false;
        port = port.mid(1);
    } else if (const qsizetype colon = host.indexOf(QLatin1Char(':')); colon >= 0) {
        port = host.mid(colon + 1);
        host = host.left(colon);
    }
    if (host.endsWith(QLatin1Char('.')))
        host.chop(1);
    bool ok = false;
    const uint number = port.isEmpty() ? 80 : port.toUInt(&ok);
    if (!port.isEmpty() && !ok)
        return false;
    return number == m_port && m_names.contains(host);
}
