#include "PrintWindowFixture.h"

#include "PrintWindowStation.h"
#include "mm_prtinv.h"

#include <QCheckBox>
#include <QLineEdit>

namespace {

class PrintStationTest : public PrintWindowTest
{
protected:
    void SetUp() override
    {
        PrintWindowTest::SetUp();
        PrintProcedures::registerProcedure(PrintProcedure::Regular, [this](mm_prtinv &form, const PrintRequest &r) {
            printed << std::make_pair(&form, r.from + "-" + r.to);
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

} // namespace
