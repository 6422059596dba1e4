// Pick-up at once: the queue folder's change notifications start a scan and a pass as soon as a
// file is complete. The timers keep their cadence as the fallback for folders whose changes are
// not reported; passes never overlap, and changes during a pass start one more scan and pass
// right after it, so a burst is handled in a few passes.

#include "queue/frmTerminalMain.h"

#include "module1/Module1.h"
#include "queue/QueueWatch.h"

#include <QDateTime>
#include <QDir>

void frmTerminalMain::StartWatching()
{
    const QString settings = QDir(gProgramDir).filePath(QStringLiteral("tolvaprt.ini"));
    const QString settle = ReadIniValue(QStringLiteral("Queue"), QStringLiteral("SettleSeconds"), settings);
    bool ok = false;
    const double seconds = settle.trimmed().toDouble(&ok);
    mReadiness.setSettleMs(qint64((ok && seconds >= 0 ? seconds : DefaultSettleSeconds) * 1000));
    if (!settle.isEmpty() && !ok)
        LogLine(QStringLiteral("[Queue] SettleSeconds=%1 in %2 is not a number; %3 s is used")
                    .arg(settle, settings)
                    .arg(DefaultSettleSeconds));

    if (!mWatch) {
        mWatch = new QueueWatch(mReadiness, this);
        connect(mWatch, &QueueWatch::changed, this, &frmTerminalMain::QueueChanged);
        mKick = new QTimer(this);
        mKick->setSingleShot(true);
        mKick->setInterval(0);
        connect(mKick, &QTimer::timeout, this, [this] {
            if (!mImmediatePickup || gStopRequested || mShutdownRequested)
                return;
            if (gScanBusy || mPassRunning) {
                mKickPending = true;
                return;
            }
            Timer1_Timer();
            Timer2_Timer();
        });
    }
    if (!mWatch->watch(QueueFolder()))
        LogLine(QStringLiteral("The queue folder %1 is not watched for changes; it is scanned every %2 ms")
                    .arg(QDir::toNativeSeparators(QueueFolder()))
                    .arg(Timer1->interval()));
    // What is queued already is looked at once the program runs, not a timer period later.
    QueueChanged();
}

void frmTerminalMain::QueueChanged()
{
    if (!mKick || !mImmediatePickup || gStopRequested || mShutdownRequested)
        return;
    if (gScanBusy || mPassRunning)
        mKickPending = true;
    else
        mKick->start(0);
}

void frmTerminalMain::ScheduleNextKick()
{
    if (!mKick || !mImmediatePickup || gStopRequested || mShutdownRequested || gScanBusy || mPassRunning)
        return;
    if (mKickPending) {
        mKickPending = false;
        mSettleCheckAtMs = 0;
        mKick->start(0);
        return;
    }
    if (mSettleCheckAtMs > 0 && !mKick->isActive()) {
        const qint64 wait = mSettleCheckAtMs - QDateTime::currentMSecsSinceEpoch();
        mSettleCheckAtMs = 0;
        // Beyond the timers' own cadence the timers look anyway.
        if (wait < Timer2->interval())
            mKick->start(int(qMax<qint64>(0, wait) + 1));
    }
}
