#pragma once

#include "queue/QueueRows.h"

#include <QAbstractTableModel>
#include <QList>

// The done list: the orders this run saved, in the order they were saved. Columns "Terminal",
// "Saved Order", "Customer #", "Customer Name", "Print?", "Print Status".
class DoneModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { Terminal, SavedOrder, CustomerNo, CustomerName, PrintQty, PrintStatus, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    const QList<DoneOrder> &orders() const { return m_rows; }
    const DoneOrder &at(int row) const { return m_rows.at(row); }
    // The row of sales order `soNo`, the newest first; -1 when none.
    int find(const QString &soNo) const;

    // Returns the new row's index.
    int append(const DoneOrder &order);
    void setPrintStatus(int row, const QString &status);
    // Adds `text` to the row's "Print Status" after what it holds already.
    void addPrintStatus(int row, const QString &text);

private:
    QList<DoneOrder> m_rows;
};
