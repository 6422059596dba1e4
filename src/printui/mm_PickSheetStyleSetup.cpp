#include "printui/mm_PickSheetStyleSetup.h"

#include "module1/Module1.h"
#include "printing/PrintSettings.h"
#include "runtime/PrivateProfile.h"
#include "printing/StyleCodes.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString Section = QStringLiteral("AUTOPICKINGSHEET");
const QString Key = QStringLiteral("Format");

// A code's description as the label shows it: its lines are separated by carriage returns, and
// the label breaks at new lines.
QString descriptionText(const QString &code)
{
    return StyleCodes::description(code).replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

} // namespace

mm_PickSheetStyleSetup::mm_PickSheetStyleSetup(const QString &iniFile, QWidget *parent)
    : QDialog(parent), mIniFile(iniFile)
{
    setWindowTitle(QStringLiteral("Select Order/Picking Sheet Style"));
    auto *layout = new QVBoxLayout(this);
    Label1 = new QLabel(QStringLiteral("Sales Order & Picking Sheet Printing Style :"), this);
    Label1->setTextFormat(Qt::PlainText);
    Combo1 = new QComboBox(this);
    Combo1->setEditable(true);
    Label2 = new QLabel(QStringLiteral("Style Description"), this);
    Label2->setTextFormat(Qt::PlainText);
    Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Room for the longest description of any offered code: choosing one never resizes the window.
    const QFontMetrics metrics = Label2->fontMetrics();
    QSize room(0, 0);
    for (const QString &code : StyleCodes::offered()) {
        const QString text = descriptionText(code);
        room = room.expandedTo(metrics.boundingRect(QRect(), Qt::AlignLeft | Qt::AlignTop, text).size());
    }
    Label2->setFixedSize(room + QSize(metrics.averageCharWidth() * 2, metrics.lineSpacing()));
    layout->addWidget(Label1);
    layout->addWidget(Combo1);
    layout->addWidget(Label2);

    auto *buttons = new QHBoxLayout;
    btnOK = new QPushButton(QStringLiteral("&OK"), this);
    Command1 = new QPushButton(QStringLiteral("&Close"), this);
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(Command1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // Choosing a code from the list or typing one shows its description.
    connect(Combo1, &QComboBox::currentTextChanged, this, &mm_PickSheetStyleSetup::Combo1_Click);
    connect(btnOK, &QPushButton::clicked, this, &mm_PickSheetStyleSetup::btnOK_Click);
    connect(Command1, &QPushButton::clicked, this, &mm_PickSheetStyleSetup::Command1_Click);
}

void mm_PickSheetStyleSetup::Form_Load()
{
    Combo1->clear();
    Combo1->addItems(StyleCodes::offered());
    // The stored code may be one the list does not offer, or none.
    Combo1->setEditText(ReadIniValue(Section, Key, mIniFile));
    Combo1_Click();
}

void mm_PickSheetStyleSetup::Combo1_Click()
{
    Label2->setText(descriptionText(Combo1->currentText()));
}

void mm_PickSheetStyleSetup::btnOK_Click()
{
    try {
        const QString code = Combo1->currentText();
        if (!code.isEmpty()) {
            QString error;
            if (!PrivateProfile::writeString(Section, Key, code, mIniFile, &error)) {
                ShowMessage(error, QStringLiteral("KVR"), MessageIcon::Exclamation, this);
                return;
            }
        }
        accept();
    } catch (const std::exception &e) {
        ShowErrorMessage(1, QString::fromLocal8Bit(e.what()));
    }
}

void mm_PickSheetStyleSetup::Command1_Click()
{
    reject();
}
