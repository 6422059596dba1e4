#include "printui/PrintWindowFixture.h"

#include "widgets/PagePreview.h"
#include "support/PdfText.h"
#include "pageengine/PrinterList.h"
#include "printui/fEZPrint.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QToolButton>

namespace {

class PreviewWindowTest : public PrintWindowTest
{
protected:
    void layOut(int pages)
    {
        PrinterList::setPdfFolder(printout());
        engine.setDevice("PDF");
        engine.StartDoc();
        for (int page = 1; page <= pages; ++page) {
            if (page > 1)
                engine.NewPage();
            engine.Paragraph(QString("sheet number %1").arg(page));
        }
        engine.EndDoc();
        window.showModal();
    }
    // Which of "|<", "<", ">", ">|" are enabled, as "0011".
    static QString enabled(QToolButton *const *buttons)
    {
        QString state;
        for (int i = 0; i < 4; ++i)
            state += buttons[i]->isEnabled() ? '1' : '0';
        return state;
    }
    void enterRange(int index, const QString &text)
    {
        window.Text1[index]->setText(text);
        window.Text1_LostFocus(index);
    }

    PageEngine engine;
    fEZPrint window{engine};
};

TEST_F(PreviewWindowTest, PageButtonsAndKeysMoveAndEnableByPosition)
{
    layOut(1);
    EXPECT_EQ(shownModally, QStringList{" Print Preview"});
    EXPECT_EQ(enabled(window.cmdPage), "0000");

    layOut(3);
    const struct { int button; int key; const char *page; const char *enabled;
    } steps[] = {
        {2, 0, "2 of 3", "1111"},
        {3, 0, "3 of 3", "1100"},
        {1, 0, "2 of 3", "1111"},
        {0, 0, "1 of 3", "0011"},
        // Keys turn pages wherever the focus is on the tool bar.
        {-1, Qt::Key_PageDown, "2 of 3", "1111"},
        {-1, Qt::Key_End, "3 of 3", "1100"},
        {-1, Qt::Key_Home, "1 of 3", "0011"},
    };
    for (const auto &step : steps) {
        if (step.button >= 0) {
            window.cmdPage_Click(step.button);
        } else {
            QKeyEvent press(QEvent::KeyPress, step.key, Qt::NoModifier);
            QApplication::sendEvent(window.cmdZoom[0], &press);
        }
        EXPECT_EQ(window.lblPage->text(), step.page) << step.button << " " << step.key;
        EXPECT_EQ(enabled(window.cmdPage), step.enabled) << step.button << " " << step.key;
    }
}

// The window opens within the screen, frame included, whatever size it was left at; its tool bar
// takes a second row where one is too wide, and the page label holds its text whole.
TEST_F(PreviewWindowTest, OpensWithinTheScreenWithItsToolBarWhole)
{
    const QRect area = window.screen()->availableGeometry();
    for (const QSize left : {QSize(), area.size() + QSize(400, 300)}) {
        if (left.isValid())
            window.resize(left);
        layOut(12);
        window.show();
        window.cmdPage_Click(3);
        EXPECT_TRUE(area.contains(window.frameGeometry()))
            << window.frameGeometry().width() << "x" << window.frameGeometry().height();
        for (QWidget *control : {static_cast<QWidget *>(window.Command1), static_cast<QWidget *>(window.cmdFitWidth)})
            EXPECT_TRUE(window.rect().contains(QRect(control->mapTo(&window, QPoint()), control->size())));
        EXPECT_EQ(window.lblPage->text(), "12 of 12");
        EXPECT_GE(window.lblPage->width(), window.lblPage->fontMetrics().horizontalAdvance("12 of 12"));
        window.hide();
    }
}

TEST_F(PreviewWindowTest, ZoomStaysWithinTheEngineLimitsAndTheLabelFollows)
{
    layOut(2);
    EXPECT_EQ(window.lblZoom->text(), "100");
    window.cmdZoom_Click(1);
    EXPECT_EQ(window.lblZoom->text(), QString::number(100 - PagePreview::ZoomStep));
    window.cmdZoom_Click(0);
    EXPECT_EQ(window.lblZoom->text(), QString::number(PagePreview::MinimumZoom));
    EXPECT_EQ(enabled(window.cmdZoom), "0011");
    window.cmdZoom_Click(3);
    window.cmdZoom_Click(2);
    EXPECT_EQ(window.lblZoom->text(), QString::number(PagePreview::MaximumZoom));
    EXPECT_EQ(enabled(window.cmdZoom), "1100");
    window.resize(900, 700);
    window.cmdFitWidth_Click();
    EXPECT_EQ(window.lblZoom->text(), QString::number(window.vsPrinterView->fitWidthZoom()));
}

TEST_F(PreviewWindowTest, RangeFieldsHoldWholePagesAndAReversedRangeIsRefused)
{
    layOut(5);
    window.Option2->setChecked(true);
    const struct { const char *typed; const char *kept; } cases[] = {
        {"3", "3"}, {"abc", "1"}, {"", "1"}, {"9", "5"}, {"2.6", "3"}, {"-4", "1"}};
    for (const auto &c : cases) {
        enterRange(0, c.typed);
        EXPECT_EQ(window.Text1[0]->text(), c.kept) << "typed \"" << c.typed << "\"";
    }
    enterRange(0, "3");
    enterRange(1, "2");
    testing::internal::CaptureStderr();
    window.cmdPrint_Click(0);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("KVR: To Pages value should be smaller than from page value!"),
              std::string::npos);
    EXPECT_EQ(window.Text1[1]->text(), "5");
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
    EXPECT_EQ(pdfPages(printout() + files[0]).size(), 4);
    const QStringList range = pdfPages(printout() + files[1]);
    ASSERT_EQ(range.size(), 2);
    EXPECT_TRUE(range[0].contains("sheet number 2"));
    EXPECT_TRUE(range[1].contains("sheet number 3"));
}

} // namespace
