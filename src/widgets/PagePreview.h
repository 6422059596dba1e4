#pragma once

#include "pageengine/PageEngine.h"

#include <QAbstractScrollArea>
#include <QPointer>


// Shows one page of a PageEngine's document as a white sheet at a zoom percentage, scrolled
// when larger than the view. Zoom 100 is the paper's real size at the screen's resolution.
// Ctrl + mouse wheel zooms by ZoomStep; Page Up / Page Down / Home / End turn pages. The view
// follows the engine: when its document changes the page is kept if it still exists.
class PagePreview : public QAbstractScrollArea
{
    Q_OBJECT
    Q_PROPERTY(int currentPage READ currentPage WRITE setCurrentPage NOTIFY pageChanged)
    Q_PROPERTY(int zoom READ zoom WRITE setZoom NOTIFY zoomChanged)

public:
    static constexpr int MinimumZoom = 10;
    static constexpr int MaximumZoom = 400;
    static constexpr int ZoomStep = 10;
    // Grey border around the sheet, in pixels.
    static constexpr int SheetMargin = 12;

    explicit PagePreview(QWidget *parent = nullptr);

    void setEngine(PageEngine *engine);
    PageEngine *engine() const { return m_engine; }

    // 1-based; 1 when the document is empty.
    int currentPage() const { return m_page; }
    int pageCount() const;
    int zoom() const { return m_zoom; }
    int minimumZoom() const { return MinimumZoom; }
    int maximumZoom() const { return MaximumZoom; }
    int zoomStep() const { return ZoomStep; }
    // The zoom at which the current page's width fills the view, within the zoom limits.
    int fitWidthZoom() const;

public slots:
    // Limited to 1..pageCount.
    void setCurrentPage(int page);
    // Limited to MinimumZoom..MaximumZoom.
    void setZoom(int percent);
    void zoomToFitWidth();

signals:
    void pageChanged(int page);
    void zoomChanged(int zoom);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void documentChanged();
    QSizeF sheetTwips() const;
    double pixelsPerTwip() const;
    QSize sheetPixels() const;
    void updateScrollBars();

    QPointer<PageEngine> m_engine;
    int m_page = 1;
    int m_zoom = 100;
};
