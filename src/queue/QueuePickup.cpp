// Pick-up at once: the queue folder's change notifications start a scan and a pass as soon as a
// file is complete. The timers keep their cadence as the fallback for folders whose changes are
// not reported; passes never overlap, and changes during a pass start one more scan and pass
// right after it, so a burst is handled in a few passes.

#include "queue/QueueService.h"

#include "module1/Module1.h"
#include "queue/QueueWatch.h"

#include <QDateTime>
#include <QDir>

void QueueService::startWatching()
{
    const QString settings = m_context.stationIni();
    const QString settle = ReadIniValue(QStringLiteral("Queue"), QStringLiteral("SettleSeconds"), settings);
    bool ok = false;
    const double seconds = settle.trimmed().toDouble(&ok);
    m_readiness.setSettleMs(qint64((ok && seconds >= 0 ? seconds : DefaultSettleSeconds) * 1000));
    if (!settle.isEmpty() && !ok)
        LogLine(QStringLiteral("[Queue] SettleSeconds=%1 in %2 is not a number; %3 s is used")
                    .arg(settle, settings)
                    .arg(DefaultSettleSeconds));

    if (!m_watch) {
        m_watch = new QueueWatch(m_readiness, this);
        connect(m_watch, &QueueWatch::changed, this, &QueueService::QueueChanged);
        m_kick = new QTimer(this);
        m_kick->setSingleShot(true);
        m_kick->setInterval(0);
        connect(m_kick, &QTimer::timeout, this, [this] {
            if (!m_immediatePickup || m_stopRequested || m_shutdownRequested)
                return;
            if (m_scanBusy || m_passRunning) {
                m_kickPending = true;
                return;
            }
            Timer1_Timer();
            Timer2_Timer();
        });
    }
    if (!m_watch->watch(queueFolder()))
        LogLine(QStringLiteral("The queue folder %1 is not watched for changes; it is scanned every %2 ms")
                    .arg(QDir::toNativeSeparators(queueFolder()))
                    .arg(m_timer1->interval()));
    // What is queued already is looked at once the program runs, not a timer period later.
    QueueChanged();
}

void QueueService::QueueChanged()
{
    if (!m_kick || !m_immediatePickup || m_stopRequested || m_shutdownRequested)
        return;
    if (m_scanBusy || m_passRunning)
        m_kickPending = true;
    else
        m_kick->start(0);
}

void QueueService::scheduleNextKick()
{
    if (!m_kick || !m_immediatePickup || m_stopRequested || m_shutdownRequested || m_scanBusy || m_passRunning)
        return;
    if (m_kickPending) {
        m_kickPending = false;
        m_settleCheckAtMs = 0;
        m_kick->start(0);
        return;
    }
    if (m_settleCheckAtMs > 0 && !m_kick->isActive()) {
        const qint64 wait = m_settleCheckAtMs - QDateTime::currentMSecsSinceEpoch();
        m_settleCheckAtMs = 0;
        // Beyond the timers' own cadence the timers look anyway.
        if (wait < m_timer2->interval())
            m_kick->start(int(qMax<qint64>(0, wait) + 1));
    }
}
