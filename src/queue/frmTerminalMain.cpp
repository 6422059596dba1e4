#include "queue/frmTerminalMain.h"

#include "module1/Module1.h"
#include "module1/PrintStation.h"
#include "queue/QueueWatch.h"
#include "widgets/SpreadGrid.h"
#include "dbservice/clsServer.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {

const QStringList queueHeadings{"Terminal", "Order To Process", "Customer #", "Customer Name", "Print?", "Status"};
const QStringList doneHeadings{"Terminal", "Saved Order", "Customer #", "Customer Name", "Print?", "Print Status"};
const QStringList terminalHeadings{
    "Item No.", "Description", "Color",    "Size",      "W/H",     "Order",         "Ship",
    "Bk Ord",   "U/M",         "Unit Price", "Extended Price", "Taxable", "DC %",  "DC Amount",
    "DC Amt Entered?", "Subj to Comm ?", "Comm %", "Item Type", "Sales Factor", "AutoNum", "EditFlag",
    "Min. Price"};

} // namespace

frmTerminalMain::frmTerminalMain(QWidget *parent) : QWidget(parent)
{
    setWindowTitle(QString::fromLatin1(AppTitle));
    resize(1100, 650);

    Timer1 = new QTimer(this);
    Timer1->setInterval(3125);
    Timer2 = new QTimer(this);
    Timer2->setInterval(5000);

    SSTab1 = new QTabWidget(this);
    SSTab1->addTab(buildQueueTab(), QStringLiteral("Order Queue"));
    SSTab1->addTab(buildDoneTab(), QStringLiteral("Done Order"));
    for (int i = 0; i < TerminalCount; ++i)
        SSTab1->addTab(buildTerminalTab(i), QStringLiteral("Terminal %1").arg(i + 1));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(SSTab1);

    connect(btnRun, &QPushButton::clicked, this, &frmTerminalMain::btnRun_Click);
    connect(btnExit, &QPushButton::clicked, this, &frmTerminalMain::btnExit_Click);
    connect(btnPrint, &QPushButton::clicked, this, &frmTerminalMain::btnprint_Click);
    connect(btnRemove, &QPushButton::clicked, this, &frmTerminalMain::btnRemove_Click);
    connect(Timer1, &QTimer::timeout, this, &frmTerminalMain::Timer1_Timer);
    connect(Timer2, &QTimer::timeout, this, &frmTerminalMain::Timer2_Timer);
}

frmTerminalMain::~frmTerminalMain()
{
    delete gServer;
    gServer = nullptr;
}

QWidget *frmTerminalMain::buildQueueTab()
{
    auto *page = new QWidget;
    Label2 = new QLabel(QStringLiteral("Sales Order Queues"));
    QFont big = Label2->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.3);
    Label2->setFont(big);
    statusMsgPanel = new QLabel(QStringLiteral("Running .."));
    statusMsgPanel->setFont(big);
    statusMsgPanel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    fQue = new SpreadGrid(queueHeadings);
    btnRun = new QPushButton(RunCaption);
    btnRemove = new QPushButton(QStringLiteral("Delete Selected Order Queue"));
    btnExit = new QPushButton(QStringLiteral("E&xit"));
    btnPrint = new QPushButton(QStringLiteral("&Print"));
    Label1 = new QLabel(QStringLiteral("Print Qty. :"));
    txtDefQty = new QLineEdit(QStringLiteral("2"));
    txtDefQty->setMaximumWidth(60);
    Label1->setBuddy(txtDefQty);

    auto *top = new QHBoxLayout;
    top->addWidget(Label2);
    top->addStretch();
    top->addWidget(statusMsgPanel);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(btnRun);
    buttons->addWidget(btnRemove);
    buttons->addStretch();
    buttons->addWidget(Label1);
    buttons->addWidget(txtDefQty);
    buttons->addWidget(btnPrint);
    buttons->addWidget(btnExit);
    auto *layout = new QVBoxLayout(page);
    layout->addLayout(top);
    layout->addWidget(fQue);
    layout->addLayout(buttons);
    return page;
}

QWidget *frmTerminalMain::buildDoneTab()
{
    auto *page = new QWidget;
    fDone = new SpreadGrid(doneHeadings);
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(fDone);
    return page;
}

QWidget *frmTerminalMain::buildTerminalTab(int index)
{
    auto *page = new QWidget;
    lblInvNo[index] = new QLabel;
    lblCustName[index] = new QLabel;
    lblOrderTotal[index] = new QLabel;
    fGrid[index] = new SpreadGrid(terminalHeadings);
    for (QLabel *label : {lblInvNo[index], lblCustName[index], lblOrderTotal[index]})
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *info = new QGridLayout;
    info->addWidget(new QLabel(QStringLiteral("Last Processed Sales Order No :")), 0, 0);
    info->addWidget(lblInvNo[index], 0, 1);
    info->addWidget(lblCustName[index], 0, 2);
    info->addWidget(new QLabel(QStringLiteral("Order Total :")), 1, 0);
    info->addWidget(lblOrderTotal[index], 1, 1);
    info->setColumnStretch(2, 1);
    auto *layout = new QVBoxLayout(page);
    layout->addLayout(info);
    layout->addWidget(fGrid[index]);
    return page;
}

int frmTerminalMain::Form_Load()
{
    try {
        stopTimers();
        gStopRequested = false;
        fQue->setMaxRows(0);

        // A wrong folder would leave a station that says it runs and never picks up an order.
        if (!QFileInfo(gProgramDir).isDir()) {
            ShowMessage(QStringLiteral("The program folder \"%1\" does not exist.").arg(gProgramDir),
                        QString::fromLatin1(AppTitle), MessageIcon::Critical, this);
            return 2;
        }
        const auto root = SuiteRootOf(gProgramDir);
        if (!root) {
            ShowMessage(QStringLiteral("The program folder \"%1\" is not inside a suite: its path has no "
                                       "\"admodule\" folder. Start the program from <suite>/admodule or "
                                       "name that folder with --program-dir.")
                            .arg(gProgramDir),
                        QString::fromLatin1(AppTitle), MessageIcon::Critical, this);
            return 2;
        }
        gSuiteRoot = *root;
        const QString settings = SuiteIniPath();
        if (!QFileInfo(settings).isFile()) {
            ShowMessage(QStringLiteral("The suite's settings file \"%1\" does not exist.").arg(settings),
                        QString::fromLatin1(AppTitle), MessageIcon::Critical, this);
            return 2;
        }

        const QString queue = QueueFolder();
        if (!QFileInfo(queue).isDir()) {
            ShowMessage(QStringLiteral("The queue folder \"%1\" does not exist: the terminals' orders are picked up "
                                       "there. Create it, or name the right program folder with --program-dir.")
                            .arg(queue),
                        QString::fromLatin1(AppTitle), MessageIcon::Critical, this);
            return 2;
        }

        const QString showDatabase = ReadIniValue(QStringLiteral("Access"), QStringLiteral("DBNameShow"), settings);
        gTradeShow = !showDatabase.isEmpty() && QFileInfo(showDatabase).isFile();
        setWindowTitle(QString::fromLatin1(AppTitle)
                       + (gTradeShow ? QStringLiteral("   *** Trade Show Mode ***")
                                     : QStringLiteral("   *** In House Mode ***")));

        try {
            gServer = new clsServer(gProgramDir, gTradeShow);
        } catch (const DbError &e) {
            ShowMessage(e.description(), QString::fromLatin1(AppTitle), MessageIcon::Critical, this);
            return 2;
        }
        const QString status = gServer->Get_ConnStatus();
        if (!status.isEmpty()) {
            ShowMessage(status, QString::fromLatin1(AppTitle), MessageIcon::Critical, this);
            delete gServer;
            gServer = nullptr;
            return 1;
        }
        // Not the suite's database: refused now rather than failing every order.
        if (const int prepared = PrepareDatabase(); prepared != 0) {
            delete gServer;
            gServer = nullptr;
            return prepared;
        }

        if (gHeadless)
            LogLine(QStringLiteral("%1: connected to %2 (%3); watching %4")
                        .arg(windowTitle().simplified(), gServer->connectionString(),
                             gTradeShow ? QStringLiteral("trade show mode") : QStringLiteral("in house mode"),
                             ChildPath(gProgramDir, QStringLiteral("OrdQueue"))));

        if (mPrintStation)
            mPrintStation->showAfresh(this);
        StartWatching();
        startTimers();
        return 0;
    } catch (const std::exception &e) {
        ShowMessage(QString::fromLocal8Bit(e.what()), QString::fromLatin1(AppTitle), MessageIcon::Critical, this);
        return 1;
    }
}

void frmTerminalMain::stopTimers()
{
    Timer1->stop();
    Timer2->stop();
}

void frmTerminalMain::startTimers()
{
    Timer1->start();
    Timer2->start();
}

void frmTerminalMain::btnRun_Click()
{
    if (mShutdownRequested)
        return;
    if (btnRun->text() != RunCaption) {
        btnRun->setText(RunCaption);
        statusMsgPanel->setText(QStringLiteral("RUNNING .."));
        gStopRequested = false;
        startTimers();
        QueueChanged(); // what arrived while stopped is picked up now
    } else {
        btnRun->setText(StoppedCaption);
        statusMsgPanel->setText(QStringLiteral("STOPPED"));
        gStopRequested = true;
        stopTimers();
    }
}

void frmTerminalMain::NoteQueueFolder(const QString &folder)
{
    const bool missing = !QFileInfo(folder).isDir();
    const QString shown = QDir::toNativeSeparators(folder);
    if (missing) {
        if (!gStopRequested)
            statusMsgPanel->setText(QStringLiteral("QUEUE FOLDER MISSING: %1").arg(shown));
        if (!mQueueFolderMissing)
            LogLine(QStringLiteral("The queue folder %1 is missing: no order is picked up until it is back").arg(shown));
    } else if (mQueueFolderMissing) {
        if (!gStopRequested)
            statusMsgPanel->setText(QStringLiteral("RUNNING .."));
        LogLine(QStringLiteral("The queue folder %1 is back").arg(shown));
    }
    mQueueFolderMissing = missing;
}

void frmTerminalMain::btnExit_Click()
{
    close();
}

void frmTerminalMain::btnprint_Click()
{
    try {
        if (mPrintStation)
            mPrintStation->showAfresh(this);
    } catch (...) {
        // Opening the print window again is best effort; the queue goes on either way.
    }
}

bool frmTerminalMain::Form_QueryUnload()
{
    if (fQue->maxRows() > 0 && statusMsgPanel->text().toUpper() != QStringLiteral("STOPPED")) {
        ShowMessage(QStringLiteral("Stop the Order Queue Processings first .."), QStringLiteral("KVR"),
                    MessageIcon::Information, this);
        return false;
    }
    return true;
}

void frmTerminalMain::closeEvent(QCloseEvent *event)
{
    if (!mClosing && !Form_QueryUnload()) {
        event->ignore();
        return;
    }
    // Closing at one of a pass's event points: the pass ends after its current order and then
    // closes the window, so the database service is never released under a conversion.
    if (mPassRunning || gScanBusy) {
        mShutdownRequested = true;
        gStopRequested = true;
        stopTimers();
        statusMsgPanel->setText(QStringLiteral("STOPPED"));
        event->ignore();
        return;
    }
    mClosing = true;
    stopTimers();
    if (mPrintStation)
        mPrintStation->closeWindow();
    delete gServer;
    gServer = nullptr;
    event->accept();
    QCoreApplication::quit();
}

void frmTerminalMain::requestShutdown()
{
    mShutdownRequested = true;
    gStopRequested = true;
    stopTimers();
    statusMsgPanel->setText(QStringLiteral("STOPPED"));
    finishShutdownIfIdle();
}

void frmTerminalMain::finishShutdownIfIdle()
{
    if (!mShutdownRequested || mPassRunning || gScanBusy)
        return;
    if (gHeadless)
        LogLine(QStringLiteral("Stopped; %1 order file(s) left queued.").arg(fQue->maxRows()));
    mClosing = true;
    close();
}
