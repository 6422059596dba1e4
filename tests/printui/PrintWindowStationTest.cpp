#include "printui/PrintWindowFixture.h"

#include "printing/HeadlessPrintStation.h"
#include "pageengine/PageEngine.h"
#include "printui/PrintWindowStation.h"
#include "printui/mm_prtinv.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

namespace {

class PrintStationTest : public PrintWindowTest
{
protected:
    void SetUp() override
    {
        PrintWindowTest::SetUp();
        PrintProcedures::registerProcedure(PrintProcedure::Regular, [this](PageEngine &, const PrintRequest &r) {
            printed << std::make_pair(station.window(), r.from + "-" + r.to);
            return failure;
        });
    }

    QWidget owner;
    PrintWindowStation station{suite.programDir()};
    QList<std::pair<mm_prtinv *, QString>> printed;
    QString failure;
};

TEST_F(PrintStationTest, QueueServiceLoadsTheWindowOnDemandAndHearsWhyAPrintFailed)
{
    station.setRange("SO001005", "SO001005");
    EXPECT_EQ(station.window(), nullptr); // loaded by the print, not by the range
    EXPECT_EQ(station.Print_So(0, "SO001005", "SO001005"), "");
    mm_prtinv *first = station.window();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible()); // a printed request puts the window on the screen
    first->Check3->setChecked(true); // "Close After Printing"
    failure = "Sales order SO001006 was not printed: the printer is gone";
    EXPECT_EQ(station.Print_So(0, "SO001006", "SO001006"), failure);
    EXPECT_EQ(station.window(), nullptr);
    EXPECT_EQ(station.Print_So(0, "SO001007", "SO001007"), failure);
    ASSERT_EQ(printed.size(), 3);
    EXPECT_NE(printed[2].first, first); // loaded afresh
    EXPECT_EQ(printed[2].second, "SO001007-SO001007");

    station.showAfresh(&owner);
    EXPECT_TRUE(station.window()->isVisible());
    EXPECT_EQ(station.window()->parentWidget(), &owner);
}

// The queue service's print of a new order is a request of its own: what the window shows
// (document kind, printer, titles) with the new order's number, while the operator's range
// stays as typed, whether or not the window was on the screen.
TEST_F(PrintStationTest, AutomaticPrintLeavesTheOperatorsRangeAsTyped)
{
    std::vector<PrintRequest> requests;
    PrintProcedures::registerProcedure(PrintProcedure::Regular, [&](PageEngine &, const PrintRequest &r) {
        requests.push_back(r);
        return QString();
    });
    station.showAfresh(&owner);
    mm_prtinv &window = *station.window();
    window.Option2[0]->setChecked(true); // sales orders
    window.txtOrderHeader->setText("ORDER CONFIRMATION");
    window.txtfrom[0]->setText("SO000999");
    window.txtfrom[1]->setText("SO001002");

    station.setRange("SO001007", "SO001007");
    EXPECT_EQ(station.Print_So(0, "SO001007", "SO001007"), "");
    station.setRange("SO001008", "SO001008");
    EXPECT_EQ(station.Print_So(0, "", ""), ""); // the numbers of setRange
    window.btnPrint_Click(0);

    ASSERT_EQ(requests.size(), 3u);
    const char *const ranges[] = {"SO001007-SO001007", "SO001008-SO001008", "SO000999-SO001002"};
    for (size_t i = 0; i < requests.size(); ++i) {
        EXPECT_EQ(requests[i].from + "-" + requests[i].to, ranges[i]);
        EXPECT_FALSE(requests[i].pickingSheet);
        EXPECT_EQ(requests[i].title(), "ORDER CONFIRMATION");
        EXPECT_EQ(requests[i].printer, window.cmb_printers->currentText());
    }
    EXPECT_EQ(window.txtfrom[0]->text(), "SO000999");
    EXPECT_EQ(window.txtfrom[1]->text(), "SO001002");
}

TEST_F(PrintStationTest, WindowThatCannotLoadFailsTheStartAndEveryPrint)
{
    suite.setIni("Access", "DBName", suite.root() + "/gone.db");
    EXPECT_THROW(station.showAfresh(&owner), DbError);
    station.setRange("SO001005", "SO001005");
    EXPECT_TRUE(station.Print_So(0, "SO001005", "SO001005").contains("gone.db"));
    EXPECT_TRUE(printed.isEmpty());
}

// Headless, the queue service's prints are the window's requests as it would load, built from
// the stored settings, with no widget anywhere.
TEST_F(PrintWindowTest, HeadlessStationPrintsTheStoredRequestWithoutAWidget)
{
    suite.setIni("PICKINGSHEET", "PICKINGSHEETTITLE", "PACK LIST");
    suite.setIni("AutoSoPrint", "DefaultPrinter", "Printer Gone Since Friday");
    suite.setIni("AUTOPICKINGSHEET", "Format", "regbox");
    std::vector<PrintRequest> requests;
    qsizetype widgetsDuring = -1;
    PrintProcedures::registerProcedure(PrintProcedure::Box, [&](PageEngine &, const PrintRequest &r) {
        requests.push_back(r);
        widgetsDuring = QApplication::allWidgets().size();
        return QString();
    });
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // windows of earlier tests
    ASSERT_TRUE(QApplication::allWidgets().isEmpty());

    HeadlessPrintStation station(suite.programDir());
    station.showAfresh(nullptr);
    station.setRange(" SO001005 ", "SO001005");
    EXPECT_EQ(station.Print_So(0, "", ""), "");
    suite.setIni("PICKINGSHEET", "AutoSoDefault", "Y"); // read on load only, like the window's
    EXPECT_EQ(station.Print_So(0, "SO001006", "SO001007"), "");
    EXPECT_EQ(widgetsDuring, 0);
    EXPECT_TRUE(QApplication::allWidgets().isEmpty());

    ASSERT_EQ(requests.size(), 2u);
    EXPECT_TRUE(requests[1].pickingSheet);
    const PrintRequest &r = requests[0];
    EXPECT_EQ(r.styleCode, "REGBOX");
    EXPECT_TRUE(r.pickingSheet && !r.preview && !r.allNewOrders);
    EXPECT_EQ(r.sheetFlag, "F");
    EXPECT_EQ(r.from + "-" + r.to, "SO001005-SO001005");
    EXPECT_EQ(requests[1].from + "-" + requests[1].to, "SO001006-SO001007");
    EXPECT_EQ(r.printer, "PDF"); // the stored printer is not offered
    EXPECT_EQ(r.title(), "PACK LIST");
    EXPECT_EQ(r.company.name, "Riverside Wholesale Supply");
    EXPECT_TRUE(r.db.isOpen());

    // Closing writes back what a closing print window would.
    station.closeWindow();
    EXPECT_EQ(ini("AutoSoPrint", "DefaultPrinter"), "PDF");
    EXPECT_EQ(ini("PICKINGSHEET", "AutoSoDefault"), "N");

    suite.setIni("Access", "DBName", suite.root() + "/gone.db");
    EXPECT_THROW(station.showAfresh(nullptr), DbError);
    EXPECT_TRUE(station.Print_So(0, "SO001005", "SO001005").contains("gone.db"));
    EXPECT_EQ(requests.size(), 2u);
}

} // namespace
