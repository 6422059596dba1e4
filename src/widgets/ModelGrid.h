#pragma once

#include <QTableView>

// A read-only list shown from a model (the queue list, the done list): whole rows are selected,
// one at a time; the operator cannot edit cells.
class ModelGrid : public QTableView
{
    Q_OBJECT
public:
    explicit ModelGrid(QAbstractItemModel *model, QWidget *parent = nullptr);

    // The selected row (0-based), -1 when none is selected.
    int selectedRow() const;
};
