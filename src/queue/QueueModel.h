#pragma once

#include "queue/QueueRows.h"

#include <QAbstractTableModel>
#include <QList>

// The queue list: the only record of which order files are queued and why each one waits. The
// queue service adds and removes rows; the main window and the status page show it. Columns:
// "Terminal", "Order To Process", "Customer #", "Customer Name", "Print?", "Status".
class QueueModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { Terminal, OrderFile, CustomerNo, CustomerName, PrintQty, Status, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    const QList<QueuedOrder> &orders() const { return m_rows; }
    const QueuedOrder &at(int row) const { return m_rows.at(row); }
    // The row of the order file named `key` (upper-cased); `hint` is tried first. -1 when none.
    int find(const QString &key, int hint = -1) const;

    void append(const QueuedOrder &order);
    void remove(int row);
    // Replaces the row (its name stays); views are told which cells changed.
    void update(int row, const QueuedOrder &order);
    void setStatus(int row, const QString &status);

private:
    QList<QueuedOrder> m_rows;
};
