// One queued terminal order becomes a sales order: the customer, the order file, the draft the
// converter makes of them (each line shown on the terminal's page as it is priced), the records,
// and the save.

#include "queue/QueueService.h"

#include "module1/Module1.h"
#include "queue/OrderFile.h"
#include "queue/SalesOrderRecords.h"
#include "queue/SuiteOrderLookups.h"
#include "runtime/VbFormat.h"

#include <QCoreApplication>
#include <QDir>

bool QueueService::ProcessQueueRow(int row)
{
    const QueuedOrder order = m_queue.at(row);
    try {
        if (order.customerNo.isEmpty()) {
            noteFailure(row, order.infoProblem.isEmpty() ? QStringLiteral("Error:Customer # Required") : order.infoProblem);
            return false;
        }
        return ConvertOrderFile(row, int(vb::Val(order.terminal)), order.customerNo);
    } catch (const std::exception &e) {
        noteFailure(m_queue.find(order.key(), row), QString::fromLocal8Bit(e.what()));
        return false;
    }
}

void QueueService::noteFailure(int row, const QString &reason)
{
    if (row < 0)
        return;
    const QString name = m_queue.at(row).orderFile;
    setRowStatus(row, reason);
    const QString key = name.toUpper();
    ++m_stats.failed;
    m_stats.lastFailureAt = QDateTime::currentDateTime();
    m_stats.lastFailureFile = name;
    m_stats.lastFailureReason = reason;
    if (m_reportedFailure.value(key) == reason)
        return;
    m_reportedFailure.insert(key, reason);
    Q_EMIT orderFailed(name, reason);
}

bool QueueService::ConvertOrderFile(int row, int terminal, const QString &custNo)
{
    const QueuedOrder queued = m_queue.at(row);
    const QString &fileName = queued.orderFile;
    const QString key = queued.key();
    // Pending events run inside the conversion; the operator may remove rows above this one.
    auto fail = [&](const QString &reason) {
        noteFailure(m_queue.find(key, row), reason);
        return false;
    };
    if (!m_server)
        return fail(QStringLiteral("Error: no database connection"));
    if (terminal < 1 || terminal > TerminalCount)
        return fail(QStringLiteral("Error: the order file's name names no terminal 1 to 6"));

    Recordset rsHeader;
    Recordset rsDetail;
    if (!mf_CreateNewFieldSoHeader(rsHeader))
        return fail(QStringLiteral("CREATE HEADER ERROR"));
    rsHeader.open();
    if (!mf_CreateNewFieldSoDetail(rsDetail))
        return fail(QStringLiteral("CREATE DETAIL ERROR"));
    rsDetail.open();

    QString orderNo = QStringLiteral("Auto No.");
    const int copies = copiesToPrint();
    SalesOrderDraft draft;
    QString billToName;
    QString saveResult;
    const QString orderPath = QDir(queueFolder()).filePath(fileName);
    try {
        SuiteOrderLookups lookups(*m_server);
        const std::optional<Recordset> customer = lookups.customer(custNo);
        if (!customer)
            return fail(QStringLiteral("Error: customer # %1 not found").arg(custNo));

        const OrderFileContent file = ReadOrderFile(orderPath, m_scanned.value(fileName).order);
        if (file.changed) {
            // Not a failure: the next scan sees the file as it is now.
            setRowStatus(m_queue.find(key, row), QStringLiteral("Waiting: the order file is still being written"));
            m_leftForNextPass = true;
            return false;
        }
        if (!file.refusal.isEmpty())
            return fail(file.refusal);
        const QString refusal = OrderRefusal(file.records);
        if (!refusal.isEmpty())
            return fail(refusal);

        // On a server the order's look-ups come in a few statements instead of a few per line.
        lookups.prefetch(file.records, custNo, customer->text(QStringLiteral("pricelevel")));
        Q_EMIT conversionStarted(terminal);
        const OrderContext context{custNo, terminal, QDateTime::currentDateTime(), m_context.tradeShow};
        draft = DraftSalesOrder(file.records, *customer, lookups, context, [this, terminal](const DraftLine &line) {
            Q_EMIT lineDrafted(terminal, line);
            QCoreApplication::processEvents();
        });
        if (!draft.failure.isEmpty())
            return fail(draft.failure);
        WriteSalesOrderRecords(draft, rsHeader, rsDetail);
        billToName = rsHeader.text(QStringLiteral("badressname"));
        clsServer::OrderImport import = ImportOf(fileName, file.content);
        import.copies = copies;
        import.printQty = queued.printQty;
        m_server->setPendingImport(import);
        saveResult = m_server->Update_SalesOrder(orderNo, 1, rsHeader, rsDetail, 0);
    } catch (const std::exception &e) {
        return fail(QString::fromLocal8Bit(e.what()));
    }

    // From here on the order may be in the database: nothing may turn a save into a failure,
    // or the order would be converted and saved again on the next pass.
    rsHeader.close();
    rsDetail.close();
    if (!saveResult.isEmpty()) {
        Q_EMIT saveFailed(terminal, billToName);
        if (clsServer::ImportRefused(saveResult))
            return fail(QStringLiteral("Not saved: another station working on this queue saved this very file "
                                       "already; the file is left to it"));
        return fail(saveResult);
    }
    SavedOrder saved;
    saved.orderFile = fileName;
    saved.soNo = orderNo;
    saved.terminal = terminal;
    saved.billToName = billToName;
    saved.total = draft.total;
    saved.notes = draft.notes;
    saved.copies = copies;
    try {
        CompleteSavedOrder(saved, row);
    } catch (const std::exception &e) {
        LogLine(QStringLiteral("%1 was saved as sales order %2, but finishing it failed: %3")
                    .arg(fileName, orderNo, QString::fromLocal8Bit(e.what())),
                LogPriority::Error);
    }
    return true;
}
