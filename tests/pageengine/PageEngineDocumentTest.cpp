#include "pageengine/PageEngineFixture.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

void threePages(PageEngine &e)
{
    e.setDevice("PDF");
    e.setMarginLeft(720);
    e.setMarginTop(720);
    e.StartDoc();
    e.Paragraph("first");
    e.NewPage();
    e.Paragraph("second");
    e.NewPage();
    e.Paragraph("third");
}

} // namespace

TEST(PageEngineDocument, OverlaysLandOnTheirFinishedPage)
{
    PageEngine e;
    e.setPreview(true);
    threePages(e);
    EXPECT_DOUBLE_EQ(e.document().pages[2].items[0].x, 720); // a new page starts at the margins
    EXPECT_DOUBLE_EQ(e.document().pages[2].items[0].baseline, 720);
    ASSERT_TRUE(e.EndDoc().ok);
    for (int page = 1; page <= e.PageCount(); ++page) {
        ASSERT_TRUE(e.StartOverlay(page));
        e.setTextAlign(8);
        e.Paragraph(QStringLiteral("Page: %1/%2").arg(page).arg(e.PageCount()));
        e.setCurrentY(15000);
        e.AddTable("<2000;", "", "X1;X2;X3;"); // an overlay cannot add pages
        e.EndOverlay();
    }
    EXPECT_EQ(e.PageCount(), 3);
    EXPECT_EQ(e.document().pages[0].texts(), (QStringList{"first", "Page: 1/3", "X1", "X2", "X3"}));
    EXPECT_EQ(e.document().pages[1].texts(), (QStringList{"second", "Page: 2/3", "X1", "X2", "X3"}));
    EXPECT_EQ(e.document().pages[2].texts(), (QStringList{"third", "Page: 3/3", "X1", "X2", "X3"}));

    EXPECT_FALSE(e.StartOverlay(0));
    EXPECT_FALSE(e.StartOverlay(4));
    // A finished document changes only through overlays.
    e.Paragraph("stray");
    e.NewPage();
    EXPECT_EQ(e.PageCount(), 3);
    EXPECT_EQ(e.document().pages[2].texts().size(), 5);
}

TEST(PageEngineDocument, KillDocDiscardsTheDocument)
{
    PageEngine e;
    threePages(e);
    int changed = 0;
    QObject::connect(&e, &PageEngine::documentChanged, [&] { ++changed; });
    e.KillDoc();
    EXPECT_EQ(e.PageCount(), 0);
    EXPECT_FALSE(e.IsDocOpen());
    EXPECT_EQ(changed, 1);
    e.Paragraph("nowhere");
    EXPECT_FALSE(e.AddTable("<1000;", "", "x;"));
    EXPECT_EQ(e.PageCount(), 0);
    EXPECT_FALSE(e.PrintDocument().ok);
}

TEST(PageEngineDocument, EndDocPrintsOnlyOutsidePreview)
{
    PdfFolder folder;
    PageEngine e;
    e.setPreview(true);
    threePages(e);
    e.setDocName("SO0001");
    EXPECT_TRUE(e.EndDoc().ok);
    EXPECT_TRUE(folder.files().isEmpty());

    const PrintResult printed = e.PrintDocument();
    ASSERT_TRUE(printed.ok) << printed.error.toStdString();
    EXPECT_EQ(printed.pagesPrinted, 3);
    ASSERT_EQ(folder.files().size(), 1);
    EXPECT_TRUE(folder.files().first().startsWith("SO0001-"));

    e.setPreview(false);
    threePages(e);
    const PrintResult direct = e.EndDoc();
    ASSERT_TRUE(direct.ok) << direct.error.toStdString();
    EXPECT_EQ(folder.files().size(), 2);
    EXPECT_EQ(e.LastPrintResult().outputFile, direct.outputFile);
}

TEST(PageEngineDocument, PrintFailuresAreReportedWithTheirReason)
{
    PdfFolder folder;
    PageEngine e;
    e.setPreview(true);
    threePages(e);
    e.EndDoc();

    EXPECT_FALSE(e.PrintDocument(3, 2).error.isEmpty());
    EXPECT_FALSE(e.PrintDocument(4, 5).ok);
    const PrintResult part = e.PrintDocument(2, 9); // the end is limited to the last page
    EXPECT_TRUE(part.ok);
    EXPECT_EQ(part.pagesPrinted, 2);

    e.setDevice("No Such Printer 42");
    const PrintResult gone = e.PrintDocument();
    EXPECT_FALSE(gone.ok);
    EXPECT_TRUE(gone.error.contains("No Such Printer 42")) << gone.error.toStdString();
    EXPECT_DOUBLE_EQ(e.PageWidth(), 12240); // unknown printers keep Letter paper

    // A PDF folder that cannot be made (below a plain file) fails the job with its name.
    QFile blocker(folder.dir.filePath("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    PrinterList::setPdfFolder(folder.dir.filePath("blocker/printout"));
    e.setDevice("PDF");
    const PrintResult noFolder = e.PrintDocument();
    EXPECT_FALSE(noFolder.ok);
    EXPECT_TRUE(noFolder.error.contains("blocker")) << noFolder.error.toStdString();
}

TEST(PageEngineDocument, TheProgressMonitorSeesEachPageAndItsCancelLeavesNothingPrinted)
{
    // Records the job and cancels before page `stopAt`.
    struct Recorder : PrintMonitor
    {
        QStringList *events;
        int stopAt;
        Recorder(QStringList *e, int s) : events(e), stopAt(s) {}
        void jobStarted(const PrintJobInfo &job) override
        {
            *events << QStringLiteral("start %1 on %2 at %3 pages %4-%5")
                           .arg(job.document, job.printer, job.port).arg(job.firstPage).arg(job.lastPage);
        }
        bool nextPage(int page) override
        {
            *events << QStringLiteral("page %1").arg(page);
            return page != stopAt;
        }
        void jobFinished(const PrintResult &result) override
        {
            *events << QStringLiteral("end %1").arg(result.ok ? "ok" : result.cancelled ? "cancelled" : "failed");
        }
    };
    PdfFolder folder;
    QStringList events;
    int stopAt = 0;
    PageEngine::setPrintMonitorFactory([&](const PageEngine &) { return std::make_unique<Recorder>(&events, stopAt); });
    PageEngine e;
    e.setPreview(true);
    threePages(e);
    e.setDocName("SO0001");
    e.EndDoc();

    EXPECT_TRUE(e.PrintDocument().ok);
    EXPECT_TRUE(events.isEmpty()); // AbortWindow False: unwatched
    e.setAbortWindow(true);
    EXPECT_TRUE(e.PrintDocument(2, 3).ok);
    const QString port = QDir::toNativeSeparators(folder.path);
    EXPECT_EQ(events, (QStringList{"start SO0001 on PDF at " + port + " pages 2-3", "page 2", "page 3", "end ok"}));

    events.clear();
    stopAt = 2;
    const PrintResult cancelled = e.PrintDocument();
    EXPECT_FALSE(cancelled.ok);
    EXPECT_TRUE(cancelled.cancelled);
    EXPECT_EQ(events, (QStringList{"start SO0001 on PDF at " + port + " pages 1-3", "page 1", "page 2", "end cancelled"}));
    EXPECT_EQ(folder.files().size(), 2); // the two finished jobs; the cancelled one left no file
    PageEngine::setPrintMonitorFactory({});
}
