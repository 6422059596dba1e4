#pragma once

#include <QElapsedTimer>
#include <QObject>

// Tells systemd how the station is doing when it runs as a notify service (Type=notify): ready
// once start-up has connected to the database and the queue folder is watched, alive from the
// polling cycle (with WatchdogSec a station that stops cycling is restarted), stopping on
// shutdown. Outside a service (no NOTIFY_SOCKET) every call does nothing.
class ServiceNotifier : public QObject
{
    Q_OBJECT
public:
    explicit ServiceNotifier(QObject *parent = nullptr);

    void ready(const QString &status);
    void stopping();

public Q_SLOTS:
    // Pings the watchdog, at most four times per watchdog interval.
    void alive();

private:
    quint64 m_watchdogUsec = 0; // 0: no watchdog
    QElapsedTimer m_sincePing;
};
