#include "PrintWindowFixture.h"

#include "PagePreview.h"
#include "PrinterList.h"
#include "fEZPrint.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

class PreviewWindowTest : public PrintWindowTest
{
protected:
    void SetUp() override
    {
        PrintWindowTest::SetUp();
        PrinterList::setPdfFolder(suite.programDir() + "/printout");
        window.vsPrinter.setDevice(PrinterList::PdfPrinterName);
    }

    void layOut(int pages)
    {
        window.vsPrinter.StartDoc();
        for (int page = 1; page <= pages; ++page) {
            if (page > 1)
                window.vsPrinter.NewPage();
            window.vsPrinter.Paragraph(QStringLiteral("sheet number %1").arg(page));
        }
        window.vsPrinter.EndDoc();
        window.showModal();
    }

    // Which of "|<", "<", ">", ">|" are enabled, as "1100".
    static QString enabled(QPushButton *const *buttons)
    {
        QString state;
        for (int i = 0; i < 4; ++i)
            state += buttons[i]->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
        return state;
    }

    // Types into a range field and leaves it, as the operator does.
    void enterRange(int index, const QString &text)
    {
        window.Text1[index]->setText(text);
        window.Text1_LostFocus(index);
    }

    fEZPrint window;
};

TEST_F(PreviewWindowTest, OpensOnTheFirstPageAtFullSizeAndIsShownModally)
{
    layOut(3);
    EXPECT_EQ(shownModally, QStringList{" Print Preview"});
    EXPECT_EQ(window.lblPage->text(), "1");
    EXPECT_EQ(window.lblZoom->text(), "100");
    EXPECT_EQ(window.Text1[0]->text(), "1");
    EXPECT_EQ(window.Text1[1]->text(), "1");
    EXPECT_TRUE(window.Option1->isChecked());
    EXPECT_FALSE(window.Text1[0]->isEnabled());
    EXPECT_EQ(window.cmdPage[0]->text(), "|<");
    EXPECT_EQ(window.cmdZoom[3]->text(), ">|");
}

TEST_F(PreviewWindowTest, OnePageDocumentDisablesEveryPageButton)
{
    layOut(1);
    EXPECT_EQ(enabled(window.cmdPage), "0000");
}

TEST_F(PreviewWindowTest, PageButtonsMoveAndEnableByPosition)
{
    layOut(3);
    const struct
    {
        int button;
        const char *page;
        const char *enabled;
    } steps[] = {
        {2, "2", "1111"}, // next
        {3, "3", "1100"}, // last
        {1, "2", "1111"}, // previous
        {0, "1", "0011"}, // first
    };
    EXPECT_EQ(enabled(window.cmdPage), "0011");
    for (const auto &step : steps) {
        window.cmdPage_Click(step.button);
        EXPECT_EQ(window.lblPage->text(), step.page) << "button " << step.button;
        EXPECT_EQ(enabled(window.cmdPage), step.enabled) << "button " << step.button;
        EXPECT_EQ(window.vsPrinterView->currentPage(), window.lblPage->text().toInt());
    }
}

TEST_F(PreviewWindowTest, KeysTurnPagesWhereverTheFocusIsOnTheToolBar)
{
    layOut(4);
    const struct
    {
        int key;
        const char *page;
    } steps[] = {{Qt::Key_PageDown, "2"}, {Qt::Key_End, "4"}, {Qt::Key_PageUp, "3"}, {Qt::Key_Home, "1"}};
    for (const auto &step : steps) {
        QKeyEvent press(QEvent::KeyPress, step.key, Qt::NoModifier);
        QApplication::sendEvent(window.cmdZoom[0], &press);
        EXPECT_EQ(window.lblPage->text(), step.page) << "key " << step.key;
    }
}

TEST_F(PreviewWindowTest, ZoomButtonsStepWithinTheEngineLimits)
{
    layOut(2);
    const QString lowest = QString::number(PagePreview::MinimumZoom);
    const QString highest = QString::number(PagePreview::MaximumZoom);

    window.cmdZoom_Click(1);
    EXPECT_EQ(window.lblZoom->text(), QString::number(100 - PagePreview::ZoomStep));
    window.cmdZoom_Click(2);
    EXPECT_EQ(window.lblZoom->text(), "100");
    window.cmdZoom_Click(0);
    EXPECT_EQ(window.lblZoom->text(), lowest);
    EXPECT_EQ(enabled(window.cmdZoom), "0011");
    window.cmdZoom_Click(3);
    EXPECT_EQ(window.lblZoom->text(), highest);
    EXPECT_EQ(enabled(window.cmdZoom), "1100");
    window.cmdZoom_Click(2); // already at the top: stays there
    EXPECT_EQ(window.lblZoom->text(), highest);
}

TEST_F(PreviewWindowTest, ZoomFromTheViewAndFitWidthShowInTheToolBar)
{
    layOut(1);
    window.vsPrinterView->setZoom(150);
    EXPECT_EQ(window.lblZoom->text(), "150");
    window.resize(900, 700);
    window.cmdFitWidth_Click();
    EXPECT_EQ(window.lblZoom->text(), QString::number(window.vsPrinterView->fitWidthZoom()));
    EXPECT_EQ(window.vsPrinterView->zoom(), window.vsPrinterView->fitWidthZoom());
}

TEST_F(PreviewWindowTest, PagesOptionEnablesTheRangeFields)
{
    layOut(2);
    window.Option2->setChecked(true);
    EXPECT_TRUE(window.Text1[0]->isEnabled());
    EXPECT_TRUE(window.Text1[1]->isEnabled());
    window.Option1->setChecked(true);
    EXPECT_FALSE(window.Text1[1]->isEnabled());
}

TEST_F(PreviewWindowTest, RangeFieldsBecomeWholePagesOfTheDocument)
{
    layOut(5);
    const struct
    {
        const char *typed;
        const char *kept;
    } cases[] = {{"3", "3"}, {"abc", "1"}, {"", "1"}, {"9", "5"}, {"2.6", "3"}, {"-4", "1"}, {" 4 ", "4"}};
    for (const auto &c : cases) {
        enterRange(0, QString::fromLatin1(c.typed));
        EXPECT_EQ(window.Text1[0]->text(), c.kept) << "typed \"" << c.typed << "\"";
    }
}

TEST_F(PreviewWindowTest, ReversedRangeIsRefusedAndEndsAtTheLastPage)
{
    layOut(4);
    window.Option2->setChecked(true);
    enterRange(0, "3");
    enterRange(1, "2");
    testing::internal::CaptureStderr();
    window.cmdPrint_Click(0);
    const std::string messages = testing::internal::GetCapturedStderr();
    EXPECT_NE(messages.find("KVR: To Pages value should be smaller than from page value!"), std::string::npos);
    EXPECT_EQ(window.Text1[1]->text(), "4");
    EXPECT_TRUE(pdfFiles().isEmpty());
}

TEST_F(PreviewWindowTest, PrintsTheWholeDocumentOrThePagesAsked)
{
    layOut(4);
    window.cmdPrint_Click(0);
    window.Option2->setChecked(true);
    enterRange(0, "2");
    enterRange(1, "3");
    window.cmdPrint_Click(0);

    const QStringList files = pdfFiles();
    ASSERT_EQ(files.size(), 2);
    const QString folder = suite.programDir() + "/printout/";
    const QStringList all = pdfPages(folder + files[0]);
    const QStringList range = pdfPages(folder + files[1]);
    ASSERT_EQ(all.size(), 4);
    ASSERT_EQ(range.size(), 2);
    EXPECT_TRUE(range[0].contains("sheet number 2"));
    EXPECT_TRUE(range[1].contains("sheet number 3"));
}

TEST_F(PreviewWindowTest, PrinterThatFailsIsReported)
{
    layOut(1);
    window.vsPrinter.setDevice(QStringLiteral("Printer That Is Not There"));
    testing::internal::CaptureStderr();
    window.cmdPrint_Click(0);
    const std::string messages = testing::internal::GetCapturedStderr();
    EXPECT_NE(messages.find("Printer That Is Not There"), std::string::npos);
}

TEST_F(PreviewWindowTest, SetupOfThePdfPrinterOnlyExplains)
{
    layOut(1);
    testing::internal::CaptureStderr();
    window.cmdPrint_Click(1);
    const std::string messages = testing::internal::GetCapturedStderr();
    EXPECT_NE(messages.find("nothing to set up"), std::string::npos);
    EXPECT_EQ(shownModally.size(), 1); // the preview only, no dialog
}

} // namespace
