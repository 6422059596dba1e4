#pragma once

#include "queue/QueueRows.h"
#include "queue/RowListModel.h"

// The done list: the orders this run saved, in the order they were saved. Columns "Terminal",
// "Saved Order", "Customer #", "Customer Name", "Print?", "Print Status".
class DoneModel : public RowListModel<DoneOrder>
{
public:
    enum Column { Terminal, SavedOrder, CustomerNo, CustomerName, PrintQty, PrintStatus, ColumnCount };

    explicit DoneModel(QObject *parent = nullptr);

    // The row of sales order `soNo`, the newest first; -1 when none.
    int find(const QString &soNo) const;
    void setPrintStatus(int row, const QString &status)
    {
        setField(row, PrintStatus, &DoneOrder::printStatus, status);
    }
    // Adds `text` to the row's "Print Status" after what it holds already.
    void addPrintStatus(int row, const QString &text);

protected:
    QString cell(const DoneOrder &order, int column) const override;
};
