// The automatic print list and the copies handed to the print window.

#include "QueueWindowFixture.h"

#include "Module1.h"
#include "PrintStation.h"
#include "PrivateProfile.h"
#include "SpreadGrid.h"

#include <QDir>
#include <QFile>
#include <limits>

namespace {

class FakePrintStation : public PrintStation
{
public:
    void showAfresh(QWidget *) override {}
    void closeWindow() override {}
    void setRange(const QString &from, const QString &to) override { ranges << from + "-" + to; }
    QString Print_So(int iPreview, const QString &argFrom, const QString &argTo) override
    {
        calls << QStringLiteral("%1:%2-%3").arg(iPreview).arg(argFrom, argTo);
        return failure;
    }

    QStringList ranges;
    QStringList calls;
    QString failure;
};

class PrintHandOffTest : public QueueWindowTest
{
protected:
    void SetUp() override
    {
        QueueWindowTest::SetUp();
        window->setPrintStation(&station);
    }
    void TearDown() override
    {
        window->setPrintStation(nullptr);
        QueueWindowTest::TearDown();
    }
    QString printListFile() const { return suite->programDir() + "/tolvaprt.ini"; }
    QString printList() const
    {
        return PrivateProfile::readString("AutoSoPrint", "List", QString(), printListFile(),
                                          std::numeric_limits<int>::max());
    }
    int handOff(const QString &soNo, const QString &printText)
    {
        const int row = window->fDone->addRow();
        window->AutoPrintOrder(soNo, printText, row);
        return row;
    }

    FakePrintStation station;
};

} // namespace

TEST_F(PrintHandOffTest, EachOrderIsAppendedToThePrintListAndPrintedTxtDefQtyTimes)
{
    window->txtDefQty->setText("2");
    const int first = handOff("1005", "2");
    const int second = handOff("1006", "1");
    EXPECT_EQ(printList(), "1005|2|1006|1|");
    EXPECT_EQ(doneText(6, first), "Processed");
    EXPECT_EQ(doneText(6, second), "Processed");
    EXPECT_EQ(station.ranges, (QStringList{"1005-1005", "1006-1006"}));
    EXPECT_EQ(station.calls, (QStringList{"0:1005-1005", "0:1005-1005", "0:1006-1006", "0:1006-1006"}));
}

TEST_F(PrintHandOffTest, EmptyPrintColumnGivesNoListEntryButTheOrderIsStillPrinted)
{
    window->txtDefQty->setText("3");
    const int row = handOff("1005", "");
    EXPECT_FALSE(QFile::exists(printListFile()));
    EXPECT_EQ(doneText(6, row), "");
    EXPECT_EQ(station.calls.size(), 3);
}

TEST_F(PrintHandOffTest, PrintQuantityZeroPrintsNothingButKeepsTheListEntry)
{
    window->txtDefQty->setText("0");
    const int row = handOff("1005", "2");
    EXPECT_EQ(printList(), "1005|2|");
    EXPECT_EQ(doneText(6, row), "Processed");
    EXPECT_TRUE(station.calls.isEmpty());
}

TEST_F(PrintHandOffTest, ALongPrintListKeepsEveryEntry)
{
    QString expected;
    for (int n = 0; n < 40; ++n) {
        const QString soNo = QStringLiteral("SO%1").arg(1001 + n, 6, 10, QLatin1Char('0'));
        handOff(soNo, "2");
        expected += soNo + "|2|";
    }
    ASSERT_GT(expected.size(), 255);
    EXPECT_EQ(printList(), expected);
}

TEST_F(PrintHandOffTest, APrintFailureIsShownAndNotRepeatedForEveryCopy)
{
    window->txtDefQty->setText("3");
    station.failure = "Printer \"Office\" is out of paper";
    const int row = handOff("1005", "3");
    EXPECT_EQ(doneText(6, row), "Processed; print failed: Printer \"Office\" is out of paper");
    EXPECT_EQ(station.calls.size(), 1);
}

TEST_F(PrintHandOffTest, PrintListThatCannotBeWrittenIsNotReportedAsProcessed)
{
    ASSERT_TRUE(QDir(printListFile()).mkpath(".")); // a folder where the file should be
    const int row = handOff("1005", "2");
    EXPECT_TRUE(doneText(6, row).startsWith("print list not written: ")) << doneText(6, row).toStdString();
    EXPECT_EQ(station.calls.size(), 2);
}

TEST_F(PrintHandOffTest, WithoutAPrintWindowOnlyTheListIsWritten)
{
    window->setPrintStation(nullptr);
    const int row = handOff("1005", "2");
    EXPECT_EQ(printList(), "1005|2|");
    EXPECT_EQ(doneText(6, row), "Processed");
}

TEST_F(PrintHandOffTest, ConvertedOrdersArePrintedUnderTheirNewNumber)
{
    window->txtDefQty->setText("1");
    dropOrder("A1T1A.ord", {"GC25\t1"});
    scan();
    pass();
    EXPECT_EQ(printList(), "SO001001|1|");
    EXPECT_EQ(station.calls, QStringList{"0:SO001001-SO001001"});
    EXPECT_EQ(doneText(6, 1), "Processed");
}
