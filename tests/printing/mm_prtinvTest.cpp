#include "PrintWindowFixture.h"

#include "fEZPrint.h"
#include "mm_prtinv.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <memory>

namespace {

struct Call
{
    PrintProcedure procedure;
    PrintRequest request;
};

class PrintWindowLoadTest : public PrintWindowTest
{
protected:
    // A loaded window that a request may unload (and delete later).
    mm_prtinv *loadWindow()
    {
        window = new mm_prtinv;
        window->Form_Load();
        return window;
    }

    void TearDown() override
    {
        delete window.data();
        PrintWindowTest::TearDown();
    }

    // Every procedure records its calls.
    void recordEveryProcedure()
    {
        for (const PrintProcedure which : {PrintProcedure::Regular, PrintProcedure::Generic, PrintProcedure::Proforma,
                                           PrintProcedure::Box, PrintProcedure::Lot, PrintProcedure::Group,
                                           PrintProcedure::GroupDesc, PrintProcedure::GenericRun}) {
            PrintProcedures::registerProcedure(which, [this, which](mm_prtinv &, const PrintRequest &request) {
                calls.push_back({which, request});
                return QString();
            });
        }
    }

    QPointer<mm_prtinv> window;
    std::vector<Call> calls;
};

TEST_F(PrintWindowLoadTest, LoadWritesMissingSettingsAndSelectsTheDefaults)
{
    loadWindow();
    EXPECT_EQ(ini("PICKINGSHEET", "AutoSoDefault"), "N");
    EXPECT_EQ(ini("PICKINGSHEET", "PICKINGSHEETTITLE"), "PICKING SHEET");
    EXPECT_EQ(ini("PICKINGSHEET", "SALESORDERTITLE"), "SALES ORDER");
    EXPECT_EQ(window->txtHeader->text(), "PICKING SHEET");
    EXPECT_EQ(window->txtOrderHeader->text(), "SALES ORDER");
    EXPECT_TRUE(window->Option1[1]->isChecked());
    EXPECT_TRUE(window->Option2[1]->isChecked());
    EXPECT_TRUE(window->Option3[0]->isChecked());
    EXPECT_TRUE(window->Option2[1]->font().bold());
    EXPECT_FALSE(window->Option2[0]->font().bold());
    EXPECT_FALSE(window->Picture1->isHidden());
    EXPECT_FALSE(window->txtfrom[0]->isHidden());
    EXPECT_EQ(window->mCompany.name, "Riverside Wholesale Supply");
    EXPECT_EQ(window->mCompany.fax, "740-555-0101");
    EXPECT_EQ(window->cmb_printers->currentText(), "PDF");
    EXPECT_NE(window->loadedPreview(), nullptr);
}

TEST_F(PrintWindowLoadTest, LoadTakesTheStoredSettings)
{
    suite.setIni("PICKINGSHEET", "AutoSoDefault", "Y");
    suite.setIni("PICKINGSHEET", "PICKINGSHEETTITLE", "PACKING LIST");
    suite.setIni("PICKINGSHEET", "SALESORDERTITLE", "ORDER CONFIRMATION");
    suite.setIni("AutoSoPrint", "DefaultPrinter", "PDF");
    loadWindow();
    EXPECT_TRUE(window->Option2[0]->isChecked());
    EXPECT_TRUE(window->Picture1->isHidden());
    EXPECT_EQ(window->txtHeader->text(), "PACKING LIST");
    EXPECT_EQ(window->txtOrderHeader->text(), "ORDER CONFIRMATION");
    EXPECT_EQ(window->cmb_printers->currentText(), "PDF");
}

TEST_F(PrintWindowLoadTest, DatabaseIsTheExistingShowFileOrTheSuiteFile)
{
    suite.exec("UPDATE companyinfo SET CompanyName = 'Suite Database';");
    // A show database that does not exist is passed over.
    suite.setIni("Access", "DBNameShow", suite.root() + "/no-such-show.db");
    loadWindow();
    EXPECT_EQ(window->mCompany.name, "Suite Database");
    delete window.data();

    TempSuite show(TempSuite::Data::Demo);
    show.exec("UPDATE companyinfo SET CompanyName = 'Show Database';");
    suite.setIni("Access", "DBNameShow", show.databasePath());
    loadWindow();
    EXPECT_EQ(window->mCompany.name, "Show Database");
}

TEST_F(PrintWindowLoadTest, LoadFailsWhenTheDatabaseCannotBeOpened)
{
    suite.setIni("Access", "DBName", suite.root() + "/gone.db");
    mm_prtinv form;
    EXPECT_THROW(form.Form_Load(), DbError);
}

TEST_F(PrintWindowLoadTest, OrderAndKindOptionsShowTheirFields)
{
    loadWindow();
    window->txtHeader->setText("CUSTOM");
    window->Option1[0]->setChecked(true);
    EXPECT_TRUE(window->txtfrom[0]->isHidden());
    EXPECT_TRUE(window->lblfrom[1]->isHidden());
    EXPECT_TRUE(window->Option1[0]->font().bold());
    window->Option1[1]->setChecked(true);
    EXPECT_FALSE(window->txtfrom[1]->isHidden());

    window->Option2[0]->setChecked(true);
    EXPECT_TRUE(window->Picture1->isHidden());
    EXPECT_EQ(window->txtHeader->text(), "PICKING SHEET"); // the kind resets both titles
    window->Option3[2]->setChecked(true);
    EXPECT_TRUE(window->Option3[2]->font().bold());
    EXPECT_FALSE(window->Option3[0]->font().bold());
}

TEST_F(PrintWindowLoadTest, RangeFieldsUpperCaseAndEnterMovesOn)
{
    loadWindow();
    window->show();
    QApplication::setActiveWindow(window);
    window->txtfrom[0]->setFocus();
    window->txtfrom[0]->insert("so001");
    emit window->txtfrom[0]->textEdited(window->txtfrom[0]->text());
    EXPECT_EQ(window->txtfrom[0]->text(), "SO001");

    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    EXPECT_TRUE(QApplication::sendEvent(window->txtfrom[0], &enter)); // swallowed
    EXPECT_TRUE(window->txtfrom[1]->hasFocus());
}

TEST_F(PrintWindowLoadTest, RequestGoesToTheProcedureOfTheStyleCode)
{
    const struct
    {
        const char *code;
        bool pickingSheet;
        PrintProcedure expected;
    } cases[] = {
        {"REG", false, PrintProcedure::Regular},        {"REG", true, PrintProcedure::Regular},
        {"REGGENERIC", false, PrintProcedure::Generic}, {"REGGENERIC", true, PrintProcedure::Generic},
        {"IMPPROFORMA", false, PrintProcedure::Proforma}, {"IMPPROFORMA", true, PrintProcedure::Proforma},
        {"REGBOX", true, PrintProcedure::Box},          {"REGLOT", false, PrintProcedure::Lot},
        {"GRP", false, PrintProcedure::Group},          {"GRP", true, PrintProcedure::GenericRun},
        {"GRPDESC", true, PrintProcedure::GroupDesc},   {"GRPDESC", false, PrintProcedure::Regular},
        {"", true, PrintProcedure::Regular},            {"SOMETHINGELSE", false, PrintProcedure::Regular},
        {"regbox", true, PrintProcedure::Box},
    };
    loadWindow();
    recordEveryProcedure();
    for (const auto &c : cases) {
        suite.setIni("AUTOPICKINGSHEET", "Format", c.code);
        window->Option2[c.pickingSheet ? 1 : 0]->setChecked(true);
        calls.clear();
        EXPECT_EQ(window->btnPrint_Click(1), "");
        ASSERT_EQ(calls.size(), 1u) << c.code;
        EXPECT_EQ(calls[0].procedure, c.expected) << c.code << (c.pickingSheet ? " picking" : " sales");
        EXPECT_EQ(calls[0].request.pickingSheet, c.pickingSheet) << c.code;
        EXPECT_TRUE(calls[0].request.preview);
        EXPECT_TRUE(window->mIsPreview);
    }
}

TEST_F(PrintWindowLoadTest, GroupedPickingSheetsGetTheSheetFlag)
{
    const struct
    {
        int orders; // Option1
        int sheet;  // Option3
        const char *flag;
    } cases[] = {{1, 0, "F"}, {1, 1, "C"}, {1, 2, "B"}, {0, 0, "FF"}, {0, 1, "CC"}, {0, 2, "BB"}};
    suite.setIni("AUTOPICKINGSHEET", "Format", "GRP");
    loadWindow();
    recordEveryProcedure();
    for (const auto &c : cases) {
        window->Option1[c.orders]->setChecked(true);
        window->Option3[c.sheet]->setChecked(true);
        calls.clear();
        window->btnPrint_Click(1);
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].request.sheetFlag, c.flag);
        EXPECT_EQ(calls[0].request.allNewOrders, c.orders == 0);
    }
}

TEST_F(PrintWindowLoadTest, RangeComesFromTheArgumentsOrTheRangeFields)
{
    loadWindow();
    recordEveryProcedure();
    window->txtfrom[0]->setText(" SO001001 ");
    window->txtfrom[1]->setText("SO001009");
    window->Option1[0]->setChecked(true);

    window->Print_So(0, "", "");
    window->Print_So(0, "SO001005", "SO001005");
    window->Print_So(0, "SO001006", "");
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_TRUE(calls[0].request.allNewOrders);
    EXPECT_EQ(calls[0].request.from, "SO001001");
    EXPECT_EQ(calls[0].request.to, "SO001009");
    EXPECT_FALSE(calls[0].request.preview);
    // Numbers handed in print exactly those orders.
    EXPECT_FALSE(calls[1].request.allNewOrders);
    EXPECT_EQ(calls[1].request.from, "SO001005");
    EXPECT_EQ(calls[1].request.to, "SO001005");
    EXPECT_EQ(calls[2].request.from, "SO001006");
    EXPECT_EQ(calls[2].request.to, "");
}

TEST_F(PrintWindowLoadTest, CloseAfterPrintingUnloadsOnlyAfterAPrintedRequest)
{
    const struct
    {
        const char *code;
        bool pickingSheet;
        int button;
        bool unloaded;
    } cases[] = {
        {"REG", false, 1, false},     // preview
        {"GRP", false, 0, false},     // grouped sales orders never unload
        {"GRPDESC", true, 0, false},  // nor grouped variant picking sheets
        {"GRP", true, 0, true},
        {"REG", false, 0, true},
    };
    recordEveryProcedure();
    for (const auto &c : cases) {
        suite.setIni("AUTOPICKINGSHEET", "Format", c.code);
        loadWindow();
        window->Check3->setChecked(true);
        window->Option2[c.pickingSheet ? 1 : 0]->setChecked(true);
        window->btnPrint_Click(c.button);
        EXPECT_EQ(window->isUnloaded(), c.unloaded) << c.code << " button " << c.button;
        delete window.data();
    }
}

TEST_F(PrintWindowLoadTest, PrintedRequestLeavesTheWindowOnTheScreen)
{
    recordEveryProcedure();
    loadWindow();
    EXPECT_FALSE(window->isVisible());
    window->Print_So(0, "SO001001", "SO001001");
    EXPECT_TRUE(window->isVisible());
}

TEST_F(PrintWindowLoadTest, RequestWithoutAnyProcedureSaysSo)
{
    loadWindow();
    EXPECT_EQ(window->Print_So(0, "SO001001", "SO001001"),
              "No print procedure is installed for the layout style \"\".");
}

TEST_F(PrintWindowLoadTest, ClosingWritesTheSettings)
{
    loadWindow();
    window->Option2[0]->setChecked(true);
    window->txtHeader->setText("PACK LIST");
    window->txtOrderHeader->setText("ORDER");
    window->Command1_Click();
    EXPECT_TRUE(window->isUnloaded());
    EXPECT_EQ(window->loadedPreview(), nullptr);
    EXPECT_EQ(ini("PICKINGSHEET", "AutoSoDefault"), "Y");
    EXPECT_EQ(ini("AutoSoPrint", "DefaultPrinter"), "PDF");
    EXPECT_EQ(ini("PICKINGSHEET", "PICKINGSHEETTITLE"), "PACK LIST");
    EXPECT_EQ(ini("PICKINGSHEET", "SALESORDERTITLE"), "ORDER");
}

TEST_F(PrintWindowLoadTest, ClosingWithNoPrinterListedWritesAnEmptyPrinter)
{
    suite.setIni("AutoSoPrint", "DefaultPrinter", "PDF");
    loadWindow();
    window->cmb_printers->clear();
    window->close();
    EXPECT_EQ(ini("AutoSoPrint", "DefaultPrinter"), "");
    EXPECT_EQ(ini("PICKINGSHEET", "AutoSoDefault"), "N");
}

TEST_F(PrintWindowLoadTest, SetupButtonShowsTheStyleWindowModally)
{
    loadWindow();
    window->btnSetup_Click();
    EXPECT_EQ(shownModally, QStringList{"Select Order/Picking Sheet Style"});
}

} // namespace
