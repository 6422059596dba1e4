#include "printui/PrintWindowFixture.h"

#include "printui/mm_prtinv.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPointer>
#include <QRadioButton>
#include <QScreen>

namespace {

class PrintWindowLoadTest : public PrintWindowTest
{
protected:
    mm_prtinv *load()
    {
        delete window.data();
        window = new mm_prtinv(suite.programDir()); // a request may unload it (deleted later)
        window->Form_Load();
        return window;
    }
    void TearDown() override
    {
        delete window.data();
        PrintWindowTest::TearDown();
    }
    // Every procedure records which it was and what it was asked.
    void recordEveryProcedure()
    {
        for (int which = int(PrintProcedure::Regular); which <= int(PrintProcedure::GenericRun); ++which) {
            PrintProcedures::registerProcedure(PrintProcedure(which), [this, which](PageEngine &, const PrintRequest &r) {
                calls.push_back({PrintProcedure(which), r});
                return QString();
            });
        }
    }

    QPointer<mm_prtinv> window;
    std::vector<std::pair<PrintProcedure, PrintRequest>> calls;
};

TEST_F(PrintWindowLoadTest, LoadWritesMissingSettingsAndTakesStoredOnes)
{
    load();
    EXPECT_EQ(ini("PICKINGSHEET", "AutoSoDefault"), "N");
    EXPECT_EQ(ini("PICKINGSHEET", "PICKINGSHEETTITLE"), "PICKING SHEET");
    EXPECT_EQ(ini("PICKINGSHEET", "SALESORDERTITLE"), "SALES ORDER");
    EXPECT_TRUE(window->Option1[1]->isChecked() && window->Option2[1]->isChecked() && window->Option3[0]->isChecked());
    EXPECT_FALSE(window->Picture1->isHidden());
    EXPECT_EQ(window->mCompany.name, "Riverside Wholesale Supply");
    EXPECT_EQ(window->cmb_printers->currentText(), "PDF");

    suite.setIni("PICKINGSHEET", "AutoSoDefault", "Y");
    suite.setIni("PICKINGSHEET", "PICKINGSHEETTITLE", "PACKING LIST");
    load();
    EXPECT_TRUE(window->Option2[0]->isChecked());
    EXPECT_TRUE(window->Picture1->isHidden());
    EXPECT_EQ(window->txtHeader->text(), "PACKING LIST");
    window->Option1[0]->setChecked(true);
    EXPECT_TRUE(window->txtfrom[0]->isHidden());
}

TEST_F(PrintWindowLoadTest, OpensWithinTheScreenWithAWholeOrderNumberInTheRange)
{
    const QRect area = load()->screen()->availableGeometry();
    window->resize(area.size() + QSize(300, 200)); // a size larger than this screen
    window->show();
    EXPECT_TRUE(area.contains(window->frameGeometry()));
    for (QLineEdit *field : window->txtfrom)
        EXPECT_GE(field->width(), field->fontMetrics().horizontalAdvance("SO001007S"));
}

TEST_F(PrintWindowLoadTest, DatabaseIsTheExistingShowFileOrTheSuiteFile)
{
    suite.setIni("Access", "DBNameShow", suite.root() + "/no-such-show.db");
    EXPECT_EQ(load()->mCompany.name, "Riverside Wholesale Supply");
    TempSuite show(TempSuite::Data::Demo);
    show.exec("UPDATE companyinfo SET CompanyName = 'Show Database';");
    suite.setIni("Access", "DBNameShow", show.databasePath());
    EXPECT_EQ(load()->mCompany.name, "Show Database");
    suite.setIni("Access", "DBNameShow", "");
    suite.setIni("Access", "DBName", suite.root() + "/gone.db");
    EXPECT_THROW(load(), DbError);
}

TEST_F(PrintWindowLoadTest, RequestGoesToTheProcedureOfTheStyleCode)
{
    using P = PrintProcedure;
    const struct { const char *code; bool picking; P expected; } cases[] = {
        {"REG", false, P::Regular}, {"REGGENERIC", true, P::Generic}, {"IMPPROFORMA", false, P::Proforma},
        {"REGBOX", true, P::Box}, {"REGLOT", false, P::Lot}, {"GRP", false, P::Group}, {"GRP", true, P::GenericRun},
        {"GRPDESC", true, P::GroupDesc}, {"GRPDESC", false, P::Regular}, {"", true, P::Regular},
        {"SOMETHINGELSE", false, P::Regular}, {"regbox", true, P::Box},
    };
    load();
    recordEveryProcedure();
    for (const auto &c : cases) {
        suite.setIni("AUTOPICKINGSHEET", "Format", c.code);
        window->Option2[c.picking ? 1 : 0]->setChecked(true);
        calls.clear();
        window->btnPrint_Click(1);
        ASSERT_EQ(calls.size(), 1u) << c.code;
        EXPECT_EQ(calls[0].first, c.expected) << c.code << (c.picking ? " picking" : " sales");
        EXPECT_EQ(calls[0].second.pickingSheet, c.picking) << c.code;
        EXPECT_TRUE(calls[0].second.preview && window->mIsPreview);
    }
}

TEST_F(PrintWindowLoadTest, GroupedPickingSheetsGetTheSheetFlag)
{
    const struct { int orders; int sheet; const char *flag; } cases[] = {
        {1, 0, "F"}, {1, 1, "C"}, {1, 2, "B"}, {0, 0, "FF"}, {0, 1, "CC"}, {0, 2, "BB"}};
    suite.setIni("AUTOPICKINGSHEET", "Format", "GRP");
    load();
    recordEveryProcedure();
    for (const auto &c : cases) {
        window->Option1[c.orders]->setChecked(true);
        window->Option3[c.sheet]->setChecked(true);
        calls.clear();
        window->btnPrint_Click(1);
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].second.sheetFlag, c.flag);
    }
}

TEST_F(PrintWindowLoadTest, OrderNumbersHandedInPrintExactlyThoseOrders)
{
    load();
    recordEveryProcedure();
    window->txtfrom[0]->setText(" SO001001 ");
    window->txtfrom[1]->setText("SO001009");
    window->Option1[0]->setChecked(true); // "All New Sales Orders"
    window->Print_So(0, "", "");
    window->Print_So(0, "SO001005", "SO001005");
    window->Print_So(0, "SO001006", "");
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_TRUE(calls[0].second.allNewOrders);
    EXPECT_EQ(calls[0].second.from + "-" + calls[0].second.to, "SO001001-SO001009");
    EXPECT_FALSE(calls[1].second.allNewOrders);
    EXPECT_EQ(calls[1].second.from + "-" + calls[1].second.to, "SO001005-SO001005");
    EXPECT_EQ(calls[2].second.from + "-" + calls[2].second.to, "SO001006-");
}

TEST_F(PrintWindowLoadTest, CloseAfterPrintingUnloadsOnlyAfterAPrintedRequest)
{
    const struct { const char *code; bool picking; int button; bool unloaded; } cases[] = {
        {"REG", false, 1, false},    // a preview
        {"GRP", false, 0, false},    // grouped sales orders never unload
        {"GRPDESC", true, 0, false}, // nor grouped variant picking sheets
        {"GRP", true, 0, true}, {"REG", false, 0, true},
    };
    recordEveryProcedure();
    for (const bool close : {true, false}) {
        for (const auto &c : cases) {
            suite.setIni("AUTOPICKINGSHEET", "Format", c.code);
            load()->Check3->setChecked(close);
            window->Option2[c.picking ? 1 : 0]->setChecked(true);
            window->btnPrint_Click(c.button);
            EXPECT_EQ(window->isUnloaded(), close && c.unloaded) << c.code << " button " << c.button;
            // Left open, a printed request puts the window on the screen.
            EXPECT_EQ(window->isVisible(), !close && c.unloaded) << c.code << " button " << c.button;
        }
    }
}

TEST_F(PrintWindowLoadTest, ClosingWritesTheSettingsAndAnEmptyPrinterWhenNoneIsListed)
{
    load()->Option2[0]->setChecked(true);
    window->txtHeader->setText("PACK LIST");
    window->Command1_Click();
    EXPECT_TRUE(window->isUnloaded());
    EXPECT_EQ(ini("PICKINGSHEET", "AutoSoDefault"), "Y");
    EXPECT_EQ(ini("AutoSoPrint", "DefaultPrinter"), "PDF");
    EXPECT_EQ(ini("PICKINGSHEET", "PICKINGSHEETTITLE"), "PACK LIST");
    EXPECT_EQ(ini("PICKINGSHEET", "SALESORDERTITLE"), "SALES ORDER");

    load()->cmb_printers->clear();
    window->close();
    EXPECT_EQ(ini("AutoSoPrint", "DefaultPrinter"), "");
}

} // namespace
