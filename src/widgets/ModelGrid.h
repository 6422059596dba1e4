#pragma once

#include <QHash>
#include <QTableView>

class ColumnFit;

// A read-only list shown from a model (the queue list, the done list): whole rows are selected,
// one at a time; the operator cannot edit cells. Columns keep the width of their texts as rows
// arrive (ColumnFit), the last one stretching; the model's tool tips give a cut text whole.
class ModelGrid : public QTableView
{
    Q_OBJECT
public:
    explicit ModelGrid(QAbstractItemModel *model, QWidget *parent = nullptr);

    // The selected row (0-based), -1 when none is selected.
    int selectedRow() const;
    // How the cells of the model's column `column` (0-based) are aligned; left by default.
    void setColumnAlignment(int column, Qt::Alignment alignment);
    ColumnFit *columnFit() const { return mColumnFit; }

private:
    QHash<int, Qt::Alignment> mAlignments; // by column
    ColumnFit *mColumnFit;
};
