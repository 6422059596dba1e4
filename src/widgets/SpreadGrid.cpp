#include "widgets/SpreadGrid.h"

#include "widgets/ColumnFit.h"

#include <QHeaderView>

SpreadGrid::SpreadGrid(const QStringList &headings, QWidget *parent) : QTableWidget(0, headings.size(), parent)
{
    setHorizontalHeaderLabels(headings);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    mColumnFit = new ColumnFit(this);
}

void SpreadGrid::setMaxRows(int rows)
{
    setRowCount(qMax(0, rows));
}

QString SpreadGrid::text(int col, int row) const
{
    const QTableWidgetItem *cell = item(row - 1, col - 1);
    return cell ? cell->text() : QString();
}

void SpreadGrid::setText(int col, int row, const QString &text)
{
    if (row < 1 || row > rowCount() || col < 1 || col > columnCount())
        return;
    QTableWidgetItem *cell = item(row - 1, col - 1);
    if (!cell) {
        cell = new QTableWidgetItem;
        cell->setTextAlignment(mAlignments.value(col, Qt::AlignLeft) | Qt::AlignVCenter);
        setItem(row - 1, col - 1, cell);
    }
    cell->setText(text);
    cell->setToolTip(text);
}

int SpreadGrid::addRow()
{
    setRowCount(rowCount() + 1);
    return rowCount();
}

void SpreadGrid::deleteRow(int row)
{
    if (row >= 1 && row <= rowCount())
        removeRow(row - 1);
}

int SpreadGrid::selectedRow() const
{
    const QList<QTableWidgetItem *> selected = selectedItems();
    if (!selected.isEmpty())
        return selected.first()->row() + 1;
    const QModelIndexList rows = selectionModel() ? selectionModel()->selectedRows() : QModelIndexList();
    return rows.isEmpty() ? 0 : rows.first().row() + 1;
}

void SpreadGrid::setColumnAlignment(int col, Qt::Alignment alignment)
{
    if (col < 1 || col > columnCount())
        return;
    const Qt::Alignment horizontal = alignment & Qt::AlignHorizontal_Mask;
    mAlignments.insert(col, horizontal);
    if (QTableWidgetItem *heading = horizontalHeaderItem(col - 1))
        heading->setTextAlignment(horizontal | Qt::AlignVCenter);
    for (int row = 0; row < rowCount(); ++row) {
        if (QTableWidgetItem *cell = item(row, col - 1))
            cell->setTextAlignment(horizontal | Qt::AlignVCenter);
    }
}
