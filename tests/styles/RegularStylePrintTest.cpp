#include "styles/StyleFixture.h"

#include "printing/HeadlessPrintStation.h"
#include "support/PdfText.h"
#include "pageengine/PrinterList.h"
#include "styles/RegularStyle.h"
#include "runtime/PrivateProfile.h"

#include <QApplication>
#include <QDate>
#include <QFile>

namespace {

class RegularPrintTest : public StyleWindowTest
{
protected:
    void SetUp() override
    {
        StyleWindowTest::SetUp();
        addOrder("SO001001", "C1001", plainLines(3));
        addOrder("SO001002", "C1002", plainLines(45));
        addOrder("SO001003", "C1003", plainLines(2));
    }
    QString statuses() const
    {
        return QString("%1%2%3").arg(ordstatus("SO001001")).arg(ordstatus("SO001002")).arg(ordstatus("SO001003"));
    }
};

TEST_F(RegularPrintTest, EachOrderIsOneJobNumberedOverItsOwnPagesAndThenMarked)
{
    chooseRange("SO001001", "SO001002");
    EXPECT_EQ(print(), "");
    const QStringList files = pdfFiles();
    ASSERT_EQ(files.size(), 2);
    EXPECT_TRUE(files[0].startsWith("SO001001") && files[1].startsWith("SO001002"));
    EXPECT_TRUE(pdfPages(printout() + files[0]).value(0).contains("Page: 1/1"));
    const QStringList pages = pdfPages(printout() + files[1]);
    ASSERT_EQ(pages.size(), 2);
    const QString today = QDate::currentDate().toString("MM/dd/yy");
    for (int page = 0; page < 2; ++page) {
        for (const QString &text : {QString("Page: %1/2").arg(page + 1), today, QString("Riverside Wholesale Supply"),
                                    QString("Maple Lane Apparel")})
            EXPECT_TRUE(pages[page].contains(text)) << page + 1 << ": " << text.toStdString();
    }
    EXPECT_EQ(statuses(), "110");
    EXPECT_EQ(form->loadedPreview(), nullptr); // printing leaves no preview behind

    form->Option1[0]->setChecked(true); // "All New Sales Orders": only SO001003 is left
    EXPECT_EQ(print(), "");
    EXPECT_EQ(pdfFiles().size(), 3);
    EXPECT_EQ(print(), "There is no new sales order to print.");
}

TEST_F(RegularPrintTest, FailingPrinterMarksNothingAndSaysWhy)
{
    QFile blocker(suite.root() + "/blocker"); // a file where the PDF folder would go
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    const struct { const char *printer; const char *folder; } printers[] = {
        {"PDF", "/blocker/printout"}, {"Printer Gone Since Friday", "/admodule/printout"}};
    chooseRange("SO001001", "SO001003");
    for (const auto &p : printers) {
        PrinterList::setPdfFolder(suite.root() + p.folder);
        form->cmb_printers->addItem(p.printer);
        form->cmb_printers->setCurrentText(p.printer);
        testing::internal::CaptureStderr();
        const QString reason = print();
        const std::string messages = testing::internal::GetCapturedStderr();
        EXPECT_TRUE(reason.startsWith("Sales order SO001001 was not printed: ")) << reason.toStdString();
        EXPECT_NE(messages.find("KVR: Sales order SO001001 was not printed"), std::string::npos) << messages;
        EXPECT_EQ(statuses(), "000") << p.printer; // the run stops at the first order not printed
    }
    EXPECT_TRUE(pdfFiles().isEmpty());
}

TEST_F(RegularPrintTest, PreviewBuildsTheFirstOrderOnlyAndMarksNothing)
{
    form->Option1[0]->setChecked(true);
    EXPECT_EQ(preview(), "");
    EXPECT_EQ(previewShown, 1);
    EXPECT_FALSE(printButtonShown);
    EXPECT_EQ(document().pageCount(), 1);
    EXPECT_TRUE(texts(0).contains("SO001001"));
    EXPECT_FALSE(texts(0).contains("SO001002"));
    EXPECT_EQ(statuses(), "000");

    chooseRange("SO002000", "SO001000"); // reversed: finds nothing, previews an empty page
    form->Option1[1]->setChecked(true);
    EXPECT_EQ(preview(), "");
    EXPECT_TRUE(document().pages.value(0).items.isEmpty());
    EXPECT_EQ(print(), "No sales order from \"SO002000\" to \"SO001000\" was found.");
    EXPECT_TRUE(pdfFiles().isEmpty());
}

TEST_F(RegularPrintTest, OrderPrintedDuringAPreviewLeavesThePreviewAlone)
{
    ModalRunner::setRunner([this](QDialog &) {
        // The queue service prints a converted order while the operator looks at the preview.
        EXPECT_EQ(form->Print_So(0, "SO001003", "SO001003"), "");
        return int(QDialog::Rejected);
    });
    chooseRange("SO001002", "SO001002");
    EXPECT_EQ(preview(), "");
    ASSERT_NE(form->loadedPreview(), nullptr);
    EXPECT_EQ(&form->loadedPreview()->vsPrinter(), form->printEngine());
    EXPECT_EQ(document().pageCount(), 2);
    EXPECT_TRUE(texts(0).contains("SO001002"));
    EXPECT_EQ(statuses(), "001");
    EXPECT_EQ(pdfFiles().size(), 1);
}

TEST_F(RegularPrintTest, GivenOrderNumbersPrintEveryCopyAndAreNeverTakenAsSql)
{
    form->Option1[0]->setChecked(true); // "All New Sales Orders" does not widen the queue's copies
    for (int copy = 0; copy < 2; ++copy)
        EXPECT_EQ(form->Print_So(0, "SO001003", "SO001003"), "");
    EXPECT_EQ(pdfFiles().filter("SO001003").size(), 2);
    // Taken as SQL, the second number would select every new order.
    EXPECT_EQ(form->Print_So(0, "A", "A' or ordstatus=0 or invno='"),
              "No sales order from \"A\" to \"A' or ordstatus=0 or invno='\" was found.");
    EXPECT_EQ(statuses(), "001");
}

TEST_F(RegularPrintTest, StylesWithoutTheirOwnLayoutPrintAsTheStandardOne)
{
    chooseRange("SO001001", "SO001001");
    for (const char *code : {"NEWSTYLE", ""}) {
        PrivateProfile::writeString("AUTOPICKINGSHEET", "Format", code, suite.iniPath());
        for (const int kind : {0, 1}) {
            form->Option2[kind]->setChecked(true);
            EXPECT_EQ(print(), "") << code;
            EXPECT_TRUE(pdfPages(printout() + pdfFiles().last()).value(0).contains(kind ? "PICKING SHEET" : "SALES ORDER")) << code;
        }
    }
    EXPECT_EQ(pdfFiles().size(), 4);
}

// Headless, a converted order prints through the same style without any widget.
TEST_F(StyleTest, HeadlessStationPrintsWithoutAnyWidget)
{
    addOrder("SO001001", "C1001", plainLines(3));
    suite.setIni("PICKINGSHEET", "AutoSoDefault", "Y");
    qsizetype widgetsDuring = -1;
    PrintProcedures::registerProcedure(PrintProcedure::Regular, [&](PageEngine &e, const PrintRequest &r) {
        const QString result = PrintRegularStyle(e, r);
        widgetsDuring = QApplication::allWidgets().size();
        return result;
    });
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // windows of earlier tests
    ASSERT_TRUE(QApplication::allWidgets().isEmpty());

    HeadlessPrintStation station(suite.programDir());
    station.showAfresh(nullptr);
    EXPECT_EQ(station.Print_So(0, "SO001001", "SO001001"), "");
    EXPECT_EQ(widgetsDuring, 0);
    EXPECT_TRUE(QApplication::allWidgets().isEmpty());
    EXPECT_EQ(ordstatus("SO001001"), 1);
    ASSERT_EQ(pdfFiles().size(), 1);
    EXPECT_TRUE(pdfPages(printout() + pdfFiles()[0]).value(0).contains("SALES ORDER"));
}

} // namespace
