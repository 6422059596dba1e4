#include "PageEngine.h"
#include "PageRenderer.h"
#include "PrinterList.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct PdfFolder
{
    QTemporaryDir dir;
    QString path;
    PdfFolder() : path(dir.filePath("printout")) { PrinterList::setPdfFolder(path); }
    ~PdfFolder() { PrinterList::setPdfFolder(QString()); }
};

QString pdfText(const QString &file)
{
    QProcess p;
    p.start("pdftotext", {"-layout", file, "-"});
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

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
        EXPECT_TRUE(QFile::exists(file));
        EXPECT_FALSE(reserved.contains(file));
        EXPECT_FALSE(existing.contains(file));
        reserved << file;
    }
    for (const QString &name : existing) {
        QFile f(name);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), "keep");
    }
}

TEST(PageRendererPdf, PdfFileNamesAreSafeAndAFolderThatCannotExistIsAnError)
{
    PdfFolder folder;
    QString error;
    const QString file = PrinterList::reservePdfFile("../SO 12/3", &error);
    EXPECT_TRUE(QFileInfo(file).fileName().startsWith("SO_12_3-")) << file.toStdString();
    EXPECT_EQ(QFileInfo(file).absolutePath(), QFileInfo(folder.path).absoluteFilePath());
    EXPECT_TRUE(QFileInfo(PrinterList::reservePdfFile("", &error)).fileName().startsWith("document-"));

    // A folder below a plain file cannot be made.
    QFile blocker(folder.dir.filePath("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    PrinterList::setPdfFolder(folder.dir.filePath("blocker/printout"));
    PageEngine e;
    e.setDevice("PDF");
    e.setPreview(true);
    e.StartDoc();
    e.Paragraph("x");
    e.EndDoc();
    const PrintResult result = e.PrintDocument();
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.error.contains("blocker")) << result.error.toStdString();
}

TEST(PageRendererPdf, PrinterListEndsWithPdf)
{
    const QStringList names = PrinterList::names();
    ASSERT_FALSE(names.isEmpty());
    EXPECT_EQ(names.last(), "PDF");
    EXPECT_EQ(names.count("PDF"), 1);
    EXPECT_TRUE(names.contains(PrinterList::defaultName()));
    EXPECT_TRUE(PrinterList::isPdf("pdf"));
    EXPECT_EQ(PrinterList::paperSize("PDF"), QSizeF(12240, 15840));
}

TEST(PageRenderer, DrawsItemsScaledFromTwipsToTheDevice)
{
    PageData page;
    PageItem rule;
    rule.kind = PageItem::Kind::Rule;
    rule.x = 1440;
    rule.y = 1440;
    rule.x2 = 2880;
    rule.y2 = 1440;
    rule.penWidth = 40;
    page.items << rule;
    PageItem text;
    text.text = "MMMM";
    text.fontName = "Courier New";
    text.fontSize = 24;
    text.x = 1440;
    text.y = 2880;
    text.baseline = 2880 + 400;
    page.items << text;

    QImage image(400, 400, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    PageRenderer::render(painter, page, 0.1, 0.1); // 144 pixels to the inch
    painter.end();
    EXPECT_LT(qGray(image.pixel(200, 144)), 100); // on the rule
    EXPECT_EQ(qGray(image.pixel(100, 144)), 255); // left of it
    EXPECT_EQ(qGray(image.pixel(200, 160)), 255); // below it
    int dark = 0;
    for (int x = 144; x < 144 + 58; ++x)
        for (int y = 288; y < 328; ++y)
            dark += qGray(image.pixel(x, y)) < 128;
    EXPECT_GT(dark, 100); // the text is drawn where its run is
    for (int y = 0; y < 400; ++y)
        EXPECT_EQ(qGray(image.pixel(300, y)), 255) << y; // and nowhere right of it
}
