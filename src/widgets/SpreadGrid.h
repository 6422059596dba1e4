#pragma once

#include <QHash>
#include <QStringList>
#include <QTableWidget>

class ColumnFit;

// A grid addressed by column and row numbers from 1, as the queue logic speaks of its lists.
// Cells hold plain text, with the text as their tool tip; the operator may select rows but not
// edit them. Columns keep the width of their texts as rows arrive (ColumnFit), the last one
// stretching.
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

    // How column `col`'s heading and cells are aligned (numbers to the right); left by default.
    void setColumnAlignment(int col, Qt::Alignment alignment);
    ColumnFit *columnFit() const { return mColumnFit; }

private:
    QHash<int, Qt::Alignment> mAlignments; // by column number, horizontal part only
    ColumnFit *mColumnFit;
};
