// The polling cycle: Timer1 lists new order files in the queue list, Timer2 walks the list and
// converts each order. Pending events run only at the fixed points where processEvents is called.

#include "queue/QueueService.h"

#include "module1/Module1.h"
#include "queue/FileWriters.h"
#include "queue/InfoFile.h"
#include "queue/QueueWatch.h"
#include "runtime/VbFormat.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>

namespace {

const QString SkippedPrefix = QStringLiteral("** SKIPPED ** ");

// Clears a flag when the scope ends, whatever way it ends.
class FlagGuard
{
public:
    explicit FlagGuard(bool &flag) : m_flag(flag) { m_flag = true; }
    ~FlagGuard() { m_flag = false; }
    FlagGuard(const FlagGuard &) = delete;
    FlagGuard &operator=(const FlagGuard &) = delete;

private:
    bool &m_flag;
};

QString describe(const std::exception &e)
{
    return QString::fromLocal8Bit(e.what());
}

} // namespace

void QueueService::Timer1_Timer()
{
    Q_EMIT pollingAlive();
    // A pass holds the queue list; a scan waits for it to end.
    if (m_scanBusy || m_passRunning)
        return;
    try {
        if (m_stopRequested) {
            setStatusText(QStringLiteral("STOPPED"));
            stopTimers();
            return;
        }
        m_timer1->stop();
        {
            FlagGuard busy(m_scanBusy);
            ScanOrderQueue();
        }
    } catch (const std::exception &e) {
        LogLine(QStringLiteral("Queue scan failed: %1").arg(describe(e)), LogPriority::Error);
    } catch (...) {
        LogLine(QStringLiteral("Queue scan failed: an unknown error"), LogPriority::Error);
    }
    if (!m_stopRequested)
        m_timer1->start();
    finishShutdownIfIdle();
    scheduleNextKick();
}

void QueueService::ScanOrderQueue()
{
    const QString folder = queueFolder();
    noteQueueFolder(folder);
    // Watched again when the folder was removed and made anew.
    if (m_watch)
        m_watch->watch(folder);
    ListNewQueueFiles(folder + QLatin1Char('/'), QStringLiteral("*.ord"));
}

void QueueService::ListNewQueueFiles(const QString &folder, const QString &pattern)
{
    // One listing of the whole folder gives the order files and, without a look-up per order,
    // the info files beside them. Only the new names are sorted.
    // FIFOs and devices are listed too: named as an order, they get a row and the reason they
    // are not read.
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::Files | QDir::System | QDir::Hidden, QDir::Unsorted);
    QHash<QString, qsizetype> byName;
    byName.reserve(entries.size());
    for (qsizetype i = 0; i < entries.size(); ++i)
        byName.insert(entries[i].fileName().toUpper(), i);

    QSet<QString> listed;
    listed.reserve(m_queue.rowCount());
    for (const QueuedOrder &order : m_queue.orders())
        listed.insert(order.key());

    const QRegularExpression match(QRegularExpression::wildcardToRegularExpression(pattern),
                                   QRegularExpression::CaseInsensitiveOption);
    QHash<QString, ScannedOrder> scanned;
    QList<qsizetype> fresh;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const QString name = entries[i].fileName();
        if (!match.match(name).hasMatch())
            continue;
        const QString key = name.toUpper();
        ScannedOrder seen;
        seen.order = FileStamp::of(entries[i]);
        const auto info = byName.constFind(InfoFileName(key).toUpper());
        if (info != byName.constEnd()) {
            seen.infoName = entries[*info].fileName();
            seen.info = FileStamp::of(entries[*info]);
        }
        scanned.insert(name, seen);
        // The same name in other letter case is the same order: listed once.
        if (!listed.contains(key)) {
            listed.insert(key);
            fresh.append(i);
        }
    }
    m_scanned = std::move(scanned);
    if (QDir(folder).exists()) {
        QSet<QString> present;
        present.reserve(byName.size());
        for (auto it = byName.constBegin(); it != byName.constEnd(); ++it)
            present.insert(it.key());
        m_readiness.retain(present);
    }

    std::sort(fresh.begin(), fresh.end(), [&entries](qsizetype a, qsizetype b) {
        return entries[a].fileName().compare(entries[b].fileName(), Qt::CaseInsensitive) < 0;
    });
    for (const qsizetype i : std::as_const(fresh)) {
        const QString name = entries[i].fileName();
        try {
            QueuedOrder order;
            order.terminal = TerminalOfOrderFile(name);
            order.orderFile = name;
            const ScannedOrder &seen = m_scanned[name];
            if (!seen.infoName.isEmpty()) {
                fillCustomer(order, QDir(folder).filePath(seen.infoName), seen.info, true);
                order.infoRead = seen.info;
            }
            m_queue.append(order);
        } catch (const std::exception &e) {
            LogLine(QStringLiteral("Queue scan: %1 skipped: %2").arg(name, describe(e)), LogPriority::Warning);
        }
        QCoreApplication::processEvents();
    }
}

void QueueService::fillCustomer(QueuedOrder &order, const QString &infoPath, const FileStamp &listed,
                                bool withPrintQty) const
{
    const InfoFileContent info = ReadInfoFile(infoPath, listed);
    order.customerNo = info.customerNo;
    order.customerName = info.customerName;
    order.infoProblem = info.refusal;
    if (withPrintQty)
        order.printQty = vb::Val(m_defaultPrintQty) > 0 ? m_defaultPrintQty : QString();
}

void QueueService::setRowStatus(int row, const QString &status)
{
    m_queue.setStatus(row, status);
}

bool QueueService::queueRowSettled(int row)
{
    QueuedOrder order = m_queue.at(row);
    const QString &name = order.orderFile;
    const auto seen = m_scanned.constFind(name);
    // Not seen by the last scan: the file has gone; the conversion reports it.
    if (seen == m_scanned.constEnd())
        return true;
    const QDir folder(queueFolder());
    const QString waiting = QStringLiteral("Waiting: the %1 is still being written");
    const QString openElsewhere = QStringLiteral("Waiting: the %1 is open for writing by another program");
    bool writerSeen = false;
    // Every change reported so far is known before the files are judged.
    if (m_watch)
        m_watch->drain();
    const auto complete = [&](const QString &fileName, const FileStamp &stamp) {
        const FileReadiness::Verdict verdict = m_readiness.check(fileName, stamp);
        qint64 lookAgainAtMs = verdict.lookAgainAtMs;
        bool complete = verdict.complete;
        // Quiet for the settle time, but no close was seen (it was there before the watch began,
        // or the folder reports nothing): a writer of this machine that still has it open is
        // only pausing.
        if (complete && verdict.byTime && WritersOf(folder.filePath(fileName)) == FileWriters::Writing) {
            complete = false;
            writerSeen = true;
            lookAgainAtMs = QDateTime::currentMSecsSinceEpoch() + 1000;
        }
        if (lookAgainAtMs > 0 && (m_settleCheckAtMs == 0 || lookAgainAtMs < m_settleCheckAtMs))
            m_settleCheckAtMs = lookAgainAtMs;
        return complete;
    };
    const QString orderPath = folder.filePath(name);
    const FileStamp stamp = FileStamp::of(orderPath);
    // A name that is there but is no plain file (a FIFO, a device, a link to one) is never
    // written to completion: the reader refuses it with its reason.
    const QFileInfo orderInfo(orderPath);
    const bool noPlainFile = !stamp.exists() && (orderInfo.exists() || orderInfo.isSymLink());
    if (!noPlainFile && (stamp != seen->order || !complete(name, stamp))) {
        setRowStatus(row, (writerSeen ? openElsewhere : waiting).arg(QStringLiteral("order file")));
        return false;
    }
    const QString infoName = seen->infoName.isEmpty() ? InfoFileName(name) : seen->infoName;
    const QString infoPath = folder.filePath(infoName);
    const FileStamp info = FileStamp::of(infoPath);
    if (info != seen->info || (info.exists() && !complete(infoName, info))) {
        setRowStatus(row, (writerSeen ? openElsewhere : waiting).arg(QStringLiteral("info file")));
        return false;
    }
    // A terminal may write the info file after the order file, or rewrite it.
    if (info.exists() && (order.customerNo.isEmpty() || order.infoRead != info)) {
        fillCustomer(order, infoPath, info, order.customerNo.isEmpty());
        order.infoRead = info;
        m_queue.update(row, order);
    }
    return true;
}

void QueueService::Timer2_Timer()
{
    // Passes never overlap: a stop and a start during a pass enable the timers again, and the
    // pass itself lets timer events through.
    if (m_scanBusy || m_passRunning)
        return;
    QElapsedTimer took;
    took.start();
    m_stats.lastPassAt = QDateTime::currentDateTime();
    try {
        stopTimers();
        FlagGuard pass(m_passRunning);
        if (m_server && m_server->closeIfDatabaseReplaced())
            LogLine(QStringLiteral("The database file was replaced; the new one is used from now on."));
        checkDatabase();
        if (!m_databaseProblem.isEmpty()) {
            // Every order would fail alike: they wait, with the reason, until it answers again.
            for (int row = 0; row < m_queue.rowCount(); ++row)
                setRowStatus(row, QStringLiteral("Waiting: the database does not answer: ") + m_databaseProblem);
        }
        // What saved orders still have to print comes first: they were saved before these.
        if (m_databaseProblem.isEmpty())
            printDueOrders();
        if (m_queue.rowCount() > 0 && !m_stopRequested && m_databaseProblem.isEmpty()) {
            tidyImportRecords();
            // The rows present now, each visited once from the top; identified by name, because
            // rows above may be converted or removed at the event points.
            QStringList names;
            for (const QueuedOrder &order : m_queue.orders())
                names.append(order.key());
            int expected = 0;
            for (const QString &name : std::as_const(names)) {
                Q_EMIT pollingAlive();
                QCoreApplication::processEvents();
                if (m_stopRequested)
                    break;
                const int row = m_queue.find(name, expected);
                if (row < 0)
                    continue;
                expected = row;
                if (!queueRowSettled(row)) {
                    ++expected;
                    continue;
                }
                if (finishEarlierImport(row))
                    continue;
                m_convertingName = name;
                m_leftForNextPass = false;
                const bool saved = ProcessQueueRow(row);
                m_convertingName.clear();
                // The database away, or its numbering row held past the wait limit: every order
                // after this one would wait and fail alike, so the rest waits for the next pass.
                const clsServer::Failure failure = m_server ? m_server->lastFailure() : clsServer::Failure::None;
                const bool stopPass = !saved && (failure == clsServer::Failure::Unreachable
                                                 || failure == clsServer::Failure::Locked);
                if (!saved) {
                    const int now = m_queue.find(name, row);
                    if (now >= 0) {
                        if (!m_leftForNextPass)
                            setRowStatus(now, SkippedPrefix + m_queue.at(now).status);
                        expected = now + 1;
                    }
                }
                if (stopPass) {
                    if (failure == clsServer::Failure::Unreachable)
                        checkDatabase();
                    break;
                }
                if (m_stopRequested)
                    break;
                QCoreApplication::processEvents();
            }
        }
    } catch (const std::exception &e) {
        LogLine(QStringLiteral("Queue pass failed: %1").arg(describe(e)), LogPriority::Error);
    } catch (...) {
        LogLine(QStringLiteral("Queue pass failed: an unknown error"), LogPriority::Error);
    }
    m_convertingName.clear();
    m_stats.passDuration.observe(double(took.nsecsElapsed()) / 1e9);
    if (m_stopRequested) {
        setStatusText(QStringLiteral("STOPPED"));
        stopTimers();
    } else {
        startTimers();
    }
    finishShutdownIfIdle();
    scheduleNextKick();
}
