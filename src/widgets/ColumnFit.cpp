#include "widgets/ColumnFit.h"

#include <QAbstractItemModel>
#include <QEvent>
#include <QHeaderView>
#include <QTableView>
#include <QTimer>

ColumnFit::ColumnFit(QTableView *view)
    : QObject(view)
    , m_view(view)
    , m_timer(new QTimer(this))
{
    m_timer->setSingleShot(true);
    m_timer->setInterval(DelayMs);
    connect(m_timer, &QTimer::timeout, this, &ColumnFit::fit);
    view->installEventFilter(this);
    view->setWordWrap(false); // a cut text ends in "..." instead of breaking at a blank
    view->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    view->horizontalHeader()->setStretchLastSection(true);
    QAbstractItemModel *model = view->model();
    if (!model)
        return;
    connect(model, &QAbstractItemModel::rowsInserted, this, &ColumnFit::fitSoon);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &ColumnFit::fitSoon);
    connect(model, &QAbstractItemModel::dataChanged, this, &ColumnFit::fitSoon);
    connect(model, &QAbstractItemModel::modelReset, this, &ColumnFit::fitSoon);
    connect(model, &QAbstractItemModel::layoutChanged, this, &ColumnFit::fitSoon);
    connect(model, &QAbstractItemModel::headerDataChanged, this, &ColumnFit::fitSoon);
    fit();
}

void ColumnFit::fitSoon()
{
    if (!m_view->isVisible()) {
        m_stale = true; // a hidden view would have every row measured
        return;
    }
    // Not restarted while it runs: a steady stream of rows is measured every DelayMs.
    if (!m_timer->isActive())
        m_timer->start();
}

bool ColumnFit::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_view && event->type() == QEvent::Show && m_stale) {
        m_stale = false;
        fitSoon(); // once it is laid out: only the rows in view and the precision's are read
    }
    return QObject::eventFilter(watched, event);
}

bool ColumnFit::pending() const
{
    return m_timer->isActive();
}

void ColumnFit::fit()
{
    m_timer->stop();
    m_stale = false;
    QHeaderView *header = m_view->horizontalHeader();
    const QAbstractItemView &view = *m_view;
    int stretched = -1;
    for (int visual = header->count() - 1; visual >= 0 && stretched < 0; --visual) {
        if (!header->isSectionHidden(header->logicalIndex(visual)))
            stretched = header->logicalIndex(visual);
    }
    for (int column = 0; column < header->count(); ++column) {
        if (column == stretched || header->isSectionHidden(column))
            continue;
        const int wanted = qMax(view.sizeHintForColumn(column), header->sectionSizeHint(column));
        header->resizeSection(column, qMin(wanted, MaxWidth));
    }
}
