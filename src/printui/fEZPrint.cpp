#include "printui/fEZPrint.h"

#include "module1/Module1.h"
#include "pageengine/PagePrinter.h"
#include "pageengine/PrinterList.h"
#include "printui/ModalRunner.h"
#include "printui/PrinterSetupOf.h"
#include "runtime/VbFormat.h"
#include "widgets/PagePreview.h"
#include "widgets/ScreenFit.h"

#include <QApplication>
#include <QDir>
#include <QFocusEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString Title = QStringLiteral("KVR");

class BusyCursor
{
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
};

int twipsToPixels(double twips, const QWidget *widget)
{
    return qRound(twips * widget->logicalDpiX() / 1440.0);
}

} // namespace

fEZPrint::fEZPrint(PageEngine &engine, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral(" Print Preview"));
    buildControls();
    setEngine(engine);
    vsPrinterView->setZoom(100);
    UpdateControlBar();
}

fEZPrint::~fEZPrint() = default;

void fEZPrint::setEngine(PageEngine &engine)
{
    if (mEngine)
        disconnect(mEngine, nullptr, this, nullptr);
    mEngine = &engine;
    // Pages are completed first and printed by PrintDocument, after the page numbers are laid
    // over them; with Preview False EndDoc would print at once.
    engine.setPreview(true);
    vsPrinterView->setEngine(&engine);
    connect(&engine, &PageEngine::documentChanged, this, &fEZPrint::UpdateControlBar);
    vsPrinterView->setCurrentPage(1);
    UpdateControlBar();
}

void fEZPrint::buildControls()
{
    picPrinterControlBar = new QWidget(this);
    mToolRows = new QVBoxLayout(picPrinterControlBar);
    mToolRows->setContentsMargins(0, 0, 0, 0);
    auto makeButton = [](QWidget *parent, const QString &caption, const QString &tip) {
        auto *button = new QToolButton(parent);
        button->setText(caption);
        button->setToolTip(tip);
        return button;
    };

    mNavigation = new QWidget(picPrinterControlBar);
    auto *navigation = new QHBoxLayout(mNavigation);
    navigation->setContentsMargins(0, 0, 0, 0);
    static const char *const pageCaptions[4] = {"|<", "<", ">", ">|"};
    static const char *const pageTips[4] = {"First page (Home)", "Previous page (Page Up)", "Next page (Page Down)",
                                            "Last page (End)"};
    for (int i = 0; i < 4; ++i) {
        cmdPage[i] = makeButton(mNavigation, QString::fromLatin1(pageCaptions[i]), QString::fromLatin1(pageTips[i]));
        connect(cmdPage[i], &QToolButton::clicked, this, [this, i] { cmdPage_Click(i); });
    }
    lblPage = new QLabel(QStringLiteral("1 of 1"), mNavigation);
    lblPage->setAlignment(Qt::AlignCenter);
    // Room for "Page 999 of 999": the bar does not jump while paging.
    lblPage->setMinimumWidth(lblPage->fontMetrics().horizontalAdvance(QStringLiteral("999 of 999")));
    navigation->addWidget(cmdPage[0]);
    navigation->addWidget(cmdPage[1]);
    navigation->addWidget(new QLabel(QStringLiteral("Page"), mNavigation));
    navigation->addWidget(lblPage);
    navigation->addWidget(cmdPage[2]);
    navigation->addWidget(cmdPage[3]);
    navigation->addSpacing(12);

    // The zoom buttons differ from the page buttons at a glance: words and signs, not arrows.
    static const char *const zoomCaptions[4] = {"Min", "\u2212", "+", "Max"};
    static const char *const zoomTips[4] = {"Lowest zoom", "Zoom out (Ctrl+-, Ctrl+wheel)",
                                            "Zoom in (Ctrl++, Ctrl+wheel)", "Highest zoom"};
    for (int i = 0; i < 4; ++i) {
        cmdZoom[i] = makeButton(mNavigation, QString::fromUtf8(zoomCaptions[i]), QString::fromLatin1(zoomTips[i]));
        connect(cmdZoom[i], &QToolButton::clicked, this, [this, i] { cmdZoom_Click(i); });
    }
    cmdZoom[1]->setShortcut(QKeySequence::ZoomOut);
    cmdZoom[2]->setShortcut(QKeySequence::ZoomIn);
    lblZoom = new QLabel(QStringLiteral("100"), mNavigation);
    lblZoom->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblZoom->setMinimumWidth(lblZoom->fontMetrics().horizontalAdvance(QStringLiteral("400")));
    navigation->addWidget(new QLabel(QStringLiteral("Zoom:"), mNavigation));
    navigation->addWidget(cmdZoom[0]);
    navigation->addWidget(cmdZoom[1]);
    navigation->addWidget(lblZoom);
    navigation->addWidget(new QLabel(QStringLiteral("%"), mNavigation));
    navigation->addWidget(cmdZoom[2]);
    navigation->addWidget(cmdZoom[3]);
    cmdFitWidth = new QPushButton(QStringLiteral("Fit &Width"), mNavigation);
    cmdFitWidth->setAutoDefault(false);
    cmdFitWidth->setToolTip(QStringLiteral("Zoom so that the page fills the window's width"));
    connect(cmdFitWidth, &QPushButton::clicked, this, &fEZPrint::cmdFitWidth_Click);
    navigation->addWidget(cmdFitWidth);
    navigation->addStretch();

    mPrintControls = new QWidget(picPrinterControlBar);
    auto *printing = new QHBoxLayout(mPrintControls);
    printing->setContentsMargins(0, 0, 0, 0);
    auto *range = new QGroupBox(QStringLiteral("Print Range"), mPrintControls);
    auto *rangeLayout = new QHBoxLayout(range);
    Option1 = new QRadioButton(QStringLiteral("All"), range);
    Option2 = new QRadioButton(QStringLiteral("Pages"), range);
    rangeLayout->addWidget(Option1);
    rangeLayout->addWidget(Option2);
    static const char *const rangeCaptions[2] = {"From :", "To :"};
    for (int i = 0; i < 2; ++i) {
        rangeLayout->addWidget(new QLabel(QString::fromLatin1(rangeCaptions[i]), range));
        Text1[i] = new QLineEdit(QStringLiteral("1"), range);
        Text1[i]->setMaximumWidth(60);
        Text1[i]->installEventFilter(this);
        rangeLayout->addWidget(Text1[i]);
    }
    connect(Option1, &QRadioButton::toggled, this, [this](bool on) { if (on) Option1_Click(); });
    connect(Option2, &QRadioButton::toggled, this, [this](bool on) { if (on) Option2_Click(); });
    printing->addWidget(range);

    auto makePushButton = [this](const QString &caption) {
        auto *button = new QPushButton(caption, mPrintControls);
        button->setAutoDefault(false);
        return button;
    };
    cmdPrint[0] = makePushButton(QStringLiteral("&Print"));
    cmdPrint[1] = makePushButton(QStringLiteral("Setup"));
    for (int i = 0; i < 2; ++i) {
        connect(cmdPrint[i], &QPushButton::clicked, this, [this, i] { cmdPrint_Click(i); });
        printing->addWidget(cmdPrint[i]);
    }
    Command1 = makePushButton(QStringLiteral("&Close"));
    connect(Command1, &QPushButton::clicked, this, &fEZPrint::Command1_Click);
    printing->addWidget(Command1);
    printing->addStretch();

    mFirstRow = new QHBoxLayout;
    mFirstRow->addWidget(mNavigation);
    mFirstRow->addWidget(mPrintControls);
    mToolRows->addLayout(mFirstRow);

    vsPrinterView = new PagePreview(this);
    connect(vsPrinterView, &PagePreview::pageChanged, this, &fEZPrint::UpdateControlBar);
    // The view also zooms by itself (Ctrl + wheel): the label follows the engine.
    connect(vsPrinterView, &PagePreview::zoomChanged, this, &fEZPrint::UpdateControlBar);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(picPrinterControlBar);
    layout->addWidget(vsPrinterView, 1);

    Option1->setChecked(true);
}

void fEZPrint::placeOnScreen()
{
    const QRect room = ScreenFit::clientRoom(*this);
    const QMargins margins = layout()->contentsMargins();
    const int oneRow = mNavigation->sizeHint().width() + mFirstRow->spacing() + mPrintControls->sizeHint().width()
                     + margins.left() + margins.right();
    mFirstRow->removeWidget(mPrintControls);
    mToolRows->removeWidget(mPrintControls);
    if (oneRow <= room.width())
        mFirstRow->addWidget(mPrintControls);
    else
        mToolRows->addWidget(mPrintControls);

    if (!mPlaced) {
        // 100 twips from the left, 20 from the top, 300 narrower and lower than the screen.
        setGeometry(room.x() + twipsToPixels(100, this), room.y() + twipsToPixels(20, this),
                    room.width() - twipsToPixels(300, this), room.height() - twipsToPixels(300, this));
        mPlaced = true;
    }
    ScreenFit::fitToScreen(*this);
}

int fEZPrint::showModal()
{
    placeOnScreen();
    vsPrinterView->setCurrentPage(1);
    UpdateControlBar();
    vsPrinterView->setFocus();
    return ModalRunner::exec(*this);
}

void fEZPrint::cmdPage_Click(int index)
{
    try {
        const int page = vsPrinterView->currentPage();
        switch (index) {
        case 0: vsPrinterView->setCurrentPage(1); break;
        case 1: vsPrinterView->setCurrentPage(page - 1); break;
        case 2: vsPrinterView->setCurrentPage(page + 1); break;
        case 3: vsPrinterView->setCurrentPage(vsPrinter().PageCount()); break;
        default: break;
        }
        UpdateControlBar();
    } catch (const std::exception &e) {
        ShowErrorMessage(1, QString::fromLocal8Bit(e.what()));
    }
}

void fEZPrint::cmdZoom_Click(int index)
{
    try {
        const int zoom = vsPrinterView->zoom();
        int wanted = zoom;
        switch (index) {
        case 0: wanted = vsPrinterView->minimumZoom(); break;
        case 1: wanted = zoom - vsPrinterView->zoomStep(); break;
        case 2: wanted = zoom + vsPrinterView->zoomStep(); break;
        case 3: wanted = vsPrinterView->maximumZoom(); break;
        default: break;
        }
        vsPrinterView->setZoom(qBound(vsPrinterView->minimumZoom(), wanted, vsPrinterView->maximumZoom()));
        UpdateControlBar();
    } catch (const std::exception &e) {
        ShowErrorMessage(1, QString::fromLocal8Bit(e.what()));
    }
}

void fEZPrint::cmdFitWidth_Click()
{
    vsPrinterView->zoomToFitWidth();
    UpdateControlBar();
}

void fEZPrint::UpdateControlBar()
{
    const int page = vsPrinterView->currentPage();
    const int zoom = vsPrinterView->zoom();
    lblPage->setText(QStringLiteral("%1 of %2").arg(page).arg(qMax(1, vsPrinter().PageCount())));
    lblZoom->setText(QString::number(zoom));
    const bool before = page > 1;
    const bool after = page < vsPrinter().PageCount();
    cmdPage[0]->setEnabled(before);
    cmdPage[1]->setEnabled(before);
    cmdPage[2]->setEnabled(after);
    cmdPage[3]->setEnabled(after);
    const bool lower = zoom > vsPrinterView->minimumZoom();
    const bool higher = zoom < vsPrinterView->maximumZoom();
    cmdZoom[0]->setEnabled(lower);
    cmdZoom[1]->setEnabled(lower);
    cmdZoom[2]->setEnabled(higher);
    cmdZoom[3]->setEnabled(higher);
}

void fEZPrint::Option1_Click()
{
    Text1[0]->setEnabled(false);
    Text1[1]->setEnabled(false);
}

void fEZPrint::Option2_Click()
{
    Text1[0]->setEnabled(true);
    Text1[1]->setEnabled(true);
    Text1[0]->setFocus();
}

void fEZPrint::Text1_LostFocus(int index)
{
    QLineEdit *box = Text1[index];
    const std::optional<double> value = vb::parseNumber(box->text());
    if (!value) {
        box->setText(QStringLiteral("1"));
        return;
    }
    // Whole pages from 1 to the last page.
    double page = vb::roundHalfAway(*value, 0);
    page = qMin(page, double(vsPrinter().PageCount()));
    box->setText(QString::number(qMax(1.0, page), 'f', 0));
}

int fEZPrint::rangeValue(int index) const
{
    return Text1[index]->text().toInt();
}

void fEZPrint::cmdPrint_Click(int index)
{
    try {
        if (index == 0)
            printDocument();
        else
            setupPrinter();
    } catch (const std::exception &e) {
        ShowErrorMessage(1, QString::fromLocal8Bit(e.what()));
    }
}

void fEZPrint::printDocument()
{
    BusyCursor busy;
    int from = 0;
    int to = 0;
    if (Option2->isChecked()) {
        // A value typed and printed at once has not been left yet.
        Text1_LostFocus(0);
        Text1_LostFocus(1);
        from = rangeValue(0);
        to = rangeValue(1);
        if (from > to) {
            ShowMessage(QStringLiteral("To Pages value should be smaller than from page value!"), Title,
                        MessageIcon::Information, this);
            Text1[1]->setText(QString::number(vsPrinter().PageCount()));
            Text1[1]->setFocus();
            return;
        }
    }
    const bool setUp = mPrinterSetup && mPrinterSetup->printerName() == vsPrinter().Device();
    const PrintResult result =
        setUp ? vsPrinter().PrintDocument(PrinterSetupOf(*mPrinterSetup), from, to) : vsPrinter().PrintDocument(from, to);
    if (!result.ok)
        ShowMessage(result.error, Title, MessageIcon::Critical, this);
}

void fEZPrint::setupPrinter()
{
    const QString device = vsPrinter().Device();
    if (PrinterList::isPdf(device)) {
        ShowMessage(QStringLiteral("The PDF printer writes each document as a file into %1; it has nothing to set up.")
                        .arg(QDir::toNativeSeparators(PrinterList::pdfFolder())),
                    Title, MessageIcon::Information, this);
        return;
    }
    const QPrinterInfo info = QPrinterInfo::printerInfo(device);
    if (info.isNull()) {
        ShowMessage(QStringLiteral("The printer \"%1\" is not available.").arg(device), Title, MessageIcon::Exclamation,
                    this);
        return;
    }
    auto printer = (mPrinterSetup && mPrinterSetup->printerName() == device)
        ? std::move(mPrinterSetup)
        : std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    QPrintDialog dialog(printer.get(), this);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setWindowTitle(QStringLiteral("Printer Setup"));
    ModalRunner::exec(dialog);
    // Cancel keeps the settings the printer had before.
    mPrinterSetup = std::move(printer);
}

void fEZPrint::Command1_Click()
{
    close();
}

void fEZPrint::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        // Pages turn wherever the focus is on the tool bar.
        QApplication::sendEvent(vsPrinterView, event);
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

bool fEZPrint::eventFilter(QObject *watched, QEvent *event)
{
    for (int i = 0; i < 2; ++i) {
        if (watched != Text1[i])
            continue;
        if (event->type() == QEvent::FocusIn)
            QTimer::singleShot(0, Text1[i], &QLineEdit::selectAll);
        else if (event->type() == QEvent::FocusOut)
            Text1_LostFocus(i);
    }
    return QDialog::eventFilter(watched, event);
}
