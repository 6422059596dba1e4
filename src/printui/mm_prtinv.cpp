#include "printui/mm_prtinv.h"

#include "module1/Module1.h"
#include "pageengine/PageEngine.h"
#include "printing/PrintProcedures.h"
#include "printui/ModalRunner.h"
#include "printui/mm_PickSheetStyleSetup.h"
#include "widgets/AutoCapitalize.h"
#include "widgets/ScreenFit.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {

const QString PickingSheetTitle = QStringLiteral("PICKING SHEET");
const QString SalesOrderTitle = QStringLiteral("SALES ORDER");

void showChosenBold(QRadioButton *const *options, int count, int chosen)
{
    for (int i = 0; i < count; ++i) {
        QFont font = options[i]->font();
        font.setBold(i == chosen);
        options[i]->setFont(font);
    }
}

} // namespace

mm_prtinv::mm_prtinv(const QString &programDir, QWidget *parent)
    : QWidget(parent, Qt::Window), mProgramDir(programDir)
{
    setWindowTitle(QStringLiteral("Print Sales Orders / Picking Sheets"));
    buildControls();
}

mm_prtinv::~mm_prtinv()
{
    delete mPreview;
}

void mm_prtinv::buildControls()
{
    auto *layout = new QVBoxLayout(this);

    Frame1 = new QGroupBox(this);
    auto *orders = new QVBoxLayout(Frame1);
    Option1[0] = new QRadioButton(QStringLiteral("All New Sales Orders"), Frame1);
    Option1[1] = new QRadioButton(QStringLiteral("All Selected"), Frame1);
    orders->addWidget(Option1[0]);
    orders->addWidget(Option1[1]);
    auto *range = new QHBoxLayout;
    static const char *const rangeCaptions[2] = {"From:", "To :"};
    for (int i = 0; i < 2; ++i) {
        lblfrom[i] = new QLabel(QString::fromLatin1(rangeCaptions[i]), Frame1);
        txtfrom[i] = new QLineEdit(Frame1);
        txtfrom[i]->installEventFilter(this);
        connect(txtfrom[i], &QLineEdit::textEdited, this, [this, i] { AutoCapitalize(txtfrom[i], 1); });
        range->addWidget(lblfrom[i]);
        range->addWidget(txtfrom[i]);
    }
    orders->addLayout(range);
    layout->addWidget(Frame1);

    Frame2 = new QGroupBox(this);
    auto *kinds = new QVBoxLayout(Frame2);
    Option2[0] = new QRadioButton(QStringLiteral("Print Sales Orders"), Frame2);
    Option2[1] = new QRadioButton(QStringLiteral("Print Picking Sheets"), Frame2);
    kinds->addWidget(Option2[0]);
    kinds->addWidget(Option2[1]);
    Picture1 = new QGroupBox(Frame2);
    auto *sheets = new QHBoxLayout(Picture1);
    static const char *const sheetCaptions[3] = {"FULL (Standard)", "CHANGED ONLY", "BOTH"};
    for (int i = 0; i < 3; ++i) {
        Option3[i] = new QRadioButton(QString::fromLatin1(sheetCaptions[i]), Picture1);
        sheets->addWidget(Option3[i]);
    }
    kinds->addWidget(Picture1);
    layout->addWidget(Frame2);

    for (int i = 0; i < 2; ++i) {
        connect(Option1[i], &QRadioButton::toggled, this, [this, i](bool on) { if (on) Option1_Click(i); });
        connect(Option2[i], &QRadioButton::toggled, this, [this, i](bool on) { if (on) Option2_Click(i); });
    }
    for (int i = 0; i < 3; ++i)
        connect(Option3[i], &QRadioButton::toggled, this, [this, i](bool on) { if (on) Option3_Click(i); });

    auto *fields = new QFormLayout;
    txtHeader = new QLineEdit(this);
    txtOrderHeader = new QLineEdit(this);
    cmb_printers = new QComboBox(this);
    fields->addRow(QStringLiteral("Picking Sheet Title :"), txtHeader);
    fields->addRow(QStringLiteral("Sales Order Title :"), txtOrderHeader);
    fields->addRow(QStringLiteral("Printer :"), cmb_printers);
    layout->addLayout(fields);

    Check3 = new QCheckBox(QStringLiteral("Close After Printing"), this);
    layout->addWidget(Check3);

    auto *buttons = new QHBoxLayout;
    btnprint[0] = new QPushButton(QStringLiteral("&Print"), this);
    btnprint[1] = new QPushButton(QStringLiteral("Print Pre&view"), this);
    btnSetup = new QPushButton(QStringLiteral("S&etup ..."), this);
    Command1 = new QPushButton(QStringLiteral("E&xit"), this);
    for (int i = 0; i < 2; ++i) {
        connect(btnprint[i], &QPushButton::clicked, this, [this, i] { btnPrint_Click(i); });
        buttons->addWidget(btnprint[i]);
    }
    connect(btnSetup, &QPushButton::clicked, this, &mm_prtinv::btnSetup_Click);
    connect(Command1, &QPushButton::clicked, this, &mm_prtinv::Command1_Click);
    buttons->addWidget(btnSetup);
    buttons->addWidget(Command1);
    layout->addLayout(buttons);
}

void mm_prtinv::Form_Load()
{
    const StoredPrintSettings settings = PrintSettings::load(mProgramDir);
    mIniFile = settings.iniFile;
    mDB = settings.db;
    mCompany = settings.company;

    cmb_printers->clear();
    cmb_printers->addItems(settings.printers);
    cmb_printers->setCurrentIndex(qMax(0, settings.printers.indexOf(settings.printer)));

    // Each selection runs its option's click handler, which also resets the titles.
    Option1[1]->setChecked(true);
    Option2[1]->setChecked(true);
    Option3[0]->setChecked(true);
    if (settings.salesOrders)
        Option2[0]->setChecked(true);
    txtHeader->setText(settings.pickingSheetTitle);
    txtOrderHeader->setText(settings.salesOrderTitle);
}

QString mm_prtinv::Print_So(int iPreview, const QString &argFrom, const QString &argTo)
{
    const bool given = !argFrom.isEmpty() || !argTo.isEmpty();
    return request(iPreview != 0, given ? argFrom : txtfrom[0]->text(), given ? argTo : txtfrom[1]->text(), given);
}

QString mm_prtinv::btnPrint_Click(int Index)
{
    return request(Index != 0, txtfrom[0]->text(), txtfrom[1]->text(), false);
}

PrintRequest mm_prtinv::printRequest(bool preview, const QString &from, const QString &to, bool givenRange) const
{
    PrintRequest job;
    job.styleCode = PrintSettings::styleCode(mIniFile);
    job.pickingSheet = Option2[1]->isChecked();
    // Numbers handed in by the queue service print as given: with "All New Sales Orders"
    // chosen, its copies would otherwise print other orders and the second copy nothing.
    job.allNewOrders = !givenRange && Option1[0]->isChecked();
    job.from = from.trimmed();
    job.to = to.trimmed();
    const QString flag = Option3[0]->isChecked() ? QStringLiteral("F")
                       : Option3[1]->isChecked() ? QStringLiteral("C")
                                                 : QStringLiteral("B");
    job.sheetFlag = job.allNewOrders ? flag + flag : flag;
    job.preview = preview;
    job.printer = cmb_printers->currentText();
    job.pickingSheetTitle = txtHeader->text();
    job.salesOrderTitle = txtOrderHeader->text();
    job.company = mCompany;
    job.db = mDB;
    return job;
}

QString mm_prtinv::request(bool preview, const QString &from, const QString &to, bool givenRange)
{
    try {
        mIsPreview = preview;
        const PrintRequest job = printRequest(preview, from, to, givenRange);

        // Every request lays out on a fresh engine; a preview window still loaded shows it next.
        // While a preview is on the screen (the queue service prints during its modal show), the
        // preview keeps its engine and window, and the print lays out on an engine of its own.
        auto engine = std::make_unique<PageEngine>();
        PageEngine &target = *engine;
        if (!mPreviewShowing) {
            if (mPreview)
                mPreview->setEngine(target);
            mEngine = std::move(engine);
        }

        const QString result = PrintProcedures::run(target, job);
        if (preview) {
            if (result.isEmpty() && !mPreviewShowing)
                showPreview();
            return result;
        }
        if (mPreviewShowing)
            return result;
        unloadPreview();
        if (PrintProcedures::windowStepFollows(job)) {
            if (Check3->isChecked())
                unload();
            else
                show();
        }
        return result;
    } catch (const std::exception &e) {
        const QString description = QString::fromLocal8Bit(e.what());
        ShowErrorMessage(3, description);
        return description;
    }
}

void mm_prtinv::showPreview()
{
    if (!mPreview)
        mPreview = new fEZPrint(*mEngine, this);
    mPreview->cmdPrint[0]->setVisible(false);
    mPreviewShowing = true;
    mPreview->showModal();
    mPreviewShowing = false;
}

void mm_prtinv::Option1_Click(int Index)
{
    const bool range = Index == 1;
    for (int i = 0; i < 2; ++i) {
        lblfrom[i]->setVisible(range);
        txtfrom[i]->setVisible(range);
    }
    showChosenBold(Option1, 2, Index);
    if (range)
        txtfrom[0]->setFocus();
}

void mm_prtinv::Option2_Click(int Index)
{
    Picture1->setVisible(Index == 1);
    showChosenBold(Option2, 2, Index);
    txtHeader->setText(PickingSheetTitle);
    txtOrderHeader->setText(SalesOrderTitle);
}

void mm_prtinv::Option3_Click(int Index)
{
    showChosenBold(Option3, 3, Index);
}

void mm_prtinv::btnSetup_Click()
{
    try {
        mm_PickSheetStyleSetup setup(PrintSettings::iniFile(mProgramDir), this);
        setup.Form_Load();
        ModalRunner::exec(setup);
    } catch (const std::exception &e) {
        ShowErrorMessage(1, QString::fromLocal8Bit(e.what()));
    }
}

void mm_prtinv::Command1_Click()
{
    unload();
}

void mm_prtinv::Form_QueryUnload()
{
    // Settings that cannot be written keep their old values; closing goes on.
    StoredPrintSettings settings;
    settings.iniFile = mIniFile;
    settings.salesOrders = Option2[0]->isChecked();
    settings.printer = cmb_printers->currentText();
    settings.pickingSheetTitle = txtHeader->text();
    settings.salesOrderTitle = txtOrderHeader->text();
    PrintSettings::save(settings);
}

void mm_prtinv::unload()
{
    if (mUnloaded)
        return;
    mUnloaded = true;
    try {
        if (!mIniFile.isEmpty())
            Form_QueryUnload();
    } catch (const std::exception &) {
    }
    unloadPreview();
    hide();
    deleteLater();
}

void mm_prtinv::closeEvent(QCloseEvent *event)
{
    unload();
    event->accept();
}

void mm_prtinv::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        ScreenFit::fitToScreen(*this);
}

void mm_prtinv::unloadPreview()
{
    delete mPreview;
}

bool mm_prtinv::eventFilter(QObject *watched, QEvent *event)
{
    for (int i = 0; i < 2; ++i) {
        if (watched != txtfrom[i])
            continue;
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                if (i == 0)
                    txtfrom[1]->setFocus();
                return true;
            }
        } else if (event->type() == QEvent::FocusOut) {
            QPalette palette = txtfrom[i]->palette();
            palette.setColor(QPalette::Base, Qt::white);
            txtfrom[i]->setPalette(palette);
        }
    }
    return QWidget::eventFilter(watched, event);
}
