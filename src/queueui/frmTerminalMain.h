#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QWidget>
#include <array>

class ModelGrid;
class PrintStation;
class QueueService;
class SpreadGrid;
struct DraftLine;

// The main window: a view of the queue service with its controls. It shows the queue list, the
// orders done and one page per order terminal (the last order converted for it), and sends the
// operator's commands to the service: start and stop, remove a queued order, the print quantity.
// Closing it ends the program once no order is being converted.
class frmTerminalMain : public QWidget
{
    Q_OBJECT
public:
    static constexpr int TerminalCount = 6;
    static inline const QString RunCaption = QStringLiteral("Click Here to Stop Processing Order Queues");
    static inline const QString StoppedCaption = QStringLiteral("Click Here to Start Processing Order Queues");

    explicit frmTerminalMain(QueueService &service, QWidget *parent = nullptr);
    ~frmTerminalMain() override;

    // Wired by the program before start-up; may stay null (no print window).
    void setPrintStation(PrintStation *station) { mPrintStation = station; }

    // Start-up: the service's start (settings, mode, database, timers), the caption with the
    // mode, the print window. Returns 0 when the program runs on, otherwise the exit status it
    // must end with (the reason has been shown).
    int Form_Load();

    QueueService &service() const { return mService; }

    // --- controls (names as the product calls them)
    QTabWidget *SSTab1;
    QLabel *Label2;
    QLabel *statusMsgPanel;
    ModelGrid *fQue;
    QPushButton *btnRun;
    QPushButton *btnRemove;
    QPushButton *btnExit;
    QPushButton *btnPrint;
    QLabel *Label1;
    QLineEdit *txtDefQty;
    ModelGrid *fDone;
    std::array<QLabel *, TerminalCount> lblInvNo{};
    std::array<QLabel *, TerminalCount> lblCustName{};
    std::array<QLabel *, TerminalCount> lblOrderTotal{};
    std::array<SpreadGrid *, TerminalCount> fGrid{};

public Q_SLOTS:
    void btnRun_Click();
    void btnExit_Click();
    void btnprint_Click();
    void btnRemove_Click();

protected:
    // Shown, the window fits the screen it opens on, whatever size it had.
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // The close check: true when the window may close.
    bool Form_QueryUnload();
    QWidget *buildQueueTab();
    QWidget *buildDoneTab();
    QWidget *buildTerminalTab(int index);
    void showLine(int terminal, const DraftLine &line);

    QueueService &mService;
    PrintStation *mPrintStation = nullptr;
    bool mClosing = false;
};
