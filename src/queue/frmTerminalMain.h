#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QWidget>
#include <QHash>
#include <QSet>
#include <array>

#include "runtime/Currency.h"
#include "queue/FileReadiness.h"
#include "queue/QueueFiles.h"
#include "dbservice/clsServer.h"

class PrintStation;
class QueueWatch;
class Recordset;
class SpreadGrid;

// The main window: the queue of order files, the orders done, one page per order terminal.
// Owns the start and stop of processing; closing it ends the program.
class frmTerminalMain : public QWidget
{
    Q_OBJECT
public:
    static constexpr int TerminalCount = 6;
    static inline const QString RunCaption = QStringLiteral("Click Here to Stop Processing Order Queues");
    static inline const QString StoppedCaption = QStringLiteral("Click Here to Start Processing Order Queues");

    explicit frmTerminalMain(QWidget *parent = nullptr);
    ~frmTerminalMain() override;

    // Wired by the program before start-up; may stay null (no print window).
    void setPrintStation(PrintStation *station) { mPrintStation = station; }
    // Initial text of the print quantity box (the command line may change it).
    void setDefaultPrintQty(const QString &qty) { txtDefQty->setText(qty); }

    // Start-up in its fixed order: settings, mode, database service, print window, timers.
    // Returns 0 when the program runs on, otherwise the exit status it must end with (the reason
    // has been shown).
    int Form_Load();

    // SIGTERM/SIGINT: stop processing after the order being converted, then end with status 0.
    void requestShutdown();

    // --- controls (names as the product calls them)
    QTabWidget *SSTab1;
    QLabel *Label2;
    QLabel *statusMsgPanel;
    SpreadGrid *fQue;
    QPushButton *btnRun;
    QPushButton *btnRemove;
    QPushButton *btnExit;
    QPushButton *btnPrint;
    QLabel *Label1;
    QLineEdit *txtDefQty;
    QTimer *Timer1;
    QTimer *Timer2;
    SpreadGrid *fDone;
    std::array<QLabel *, TerminalCount> lblInvNo{};
    std::array<QLabel *, TerminalCount> lblCustName{};
    std::array<QLabel *, TerminalCount> lblOrderTotal{};
    std::array<SpreadGrid *, TerminalCount> fGrid{};

    // --- the polling cycle: Timer1 lists new order files, Timer2 converts the queued ones
    void ScanOrderQueue();
    // Lists each order file of `folder` matching `pattern` that is not listed yet.
    void ListNewQueueFiles(const QString &folder, const QString &pattern);
    // Converts the order of queue row `row`; true when it was saved.
    bool ProcessQueueRow(int row);
    // The conversion proper: customer, lines, prices, totals, records, save, completion.
    // `terminal` is decremented to the terminal index on entry.
    bool ConvertOrderFile(Recordset &rsHeader, Recordset &rsDetail, int &terminal, const QString &custNo,
                          QString &orderPath, int row);
    // After a save: archive the two files, show the order, move its row to the done list, print.
    // `notes` (records whose quantity was read as 0) go to the done list and the log.
    void CompleteSavedOrder(const QString &soNo, const QString &billToName, Currency total, int terminalIndex,
                            int row, const QString &orderPath, const QStringList &notes = {});
    // Appends the order to the automatic print list and prints it txtDefQty times.
    void AutoPrintOrder(const QString &soNo, const QString &printText, int doneRow);

    bool passRunning() const { return mPassRunning; }

    // --- pick-up at once: the queue folder's change notifications start a scan and a pass
    // Something in the queue folder became complete: scan and pass now, or right after the
    // running pass.
    void QueueChanged();
    // On by default; tests that drive the cycle by hand turn it off.
    void setImmediatePickup(bool on) { mImmediatePickup = on; }
    // Seconds an order file without change notifications must stay unchanged before it is read:
    // [Queue] SettleSeconds of tolvaprt.ini in the program folder, 5 when missing.
    static constexpr int DefaultSettleSeconds = 5;
    FileReadiness &readiness() { return mReadiness; }

    // --- exactly once: the import record (table rfimport) of every saved order file
    // Days an archived file's import record is kept.
    static constexpr int ImportRecordDays = 30;
    // The record's identity of order file `fileName` holding `content`.
    static clsServer::OrderImport ImportOf(const QString &fileName, const QByteArray &content);
    // Start-up: the database has the suite's tables and the import record; 0 or the exit status.
    int PrepareDatabase();
    // Before a queued file is converted: when this very file was saved already (a crash or a
    // failed archive came between the save and the archiving), its archiving is finished instead
    // of saving it twice. True when the row was dealt with here.
    bool FinishEarlierImport(int row);
    // Records of saved files that have left the queue some other way count as archived; records
    // archived more than ImportRecordDays ago are deleted (at most hourly).
    void TidyImportRecords();
    // The queue status of a saved order whose files could not leave the queue.
    static QString SavedNotArchived(const QString &soNo, const QString &reason);

Q_SIGNALS:
    // The polling cycle is alive: emitted on every scan and for every order a pass takes up
    // (the service watchdog listens).
    void pollingAlive();

public Q_SLOTS:
    void btnRun_Click();
    void btnExit_Click();
    void btnprint_Click();
    void btnRemove_Click();
    void Timer1_Timer();
    void Timer2_Timer();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // The close check: true when the window may close.
    bool Form_QueryUnload();
    void stopTimers();
    void startTimers();
    // Ends the program once no processing pass is running.
    void finishShutdownIfIdle();
    QWidget *buildQueueTab();
    QWidget *buildDoneTab();
    QWidget *buildTerminalTab(int index);

    // True when the row's files are as the last scan saw them (not being written); fills the
    // customer columns from an info file that arrived or changed since it was last read.
    bool QueueRowSettled(int row);
    // The queue folder may vanish while the station runs (removed, unmounted): the status and
    // the log say so until it is back.
    void NoteQueueFolder(const QString &folder);
    // Columns 3 to 5 of a queue row from the order's info file.
    void FillQueueCustomer(int row, const QString &infoPath, bool withPrintQty);
    // The row that now holds order file `name` (upper-cased); `hint` is tried first. 0 when gone:
    // the operator may remove other rows at the points where window events run.
    int QueueRowOf(const QString &name, int hint = 0) const;
    // Headless: one line per saved order and per failed order (again only when the reason changes).
    void LogOrderFailure(const QString &fileName, const QString &reason);

    // What the last scan saw of each order file, by its name as it stands in the folder.
    struct ScannedOrder
    {
        FileStamp order;
        QString infoName; // the info file's name as found in the folder, "" when there was none
        FileStamp info;
    };
    QHash<QString, ScannedOrder> mScanned;
    QHash<QString, FileStamp> mInfoRead;  // the info file as it was when read into its row
    QHash<QString, QString> mLoggedFailure;
    QString mConvertingName;              // upper-cased name of the order file being converted

    // Moves a saved order's info file, then its order file, to the archive and marks its import
    // record archived. "" when the order file has left the queue, else the reason it has not.
    QString ArchiveSavedOrder(const QString &orderPath, const QString &soNo, QString *infoProblem);
    // Reads the program's own settings and begins watching the queue folder.
    void StartWatching();
    // After a scan or a pass: the kick that was asked for meanwhile, or one for the earliest
    // moment a waiting file may have settled.
    void ScheduleNextKick();

    FileReadiness mReadiness;
    QueueWatch *mWatch = nullptr;
    QTimer *mKick = nullptr;       // single shot: scan and pass at once
    bool mKickPending = false;     // a change came while a scan or pass ran
    bool mImmediatePickup = true;
    qint64 mSettleCheckAtMs = 0;   // earliest moment a waiting file may be complete; 0: none
    qint64 mLastPruneMs = 0;
    QSet<QString> mDoneOrders;     // order numbers saved by this run (they have their done row)
    QHash<QString, QString> mArchiveFailures; // order number: what its done row says of its archiving

    PrintStation *mPrintStation = nullptr;
    bool mPassRunning = false;     // a processing pass is converting orders
    bool mLeftForNextPass = false; // the conversion found its file changed since the listing
    bool mQueueFolderMissing = false;
    bool mShutdownRequested = false;
    bool mClosing = false;
};
