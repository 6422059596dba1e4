#include "queueui/frmTerminalMain.h"

#include "module1/Module1.h"
#include "module1/PrintStation.h"
#include "queue/QueueService.h"
#include "runtime/VbFormat.h"
#include "widgets/ModelGrid.h"
#include "widgets/ScreenFit.h"
#include "widgets/SpreadGrid.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QRegularExpressionValidator>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {

const QStringList terminalHeadings{
    "Item No.", "Description", "Color",    "Size",      "W/H",     "Order",         "Ship",
    "Bk Ord",   "U/M",         "Unit Price", "Extended Price", "Taxable", "DC %",  "DC Amount",
    "DC Amt Entered?", "Subj to Comm ?", "Comm %", "Item Type", "Sales Factor", "AutoNum", "EditFlag",
    "Min. Price"};

// Columns of a terminal page.
enum PageCol {
    PItemNo = 1,
    PDescription,
    PColor,
    PSize,
    PWarehouse,
    POrder,
    PShip,
    PBkOrd,
    PUm,
    PUnitPrice,
    PExtended,
    PTaxable,
    PDcPercent,
    PDcAmount,
    PDcAmtEntered,
    PSubjComm,
    PCommPercent,
    PItemType,
    PSalesFactor,
    PAutoNum,
    PEditFlag,
    PMinPrice
};
const PageCol NumberColumns[] = {POrder,     PShip,     PBkOrd,       PUnitPrice,   PExtended,
                                 PDcPercent, PDcAmount, PCommPercent, PSalesFactor, PMinPrice};

// Numbers as the printed sales order shows them: money with two decimals ("11.88", "9.00"),
// quantities and rates as plain numbers ("12", "0.5").
QString money(double value)
{
    return FormatAmount(value);
}

QString money(const Currency &value)
{
    return vb::format(QVariant::fromValue(value), QStringLiteral("###,###.00"));
}

QString numberText(double value)
{
    return vb::formatNumber(value, QString());
}

QString yesNo(bool yes)
{
    return yes ? QStringLiteral("Y") : QStringLiteral("N");
}

// "Print Qty.": a whole number of copies, 0 to 99; only digits can be typed. A box left empty
// gets the quantity in force back when the operator leaves it.
class PrintQtyValidator : public QRegularExpressionValidator
{
public:
    PrintQtyValidator(const QueueService &service, QObject *parent)
        : QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{1,2}")), parent)
        , mService(service)
    {
    }
    void fixup(QString &input) const override { input = mService.defaultPrintQty(); }

private:
    const QueueService &mService;
};

} // namespace

frmTerminalMain::frmTerminalMain(QueueService &service, QWidget *parent) : QWidget(parent), mService(service)
{
    setWindowTitle(QString::fromLatin1(AppTitle));
    // Room for a terminal page's columns up to "Extended Price"; shown, it fits its screen.
    resize(1200, 780);

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
    txtDefQty->setText(mService.defaultPrintQty());
    txtDefQty->setValidator(new PrintQtyValidator(mService, txtDefQty));
    // The service gets whole numbers only; an empty box leaves the quantity as it was.
    connect(txtDefQty, &QLineEdit::textChanged, this, [this](const QString &text) {
        if (txtDefQty->hasAcceptableInput())
            mService.setDefaultPrintQty(QString::number(text.toInt()));
    });

    connect(&mService, &QueueService::statusTextChanged, statusMsgPanel, &QLabel::setText);
    connect(&mService, &QueueService::runningChanged, this,
            [this](bool running) { btnRun->setText(running ? RunCaption : StoppedCaption); });
    connect(&mService, &QueueService::conversionStarted, this,
            [this](int terminal) { fGrid[terminal - 1]->setMaxRows(0); });
    connect(&mService, &QueueService::lineDrafted, this, &frmTerminalMain::showLine);
    connect(&mService, &QueueService::orderSaved, this, [this](const QueueService::SavedOrder &order) {
        const int index = order.terminal - 1;
        lblInvNo[index]->setText(order.soNo);
        lblCustName[index]->setText(order.billToName);
        lblOrderTotal[index]->setText(money(order.total));
    });
    connect(&mService, &QueueService::saveFailed, this, [this](int terminal, const QString &billToName) {
        lblInvNo[terminal - 1]->setText(QStringLiteral("**ERROR**"));
        lblCustName[terminal - 1]->setText(billToName);
        lblOrderTotal[terminal - 1]->setText(QString());
    });
    // A shutdown asked for during a pass (the window's close, a signal) ends here.
    connect(&mService, &QueueService::finished, this, [this] {
        if (mClosing)
            return;
        mClosing = true;
        close();
    });
}

frmTerminalMain::~frmTerminalMain() = default;

QWidget *frmTerminalMain::buildQueueTab()
{
    auto *page = new QWidget;
    Label2 = new QLabel(QStringLiteral("Sales Order Queues"));
    QFont big = Label2->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.3);
    Label2->setFont(big);
    statusMsgPanel = new QLabel(mService.statusText());
    statusMsgPanel->setFont(big);
    statusMsgPanel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    fQue = new ModelGrid(mService.queue());
    fQue->setColumnAlignment(QueueModel::Terminal, Qt::AlignHCenter);
    fQue->setColumnAlignment(QueueModel::PrintQty, Qt::AlignHCenter);
    btnRun = new QPushButton(RunCaption);
    btnRemove = new QPushButton(QStringLiteral("Delete Selected Order Queue"));
    btnExit = new QPushButton(QStringLiteral("E&xit"));
    btnPrint = new QPushButton(QStringLiteral("&Print"));
    Label1 = new QLabel(QStringLiteral("Print Qty. :"));
    txtDefQty = new QLineEdit;
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
    fDone = new ModelGrid(mService.done());
    fDone->setColumnAlignment(DoneModel::Terminal, Qt::AlignHCenter);
    fDone->setColumnAlignment(DoneModel::PrintQty, Qt::AlignHCenter);
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
    for (const int col : NumberColumns)
        fGrid[index]->setColumnAlignment(col, Qt::AlignRight);
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

void frmTerminalMain::showLine(int terminal, const DraftLine &line)
{
    try {
        SpreadGrid *page = fGrid[terminal - 1];
        const int row = page->addRow();
        page->setText(PItemNo, row, line.itemNo);
        page->setText(PDescription, row, line.description);
        page->setText(PColor, row, line.color);
        page->setText(PSize, row, line.size);
        page->setText(POrder, row, numberText(line.ordered));
        page->setText(PShip, row, QStringLiteral("0"));
        page->setText(PBkOrd, row, QStringLiteral("0"));
        page->setText(PUm, row, line.um);
        page->setText(PUnitPrice, row, money(line.unit));
        page->setText(PExtended, row, money(line.extended));
        page->setText(PTaxable, row, yesNo(line.taxable));
        page->setText(PDcPercent, row, numberText(line.dcPercent));
        page->setText(PDcAmount, row, money(line.dcAmount));
        page->setText(PDcAmtEntered, row, QStringLiteral("N"));
        page->setText(PSubjComm, row, yesNo(line.subjectToCommission));
        page->setText(PCommPercent, row, numberText(line.commRate));
        page->setText(PItemType, row, line.itemType);
        page->setText(PSalesFactor, row, line.salesFactor);
    } catch (const std::exception &e) {
        LogLine(QStringLiteral("Terminal %1: a line of its page cannot be shown: %2")
                    .arg(terminal)
                    .arg(QString::fromLocal8Bit(e.what())),
                LogPriority::Warning);
    }
}

int frmTerminalMain::Form_Load()
{
    try {
        const int status = mService.start();
        if (status != 0)
            return status;
        setWindowTitle(mService.title());
        if (mPrintStation)
            mPrintStation->showAfresh(this);
        return 0;
    } catch (const std::exception &e) {
        ShowMessage(QString::fromLocal8Bit(e.what()), QString::fromLatin1(AppTitle), MessageIcon::Critical, this);
        return 1;
    }
}

void frmTerminalMain::btnRun_Click()
{
    mService.setRunning(btnRun->text() != RunCaption);
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
    } catch (const std::exception &e) {
        ShowMessage(QStringLiteral("The print window cannot be opened: %1").arg(QString::fromLocal8Bit(e.what())),
                    QStringLiteral("KVR"), MessageIcon::Exclamation, this);
    }
}

void frmTerminalMain::btnRemove_Click()
{
    try {
        const int selected = fQue->selectedRow();
        if (selected < 0) {
            ShowErrorMessage(2);
            return;
        }
        const QString name = mService.queue()->at(selected).orderFile;
        if (name.toUpper() == mService.convertingOrder()) {
            ShowMessage(QStringLiteral("The order %1 is being converted now and cannot be removed.").arg(name),
                        QStringLiteral("KVR"), MessageIcon::Information, this);
            return;
        }
        if (!AskYesNo(QStringLiteral("Remove the order %1 from the queue?\nIts files are moved to the folder "
                                     "\"ordremoved\"; no sales order is made from it.")
                          .arg(name),
                      QStringLiteral("KVR"), this))
            return;
        // The question let events run: a pass may have converted or taken up the order meanwhile.
        QString warning;
        const QString refused = mService.removeQueuedOrder(name, &warning);
        if (!refused.isEmpty())
            ShowMessage(refused, QStringLiteral("KVR"), MessageIcon::Exclamation, this);
        else if (!warning.isEmpty())
            ShowMessage(warning, QStringLiteral("KVR"), MessageIcon::Exclamation, this);
    } catch (const std::exception &e) {
        ShowMessage(QStringLiteral("The order was not removed: %1").arg(QString::fromLocal8Bit(e.what())),
                    QStringLiteral("KVR"), MessageIcon::Exclamation, this);
    }
}

bool frmTerminalMain::Form_QueryUnload()
{
    if (mService.queue()->rowCount() > 0 && statusMsgPanel->text().toUpper() != QStringLiteral("STOPPED")) {
        ShowMessage(QStringLiteral("Stop the Order Queue Processings first .."), QStringLiteral("KVR"),
                    MessageIcon::Information, this);
        return false;
    }
    return true;
}

void frmTerminalMain::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        ScreenFit::fitToScreen(*this);
}

void frmTerminalMain::closeEvent(QCloseEvent *event)
{
    // A shutdown (SIGTERM) that comes while the close check's message is shown closes the window
    // all the same: the service has finished by then.
    if (!mClosing && !Form_QueryUnload() && !mClosing) {
        event->ignore();
        return;
    }
    // Closing at one of a pass's event points: the pass ends after its current order and the
    // service's finished() closes the window, so the database is never released under a conversion.
    if (!mClosing && (mService.passRunning() || mService.scanBusy())) {
        mService.requestShutdown();
        event->ignore();
        return;
    }
    mClosing = true;
    mService.requestShutdown();
    if (mPrintStation)
        mPrintStation->closeWindow();
    event->accept();
    QCoreApplication::exit(mService.exitStatus());
}
