#include "status/StatusListen.h"

#include "runtime/SharedRoutines.h"

QString StatusListen::text() const
{
    const QString host = address.protocol() == QAbstractSocket::IPv6Protocol
                           ? QLatin1Char('[') + address.toString() + QLatin1Char(']')
                           : address.toString();
    return host + QLatin1Char(':') + QString::number(port);
}

std::optional<StatusListen> StatusListen::parse(const QString &text, QString *error)
{
    const QString value = text.trimmed();
    const qsizetype colon = value.lastIndexOf(QLatin1Char(':'));
    QString host = colon > 0 ? value.left(colon) : QString();
    bool portOk = false;
    const uint port = colon > 0 ? value.mid(colon + 1).toUInt(&portOk) : 0;
    StatusListen listen;
    if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']'))) {
        host = host.mid(1, host.size() - 2);
        if (!listen.address.setAddress(host) || listen.address.protocol() != QAbstractSocket::IPv6Protocol)
            listen.address.clear();
    } else if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0) {
        listen.address = QHostAddress(QHostAddress::LocalHost);
    } else if (!listen.address.setAddress(host) || listen.address.protocol() != QAbstractSocket::IPv4Protocol) {
        listen.address.clear(); // an IPv6 address without brackets is ambiguous with its port
    }
    if (listen.address.isNull() || !portOk || port < 1 || port > 65535) {
        if (error)
            *error = QStringLiteral("\"%1\" is not ADDRESS:PORT (for example 127.0.0.1:8631 or [::1]:8631)").arg(text);
        return std::nullopt;
    }
    listen.port = quint16(port);
    return listen;
}

QString StatusListenSetting(const QString &commandLineValue, const QString &stationIni)
{
    if (!commandLineValue.isEmpty())
        return commandLineValue;
    return ReadIniValue(QStringLiteral("Status"), QStringLiteral("Listen"), stationIni).trimmed();
}
