#include "queue/QueueModel.h"

QueueModel::QueueModel(QObject *parent)
    : RowListModel({"Terminal", "Order To Process", "Customer #", "Customer Name", "Print?", "Status"}, parent)
{
}

QString QueueModel::cell(const QueuedOrder &order, int column) const
{
    switch (column) {
    case Terminal: return order.terminal;
    case OrderFile: return order.orderFile;
    case CustomerNo: return order.customerNo;
    case CustomerName: return order.customerName;
    case PrintQty: return order.printQty;
    case Status: return order.status;
    default: return {};
    }
}

int QueueModel::find(const QString &key, int hint) const
{
    if (hint >= 0 && hint < m_rows.size() && m_rows.at(hint).key() == key)
        return hint;
    for (int row = 0; row < m_rows.size(); ++row) {
        if (m_rows.at(row).key() == key)
            return row;
    }
    return -1;
}

void QueueModel::update(int row, const QueuedOrder &order)
{
    if (row < 0 || row >= m_rows.size())
        return;
    m_rows[row] = order;
    Q_EMIT dataChanged(index(row, 0), index(row, ColumnCount - 1));
}
