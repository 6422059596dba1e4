#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QWidget>
#include <array>

class PrintStation;
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

public Q_SLOTS:
    void btnRun_Click();
    void btnExit_Click();
    void btnprint_Click();

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

    PrintStation *mPrintStation = nullptr;
    bool mPassRunning = false;     // a processing pass is converting orders
    bool mShutdownRequested = false;
    bool mClosing = false;
};
