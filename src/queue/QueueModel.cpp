#include "queue/QueueModel.h"

int QueueModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int QueueModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant QueueModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    const QueuedOrder &order = m_rows.at(index.row());
    switch (index.column()) {
    case Terminal: return order.terminal;
    case OrderFile: return order.orderFile;
    case CustomerNo: return order.customerNo;
    case CustomerName: return order.customerName;
    case PrintQty: return order.printQty;
    case Status: return order.status;
    default: return {};
    }
}

QVariant QueueModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const QStringList headings{"Terminal", "Order To Process", "Customer #", "Customer Name", "Print?", "Status"};
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return headings.value(section);
    return QAbstractTableModel::headerData(section, orientation, role);
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

void QueueModel::append(const QueuedOrder &order)
{
    const int row = int(m_rows.size());
    beginInsertRows({}, row, row);
    m_rows.append(order);
    endInsertRows();
}

void QueueModel::remove(int row)
{
    if (row < 0 || row >= m_rows.size())
        return;
    beginRemoveRows({}, row, row);
    m_rows.removeAt(row);
    endRemoveRows();
}

void QueueModel::update(int row, const QueuedOrder &order)
{
    if (row < 0 || row >= m_rows.size())
        return;
    m_rows[row] = order;
    Q_EMIT dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

void QueueModel::setStatus(int row, const QString &status)
{
    if (row < 0 || row >= m_rows.size() || m_rows.at(row).status == status)
        return;
    m_rows[row].status = status;
    Q_EMIT dataChanged(index(row, Status), index(row, Status));
}
