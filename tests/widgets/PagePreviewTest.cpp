#include "pageengine/PageEngine.h"
#include "widgets/PagePreview.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace {

void pages(PageEngine &e, int count)
{
    e.setDevice("PDF");
    e.setPreview(true);
    e.StartDoc();
    for (int i = 1; i <= count; ++i) {
        if (i > 1)
            e.NewPage();
        e.Paragraph(QStringLiteral("page %1").arg(i));
    }
    e.EndDoc();
}

} // namespace

TEST(PagePreview, ZoomStaysWithinItsLimitsAndFitWidthFillsTheView)
{
    PageEngine e;
    pages(e, 1);
    PagePreview view;
    view.setEngine(&e);
    view.resize(900, 700);
    QVector<int> signalled;
    QObject::connect(&view, &PagePreview::zoomChanged, [&](int z) { signalled << z; });
    view.setZoom(view.zoom() + view.zoomStep());
    view.setZoom(100000);
    view.setZoom(-5);
    view.setZoom(view.minimumZoom()); // no change, no signal
    EXPECT_EQ(signalled, (QVector<int>{110, view.maximumZoom(), view.minimumZoom()}));

    QWheelEvent zoomIn(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, 240), Qt::NoButton,
                       Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view.viewport(), &zoomIn);
    EXPECT_EQ(view.zoom(), view.minimumZoom() + 2 * view.zoomStep());

    const int fit = view.fitWidthZoom();
    const double sheetAt100 = 12240 * view.logicalDpiX() / 1440.0;
    const int room = view.viewport()->width() - 2 * PagePreview::SheetMargin;
    EXPECT_LE(sheetAt100 * fit / 100.0, room);
    EXPECT_GT(sheetAt100 * (fit + 1) / 100.0, room);
    view.zoomToFitWidth();
    EXPECT_EQ(view.zoom(), fit);
}

TEST(PagePreview, PagesAreLimitedToTheDocumentAndFollowIt)
{
    PageEngine e;
    pages(e, 3);
    PagePreview view;
    view.setEngine(&e);
    EXPECT_EQ(view.pageCount(), 3);
    QVector<int> shown;
    QObject::connect(&view, &PagePreview::pageChanged, [&](int p) { shown << p; });
    view.setCurrentPage(9);
    for (int key : {Qt::Key_PageUp, Qt::Key_Home, Qt::Key_PageUp, Qt::Key_End}) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(&view, &event);
    }
    EXPECT_EQ(shown, (QVector<int>{3, 2, 1, 3}));

    pages(e, 2); // a shorter document replaces the shown one
    EXPECT_EQ(view.pageCount(), 2);
    EXPECT_LE(view.currentPage(), 2);
    e.KillDoc();
    EXPECT_EQ(view.currentPage(), 1);
}
