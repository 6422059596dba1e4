#pragma once

#include "queue/QueueRows.h"
#include "queue/RowListModel.h"

// The queue list: the only record of which order files are queued and why each one waits. The
// queue service adds and removes rows; the main window and the status page show it. Columns:
// "Terminal", "Order To Process", "Customer #", "Customer Name", "Print?", "Status".
class QueueModel : public RowListModel<QueuedOrder>
{
public:
    enum Column { Terminal, OrderFile, CustomerNo, CustomerName, PrintQty, Status, ColumnCount };

    explicit QueueModel(QObject *parent = nullptr);

    // The row of the order file named `key` (upper-cased); `hint` is tried first. -1 when none.
    int find(const QString &key, int hint = -1) const;
    // Replaces the row (its name stays); views are told which cells changed.
    void update(int row, const QueuedOrder &order);
    void setStatus(int row, const QString &status) { setField(row, Status, &QueuedOrder::status, status); }

protected:
    QString cell(const QueuedOrder &order, int column) const override;
};
