#include "widgets/PagePreview.h"

#include "pageengine/PageEngine.h"
#include "pageengine/PageRenderer.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <cmath>

PagePreview::PagePreview(QWidget *parent)
    : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Dark);
    viewport()->setAutoFillBackground(true);
}

void PagePreview::setEngine(PageEngine *engine)
{
    if (m_engine)
        disconnect(m_engine, nullptr, this, nullptr);
    m_engine = engine;
    if (m_engine)
        connect(m_engine, &PageEngine::documentChanged, this, &PagePreview::documentChanged);
    documentChanged();
}

int PagePreview::pageCount() const
{
    return m_engine ? m_engine->PageCount() : 0;
}

void PagePreview::setCurrentPage(int page)
{
    const int bounded = std::clamp(page, 1, std::max(1, pageCount()));
    if (bounded == m_page)
        return;
    m_page = bounded;
    updateScrollBars();
    viewport()->update();
    emit pageChanged(m_page);
}

void PagePreview::setZoom(int percent)
{
    const int bounded = std::clamp(percent, MinimumZoom, MaximumZoom);
    if (bounded == m_zoom)
        return;
    m_zoom = bounded;
    updateScrollBars();
    viewport()->update();
    emit zoomChanged(m_zoom);
}

int PagePreview::fitWidthZoom() const
{
    const double sheetWidth = sheetTwips().width() * logicalDpiX() / 1440.0; // pixels at 100 %
    const int room = viewport()->width() - 2 * SheetMargin;
    if (sheetWidth <= 0 || room <= 0)
        return MinimumZoom;
    return std::clamp(int(std::floor(room * 100.0 / sheetWidth)), MinimumZoom, MaximumZoom);
}

void PagePreview::zoomToFitWidth()
{
    setZoom(fitWidthZoom());
}

void PagePreview::documentChanged()
{
    const int bounded = std::clamp(m_page, 1, std::max(1, pageCount()));
    if (bounded != m_page) {
        m_page = bounded;
        emit pageChanged(m_page);
    }
    updateScrollBars();
    viewport()->update();
}

QSizeF PagePreview::sheetTwips() const
{
    if (m_engine && m_page <= m_engine->PageCount()) {
        const PageData &page = m_engine->document().pages.at(m_page - 1);
        return QSizeF(page.width, page.height);
    }
    if (m_engine)
        return QSizeF(m_engine->PageWidth(), m_engine->PageHeight());
    return QSizeF(12240, 15840);
}

double PagePreview::pixelsPerTwip() const
{
    return m_zoom / 100.0 * logicalDpiX() / 1440.0;
}

QSize PagePreview::sheetPixels() const
{
    const QSizeF twips = sheetTwips();
    return QSize(qRound(twips.width() * pixelsPerTwip()), qRound(twips.height() * pixelsPerTwip()));
}

void PagePreview::updateScrollBars()
{
    const QSize sheet = sheetPixels() + QSize(2 * SheetMargin, 2 * SheetMargin);
    const QSize view = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, sheet.width() - view.width()));
    horizontalScrollBar()->setPageStep(view.width());
    verticalScrollBar()->setRange(0, std::max(0, sheet.height() - view.height()));
    verticalScrollBar()->setPageStep(view.height());
}

void PagePreview::paintEvent(QPaintEvent *)
{
    QPainter painter(viewport());
    const QSize sheet = sheetPixels();
    // A sheet narrower than the view is centred; a larger one scrolls.
    const int left = sheet.width() + 2 * SheetMargin <= viewport()->width()
            ? (viewport()->width() - sheet.width()) / 2
            : SheetMargin - horizontalScrollBar()->value();
    const int top = SheetMargin - verticalScrollBar()->value();
    const QRect sheetRect(QPoint(left, top), sheet);
    painter.fillRect(sheetRect.translated(3, 3), QColor(0, 0, 0, 90));
    painter.fillRect(sheetRect, Qt::white);
    if (!m_engine || m_page > m_engine->PageCount())
        return;
    painter.setClipRect(sheetRect);
    painter.translate(sheetRect.topLeft());
    const double scale = pixelsPerTwip();
    PageRenderer::render(painter, m_engine->document().pages.at(m_page - 1), scale, scale);
}

void PagePreview::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void PagePreview::scrollContentsBy(int, int)
{
    viewport()->update();
}

void PagePreview::wheelEvent(QWheelEvent *event)
{
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QAbstractScrollArea::wheelEvent(event);
        return;
    }
    const int steps = event->angleDelta().y() / 120;
    if (steps != 0)
        setZoom(m_zoom + steps * ZoomStep);
    event->accept();
}

void PagePreview::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_PageUp: setCurrentPage(m_page - 1); break;
    case Qt::Key_PageDown: setCurrentPage(m_page + 1); break;
    case Qt::Key_Home: setCurrentPage(1); break;
    case Qt::Key_End: setCurrentPage(pageCount()); break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
}
