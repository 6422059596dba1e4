#include "widgets/SpreadGrid.h"

#include <QHeaderView>

SpreadGrid::SpreadGrid(const QStringList &headings, QWidget *parent) : QTableWidget(0, headings.size(), parent)
{
    setHorizontalHeaderLabels(headings);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setStretchLastSection(true);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
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
    if (cell)
        cell->setText(text);
    else
        setItem(row - 1, col - 1, new QTableWidgetItem(text));
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
