#include "printui/PrintWindowFixture.h"

#include "printing/StyleCodes.h"
#include "printui/mm_PickSheetStyleSetup.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QScreen>

namespace {

class StyleSetupTest : public PrintWindowTest
{
protected:
    mm_PickSheetStyleSetup &open()
    {
        setup = std::make_unique<mm_PickSheetStyleSetup>(suite.iniPath());
        setup->Form_Load();
        return *setup;
    }
    void choose(const QString &code)
    {
        setup->Combo1->setCurrentIndex(setup->Combo1->findText(code));
        setup->Combo1_Click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest); // the window's layout follows
    }
    std::unique_ptr<mm_PickSheetStyleSetup> setup;
};

// The description of the code in the box shows from the start, and choosing another code
// neither resizes the window nor lets it leave the screen.
TEST_F(StyleSetupTest, ShowsTheDescriptionOfTheCodeInTheBoxInAWindowOfOneSize)
{
    suite.setIni("AUTOPICKINGSHEET", "Format", "REG"); // a description shorter than others
    open().show();
    const QSize size = setup->size();
    EXPECT_EQ(setup->Label2->text(),
              "P/Sheet Style : Standard -- S/O : Standard\n\n# of Header Bar: 1"
              "\n\nPrinter Driver Support : All Windows Printer Driver\n\nItem Type Support : All");
    EXPECT_TRUE(setup->screen()->availableGeometry().contains(setup->frameGeometry()));
    for (const QString &code : StyleCodes::offered()) {
        choose(code);
        EXPECT_EQ(setup->Label2->text(), StyleCodes::description(code).replace('\r', '\n'));
        EXPECT_EQ(setup->size(), size) << code.toStdString();
        EXPECT_GE(setup->Label2->width(),
                  setup->Label2->fontMetrics().boundingRect(QRect(), 0, setup->Label2->text()).width());
    }
    setup->Combo1->setEditText("GRPDESC"); // only the settings file can hold it: no description
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    EXPECT_EQ(setup->Label2->text(), "");
    EXPECT_EQ(setup->size(), size);
}

TEST_F(StyleSetupTest, OkStoresAChosenCodeWhileEmptyTextAndCloseWriteNothing)
{
    suite.setIni("AUTOPICKINGSHEET", "Format", "REGLOT");
    open().Combo1->setEditText("");
    setup->btnOK_Click();
    EXPECT_EQ(ini("AUTOPICKINGSHEET", "Format"), "REGLOT");
    open();
    choose("GRP");
    setup->Command1_Click();
    EXPECT_EQ(ini("AUTOPICKINGSHEET", "Format"), "REGLOT");
    open();
    choose("IMPPROFORMA");
    setup->btnOK_Click();
    EXPECT_EQ(ini("AUTOPICKINGSHEET", "Format"), "IMPPROFORMA");
    EXPECT_EQ(setup->result(), QDialog::Accepted);
}

} // namespace
