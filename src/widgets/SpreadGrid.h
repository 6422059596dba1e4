#pragma once

#include <QStringList>
#include <QTableWidget>

// A grid addressed by column and row numbers from 1, as the queue logic speaks of its lists.
// Cells hold plain text; the operator may select rows but not edit them.
class SpreadGrid : public QTableWidget
{
    Q_OBJECT
public:
    explicit SpreadGrid(const QStringList &headings, QWidget *parent = nullptr);

    int maxRows() const { return rowCount(); }
    void setMaxRows(int rows);

    // "" for a cell outside the grid.
    QString text(int col, int row) const;
    // Cells outside the grid are ignored.
    void setText(int col, int row, const QString &text);
    // Appends an empty row and returns its number.
    int addRow();
    // Removes the row; the rows below move up one place.
    void deleteRow(int row);
    // The selected row's number, 0 when none is selected.
    int selectedRow() const;
};
