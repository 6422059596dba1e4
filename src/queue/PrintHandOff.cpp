// The last step of a saved order: the automatic print list and the printed copies.

#include "queue/QueueService.h"

#include "module1/Module1.h"
#include "module1/PrintStation.h"
#include "runtime/PrivateProfile.h"
#include "runtime/VbFormat.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <limits>

namespace {

// Appends one entry to [AutoSoPrint] List of tolvaprt.ini, unless the list holds it already (the
// hand-off of an order saved before a restart may have listed it). The list only grows; it is
// read back whole (not through the 255-character settings buffer) so that no earlier entry is
// cut off.
bool appendToPrintList(const QString &file, const QString &entry, QString *error)
{
    if (QFile::exists(file)) {
        QFile probe(file);
        if (!probe.open(QIODevice::ReadOnly)) {
            *error = QStringLiteral("cannot read %1: %2").arg(QDir::toNativeSeparators(file), probe.errorString());
            return false;
        }
    }
    const QString section = QStringLiteral("AutoSoPrint");
    const QString key = QStringLiteral("List");
    const QString list =
        PrivateProfile::readString(section, key, QString(), file, std::numeric_limits<int>::max());
    // Entries end in "|" and hold "|" once inside: one starts the list or follows another's end.
    if (list.startsWith(entry) || list.contains('|' + entry))
        return true;
    return PrivateProfile::writeString(section, key, list + entry, file, error);
}

} // namespace

int QueueService::copiesToPrint() const
{
    return qMax(0, int(vb::roundHalfAway(vb::Val(m_defaultPrintQty), 0)));
}

void QueueService::AutoPrintOrder(const QString &soNo, const QString &printText, int copies, int doneRow)
{
    if (vb::Val(printText) > 0) {
        QString error;
        bool written = false;
        try {
            written = appendToPrintList(m_context.stationIni(), soNo + '|' + printText + '|', &error);
        } catch (const std::exception &e) {
            error = QString::fromLocal8Bit(e.what());
        }
        QCoreApplication::processEvents();
        if (written) {
            m_done.addPrintStatus(doneRow, QStringLiteral("Processed"));
            m_listPending.remove(soNo);
        } else {
            m_done.addPrintStatus(doneRow, QStringLiteral("print list not written: ") + error);
            // Tried again on every pass until it is written.
            if (!m_listPending.contains(soNo))
                LogLine(QStringLiteral("Sales order %1 is not in the print list yet (tried again on the next pass): %2")
                            .arg(soNo, error),
                        LogPriority::Warning);
            m_listPending.insert(soNo, printText);
        }
    }

    int left = copies;
    QString failure;
    if (m_printStation) {
        try {
            m_printStation->setRange(soNo, soNo);
            while (left > 0) {
                QCoreApplication::processEvents();
                failure = m_printStation->Print_So(0, soNo, soNo);
                ++m_stats.printJobs;
                // One failure is enough: the next copies would go to the same printer.
                if (!failure.isEmpty())
                    break;
                --left;
                if (m_server) {
                    const QString recorded = m_server->setPrintDue(soNo, left);
                    if (!recorded.isEmpty())
                        LogLine(QStringLiteral("Sales order %1 printed, but that is not recorded (it may print once "
                                               "more): %2")
                                    .arg(soNo, recorded),
                                LogPriority::Warning);
                }
            }
        } catch (const std::exception &e) {
            failure = QString::fromLocal8Bit(e.what());
        }
    }
    if (failure.isEmpty()) {
        m_printRetry.remove(soNo);
        return;
    }
    // What is left stays due: tried again after a while, a longer one each time it fails.
    ++m_stats.printFailures;
    m_done.addPrintStatus(doneRow, QStringLiteral("print failed: ") + failure);
    const qint64 wait = m_printRetry.contains(soNo) ? qMin<qint64>(m_printRetry[soNo].second * 2, PrintRetryMaxMs)
                                                    : PrintRetryMs;
    m_printRetry.insert(soNo, {QDateTime::currentMSecsSinceEpoch() + wait, wait});
    Q_EMIT printFailed(soNo, failure);
}

void QueueService::printDueOrders()
{
    if (!m_server)
        return;
    // Print list entries that could not be written.
    for (auto it = m_listPending.cbegin(); it != m_listPending.cend();) {
        const QString soNo = it.key();
        const QString printText = it.value();
        ++it;
        const int row = m_done.find(soNo);
        AutoPrintOrder(soNo, printText, 0, row);
    }
    QList<clsServer::DuePrint> due;
    const QString error = m_server->duePrints(queueKeys(), &due);
    if (!error.isEmpty()) {
        if (error != m_lastDueError)
            LogLine(QStringLiteral("The orders still to print cannot be looked up (tried again on the next pass): %1")
                        .arg(error),
                    LogPriority::Warning);
        m_lastDueError = error;
        return;
    }
    m_lastDueError.clear();
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    for (const clsServer::DuePrint &order : std::as_const(due)) {
        const auto retry = m_printRetry.constFind(order.soNo);
        if (retry != m_printRetry.cend() && now < retry->first)
            continue;
        int row = m_done.find(order.soNo);
        if (row < 0)
            row = m_done.append(DoneOrder{TerminalOfOrderFile(order.orderFile), order.orderFile, order.soNo, {}, {},
                                          order.printQty, QStringLiteral("saved before a restart")});
        // An order this run handed off has its print list entry; one of an earlier run gets it
        // now if that run ended before (an entry is never listed twice).
        const bool handedOff = m_doneOrders.contains(order.soNo);
        m_doneOrders.insert(order.soNo);
        AutoPrintOrder(order.soNo, handedOff ? QString() : order.printQty, order.copies, row);
    }
}
