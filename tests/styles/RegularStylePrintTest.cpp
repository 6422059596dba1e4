#include "StyleFixture.h"

#include "PrinterList.h"
#include "PrivateProfile.h"
#include "VbFormat.h"

#include <QDateTime>
#include <QFile>

namespace {

class RegularPrintTest : public StyleTest
{
protected:
    void SetUp() override
    {
        StyleTest::SetUp();
        addOrder("SO001001", "C1001", plainLines(3));
        addOrder("SO001002", "C1002", plainLines(45));
        addOrder("SO001003", "C1003", plainLines(2));
        chooseSalesOrders();
    }

    QString printCaptured(std::string *messages)
    {
        testing::internal::CaptureStderr();
        const QString result = print();
        *messages = testing::internal::GetCapturedStderr();
        return result;
    }
};

TEST_F(RegularPrintTest, EachOrderIsOneJobNumberedOverItsOwnPages)
{
    chooseRange("SO001001", "SO001002");
    EXPECT_EQ(print(), "");
    const QStringList files = pdfFiles();
    ASSERT_EQ(files.size(), 2);
    EXPECT_TRUE(files[0].startsWith("SO001001"));
    EXPECT_TRUE(files[1].startsWith("SO001002"));

    const QString today = vb::formatDateTime(QDateTime::currentDateTime(), "mm/dd/yy");
    const QStringList first = pdfPages(files[0]);
    ASSERT_EQ(first.size(), 1);
    EXPECT_TRUE(first[0].contains("Page: 1/1"));
    const QStringList second = pdfPages(files[1]);
    ASSERT_EQ(second.size(), 2);
    for (int page = 0; page < 2; ++page) {
        EXPECT_TRUE(second[page].contains(QStringLiteral("Page: %1/2").arg(page + 1))) << page;
        EXPECT_TRUE(second[page].contains(today)) << page;
        EXPECT_TRUE(second[page].contains("Riverside Wholesale Supply")) << page;
        EXPECT_TRUE(second[page].contains("Maple Lane Apparel")) << page;
    }
    EXPECT_EQ(ordstatus("SO001001"), 1);
    EXPECT_EQ(ordstatus("SO001002"), 1);
    EXPECT_EQ(ordstatus("SO001003"), 0);
    // Printing leaves no preview behind.
    EXPECT_EQ(form->loadedPreview(), nullptr);
    EXPECT_EQ(previewShown, 0);
}

TEST_F(RegularPrintTest, AllNewOrdersPrintsOnlyThoseNeverPrinted)
{
    suite.exec("UPDATE so SET ordstatus = 1 WHERE invno = 'SO001002';");
    form->Option1[0]->setChecked(true);
    EXPECT_EQ(print(), "");
    const QStringList files = pdfFiles();
    ASSERT_EQ(files.size(), 2);
    EXPECT_TRUE(files[0].startsWith("SO001001"));
    EXPECT_TRUE(files[1].startsWith("SO001003"));
    // A second run finds nothing new.
    EXPECT_FALSE(print().isEmpty());
    EXPECT_EQ(pdfFiles().size(), 2);
}

TEST_F(RegularPrintTest, FailingPrinterMarksNothingAndSaysWhy)
{
    // A PDF folder that cannot be created, and a system printer that is gone.
    QFile blocker(suite.root() + "/blocker");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const struct
    {
        const char *printer;
        const char *folder;
    } printers[] = {{"PDF", "/blocker/printout"}, {"Printer Gone Since Friday", "/admodule/printout"}};
    chooseRange("SO001001", "SO001003");
    for (const auto &p : printers) {
        PrinterList::setPdfFolder(suite.root() + p.folder);
        form->cmb_printers->addItem(p.printer);
        form->cmb_printers->setCurrentText(p.printer);
        std::string messages;
        const QString reason = printCaptured(&messages);
        EXPECT_TRUE(reason.startsWith("Sales order SO001001 was not printed: ")) << reason.toStdString();
        EXPECT_NE(messages.find("KVR: Sales order SO001001 was not printed"), std::string::npos) << messages;
        // The run stops at the first order that did not print.
        for (const char *invno : {"SO001001", "SO001002", "SO001003"})
            EXPECT_EQ(ordstatus(invno), 0) << p.printer << " " << invno;
    }
    EXPECT_TRUE(pdfFiles().isEmpty());
}

TEST_F(RegularPrintTest, PreviewBuildsTheFirstOrderAndMarksNothing)
{
    form->Option1[0]->setChecked(true);
    EXPECT_EQ(preview(), "");
    EXPECT_EQ(previewShown, 1);
    EXPECT_FALSE(printButtonShown);
    const QString all = previewed().pages.at(0).joinedText();
    EXPECT_TRUE(all.contains("SO001001"));
    EXPECT_FALSE(all.contains("SO001002"));
    EXPECT_EQ(previewed().pageCount(), 1);
    for (const char *invno : {"SO001001", "SO001002", "SO001003"})
        EXPECT_EQ(ordstatus(invno), 0) << invno;
    EXPECT_TRUE(pdfFiles().isEmpty());
}

TEST_F(RegularPrintTest, EmptySelectionPrintsNothingAndPreviewsAnEmptyPage)
{
    chooseRange("SO002000", "SO001000"); // reversed: finds nothing
    EXPECT_EQ(print(), "No sales order from \"SO002000\" to \"SO001000\" was found.");
    EXPECT_TRUE(pdfFiles().isEmpty());
    EXPECT_EQ(preview(), "");
    EXPECT_EQ(previewShown, 1);
    EXPECT_EQ(previewed().pageCount(), 1);
    EXPECT_TRUE(previewed().pages.at(0).items.isEmpty());
}

TEST_F(RegularPrintTest, OrderNumbersAreNeverTakenAsSql)
{
    // Taken as SQL, the second number would select every new order.
    EXPECT_EQ(form->Print_So(0, "A", "A' or ordstatus=0 or invno='"),
              "No sales order from \"A\" to \"A' or ordstatus=0 or invno='\" was found.");
    for (const char *invno : {"SO001001", "SO001002", "SO001003"})
        EXPECT_EQ(ordstatus(invno), 0) << invno;
}

TEST_F(RegularPrintTest, GivenOrderNumbersPrintEveryCopyWhateverTheOrderOption)
{
    form->Option1[0]->setChecked(true); // "All New Sales Orders"
    for (int copy = 0; copy < 2; ++copy)
        EXPECT_EQ(form->Print_So(0, "SO001003", "SO001003"), "");
    const QStringList files = pdfFiles();
    ASSERT_EQ(files.size(), 2);
    EXPECT_TRUE(files[0].startsWith("SO001003"));
    EXPECT_TRUE(files[1].startsWith("SO001003"));
    EXPECT_EQ(ordstatus("SO001001"), 0);
}

TEST_F(RegularPrintTest, StylesWithoutTheirOwnLayoutPrintAsTheStandardOne)
{
    chooseRange("SO001001", "SO001001");
    const QStringList codes{"REG", "REGGENERIC", "REGBOX", "REGLOT", "IMPPROFORMA", "GRP", "GRPDESC", "", "NEWSTYLE"};
    for (const QString &code : codes) {
        PrivateProfile::writeString("AUTOPICKINGSHEET", "Format", code, suite.iniPath());
        for (const bool pickingSheet : {false, true}) {
            pickingSheet ? choosePickingSheets() : chooseSalesOrders();
            const int before = pdfFiles().size();
            EXPECT_EQ(print(), "") << code.toStdString();
            ASSERT_EQ(pdfFiles().size(), before + 1) << code.toStdString();
            const QString title = pickingSheet ? "PICKING SHEET" : "SALES ORDER";
            EXPECT_TRUE(pdfPages(pdfFiles().last()).first().contains(title)) << code.toStdString();
        }
    }
}

} // namespace
