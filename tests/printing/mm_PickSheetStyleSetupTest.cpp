#include "PrintWindowFixture.h"

#include "StyleCodes.h"
#include "mm_PickSheetStyleSetup.h"

#include <QComboBox>
#include <QLabel>

namespace {

class StyleSetupTest : public PrintWindowTest
{
protected:
    void open()
    {
        setup = std::make_unique<mm_PickSheetStyleSetup>();
        setup->Form_Load();
    }

    void choose(const QString &code)
    {
        setup->Combo1->setCurrentIndex(setup->Combo1->findText(code));
        setup->Combo1_Click();
    }

    std::unique_ptr<mm_PickSheetStyleSetup> setup;
};

TEST_F(StyleSetupTest, OffersTheSixCodesAndShowsTheStoredOneWithoutDescription)
{
    suite.setIni("AUTOPICKINGSHEET", "Format", "GRPDESC");
    open();
    EXPECT_EQ(setup->windowTitle(), "Select Order/Picking Sheet Style");
    EXPECT_EQ(setup->Label1->text(), "Sales Order & Picking Sheet Printing Style :");
    QStringList offered;
    for (int i = 0; i < setup->Combo1->count(); ++i)
        offered << setup->Combo1->itemText(i);
    EXPECT_EQ(offered, QStringList({"REG", "REGGENERIC", "REGBOX", "REGLOT", "IMPPROFORMA", "GRP"}));
    // A code only the settings file can hold is shown as it is.
    EXPECT_EQ(setup->Combo1->currentText(), "GRPDESC");
    EXPECT_EQ(setup->Label2->text(), "");
}

TEST_F(StyleSetupTest, ChoosingACodeShowsItsFourLineDescription)
{
    const struct
    {
        const char *code;
        const char *first;
        const char *last;
    } cases[] = {
        {"REG", "P/Sheet Style : Standard -- S/O : Standard", "Item Type Support : All"},
        {"REGBOX", "P/Sheet Style : Standard with Box # Column -- S/O : Standard", "Item Type Support : All"},
        {"GRP", "P/Sheet Style : Items Grouped -- S/O : Items Grouped", "Item Type Support : Group Item Only"},
    };
    open();
    for (const auto &c : cases) {
        choose(c.code);
        const QStringList lines = setup->Label2->text().split('\n');
        ASSERT_EQ(lines.size(), 7) << c.code; // four lines, each pair apart by an empty one
        EXPECT_EQ(lines[0], c.first);
        EXPECT_EQ(lines[1], "");
        EXPECT_EQ(lines[6], c.last);
    }
    EXPECT_EQ(StyleCodes::description("REGGENERIC"),
              "P/Sheet Style : Standard -- S/O : Standard\r\r# of Header Bar: 1\r\r"
              "Printer Driver Support : Generic / Text Only Printer Driver\r\rItem Type Support : All");
    EXPECT_EQ(StyleCodes::description("GRPDESC"), "");
}

TEST_F(StyleSetupTest, OkStoresTheChosenCode)
{
    suite.setIni("AUTOPICKINGSHEET", "Format", "REG");
    open();
    choose("IMPPROFORMA");
    setup->btnOK_Click();
    EXPECT_EQ(ini("AUTOPICKINGSHEET", "Format"), "IMPPROFORMA");
    EXPECT_EQ(setup->result(), QDialog::Accepted);
}

TEST_F(StyleSetupTest, OkWithAnEmptyCodeAndCloseWriteNothing)
{
    suite.setIni("AUTOPICKINGSHEET", "Format", "REGLOT");
    open();
    setup->Combo1->setEditText("");
    setup->btnOK_Click();
    EXPECT_EQ(ini("AUTOPICKINGSHEET", "Format"), "REGLOT");

    open();
    choose("GRP");
    setup->Command1_Click();
    EXPECT_EQ(ini("AUTOPICKINGSHEET", "Format"), "REGLOT");
    EXPECT_EQ(setup->result(), QDialog::Rejected);
}

} // namespace
