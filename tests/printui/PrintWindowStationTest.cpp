#include "printui/PrintWindowFixture.h"

#include "printing/HeadlessPrintStation.h"
#include "pageengine/PageEngine.h"
#include "printui/PrintWindowStation.h"
#include "printui/mm_prtinv.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>

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
    PrintWindowStation station;
    QList<std::pair<mm_prtinv *, QString>> printed;
    QString failure;
};

TEST_F(PrintStationTest, QueueServiceLoadsTheWindowOnDemandAndHearsWhyAPrintFailed)
{
    station.setRange("SO001005", "SO001005");
    mm_prtinv *first = station.window();
    ASSERT_NE(first, nullptr);
    EXPECT_FALSE(first->isVisible());
    EXPECT_EQ(first->txtfrom[1]->text(), "SO001005");
    first->Check3->setChecked(true); // "Close After Printing"
    EXPECT_EQ(station.Print_So(0, "SO001005", "SO001005"), "");
    EXPECT_EQ(station.window(), nullptr);

    failure = "Sales order SO001006 was not printed: the printer is gone";
    EXPECT_EQ(station.Print_So(0, "SO001006", "SO001006"), failure);
    ASSERT_EQ(printed.size(), 2);
    EXPECT_NE(printed[1].first, first); // loaded afresh
    EXPECT_EQ(printed[1].second, "SO001006-SO001006");

    station.showAfresh(&owner);
    EXPECT_TRUE(station.window()->isVisible());
    EXPECT_EQ(station.window()->parentWidget(), &owner);
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

    HeadlessPrintStation station;
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
