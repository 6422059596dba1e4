#pragma once

#include "dbservice/clsServer.h"
#include "module1/StationContext.h"
#include "queue/DoneModel.h"
#include "queue/FileReadiness.h"
#include "queue/OrderConverter.h"
#include "queue/QueueModel.h"
#include "queue/QueueStats.h"
#include "runtime/Currency.h"

#include <QHash>
#include <QObject>
#include <QSet>
#include <QTimer>
#include <memory>

class PrintStation;
class QueueWatch;
class StationLock;
class Recordset;

// The order queue service: everything the station does with the queue folder, without a window.
// It owns the scan that lists new order files (Timer1, every 3125 ms) and the pass that converts
// the listed ones (Timer2, every 5000 ms), the folder's watch that starts both at once when a
// file is complete, the conversion, the save through the database service, the archiving, the
// import records that make every file a sales order once, and the print hand-off.
//
// Everything runs on the thread of the event loop. Pending events (a button, the other timer, a
// status request) are let through only at fixed points of the scan and the pass; passes never
// overlap. A stop takes effect after the order being converted.
//
// The queue list (queue()) is the only record of what is queued; the done list (done()) holds
// the orders saved by this run. The main window and the status page are views of both and send
// their commands here.
class QueueService : public QObject
{
    Q_OBJECT
public:
    static constexpr int TerminalCount = 6;
    static constexpr int ScanIntervalMs = 3125;
    static constexpr int PassIntervalMs = 5000;
    // Seconds an order file without change notifications must stay unchanged before it is read:
    // [Queue] SettleSeconds of the station's settings file, 5 when missing.
    static constexpr int DefaultSettleSeconds = 5;
    // Days an archived file's import record is kept.
    static constexpr int ImportRecordDays = 30;
    // The station's claim on its queue: its beat every ClaimBeatMs; a claim whose beat has not
    // moved for ClaimTakeOverMs belongs to a station that is gone and is taken over.
    static constexpr int DefaultClaimBeatMs = 5000;
    static constexpr int DefaultClaimTakeOverMs = 60000;
    // Shorter times for tests.
    void setClaimTimes(int beatMs, int takeOverMs)
    {
        m_claimBeatMs = beatMs;
        m_claimTakeOverMs = takeOverMs;
    }
    // A due print that failed is tried again after this long, doubling up to the maximum.
    static constexpr int PrintRetryMs = 30000;
    static constexpr int PrintRetryMaxMs = 15 * 60000;

    explicit QueueService(const QString &programDir, QObject *parent = nullptr);
    ~QueueService() override;

    // Start-up in its fixed order: folders, suite settings, mode, database service, the
    // database's tables, the queue (its lock on this machine, its identity, its claim in the
    // database), the watch, the timers. Returns 0 when the station runs, otherwise the exit status
    // it must end with (1 database, 2 settings or folders, 3 another station works on the queue);
    // the reason has been shown (ShowMessage).
    int start();
    // The status the program ends with once finished() came: 0, or 3 when another station took
    // the queue over.
    int exitStatus() const { return m_exitStatus; }

    const StationContext &context() const { return m_context; }
    // The program's title with its mode: "RF Order Station   *** In House Mode ***".
    QString title() const;
    clsServer *server() const { return m_server.get(); }
    QueueModel *queue() { return &m_queue; }
    DoneModel *done() { return &m_done; }

    // Where saved orders are printed; may stay null (nothing is printed).
    void setPrintStation(PrintStation *station) { m_printStation = station; }
    // The print quantity for orders listed from now on and the copies printed of each new order
    // (the "Print Qty." box): a whole number as text.
    void setDefaultPrintQty(const QString &qty) { m_defaultPrintQty = qty; }
    QString defaultPrintQty() const { return m_defaultPrintQty; }

    // --- running and stopped
    bool running() const { return !m_stopRequested; }
    // Starts processing (timers on, what arrived meanwhile is picked up at once) or stops it after
    // the order being converted.
    void setRunning(bool run);
    // "RUNNING ..", "STOPPED" or "QUEUE FOLDER MISSING: <folder>" (the start shows "Running ..").
    QString statusText() const { return m_statusText; }
    bool passRunning() const { return m_passRunning; }

    // --- what a status page and a monitoring system read
    const QueueStats &stats() const { return m_stats; }
    QDateTime startedAt() const { return m_startedAt; }
    // "" while the database answers; else why not, as the last pass found (orders then wait).
    QString databaseProblem() const { return m_databaseProblem; }
    bool queueFolderMissing() const { return m_queueFolderMissing; }
    QString queueFolderPath() const { return queueFolder(); }
    // A scan and a pass now, as a complete file in the folder starts them; "" or why not
    // (processing is stopped).
    QString runPassNow();
    bool scanBusy() const { return m_scanBusy; }
    // SIGTERM, SIGINT or closing the window during a pass: stops, and emits finished() once no
    // scan or pass runs.
    void requestShutdown();
    bool shutdownRequested() const { return m_shutdownRequested; }

    // --- the polling cycle (the timers call these; tests call them by hand)
    void Timer1_Timer();
    void Timer2_Timer();
    void ScanOrderQueue();
    // Lists each order file of `folder` matching `pattern` that is not listed yet.
    void ListNewQueueFiles(const QString &folder, const QString &pattern);
    // Converts the order of queue row `row` (0-based); true when it was saved.
    bool ProcessQueueRow(int row);
    // Something in the queue folder became complete: scan and pass now, or right after the
    // running pass. On by default; tests that drive the cycle by hand turn it off.
    void QueueChanged();
    void setImmediatePickup(bool on) { m_immediatePickup = on; }
    FileReadiness &readiness() { return m_readiness; }
    QTimer *scanTimer() const { return m_timer1; }
    QTimer *passTimer() const { return m_timer2; }

    // "Delete Selected Order Queue": the order's two files move to <program folder>/ordremoved
    // and its row leaves the queue. "" when removed; otherwise why not (the order being
    // converted cannot be removed). *warning: it was removed, but something was left behind.
    QString removeQueuedOrder(const QString &orderFile, QString *warning = nullptr);
    // The upper-cased name of the order file being converted, "" between orders.
    QString convertingOrder() const { return m_convertingName; }

    // Appends the order to the automatic print list (when `printText`, its "Print?", is above 0)
    // and prints `copies` copies of it; the done row `doneRow` shows what came of it. What is
    // done is recorded with the order's import record, so a crash or a failed print leaves it due
    // (printDueOrders).
    void AutoPrintOrder(const QString &soNo, const QString &printText, int copies, int doneRow);
    // The copies a new order is due to print: the print quantity.
    int copiesToPrint() const;

    // The record's identity of order file `fileName` holding `content`.
    clsServer::OrderImport ImportOf(const QString &fileName, const QByteArray &content) const;
    // The queue's identity and the key older stations recorded its files under (its path).
    QStringList queueKeys() const;
    // The queue status of a saved order whose files could not leave the queue.
    static QString SavedNotArchived(const QString &soNo, const QString &reason);

    // What became of one saved order, for whoever reports it (the window's terminal page, the log).
    struct SavedOrder
    {
        QString orderFile;
        QString soNo;
        int terminal = 0; // 1 to 6
        QString billToName;
        Currency total;
        QStringList notes;      // records whose quantity was read as 0
        int copies = 0;         // copies due to print
        QString archiveProblem; // the order file could not leave the queue
        QString infoProblem;    // the info file could not leave the queue
    };

Q_SIGNALS:
    // The polling cycle is alive: emitted on every scan and for every order a pass takes up.
    void pollingAlive();
    void runningChanged(bool running);
    void statusTextChanged(const QString &text);
    // A terminal's order is being converted: its page starts afresh (terminal 1 to 6).
    void conversionStarted(int terminal);
    // A line of that order is priced, in the order of the file.
    void lineDrafted(int terminal, const DraftLine &line);
    void orderSaved(const QueueService::SavedOrder &order);
    // The save failed after conversion: the terminal's page shows "**ERROR**" with the customer.
    void saveFailed(int terminal, const QString &billToName);
    // An order stays queued for `reason` (emitted when the reason changes).
    void orderFailed(const QString &orderFile, const QString &reason);
    // A saved order's files still cannot leave the queue (emitted when the reason changes).
    void orderNotArchived(const QString &orderFile, const QString &soNo, const QString &reason);
    // An order saved by an earlier run had its archiving finished now.
    void earlierImportFinished(const QString &orderFile, const QString &soNo, const QString &infoProblem);
    void printFailed(const QString &soNo, const QString &reason);
    // After requestShutdown(), once nothing runs any more; `leftQueued` order files stay queued.
    void finished(int leftQueued);

private:
    // --- start-up and running state
    int prepareDatabase();
    void setStatusText(const QString &text);
    void stopTimers();
    void startTimers();
    void finishShutdownIfIdle();
    // The order files in the queue folder now.
    int queuedFileCount() const;
    // The queue folder may vanish while the station runs (removed, unmounted): the status and
    // the log say so until it is back.
    void noteQueueFolder(const QString &folder);

    // Asks the database whether it answers; says so in the log once per outage and per recovery.
    void checkDatabase();

    // --- scan
    struct ScannedOrder
    {
        FileStamp order;
        QString infoName; // the info file's name as found in the folder, "" when there was none
        FileStamp info;
    };
    // Columns 3 to 5 of an order from its info file.
    void fillCustomer(QueuedOrder &order, const QString &infoPath, const FileStamp &listed, bool withPrintQty) const;
    // True when the row's files are as the last scan saw them (not being written); fills the
    // customer columns from an info file that arrived or changed since it was last read.
    bool queueRowSettled(int row);
    void setRowStatus(int row, const QString &status);

    // --- conversion and completion
    bool ConvertOrderFile(int row, int terminal, const QString &custNo);
    void CompleteSavedOrder(const SavedOrder &order, int row);
    // Moves a saved order's info file, then its order file, to the archive and marks its import
    // record archived. "" when the order file has left the queue, else the reason it has not.
    QString archiveSavedOrder(const QString &orderPath, const QString &soNo, QString *infoProblem);
    // Tells the operator once per reason that the order stays queued.
    void noteFailure(int row, const QString &reason);

    // --- exactly once
    // The queue on this machine (its lock), its identity and its claim in the database; 0 or
    // the exit status.
    int claimQueue();
    void beatClaim();
    void releaseClaim();
    // Removes what a move cut off by a crash left: ".name.part" copies in the archive and removed
    // folders.
    void removePartialCopies();
    // Prints what archived orders are still due to print (copies, print list entries), once their
    // retry time has come.
    void printDueOrders();
    // Before a queued file is converted: when this very file was saved already (a crash or a
    // failed archive came between the save and the archiving), its archiving is finished instead
    // of saving it twice. True when the row was dealt with here.
    bool finishEarlierImport(int row);
    // Records of saved files that have left the queue some other way count as archived; records
    // archived more than ImportRecordDays ago are deleted (at most hourly).
    void tidyImportRecords();

    // --- pick-up at once
    void startWatching();
    void scheduleNextKick();

    QString queueFolder() const;
    QString archiveFolder() const;
    QString removedFolder() const;

    StationContext m_context;
    std::unique_ptr<clsServer> m_server;
    QueueModel m_queue;
    DoneModel m_done;
    PrintStation *m_printStation = nullptr;
    QString m_defaultPrintQty = QStringLiteral("2");

    QTimer *m_timer1;
    QTimer *m_timer2;
    QString m_statusText = QStringLiteral("Running ..");
    bool m_stopRequested = false;
    bool m_scanBusy = false;
    bool m_passRunning = false;
    bool m_shutdownRequested = false;
    bool m_finished = false;
    bool m_leftForNextPass = false; // the conversion found its file changed since the listing
    bool m_queueFolderMissing = false;
    QString m_convertingName;

    QHash<QString, ScannedOrder> m_scanned;     // by the name as it stands in the folder
    QHash<QString, QString> m_reportedFailure;  // upper-cased name: the reason last reported
    QSet<QString> m_doneOrders;                 // order numbers saved by this run
    QHash<QString, QString> m_archiveFailures;  // order number: what its done row says of its archiving

    FileReadiness m_readiness;
    QueueWatch *m_watch = nullptr;
    QTimer *m_kick = nullptr;   // single shot: scan and pass at once
    bool m_kickPending = false; // a change came while a scan or pass ran
    bool m_immediatePickup = true;
    qint64 m_settleCheckAtMs = 0; // earliest moment a waiting file may be complete; 0: none
    qint64 m_lastPruneMs = 0;

    // The queue's identity and claim.
    QString m_queueId;
    std::unique_ptr<StationLock> m_queueLock;
    clsServer::QueueClaim m_claim;
    bool m_claimed = false;
    QTimer *m_claimTimer = nullptr;
    int m_claimBeatMs = DefaultClaimBeatMs;
    int m_claimTakeOverMs = DefaultClaimTakeOverMs;
    int m_exitStatus = 0;
    // Due prints that failed: when each may be tried again, and the wait after that.
    QHash<QString, std::pair<qint64, qint64>> m_printRetry;
    // Print list entries not written yet: order number, its "Print?".
    QHash<QString, QString> m_listPending;
    QString m_lastDueError;

    QueueStats m_stats;
    QDateTime m_startedAt;
    QString m_databaseProblem;
};
