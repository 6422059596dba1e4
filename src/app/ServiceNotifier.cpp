#include "app/ServiceNotifier.h"

#include <systemd/sd-daemon.h>

ServiceNotifier::ServiceNotifier(QObject *parent) : QObject(parent)
{
    uint64_t usec = 0;
    if (sd_watchdog_enabled(0, &usec) > 0)
        m_watchdogUsec = usec;
}

void ServiceNotifier::ready(const QString &status)
{
    const QByteArray state = "READY=1\nSTATUS=" + status.simplified().toUtf8();
    sd_notify(0, state.constData());
    alive();
}

void ServiceNotifier::stopping()
{
    sd_notify(0, "STOPPING=1\nSTATUS=Stopping after the order being converted");
}

void ServiceNotifier::alive()
{
    if (m_watchdogUsec == 0)
        return;
    if (m_sincePing.isValid() && quint64(m_sincePing.nsecsElapsed() / 1000) < m_watchdogUsec / 4)
        return;
    sd_notify(0, "WATCHDOG=1");
    m_sincePing.start();
}
