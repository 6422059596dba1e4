#include "PrintWindowFixture.h"

#include "PrintWindowStation.h"
#include "mm_prtinv.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QWidget>

namespace {

class PrintStationTest : public PrintWindowTest
{
protected:
    void SetUp() override
    {
        PrintWindowTest::SetUp();
        PrintProcedures::registerProcedure(PrintProcedure::Regular, [this](mm_prtinv &form, const PrintRequest &request) {
            printedBy << &form;
            printedRange << request.from + "-" + request.to;
            return failure;
        });
    }

    QWidget owner;
    PrintWindowStation station;
    QList<mm_prtinv *> printedBy;
    QStringList printedRange;
    QString failure;
};

TEST_F(PrintStationTest, QueueServiceLoadsTheWindowWithoutShowingItAndPrints)
{
    station.setRange("SO001005", "SO001005");
    ASSERT_NE(station.window(), nullptr);
    EXPECT_FALSE(station.window()->isVisible());
    EXPECT_EQ(station.window()->txtfrom[0]->text(), "SO001005");
    EXPECT_EQ(station.window()->txtfrom[1]->text(), "SO001005");

    EXPECT_EQ(station.Print_So(0, "SO001005", "SO001005"), "");
    EXPECT_EQ(printedRange, QStringList{"SO001005-SO001005"});
    EXPECT_TRUE(station.window()->isVisible());
}

TEST_F(PrintStationTest, ReasonOfAFailedPrintReachesTheQueueService)
{
    failure = "Sales order SO001005 was not printed: the printer is gone";
    EXPECT_EQ(station.Print_So(0, "SO001005", "SO001005"), failure);
}

TEST_F(PrintStationTest, WindowClosedAfterPrintingIsLoadedAfreshForTheNextOrder)
{
    station.setRange("SO001005", "SO001005");
    mm_prtinv *first = station.window();
    first->Check3->setChecked(true);
    station.Print_So(0, "SO001005", "SO001005");
    EXPECT_EQ(station.window(), nullptr);

    station.setRange("SO001006", "SO001006");
    station.Print_So(0, "SO001006", "SO001006");
    ASSERT_EQ(printedBy.size(), 2);
    EXPECT_NE(printedBy[1], first);
    EXPECT_FALSE(printedBy[1]->isUnloaded());
}

TEST_F(PrintStationTest, ShowAfreshOpensANewWindowOwnedByTheMainWindow)
{
    station.showAfresh(&owner);
    mm_prtinv *first = station.window();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->parentWidget(), &owner);
    station.showAfresh(&owner);
    EXPECT_TRUE(first->isUnloaded());
    EXPECT_NE(station.window(), first);
    station.closeWindow();
    EXPECT_EQ(station.window(), nullptr);
}

TEST_F(PrintStationTest, WindowThatCannotLoadFailsTheStartAndEveryPrint)
{
    suite.setIni("Access", "DBName", suite.root() + "/gone.db");
    EXPECT_THROW(station.showAfresh(&owner), DbError);
    station.setRange("SO001005", "SO001005");
    const QString reason = station.Print_So(0, "SO001005", "SO001005");
    EXPECT_TRUE(reason.contains("gone.db")) << reason.toStdString();
    EXPECT_TRUE(printedRange.isEmpty());
}

} // namespace
