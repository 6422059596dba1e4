#include "printui/PrintWindowFixture.h"

#include "printui/mm_PickSheetStyleSetup.h"

#include <QComboBox>
#include <QLabel>

namespace {

class StyleSetupTest : public PrintWindowTest
{
protected:
    mm_PickSheetStyleSetup &open()
    {
        setup = std::make_unique<mm_PickSheetStyleSetup>();
        setup->Form_Load();
        return *setup;
    }
    void choose(const QString &code)
    {
        setup->Combo1->setCurrentIndex(setup->Combo1->findText(code));
        setup->Combo1_Click();
    }
    std::unique_ptr<mm_PickSheetStyleSetup> setup;
};

TEST_F(StyleSetupTest, ShowsTheStoredCodeAndTheDescriptionOfAChosenOne)
{
    suite.setIni("AUTOPICKINGSHEET", "Format", "GRPDESC");
    open();
    EXPECT_EQ(setup->Combo1->currentText(), "GRPDESC"); // only the settings file can hold it
    EXPECT_EQ(setup->Label2->text(), "");
    choose("REGBOX");
    EXPECT_EQ(setup->Label2->text(), "P/Sheet Style : Standard with Box # Column -- S/O : Standard\n\n# of Header Bar: 1"
                                     "\n\nPrinter Driver Support : All Windows Printer Driver\n\nItem Type Support : All");
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
