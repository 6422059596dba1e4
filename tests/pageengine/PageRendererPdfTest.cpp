#include "pageengine/PageEngineFixture.h"
#include "pageengine/PageRenderer.h"
#include "support/PdfText.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(PageRendererPdf, PrintedPdfHoldsTheTextsOfEveryPage)
{
    PdfFolder folder;
    PageEngine e;
    e.setDevice("PDF");
    e.setPreview(true);
    for (auto set : {&PageEngine::setMarginLeft, &PageEngine::setMarginRight, &PageEngine::setMarginTop,
                     &PageEngine::setMarginBottom})
        (e.*set)(720);
    e.setDocName("SO000123");
    e.StartDoc();
    e.setFontName("Arial");
    e.setFontBold(true);
    e.setFontSize(QString("15"));
    e.setTextAlign(8);
    e.Text("SALES ORDER\r");
    e.setFontName("Courier New");
    e.setFontBold(false);
    e.setFontSize(12);
    e.setTextAlign(6);
    e.AddTable("<2240|<4460|>1000|>1500|>1600;", "", "AB-100|Blue widget|    5|12.50|62.50;");
    e.DrawLine(720, e.CurrentY(), 11520, e.CurrentY());
    e.BoxedText("** REMARKS **\rLeave at the back door", 1120, 13870, 6000, 1200);
    e.NewPage();
    e.AddTable("<2240|<4460;", "", "ZZ-9|Second page item;");
    e.EndDoc();
    for (int page = 1; page <= e.PageCount(); ++page) {
        e.StartOverlay(page);
        e.setTextAlign(8);
        e.setCurrentY(300);
        e.Paragraph(QStringLiteral("Page: %1/%2").arg(page).arg(e.PageCount()));
        e.EndOverlay();
    }
    const PrintResult result = e.PrintDocument();
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    ASSERT_TRUE(QFile::exists(result.outputFile));
    EXPECT_EQ(QFileInfo(result.outputFile).absolutePath(), QFileInfo(folder.path).absoluteFilePath());

    const QString text = pdfText(result.outputFile);
    const QStringList pages = text.split('\f');
    ASSERT_GE(pages.size(), 2);
    for (const char *expected : {"SALES ORDER", "AB-100", "Blue widget", "62.50", "** REMARKS **",
                                 "Leave at the back door", "Page: 1/2"})
        EXPECT_TRUE(pages[0].contains(expected)) << expected << "\n" << text.toStdString();
    EXPECT_TRUE(pages[1].contains("Second page item"));
    EXPECT_TRUE(pages[1].contains("Page: 2/2"));
    EXPECT_FALSE(pages[1].contains("AB-100"));
    // -layout keeps the columns: the item number stands left of its description on one line.
    const QRegularExpression row("AB-100 +Blue widget +5 +12\\.50 +62\\.50");
    EXPECT_TRUE(row.match(pages[0]).hasMatch()) << pages[0].toStdString();
}

TEST(PageRendererPdf, PdfJobsNeverOverwriteEachOther)
{
    PdfFolder folder;
    // Files that already carry the names of this second and the next stay untouched.
    QDir().mkpath(folder.path);
    const QDateTime now = QDateTime::currentDateTime();
    QStringList existing;
    for (const QDateTime &t : {now, now.addSecs(1)}) {
        const QString name = folder.path + "/SO-1-" + t.toString("yyyyMMdd-HHmmss") + "-001.pdf";
        QFile f(name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("keep");
        existing << name;
    }
    QStringList reserved;
    for (int i = 0; i < 5; ++i) {
        QString error;
        const QString file = PrinterList::reservePdfFile("SO-1", &error);
        ASSERT_FALSE(file.isEmpty()) << error.toStdString();
        EXPECT_TRUE(QFile::exists(PrinterList::partPathOf(file))) << "its work file is taken";
        EXPECT_FALSE(reserved.contains(file));
        EXPECT_FALSE(existing.contains(file));
        reserved << file;
    }
    for (const QString &name : existing) {
        QFile f(name);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), "keep");
    }

    // Names come from the document name, made safe for a file name.
    QString error;
    EXPECT_TRUE(QFileInfo(PrinterList::reservePdfFile("../SO 12/3", &error)).fileName().startsWith("SO_12_3-"));
    EXPECT_TRUE(QFileInfo(PrinterList::reservePdfFile("", &error)).fileName().startsWith("document-"));
}

TEST(PageRendererPdf, ThePrinterListEndsWithPdfTheDefaultWithoutRealPrinters)
{
    const QStringList names = PrinterList::names();
    EXPECT_EQ(names.last(), "PDF");
    EXPECT_EQ(names.count("PDF"), 1);
    EXPECT_TRUE(names.contains(PrinterList::defaultName()));
    PageEngine e; // starts on the default printer and its paper
    EXPECT_EQ(e.Devices(), names);
    EXPECT_EQ(e.Device(), PrinterList::defaultName());
    if (names.size() == 1) {
        EXPECT_EQ(e.Device(), "PDF");
    }
    EXPECT_EQ(PrinterList::paperSize("PDF"), QSizeF(12240, 15840));
}

TEST(PageRenderer, DrawsItemsScaledFromTwipsToTheDevice)
{
    PageEngine e;
    e.setPreview(true);
    e.StartDoc();
    e.setRuleWidth(40);
    e.DrawLine(1440, 1440, 2880, 1440);
    e.setFontSize(24);
    e.setCurrentX(1440);
    e.setCurrentY(3280); // baseline
    e.Text("MMMM"); // 1152 twips wide

    QImage image(400, 400, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    PageRenderer::render(painter, e.document().pages[0], 0.1, 0.1); // 144 pixels to the inch
    painter.end();
    auto darkIn = [&](int x0, int x1, int y0, int y1) {
        int dark = 0;
        for (int x = x0; x < x1; ++x)
            for (int y = y0; y < y1; ++y)
                dark += qGray(image.pixel(x, y)) < 128;
        return dark;
    };
    EXPECT_EQ(darkIn(150, 280, 143, 146), 130 * 3); // the rule, 4 pixels thick at y 144
    EXPECT_EQ(darkIn(0, 140, 0, 400) + darkIn(150, 280, 149, 280), 0);
    EXPECT_GT(darkIn(144, 260, 300, 328), 300); // the text stands on its baseline at y 328
    EXPECT_EQ(darkIn(262, 400, 160, 400) + darkIn(140, 400, 331, 400), 0);
}
